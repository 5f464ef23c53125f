// The native peer of every control kind, and the factory that picks the
// peer for a control.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/win32/control_peer.h"

namespace ui {

// The peer of `control`'s kind.
std::unique_ptr<ControlPeer> MakePeer(PeerSite& site, Control& control);

// The form's own window, an MDI child of the host's frame (or a top-level
// window when there is none), and the container in it that holds the
// form's controls (form_window_peer.cpp).
class FormWindowPeer final : public ControlPeer {
 public:
  FormWindowPeer(PeerSite& site, Form& form) : ControlPeer(site, form), form_(form) {}
  // `parent`: the frame's MDI client, or null.
  void Create(HWND parent) override;
  HWND ChildParent() const override { return root_; }
  HWND mdi_client() const { return mdi_client_; }
  void Mirror() override;
  // Shows and activates the window (maximized when the form asks for it).
  void Reshow();
  // Closes the window; no message of it reaches the peers any more.
  void Destroy();

 protected:
  void Show(bool shown) override;

 private:
  Form& form_;
  HWND mdi_client_ = nullptr;
  HWND root_ = nullptr;
};

// button_peers.cpp

class ButtonPeer final : public ControlPeer {
 public:
  ButtonPeer(PeerSite& site, Button& button) : ControlPeer(site, button), button_(button) {}
  void Create(HWND parent) override;
  void Mirror() override;
  bool Command(HWND from, int item, UINT code) override;

 private:
  Button& button_;
};

class CheckBoxPeer final : public ControlPeer {
 public:
  CheckBoxPeer(PeerSite& site, CheckBox& box) : ControlPeer(site, box), box_(box) {}
  void Create(HWND parent) override;
  void Mirror() override;
  bool Command(HWND from, int item, UINT code) override;

 private:
  CheckBox& box_;
};

// A container with an etched frame and a caption on it (container_peers.cpp).
class FramedPeer : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;
  void Mirror() override;
  void Place(const Placement& placement) override;
  void Paint(HDC dc, HWND container) override;

 protected:
  void Enable(bool enabled) override;
  virtual const std::string& caption() const = 0;
};

// A framed container of radio buttons, one per item.
class RadioGroupPeer final : public FramedPeer {
 public:
  RadioGroupPeer(PeerSite& site, RadioGroup& group) : FramedPeer(site, group), group_(group) {}
  HWND item_window(int index) const override;
  void Create(HWND parent) override;
  void Mirror() override;
  void Place(const Placement& placement) override;
  bool Command(HWND from, int item, UINT code) override;

 protected:
  void Enable(bool enabled) override;
  const std::string& caption() const override { return group_.caption(); }

 private:
  RadioGroup& group_;
  std::vector<HWND> items_;
};

// text_peers.cpp

class EditPeer : public ControlPeer {
 public:
  EditPeer(PeerSite& site, Edit& edit) : ControlPeer(site, edit), edit_(edit) {}
  void Create(HWND parent) override;
  void Mirror() override;
  bool Command(HWND from, int item, UINT code) override;

 private:
  Edit& edit_;
};

// An edit box with its caption above it.
class LabeledEditPeer final : public EditPeer {
 public:
  LabeledEditPeer(PeerSite& site, LabeledEdit& edit) : EditPeer(site, edit), edit_(edit) {}
  void Create(HWND parent) override;
  void Mirror() override;
  void Place(const Placement& placement) override;

 protected:
  void Enable(bool enabled) override;
  void Show(bool shown) override;

 private:
  LabeledEdit& edit_;
  HWND label_ = nullptr;
};

class MemoPeer final : public ControlPeer {
 public:
  MemoPeer(PeerSite& site, Memo& memo) : ControlPeer(site, memo), memo_(memo) {}
  void Create(HWND parent) override;
  void Mirror() override;

 private:
  Memo& memo_;
  // What the native control shows: the lines of this revision, this many.
  uint64_t shown_revision_ = ~uint64_t{0};
  size_t shown_lines_ = 0;
};

class LabelPeer final : public ControlPeer {
 public:
  LabelPeer(PeerSite& site, Label& label) : ControlPeer(site, label), label_(label) {}
  void Create(HWND parent) override;
  void Mirror() override;
  LRESULT ColorStatic(HDC dc) override;

 private:
  Label& label_;
};

// combo_box_peer.cpp
class ComboBoxPeer final : public ControlPeer {
 public:
  ComboBoxPeer(PeerSite& site, ComboBox& combo) : ControlPeer(site, combo), combo_(combo) {}
  void Create(HWND parent) override;
  void Mirror() override;
  void Place(const Placement& placement) override;
  bool Command(HWND from, int item, UINT code) override;

 private:
  ComboBox& combo_;
  // What the native list holds: the items of this revision, this many.
  uint64_t shown_revision_ = ~uint64_t{0};
  size_t shown_items_ = 0;
};

// up_down_peer.cpp
class UpDownPeer final : public ControlPeer {
 public:
  UpDownPeer(PeerSite& site, UpDown& updown) : ControlPeer(site, updown), updown_(updown) {}
  void Create(HWND parent) override;
  void Mirror() override;
  bool Notify(const NMHDR& header, LRESULT& result) override;

 private:
  UpDown& updown_;
};

// container_peers.cpp

class GroupBoxPeer final : public FramedPeer {
 public:
  GroupBoxPeer(PeerSite& site, GroupBox& group) : FramedPeer(site, group), group_(group) {}
  void Create(HWND parent) override;
  HWND ChildParent() const override { return window_; }

 protected:
  const std::string& caption() const override { return group_.caption(); }

 private:
  GroupBox& group_;
};

// A container for the sheets, with the tab strip beneath them.
class PageControlPeer final : public ControlPeer {
 public:
  PageControlPeer(PeerSite& site, PageControl& pages) : ControlPeer(site, pages), pages_(pages) {}
  void Create(HWND parent) override;
  HWND ChildParent() const override { return window_; }
  void ChildrenCreated() override;
  // The tabs of the sheets whose tab is visible, the active one selected,
  // and only the active sheet shown.
  void Mirror() override;
  void Place(const Placement& placement) override;
  bool Notify(const NMHDR& header, LRESULT& result) override;

 protected:
  void Enable(bool enabled) override;

 private:
  PageControl& pages_;
  HWND tabs_ = nullptr;
  std::vector<TabSheet*> sheets_;   // the sheets in tab order
  std::vector<std::string> shown_;  // their tab captions
};

// A container shown while its sheet is the active page.
class TabSheetPeer final : public ControlPeer {
 public:
  TabSheetPeer(PeerSite& site, TabSheet& sheet) : ControlPeer(site, sheet), sheet_(sheet) {}
  void Create(HWND parent) override;
  HWND ChildParent() const override { return window_; }
  // A sheet's caption and tab live in its page control's tab strip.
  void Mirror() override;

 protected:
  bool Shown() const override;

 private:
  TabSheet& sheet_;
};

}  // namespace ui
