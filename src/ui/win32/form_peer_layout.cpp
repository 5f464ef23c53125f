// Placing a form's controls from the layout, and scrolling the form window
// over them.
#include <algorithm>

#include "ui/dialog_font.h"
#include "ui/win32/control_peers.h"
#include "ui/win32/form_peer.h"
#include "ui/win32/window_classes.h"

namespace ui {
namespace {

constexpr int kScrollLine = 20;
constexpr int kWheelLines = 2;  // lines per notch of the mouse wheel
// Room for the icon and buttons of a title bar, and the least client height.
constexpr int kCaptionButtons = 120;
constexpr int kMinHeight = 60;

}  // namespace

void FormPeer::Relayout() {
  relayout_pending_ = false;
  if (window_ == nullptr) return;
  const Layout& layout = form_.LaidOut();
  // Automation may have brought the layout up to date before: what counts
  // is whether the windows still stand where an older run put them.
  if (placed_revision_ == layout.revision()) return;
  const bool first_layout = !placed_revision_.has_value();
  placed_revision_ = layout.revision();
  const Size content = layout.content_size();
  MoveWindowTo(root_, {-scroll_x_, -scroll_y_, content.width, content.height});
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
    const Placement* placement = form_.LaidOut().Find(*child);
    ControlPeer* peer = PeerOf(*child);
    if (placement != nullptr && peer != nullptr) peer->Place(*placement);
    ApplyAll(*child);
  }
}

void FormPeer::FitWindowToContent(bool grow_only) {
  // Small enough content still leaves the caption readable.
  const Size content = form_.LaidOut().content_size();
  const int min_width = DialogFont().Measure(form_.caption()).width + kCaptionButtons;
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
  HWND mdi_client = form_window_->mdi_client();
  RECT area{};
  if (::GetClientRect(mdi_client != nullptr ? mdi_client : ::GetDesktopWindow(), &area)) {
    // The frame's scroll bars go once every child fits: they take no room.
    if (mdi_client != nullptr) {
      const auto style = ::GetWindowLongPtrA(mdi_client, GWL_STYLE);
      if (style & WS_VSCROLL) area.right += ::GetSystemMetrics(SM_CXVSCROLL);
      if (style & WS_HSCROLL) area.bottom += ::GetSystemMetrics(SM_CYHSCROLL);
    }
    width = std::min(width, static_cast<int>(area.right));
    height = std::min(height, static_cast<int>(area.bottom));
  }
  if (width == now.right - now.left && height == now.bottom - now.top) return;
  // The MDI client works its scroll bars out again once the window has its
  // size, but from its client area as it is then: with the bars it showed
  // before still there, a window that fits only without them would leave
  // one standing. Hidden first, they come back if some window needs them.
  if (mdi_client != nullptr) ::ShowScrollBar(mdi_client, SB_BOTH, FALSE);
  ::SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormPeer::UpdateScrollBars() {
  if (window_ == nullptr || root_ == nullptr || in_scroll_update_) return;
  in_scroll_update_ = true;
  // Decide both bars from the client area without bars, so that showing
  // one (which narrows the area) cannot make the decision flip back.
  const Size content = form_.LaidOut().content_size();
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
  const Size content = form_.LaidOut().content_size();
  scroll_x_ = std::clamp(x, 0, std::max(0, content.width - static_cast<int>(client.right)));
  scroll_y_ = std::clamp(y, 0, std::max(0, content.height - static_cast<int>(client.bottom)));
  ::SetScrollPos(window_, SB_HORZ, scroll_x_, TRUE);
  ::SetScrollPos(window_, SB_VERT, scroll_y_, TRUE);
  MoveWindowTo(root_, {-scroll_x_, -scroll_y_, content.width, content.height});
}

bool FormPeer::OnScroll(UINT message, WPARAM wparam) {
  if (message == WM_MOUSEWHEEL) {
    const int delta = GET_WHEEL_DELTA_WPARAM(wparam);
    ScrollTo(scroll_x_, scroll_y_ - delta * kWheelLines * kScrollLine / WHEEL_DELTA);
    return true;
  }
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

}  // namespace ui
