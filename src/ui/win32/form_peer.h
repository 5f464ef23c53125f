// The native side of one shown form: creates a window for the form and a
// native control for every component, mirrors the model's state into them,
// places them from the declarative layout, and turns native input into the
// model's user operations.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/layout.h"
#include "ui/win32/services_impl.h"

namespace ui {

// The text of a native window.
std::string WindowText(HWND window);

class FormPeer final : public FormObserver {
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

  // Window procedures hand their messages here; true when handled.
  bool FormMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
  bool ContainerMessage(HWND container, UINT message, WPARAM wparam, LPARAM lparam,
                        LRESULT& result);

  // Lays the form out now (normally deferred through a posted message).
  void Relayout();

 private:
  struct Native {
    Control* control = nullptr;
    HWND window = nullptr;              // the control, or the container window
    HWND label = nullptr;               // a labelled edit's caption
    HWND tabs = nullptr;                // a page control's tab strip
    std::vector<HWND> items;            // radio buttons
    std::vector<std::string> shown;     // combo items or memo lines in the native control
    std::vector<TabSheet*> tab_sheets;  // a page control's sheets, in tab order
    Rect placed;                        // bounds last applied
  };

  // Creation (form_peer.cpp)
  void CreateChildren(Control& container, HWND parent);
  void CreateNative(Control& control, HWND parent);
  HWND CreateChild(const char* window_class, const std::string& text, DWORD style, DWORD ex_style,
                   HWND parent, Control& control, int item);
  HWND CreateContainer(HWND parent, Control& control);
  void Apply(Control& control, const Placement& placement);
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
  void ScheduleRelayout();

  // Mirroring (form_peer_mirror.cpp)
  void Mirror(Control& control);
  void MirrorEnabledAndVisible(Control& control);
  void MirrorSubtreeEnabled(Control& control);
  void MirrorKind(Control& control, Native& native);
  void MirrorTabs(PageControl& pages, Native& native);
  void SetText(HWND window, const std::string& text);
  bool EffectivelyEnabled(const Control& control) const;

  // Input (form_peer_input.cpp)
  bool OnSetCursor(LRESULT& result);
  bool OnCommand(HWND child, UINT code);
  bool OnNotify(const NMHDR& header, LRESULT& result);
  bool OnScroll(UINT message, WPARAM wparam);
  LRESULT OnColorStatic(HDC dc, HWND child);
  void PaintContainer(HWND container);

  Win32Services::Impl& services_;
  Form& form_;
  Layout layout_;
  HWND window_ = nullptr;  // the form window
  HWND root_ = nullptr;    // the container that holds the form's controls
  HWND mdi_client_ = nullptr;
  std::map<const Control*, Native> natives_;
  std::map<HWND, std::pair<Control*, int>> by_window_;  // window -> control, item (-1)
  std::map<HWND, Control*> containers_;
  int updating_ = 0;  // >0 while the model's state is written into the controls
  bool relayout_pending_ = false;
  int scroll_x_ = 0;
  int scroll_y_ = 0;
  bool in_scroll_update_ = false;
  ScrollRange shown_horizontal_;
  ScrollRange shown_vertical_;
};

}  // namespace ui
