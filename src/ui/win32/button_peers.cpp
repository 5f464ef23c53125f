// The peers of the kinds drawn as system buttons: push buttons, check
// boxes and the radio buttons of a radio group.
#include "ui/win32/control_peers.h"

namespace ui {
namespace {

WPARAM CheckState(bool checked) {
  return checked ? BST_CHECKED : BST_UNCHECKED;
}

}  // namespace

// Button

void ButtonPeer::Create(HWND parent) {
  window_ = CreateChild("BUTTON", button_.caption(), BS_PUSHBUTTON | WS_TABSTOP, parent);
}

void ButtonPeer::Mirror() {
  SetWindowTextIfChanged(window_, button_.caption());
}

bool ButtonPeer::Command(HWND, int, UINT code) {
  if (code == BN_CLICKED) button_.UserClick();
  return true;
}

// CheckBox

void CheckBoxPeer::Create(HWND parent) {
  // A plain check box: the model decides the state, the window shows it.
  window_ = CreateChild("BUTTON", box_.caption(), BS_CHECKBOX | WS_TABSTOP, parent);
}

void CheckBoxPeer::Mirror() {
  SetWindowTextIfChanged(window_, box_.caption());
  ::SendMessageA(window_, BM_SETCHECK, CheckState(box_.checked()), 0);
}

bool CheckBoxPeer::Command(HWND, int, UINT code) {
  if (code == BN_CLICKED && !box_.UserToggle()) site().Remirror(box_);
  return true;
}

// RadioGroup

HWND RadioGroupPeer::item_window(int index) const {
  return index >= 0 && static_cast<size_t>(index) < items_.size()
             ? items_[static_cast<size_t>(index)]
             : nullptr;
}

void RadioGroupPeer::Create(HWND parent) {
  window_ = site().CreateContainer(*this, parent);
  const std::vector<std::string>& items = group_.items();
  for (size_t i = 0; i < items.size(); ++i) {
    // Plain radio buttons: the model decides which one is on.
    HWND item = CreateChild("BUTTON", items[i], BS_RADIOBUTTON | WS_TABSTOP, window_, 0,
                            static_cast<int>(i));
    ::ShowWindow(item, SW_SHOWNA);
    items_.push_back(item);
  }
}

void RadioGroupPeer::Mirror() {
  for (size_t i = 0; i < items_.size(); ++i)
    ::SendMessageA(items_[i], BM_SETCHECK, CheckState(static_cast<int>(i) == group_.item_index()),
                   0);
  FramedPeer::Mirror();
}

void RadioGroupPeer::Place(const Placement& placement) {
  FramedPeer::Place(placement);
  for (size_t i = 0; i < items_.size() && i < placement.items.size(); ++i)
    MoveWindowTo(items_[i], placement.items[i]);
}

bool RadioGroupPeer::Command(HWND, int item, UINT code) {
  if (code == BN_CLICKED && item >= 0 && !group_.UserSelect(item)) site().Remirror(group_);
  return true;
}

void RadioGroupPeer::Enable(bool enabled) {
  for (HWND item : items_) ::EnableWindow(item, enabled ? TRUE : FALSE);
  FramedPeer::Enable(enabled);
}

}  // namespace ui
