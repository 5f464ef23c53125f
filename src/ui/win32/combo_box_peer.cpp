// The peer of a combo box: a drop-down list, or an editable box with a list.
#include "ui/win32/control_peers.h"

namespace ui {
namespace {

// A combo box's window is as tall as its open list.
constexpr int kListHeight = 220;

}  // namespace

void ComboBoxPeer::Create(HWND parent) {
  const DWORD style = combo_.style() == ComboBox::Style::kDropDownList
                          ? CBS_DROPDOWNLIST
                          : CBS_DROPDOWN | CBS_AUTOHSCROLL;
  window_ = CreateChild("COMBOBOX", "", style | WS_VSCROLL | WS_TABSTOP, parent);
}

void ComboBoxPeer::Mirror() {
  // Items appended since the last mirror are added; any other change of
  // the list fills it anew. Filling a list item by item stays linear.
  const std::vector<std::string>& items = combo_.items();
  if (shown_revision_ != combo_.items_revision() || shown_items_ > items.size()) {
    ::SendMessageA(window_, CB_RESETCONTENT, 0, 0);
    shown_revision_ = combo_.items_revision();
    shown_items_ = 0;
  }
  for (; shown_items_ < items.size(); ++shown_items_) {
    ::SendMessageA(window_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[shown_items_].c_str()));
  }
  const LRESULT selected = ::SendMessageA(window_, CB_GETCURSEL, 0, 0);
  if (selected != combo_.item_index())
    ::SendMessageA(window_, CB_SETCURSEL, static_cast<WPARAM>(combo_.item_index()), 0);
  if (combo_.style() == ComboBox::Style::kDropDown) SetWindowTextIfChanged(window_, combo_.text());
}

void ComboBoxPeer::Place(const Placement& placement) {
  const Rect& b = placement.bounds;
  MoveWindowTo(window_, {b.x, b.y, b.width, kListHeight});
}

// The edit inside an editable box is the combo box's own child; its
// notifications arrive as the combo box's.
bool ComboBoxPeer::Command(HWND from, int, UINT code) {
  switch (code) {
    case CBN_SELCHANGE: {
      const LRESULT index = ::SendMessageA(from, CB_GETCURSEL, 0, 0);
      if (index < 0 || !combo_.UserSelect(static_cast<int>(index))) site().Remirror(combo_);
      break;
    }
    case CBN_DROPDOWN:
      combo_.UserDropDown();
      break;
    case CBN_EDITCHANGE:
      if (!combo_.UserType(WindowText(from))) site().Remirror(combo_);
      break;
    case CBN_KILLFOCUS:
      combo_.UserLeave();
      break;
    default:
      break;
  }
  return true;
}

}  // namespace ui
