// The native side of one control. Each kind has its peer class: it creates
// the kind's native window(s), mirrors the model's state into them, places
// them, and turns their notifications into the model's user operations.
// The form peer holds the peers of a form and routes messages to them.
#pragma once

#include <windows.h>

#include <string>

#include "ui/component.h"
#include "ui/layout.h"

namespace ui {

class ControlPeer;

// What the peers of one form share: the form peer that holds them.
class PeerSite {
 public:
  virtual HINSTANCE instance() const = 0;
  virtual HFONT font() const = 0;
  // A child window of a system class, in the controls' font, that belongs
  // to `peer` (`item`: which of the peer's buttons it is, -1 for none): its
  // notifications reach the peer.
  virtual HWND CreateChild(ControlPeer& peer, const char* window_class, const std::string& text,
                           DWORD style, DWORD ex_style, HWND parent, int item) = 0;
  // A window of the backend's container class for `peer`: it paints
  // through the peer and hands its children's notifications to their peers.
  virtual HWND CreateContainer(ControlPeer& peer, HWND parent) = 0;
  virtual ControlPeer* PeerOf(const Control& control) const = 0;
  // Writes a control's state into its windows again, as after a user
  // operation that the model refused.
  virtual void Remirror(Control& control) = 0;
  // The creation parameter of the form's window (its procedure finds the
  // form peer through it).
  virtual LPARAM FormWindowParameter() = 0;

 protected:
  ~PeerSite() = default;
};

class ControlPeer {
 public:
  ControlPeer(PeerSite& site, Control& control) : site_(site), control_(control) {}
  virtual ~ControlPeer() = default;
  ControlPeer(const ControlPeer&) = delete;
  ControlPeer& operator=(const ControlPeer&) = delete;

  Control& control() const { return control_; }
  // The control's window (a labelled edit's edit box); null until created.
  HWND window() const { return window_; }
  // One button of a radio group.
  virtual HWND item_window(int /*index*/) const { return nullptr; }

  // Creates the native window(s) in `parent`.
  virtual void Create(HWND parent) = 0;
  // Where the control's children go: a container's window, or null for a
  // control that holds none.
  virtual HWND ChildParent() const { return nullptr; }
  // The children's windows exist now.
  virtual void ChildrenCreated() {}

  // Writes the kind's state into the windows.
  virtual void Mirror() {}
  // Enabled when the control and every container around it are; shown
  // when it is visible.
  void MirrorEnabledAndVisible();
  // Moves the windows to where the layout put the control.
  virtual void Place(const Placement& placement);

  // A WM_COMMAND notification `code` from one of its windows (`item` as
  // registered); false when the peer has no use for it. After a user
  // operation the model accepted, a handler may have closed the form: the
  // peer is then gone and must not be touched.
  virtual bool Command(HWND /*from*/, int /*item*/, UINT /*code*/) { return false; }
  // A WM_NOTIFY from one of its windows; false when not handled.
  virtual bool Notify(const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
  // WM_CTLCOLORSTATIC: the brush of a coloured static, or 0 for the default.
  virtual LRESULT ColorStatic(HDC /*dc*/) { return 0; }
  // Paints the peer's container window (between BeginPaint and EndPaint).
  virtual void Paint(HDC /*dc*/, HWND /*container*/) {}

 protected:
  PeerSite& site() const { return site_; }
  HWND CreateChild(const char* window_class, const std::string& text, DWORD style, HWND parent,
                   DWORD ex_style = 0, int item = -1);
  virtual void Enable(bool enabled);
  virtual void Show(bool shown);
  // Whether the control's windows are shown.
  virtual bool Shown() const { return control_.visible(); }

  HWND window_ = nullptr;

 private:
  PeerSite& site_;
  Control& control_;
};

// The text of a native window.
std::string WindowText(HWND window);
// Sets a window's text when it differs (a change repaints and notifies).
void SetWindowTextIfChanged(HWND window, const std::string& text);
void MoveWindowTo(HWND window, const Rect& bounds);
// Enabled, and so are all containers around it.
bool EnabledWithContainers(const Control& control);

}  // namespace ui
