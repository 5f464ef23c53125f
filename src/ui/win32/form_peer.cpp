// Creating the native windows of a form and placing them from the layout.
#include "ui/win32/form_peer.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/controls.h"
#include "ui/win32/window_classes.h"

namespace ui {
namespace {

// A combo box's window is as tall as its open list.
constexpr int kComboListHeight = 220;
constexpr int kScrollLine = 20;
// Room for the icon and buttons of a title bar, and the least client height.
constexpr int kCaptionButtons = 120;
constexpr int kMinHeight = 60;

void Move(HWND window, const Rect& r) {
  if (window != nullptr)
    ::SetWindowPos(window, nullptr, r.x, r.y, r.width, r.height,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

Rect Offset(const Rect& r, const Rect& origin) {
  return {origin.x + r.x, origin.y + r.y, r.width, r.height};
}

}  // namespace

FormPeer::FormPeer(Win32Services::Impl& services, Form& form)
    : services_(services), form_(form), layout_(*services.measure, services.style) {}

FormPeer::~FormPeer() {
  if (window_ == nullptr) return;
  // No message of the dying windows may reach the model any more.
  ::SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
  for (const auto& [container, control] : containers_)
    ::SetWindowLongPtrA(container, GWLP_USERDATA, 0);
  HWND window = window_;
  window_ = nullptr;
  if (mdi_client_ != nullptr && ::IsWindow(mdi_client_)) {
    ::SendMessageA(mdi_client_, WM_MDIDESTROY, reinterpret_cast<WPARAM>(window), 0);
  } else {
    ::DestroyWindow(window);
  }
}

void FormPeer::Forget() {
  window_ = nullptr;
  root_ = nullptr;
  natives_.clear();
  by_window_.clear();
  containers_.clear();
}

bool FormPeer::Create(HWND mdi_client) {
  mdi_client_ = mdi_client;
  if (mdi_client_ != nullptr) {
    MDICREATESTRUCTA create{};
    create.szClass = win32::kFormClass;
    create.szTitle = form_.caption().c_str();
    create.hOwner = services_.instance;
    create.x = create.y = create.cx = create.cy = CW_USEDEFAULT;
    create.style = 0;  // maximized once its controls are in place (Reshow)
    create.lParam = reinterpret_cast<LPARAM>(this);
    window_ = reinterpret_cast<HWND>(
        ::SendMessageA(mdi_client_, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
  } else {
    window_ =
        ::CreateWindowExA(0, win32::kFormClass, form_.caption().c_str(),
                          WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, services_.instance, this);
  }
  if (window_ == nullptr) return false;
  root_ = CreateContainer(window_, form_);
  ::ShowWindow(root_, SW_SHOWNA);
  CreateChildren(form_, root_);
  for (const auto& component : form_.components()) {
    if (auto* control = dynamic_cast<Control*>(component.get())) Mirror(*control);
  }
  Mirror(form_);
  Relayout();
  Reshow();
  return true;
}

void FormPeer::Reshow() {
  if (window_ == nullptr) return;
  if (mdi_client_ != nullptr) {
    if (form_.visible()) ::ShowWindow(window_, SW_SHOW);
    if (form_.maximized())
      ::SendMessageA(mdi_client_, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(window_), 0);
    ::SendMessageA(mdi_client_, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(window_), 0);
  } else if (form_.visible()) {
    ::ShowWindow(window_, form_.maximized() ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    ::SetForegroundWindow(window_);
  }
}

HWND FormPeer::Handle(const Control& control) const {
  if (&control == &form_) return window_;
  auto it = natives_.find(&control);
  return it == natives_.end() ? nullptr : it->second.window;
}

HWND FormPeer::ItemHandle(const Control& control, int index) const {
  auto it = natives_.find(&control);
  if (it == natives_.end() || index < 0 || static_cast<size_t>(index) >= it->second.items.size())
    return nullptr;
  return it->second.items[static_cast<size_t>(index)];
}

Control* FormPeer::ControlOf(HWND window) const {
  // The edit inside an editable combo box belongs to the combo box.
  for (HWND w = window; w != nullptr && w != window_; w = ::GetParent(w)) {
    auto it = by_window_.find(w);
    if (it != by_window_.end()) return it->second.first;
  }
  return nullptr;
}

HWND FormPeer::CreateChild(const char* window_class, const std::string& text, DWORD style,
                           DWORD ex_style, HWND parent, Control& control, int item) {
  HWND window =
      ::CreateWindowExA(ex_style, window_class, text.c_str(), WS_CHILD | WS_CLIPSIBLINGS | style, 0,
                        0, 0, 0, parent, nullptr, services_.instance, nullptr);
  if (window == nullptr) return nullptr;
  ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(services_.font), FALSE);
  by_window_[window] = {&control, item};
  return window;
}

HWND FormPeer::CreateContainer(HWND parent, Control& control) {
  HWND window =
      ::CreateWindowExA(0, win32::kContainerClass, "", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                        0, 0, 0, 0, parent, nullptr, services_.instance, nullptr);
  if (window == nullptr) return nullptr;
  ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  containers_[window] = &control;
  by_window_[window] = {&control, -1};
  natives_[&control].control = &control;
  natives_[&control].window = window;
  return window;
}

void FormPeer::CreateChildren(Control& container, HWND parent) {
  for (Control* child : container.children()) CreateNative(*child, parent);
}

void FormPeer::CreateNative(Control& control, HWND parent) {
  Native native;
  native.control = &control;
  switch (control.kind()) {
    case Kind::kButton:
      native.window = CreateChild("BUTTON", static_cast<Button&>(control).caption(),
                                  BS_PUSHBUTTON | WS_TABSTOP, 0, parent, control, -1);
      break;
    case Kind::kCheckBox:
      // A plain check box: the model decides the state, the window shows it.
      native.window = CreateChild("BUTTON", static_cast<CheckBox&>(control).caption(),
                                  BS_CHECKBOX | WS_TABSTOP, 0, parent, control, -1);
      break;
    case Kind::kLabeledEdit:
      native.label = CreateChild("STATIC", static_cast<LabeledEdit&>(control).label(),
                                 SS_LEFT | SS_NOPREFIX, 0, parent, control, -1);
      [[fallthrough]];
    case Kind::kEdit:
      native.window =
          CreateChild("EDIT", static_cast<Edit&>(control).text(), ES_AUTOHSCROLL | WS_TABSTOP,
                      WS_EX_CLIENTEDGE, parent, control, -1);
      break;
    case Kind::kComboBox: {
      const bool list = static_cast<ComboBox&>(control).style() == ComboBox::Style::kDropDownList;
      native.window = CreateChild(
          "COMBOBOX", "",
          (list ? CBS_DROPDOWNLIST : CBS_DROPDOWN | CBS_AUTOHSCROLL) | WS_VSCROLL | WS_TABSTOP, 0,
          parent, control, -1);
      break;
    }
    case Kind::kRadioGroup: {
      native.window = CreateContainer(parent, control);
      const auto& items = static_cast<RadioGroup&>(control).items();
      for (size_t i = 0; i < items.size(); ++i) {
        HWND item = CreateChild("BUTTON", items[i], BS_RADIOBUTTON | WS_TABSTOP, 0, native.window,
                                control, static_cast<int>(i));
        ::ShowWindow(item, SW_SHOWNA);
        native.items.push_back(item);
      }
      break;
    }
    case Kind::kLabel:
      // Sized to its text by the layout: no word wrapping, which rounding
      // could otherwise trigger on the last word.
      native.window = CreateChild("STATIC", static_cast<Label&>(control).caption(),
                                  SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, parent, control, -1);
      break;
    case Kind::kMemo:
      native.window = CreateChild("EDIT", "", ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL,
                                  WS_EX_CLIENTEDGE, parent, control, -1);
      ::SendMessageA(native.window, EM_SETLIMITTEXT, 0, 0);  // no 32K cap
      break;
    case Kind::kUpDown:
      native.window = CreateChild(UPDOWN_CLASSA, "", 0, 0, parent, control, -1);
      break;
    case Kind::kGroupBox:
    case Kind::kTabSheet:
      native.window = CreateContainer(parent, control);
      natives_[&control] = native;
      CreateChildren(control, native.window);
      return;
    case Kind::kPageControl: {
      native.window = CreateContainer(parent, control);
      native.tabs = CreateChild(WC_TABCONTROLA, "", 0, 0, native.window, control, -1);
      ::ShowWindow(native.tabs, SW_SHOWNA);
      natives_[&control] = native;
      CreateChildren(control, native.window);
      // The sheets lie on the tab strip's page area: keep the strip beneath.
      ::SetWindowPos(native.tabs, HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      return;
    }
    case Kind::kForm:
    case Kind::kTimer:
    case Kind::kOpenDialog:
      return;
  }
  natives_[&control] = native;
}

void FormPeer::Relayout() {
  relayout_pending_ = false;
  if (window_ == nullptr) return;
  const bool first_layout = layout_.content_size() == Size{};
  if (!layout_.Update(form_)) return;
  const Size content = layout_.content_size();
  Move(root_, {-scroll_x_, -scroll_y_, content.width, content.height});
  ApplyAll(form_);
  // A window that is not maximized grows with its content, within the
  // frame's client area.
  if (!::IsZoomed(window_) && !::IsIconic(window_)) FitWindowToContent(!first_layout);
  UpdateScrollBars();
}

void FormPeer::ScheduleRelayout() {
  if (relayout_pending_ || window_ == nullptr) return;
  relayout_pending_ = ::PostMessageA(window_, win32::kRelayoutMessage, 0, 0) != FALSE;
}

void FormPeer::ApplyAll(Control& container) {
  for (Control* child : container.children()) {
    if (const Placement* placement = layout_.Find(*child)) Apply(*child, *placement);
    ApplyAll(*child);
  }
}

void FormPeer::Apply(Control& control, const Placement& placement) {
  auto it = natives_.find(&control);
  if (it == natives_.end()) return;
  Native& native = it->second;
  const Rect& b = placement.bounds;
  switch (control.kind()) {
    case Kind::kLabeledEdit:
      Move(native.label, Offset(placement.label, b));
      Move(native.window, Offset(placement.field, b));
      break;
    case Kind::kComboBox:
      Move(native.window, {b.x, b.y, b.width, kComboListHeight});
      break;
    case Kind::kRadioGroup:
      Move(native.window, b);
      for (size_t i = 0; i < native.items.size() && i < placement.items.size(); ++i)
        Move(native.items[i], placement.items[i]);
      break;
    case Kind::kPageControl:
      Move(native.window, b);
      Move(native.tabs, {0, 0, b.width, b.height});
      break;
    default:
      Move(native.window, b);
      break;
  }
  if (control.kind() == Kind::kGroupBox || control.kind() == Kind::kRadioGroup)
    ::InvalidateRect(native.window, nullptr, TRUE);
  native.placed = b;
}

void FormPeer::FitWindowToContent(bool grow_only) {
  // Small enough content still leaves the caption readable.
  const Size content = layout_.content_size();
  const int min_width = services_.measure->Measure(form_.caption()).width + kCaptionButtons;
  RECT frame{0, 0, std::max(content.width, min_width), std::max(content.height, kMinHeight)};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrA(window_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongPtrA(window_, GWL_EXSTYLE)));
  RECT now{};
  ::GetWindowRect(window_, &now);
  int width = static_cast<int>(frame.right - frame.left);
  int height = static_cast<int>(frame.bottom - frame.top);
  if (grow_only) {
    width = std::max(width, static_cast<int>(now.right - now.left));
    height = std::max(height, static_cast<int>(now.bottom - now.top));
  }
  RECT area{};
  if (::GetClientRect(mdi_client_ != nullptr ? mdi_client_ : ::GetDesktopWindow(), &area)) {
    width = std::min(width, static_cast<int>(area.right));
    height = std::min(height, static_cast<int>(area.bottom));
  }
  if (width == now.right - now.left && height == now.bottom - now.top) return;
  ::SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormPeer::UpdateScrollBars() {
  if (window_ == nullptr || root_ == nullptr || in_scroll_update_) return;
  in_scroll_update_ = true;
  // Decide both bars from the client area without bars, so that showing
  // one (which narrows the area) cannot make the decision flip back.
  const Size content = layout_.content_size();
  RECT client{};
  ::GetClientRect(window_, &client);
  const auto style = ::GetWindowLongPtrA(window_, GWL_STYLE);
  const int bar_width = ::GetSystemMetrics(SM_CXVSCROLL);
  const int bar_height = ::GetSystemMetrics(SM_CYHSCROLL);
  const int full_width = static_cast<int>(client.right) + ((style & WS_VSCROLL) ? bar_width : 0);
  const int full_height = static_cast<int>(client.bottom) + ((style & WS_HSCROLL) ? bar_height : 0);
  bool horizontal = content.width > full_width;
  bool vertical = content.height > full_height;
  if (vertical && !horizontal) horizontal = content.width > full_width - bar_width;
  if (horizontal && !vertical) vertical = content.height > full_height - bar_height;
  SetScrollBar(SB_HORZ, horizontal, content.width, full_width - (vertical ? bar_width : 0),
               shown_horizontal_);
  SetScrollBar(SB_VERT, vertical, content.height, full_height - (horizontal ? bar_height : 0),
               shown_vertical_);
  in_scroll_update_ = false;
  ScrollTo(scroll_x_, scroll_y_);
}

void FormPeer::SetScrollBar(int bar, bool needed, int total, int page, ScrollRange& shown) {
  const ScrollRange wanted{needed ? total - 1 : 0, needed ? page : 0};
  if (wanted == shown) return;  // the same again would only cause repaints
  shown = wanted;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE;
  info.nMax = wanted.max;
  info.nPage = static_cast<UINT>(std::max(wanted.page, 0));
  ::SetScrollInfo(window_, bar, &info, TRUE);
}

void FormPeer::ScrollTo(int x, int y) {
  if (window_ == nullptr || root_ == nullptr) return;
  RECT client{};
  ::GetClientRect(window_, &client);
  const Size content = layout_.content_size();
  scroll_x_ = std::clamp(x, 0, std::max(0, content.width - static_cast<int>(client.right)));
  scroll_y_ = std::clamp(y, 0, std::max(0, content.height - static_cast<int>(client.bottom)));
  ::SetScrollPos(window_, SB_HORZ, scroll_x_, TRUE);
  ::SetScrollPos(window_, SB_VERT, scroll_y_, TRUE);
  Move(root_, {-scroll_x_, -scroll_y_, content.width, content.height});
}

bool FormPeer::OnScroll(UINT message, WPARAM wparam) {
  const int bar = message == WM_HSCROLL ? SB_HORZ : SB_VERT;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  ::GetScrollInfo(window_, bar, &info);
  int pos = info.nPos;
  const int page = static_cast<int>(info.nPage);
  switch (LOWORD(wparam)) {
    case SB_LINEUP:
      pos -= kScrollLine;
      break;
    case SB_LINEDOWN:
      pos += kScrollLine;
      break;
    case SB_PAGEUP:
      pos -= page;
      break;
    case SB_PAGEDOWN:
      pos += page;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      pos = info.nTrackPos;
      break;
    case SB_TOP:
      pos = 0;
      break;
    case SB_BOTTOM:
      pos = info.nMax;
      break;
    default:
      return true;
  }
  if (bar == SB_HORZ) {
    ScrollTo(pos, scroll_y_);
  } else {
    ScrollTo(scroll_x_, pos);
  }
  return true;
}

bool FormPeer::FormMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  switch (message) {
    case WM_SIZE:
      UpdateScrollBars();
      return false;  // the MDI machinery needs it too
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (lparam != 0) return false;  // from a control, not the window's bars
      result = 0;
      return OnScroll(message, wparam);
    case WM_MOUSEWHEEL: {
      const int delta = GET_WHEEL_DELTA_WPARAM(wparam);
      ScrollTo(scroll_x_, scroll_y_ - delta * 2 * kScrollLine / WHEEL_DELTA);
      result = 0;
      return true;
    }
    case win32::kRelayoutMessage:
      Relayout();
      result = 0;
      return true;
    case WM_SETCURSOR:
      return OnSetCursor(result);
    default:
      return false;
  }
}

}  // namespace ui
