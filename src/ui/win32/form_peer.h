// The native side of one shown form: a native peer for the form and every
// control (control_peers.h), placed from the declarative layout, with the
// form window's scrolling, and the routing of native messages to the peers.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "ui/form.h"
#include "ui/layout.h"
#include "ui/win32/control_peer.h"
#include "ui/win32/services_impl.h"

namespace ui {

class FormWindowPeer;

class FormPeer final : public FormObserver, private PeerSite {
 public:
  FormPeer(Win32Services::Impl& services, Form& form);
  ~FormPeer() override;
  FormPeer(const FormPeer&) = delete;
  FormPeer& operator=(const FormPeer&) = delete;

  // Creates the form window (an MDI child of `mdi_client`, or a top-level
  // window without one) and every control; false when the system refused.
  bool Create(HWND mdi_client);
  // Shows and activates the window again (a second Form::Show).
  void Reshow();
  // The windows are gone (process end, or destroyed from outside).
  void Forget();

  Form& form() const { return form_; }
  Win32Services::Impl& services() const { return services_; }
  HWND window() const { return window_; }
  HWND Handle(const Control& control) const;
  HWND ItemHandle(const Control& control, int index) const;
  // The control whose native window (or part of it) is `window`.
  Control* ControlOf(HWND window) const;

  void ComponentChanged(Component& component) override;

  // Window procedures hand their messages here; true when handled
  // (form_peer_messages.cpp).
  bool FormMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
  bool ContainerMessage(HWND container, UINT message, WPARAM wparam, LPARAM lparam,
                        LRESULT& result);

  // Lays the form out now (normally deferred through a posted message)
  // (form_peer_layout.cpp).
  void Relayout();

 private:
  // PeerSite
  HINSTANCE instance() const override { return services_.instance; }
  HFONT font() const override { return services_.font; }
  HWND CreateChild(ControlPeer& peer, const char* window_class, const std::string& text,
                   DWORD style, DWORD ex_style, HWND parent, int item) override;
  HWND CreateContainer(ControlPeer& peer, HWND parent) override;
  ControlPeer* PeerOf(const Control& control) const override;
  void Remirror(Control& control) override { Mirror(control); }
  LPARAM FormWindowParameter() override { return reinterpret_cast<LPARAM>(this); }

  // Creates the peer of `control` and its windows in `parent`, then those
  // of its children.
  void CreatePeer(Control& control, HWND parent);
  void Mirror(Control& control);
  void MirrorSubtreeEnabled(Control& container);

  // Placement and scrolling (form_peer_layout.cpp)
  void ApplyAll(Control& container);
  // Sizes a window that is not maximized to show all its controls (never
  // smaller than it is with `grow_only`), within the frame's client area.
  void FitWindowToContent(bool grow_only);
  struct ScrollRange {
    int max = -1;
    int page = -1;
    bool operator==(const ScrollRange&) const = default;
  };
  void UpdateScrollBars();
  void SetScrollBar(int bar, bool needed, int total, int page, ScrollRange& shown);
  void ScrollTo(int x, int y);
  // The window's scroll bars and the mouse wheel.
  bool OnScroll(UINT message, WPARAM wparam);
  void ScheduleRelayout();

  // Input and painting (form_peer_messages.cpp)
  bool OnSetCursor(LRESULT& result);
  bool OnCommand(HWND child, UINT code);
  bool OnNotify(const NMHDR& header, LRESULT& result);
  LRESULT OnColorStatic(HDC dc, HWND child);
  void PaintContainer(HWND container);

  Win32Services::Impl& services_;
  Form& form_;
  // The revision of the form's layout the windows were last placed by.
  std::optional<uint64_t> placed_revision_;
  std::map<const Control*, std::unique_ptr<ControlPeer>> peers_;
  FormWindowPeer* form_window_ = nullptr;  // the form's own peer, in peers_
  HWND window_ = nullptr;                  // the form window
  HWND root_ = nullptr;                    // the container that holds the form's controls
  std::map<HWND, std::pair<ControlPeer*, int>> by_window_;  // window -> peer, item (-1)
  std::map<HWND, ControlPeer*> containers_;
  int updating_ = 0;  // >0 while the model's state is written into the controls
  bool relayout_pending_ = false;
  int scroll_x_ = 0;
  int scroll_y_ = 0;
  bool in_scroll_update_ = false;
  ScrollRange shown_horizontal_;
  ScrollRange shown_vertical_;
};

}  // namespace ui
