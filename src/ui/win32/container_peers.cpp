// The peers of the containers: framed ones (group boxes and, for its
// frame, the radio group), page controls and their tab sheets. Their
// windows are of the backend's container class.
#include "ui/win32/control_peers.h"

#include <commctrl.h>

namespace ui {

// FramedPeer

void FramedPeer::Mirror() {
  ::InvalidateRect(window_, nullptr, TRUE);
}

void FramedPeer::Place(const Placement& placement) {
  ControlPeer::Place(placement);
  ::InvalidateRect(window_, nullptr, TRUE);
}

void FramedPeer::Enable(bool enabled) {
  ControlPeer::Enable(enabled);
  ::InvalidateRect(window_, nullptr, TRUE);  // the caption greys out
}

void FramedPeer::Paint(HDC dc, HWND container) {
  HGDIOBJ old_font = ::SelectObject(dc, site().font());
  TEXTMETRICA metrics{};
  ::GetTextMetricsA(dc, &metrics);
  RECT frame{};
  ::GetClientRect(container, &frame);
  frame.top += metrics.tmHeight / 2;
  ::DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  if (!caption().empty()) {
    const std::string text = " " + caption() + " ";
    ::SetBkMode(dc, OPAQUE);
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    ::SetTextColor(
        dc, ::GetSysColor(EnabledWithContainers(control()) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    ::TextOutA(dc, 6, 0, text.c_str(), static_cast<int>(text.size()));
  }
  ::SelectObject(dc, old_font);
}

// GroupBox

void GroupBoxPeer::Create(HWND parent) {
  window_ = site().CreateContainer(*this, parent);
}

// PageControl

void PageControlPeer::Create(HWND parent) {
  window_ = site().CreateContainer(*this, parent);
  tabs_ = CreateChild(WC_TABCONTROLA, "", 0, window_);
  ::ShowWindow(tabs_, SW_SHOWNA);
}

void PageControlPeer::ChildrenCreated() {
  // The sheets lie on the tab strip's page area: keep the strip beneath.
  ::SetWindowPos(tabs_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void PageControlPeer::Mirror() {
  std::vector<TabSheet*> sheets;
  std::vector<std::string> captions;
  for (Control* child : pages_.children()) {
    if (child->kind() != Kind::kTabSheet) continue;
    auto* sheet = static_cast<TabSheet*>(child);
    if (!sheet->tab_visible()) continue;
    sheets.push_back(sheet);
    captions.push_back(sheet->caption());
  }
  if (sheets != sheets_ || captions != shown_) {
    ::SendMessageA(tabs_, TCM_DELETEALLITEMS, 0, 0);
    for (size_t i = 0; i < captions.size(); ++i) {
      TCITEMA item{};
      item.mask = TCIF_TEXT;
      item.pszText = captions[i].data();
      ::SendMessageA(tabs_, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    sheets_ = sheets;
    shown_ = captions;
  }
  int active = -1;
  for (size_t i = 0; i < sheets_.size(); ++i) {
    if (sheets_[i] == pages_.active_page()) active = static_cast<int>(i);
  }
  ::SendMessageA(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(active), 0);
  for (Control* child : pages_.children()) {
    if (ControlPeer* sheet = site().PeerOf(*child)) sheet->MirrorEnabledAndVisible();
  }
}

void PageControlPeer::Place(const Placement& placement) {
  const Rect& b = placement.bounds;
  MoveWindowTo(window_, b);
  MoveWindowTo(tabs_, {0, 0, b.width, b.height});
}

bool PageControlPeer::Notify(const NMHDR& header, LRESULT& result) {
  if (header.code != static_cast<UINT>(TCN_SELCHANGE)) return false;
  const LRESULT index = ::SendMessageA(tabs_, TCM_GETCURSEL, 0, 0);
  if (index >= 0 && static_cast<size_t>(index) < sheets_.size())
    pages_.SetActivePage(sheets_[static_cast<size_t>(index)]);
  result = 0;
  return true;
}

void PageControlPeer::Enable(bool enabled) {
  ControlPeer::Enable(enabled);
  if (tabs_ != nullptr) ::EnableWindow(tabs_, enabled ? TRUE : FALSE);
}

// TabSheet

void TabSheetPeer::Create(HWND parent) {
  window_ = site().CreateContainer(*this, parent);
}

void TabSheetPeer::Mirror() {
  if (ControlPeer* pages = site().PeerOf(*sheet_.parent())) pages->Mirror();
}

bool TabSheetPeer::Shown() const {
  const auto* pages = static_cast<const PageControl*>(sheet_.parent());
  return sheet_.visible() && pages != nullptr && pages->active_page() == &sheet_;
}

}  // namespace ui
