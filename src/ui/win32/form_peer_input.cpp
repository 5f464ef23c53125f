// Native input turned into the model's user operations, and the painting
// the containers do themselves (group frames, coloured labels).
#include "ui/win32/form_peer.h"

#include <commctrl.h>

#include "ui/controls.h"

namespace ui {
namespace {

COLORREF LabelColor(Label::Color color) {
  return color == Label::Color::kGreen ? RGB(0, 128, 0) : RGB(220, 0, 0);
}

}  // namespace

bool FormPeer::ContainerMessage(HWND container, UINT message, WPARAM wparam, LPARAM lparam,
                                LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      if (lparam == 0) return false;
      result = 0;
      return OnCommand(reinterpret_cast<HWND>(lparam), HIWORD(wparam));
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lparam), result);
    case WM_CTLCOLORSTATIC:
      result = OnColorStatic(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
      return result != 0;
    case WM_PAINT:
      PaintContainer(container);
      result = 0;
      return true;
    case WM_SETCURSOR:
      return OnSetCursor(result);
    default:
      return false;
  }
}

// While the model asks for the hourglass, every window of the form shows it.
bool FormPeer::OnSetCursor(LRESULT& result) {
  if (services_.cursor != Cursor::kHourGlass) return false;
  ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
  result = TRUE;
  return true;
}

bool FormPeer::OnCommand(HWND child, UINT code) {
  if (updating_ > 0) return true;  // caused by our own writes
  auto it = by_window_.find(child);
  if (it == by_window_.end()) return false;
  Control& control = *it->second.first;
  const int item = it->second.second;
  // A refused operation leaves the model as it was: show its state again.
  // After an accepted one a handler may have closed the form, so this peer
  // is not touched again.
  switch (control.kind()) {
    case Kind::kButton:
      if (code == BN_CLICKED) static_cast<Button&>(control).UserClick();
      return true;
    case Kind::kCheckBox:
      if (code == BN_CLICKED && !static_cast<CheckBox&>(control).UserToggle()) Mirror(control);
      return true;
    case Kind::kRadioGroup:
      if (code == BN_CLICKED && item >= 0 && !static_cast<RadioGroup&>(control).UserSelect(item))
        Mirror(control);
      return true;
    case Kind::kEdit:
    case Kind::kLabeledEdit: {
      auto& edit = static_cast<Edit&>(control);
      if (code == EN_CHANGE) {
        const std::string text = WindowText(child);
        if (text != edit.text() && !edit.UserType(text)) Mirror(control);
      } else if (code == EN_KILLFOCUS) {
        edit.UserLeave();
      }
      return true;
    }
    case Kind::kComboBox: {
      auto& combo = static_cast<ComboBox&>(control);
      switch (code) {
        case CBN_SELCHANGE: {
          const LRESULT index = ::SendMessageA(child, CB_GETCURSEL, 0, 0);
          if (index < 0 || !combo.UserSelect(static_cast<int>(index))) Mirror(control);
          break;
        }
        case CBN_DROPDOWN:
          combo.UserDropDown();
          break;
        case CBN_EDITCHANGE:
          if (!combo.UserType(WindowText(child))) Mirror(control);
          break;
        case CBN_KILLFOCUS:
          combo.UserLeave();
          break;
        default:
          break;
      }
      return true;
    }
    default:
      return false;
  }
}

bool FormPeer::OnNotify(const NMHDR& header, LRESULT& result) {
  if (updating_ > 0) return false;
  auto it = by_window_.find(header.hwndFrom);
  if (it == by_window_.end()) return false;
  Control& control = *it->second.first;
  if (control.kind() == Kind::kUpDown && header.code == static_cast<UINT>(UDN_DELTAPOS)) {
    const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
    // The model moves the position; the control only reports the arrow.
    result = TRUE;
    if (!static_cast<UpDown&>(control).UserClick(change.iDelta > 0)) Mirror(control);
    return true;
  }
  if (control.kind() == Kind::kPageControl && header.code == static_cast<UINT>(TCN_SELCHANGE)) {
    auto native = natives_.find(&control);
    if (native == natives_.end()) return false;
    const LRESULT index = ::SendMessageA(native->second.tabs, TCM_GETCURSEL, 0, 0);
    const auto& sheets = native->second.tab_sheets;
    if (index >= 0 && static_cast<size_t>(index) < sheets.size())
      static_cast<PageControl&>(control).SetActivePage(sheets[static_cast<size_t>(index)]);
    result = 0;
    return true;
  }
  return false;
}

LRESULT FormPeer::OnColorStatic(HDC dc, HWND child) {
  auto it = by_window_.find(child);
  if (it == by_window_.end() || it->second.first->kind() != Kind::kLabel) return 0;
  const auto& label = static_cast<const Label&>(*it->second.first);
  if (label.color() == Label::Color::kDefault) return 0;
  ::SetTextColor(dc, LabelColor(label.color()));
  ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
}

void FormPeer::PaintContainer(HWND container) {
  PAINTSTRUCT paint{};
  HDC dc = ::BeginPaint(container, &paint);
  auto it = containers_.find(container);
  const Control* control = it == containers_.end() ? nullptr : it->second;
  std::string caption;
  bool framed = false;
  if (control != nullptr && control->kind() == Kind::kGroupBox) {
    caption = static_cast<const GroupBox*>(control)->caption();
    framed = true;
  } else if (control != nullptr && control->kind() == Kind::kRadioGroup) {
    caption = static_cast<const RadioGroup*>(control)->caption();
    framed = true;
  }
  if (framed) {
    HGDIOBJ old_font = ::SelectObject(dc, services_.font);
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc, &metrics);
    RECT frame{};
    ::GetClientRect(container, &frame);
    frame.top += metrics.tmHeight / 2;
    ::DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (!caption.empty()) {
      const std::string text = " " + caption + " ";
      ::SetBkMode(dc, OPAQUE);
      ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
      ::SetTextColor(dc,
                     ::GetSysColor(EffectivelyEnabled(*control) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
      ::TextOutA(dc, 6, 0, text.c_str(), static_cast<int>(text.size()));
    }
    ::SelectObject(dc, old_font);
  }
  ::EndPaint(container, &paint);
}

}  // namespace ui
