// Writing the model's state into the native controls.
#include "ui/win32/form_peer.h"

#include <commctrl.h>

#include "ui/controls.h"

namespace ui {

std::string WindowText(HWND window) {
  const int length = ::GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int n = ::GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(n > 0 ? n : 0));
  return text;
}

namespace {

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  return text;
}

bool StartsWith(const std::vector<std::string>& lines, const std::vector<std::string>& prefix) {
  if (prefix.size() > lines.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (lines[i] != prefix[i]) return false;
  }
  return true;
}

// Counts nested writes, so notifications they cause are not taken for input.
class Writing {
 public:
  explicit Writing(int& depth) : depth_(depth) { ++depth_; }
  ~Writing() { --depth_; }
  Writing(const Writing&) = delete;
  Writing& operator=(const Writing&) = delete;

 private:
  int& depth_;
};

}  // namespace

void FormPeer::ComponentChanged(Component& component) {
  if (window_ == nullptr) return;
  auto* control = dynamic_cast<Control*>(&component);
  if (control == nullptr) return;  // timers and dialogs have no window
  Mirror(*control);
  ScheduleRelayout();
}

void FormPeer::SetText(HWND window, const std::string& text) {
  if (window != nullptr && WindowText(window) != text) ::SetWindowTextA(window, text.c_str());
}

bool FormPeer::EffectivelyEnabled(const Control& control) const {
  for (const Control* c = &control; c != nullptr; c = c->parent()) {
    if (!c->enabled()) return false;
  }
  return true;
}

void FormPeer::Mirror(Control& control) {
  Writing writing(updating_);
  if (&control == &form_) {
    SetText(window_, form_.caption());
    ::EnableWindow(window_, form_.enabled());
    const bool shown = ::IsWindowVisible(window_) != FALSE;
    if (shown != form_.visible()) ::ShowWindow(window_, form_.visible() ? SW_SHOW : SW_HIDE);
    MirrorSubtreeEnabled(form_);
    return;
  }
  auto it = natives_.find(&control);
  if (it == natives_.end()) return;
  MirrorKind(control, it->second);
  MirrorEnabledAndVisible(control);
  if (!control.children().empty()) MirrorSubtreeEnabled(control);
}

void FormPeer::MirrorEnabledAndVisible(Control& control) {
  auto it = natives_.find(&control);
  if (it == natives_.end()) return;
  Native& native = it->second;
  const BOOL enabled = EffectivelyEnabled(control) ? TRUE : FALSE;
  for (HWND window : {native.window, native.label, native.tabs}) {
    if (window != nullptr) ::EnableWindow(window, enabled);
  }
  for (HWND item : native.items) ::EnableWindow(item, enabled);
  if (control.kind() == Kind::kGroupBox || control.kind() == Kind::kRadioGroup)
    ::InvalidateRect(native.window, nullptr, TRUE);  // the caption greys out

  bool visible = control.visible();
  if (control.kind() == Kind::kTabSheet) {
    const auto* pages = static_cast<const PageControl*>(control.parent());
    visible = visible && pages != nullptr && pages->active_page() == &control;
  }
  for (HWND window : {native.window, native.label}) {
    if (window != nullptr) ::ShowWindow(window, visible ? SW_SHOWNA : SW_HIDE);
  }
}

void FormPeer::MirrorSubtreeEnabled(Control& container) {
  for (Control* child : container.children()) {
    MirrorEnabledAndVisible(*child);
    MirrorSubtreeEnabled(*child);
  }
}

void FormPeer::MirrorKind(Control& control, Native& native) {
  HWND window = native.window;
  switch (control.kind()) {
    case Kind::kButton:
      SetText(window, static_cast<Button&>(control).caption());
      break;
    case Kind::kCheckBox: {
      const auto& box = static_cast<CheckBox&>(control);
      SetText(window, box.caption());
      ::SendMessageA(window, BM_SETCHECK, box.checked() ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    }
    case Kind::kLabeledEdit:
      SetText(native.label, static_cast<LabeledEdit&>(control).label());
      [[fallthrough]];
    case Kind::kEdit: {
      const auto& edit = static_cast<Edit&>(control);
      SetText(window, edit.text());
      ::SendMessageA(window, EM_SETREADONLY, edit.read_only() ? TRUE : FALSE, 0);
      // 0 lifts the native limit to its maximum, as the model's 0 means none.
      ::SendMessageA(window, EM_SETLIMITTEXT, static_cast<WPARAM>(edit.max_length()), 0);
      break;
    }
    case Kind::kComboBox: {
      const auto& combo = static_cast<ComboBox&>(control);
      if (native.shown != combo.items()) {
        ::SendMessageA(window, CB_RESETCONTENT, 0, 0);
        for (const std::string& item : combo.items())
          ::SendMessageA(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        native.shown = combo.items();
      }
      const LRESULT selected = ::SendMessageA(window, CB_GETCURSEL, 0, 0);
      if (selected != combo.item_index())
        ::SendMessageA(window, CB_SETCURSEL, static_cast<WPARAM>(combo.item_index()), 0);
      if (combo.style() == ComboBox::Style::kDropDown) SetText(window, combo.text());
      break;
    }
    case Kind::kRadioGroup: {
      const auto& group = static_cast<RadioGroup&>(control);
      for (size_t i = 0; i < native.items.size(); ++i) {
        const bool on = static_cast<int>(i) == group.item_index();
        ::SendMessageA(native.items[i], BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
      }
      ::InvalidateRect(window, nullptr, TRUE);
      break;
    }
    case Kind::kLabel:
      SetText(window, static_cast<Label&>(control).caption());
      ::InvalidateRect(window, nullptr, TRUE);  // the colour may have changed
      break;
    case Kind::kMemo: {
      const auto& memo = static_cast<Memo&>(control);
      ::SendMessageA(window, EM_SETREADONLY, memo.read_only() ? TRUE : FALSE, 0);
      if (native.shown == memo.lines()) break;
      if (!native.shown.empty() && StartsWith(memo.lines(), native.shown)) {
        // Lines were added: append them instead of rewriting the whole text.
        std::string tail;
        for (size_t i = native.shown.size(); i < memo.lines().size(); ++i)
          tail += "\r\n" + memo.lines()[i];
        const auto end = static_cast<WPARAM>(::GetWindowTextLengthA(window));
        ::SendMessageA(window, EM_SETSEL, end, static_cast<LPARAM>(end));
        ::SendMessageA(window, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(tail.c_str()));
      } else {
        ::SetWindowTextA(window, JoinLines(memo.lines()).c_str());
      }
      ::SendMessageA(window, EM_SCROLLCARET, 0, 0);
      native.shown = memo.lines();
      break;
    }
    case Kind::kUpDown: {
      const auto& updown = static_cast<UpDown&>(control);
      ::SendMessageA(window, UDM_SETRANGE32, static_cast<WPARAM>(updown.min()), updown.max());
      ::SendMessageA(window, UDM_SETPOS32, 0, updown.position());
      break;
    }
    case Kind::kGroupBox:
      ::InvalidateRect(window, nullptr, TRUE);
      break;
    case Kind::kPageControl:
      MirrorTabs(static_cast<PageControl&>(control), native);
      break;
    case Kind::kTabSheet:
      if (auto* pages = static_cast<PageControl*>(control.parent())) {
        auto it = natives_.find(pages);
        if (it != natives_.end()) MirrorTabs(*pages, it->second);
      }
      break;
    case Kind::kForm:
    case Kind::kTimer:
    case Kind::kOpenDialog:
      break;
  }
}

void FormPeer::MirrorTabs(PageControl& pages, Native& native) {
  std::vector<TabSheet*> sheets;
  std::vector<std::string> captions;
  for (Control* child : pages.children()) {
    if (child->kind() != Kind::kTabSheet) continue;
    auto* sheet = static_cast<TabSheet*>(child);
    if (!sheet->tab_visible()) continue;
    sheets.push_back(sheet);
    captions.push_back(sheet->caption());
  }
  if (sheets != native.tab_sheets || captions != native.shown) {
    ::SendMessageA(native.tabs, TCM_DELETEALLITEMS, 0, 0);
    for (size_t i = 0; i < captions.size(); ++i) {
      TCITEMA item{};
      item.mask = TCIF_TEXT;
      item.pszText = captions[i].data();
      ::SendMessageA(native.tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    native.tab_sheets = sheets;
    native.shown = captions;
  }
  int active = -1;
  for (size_t i = 0; i < sheets.size(); ++i) {
    if (sheets[i] == pages.active_page()) active = static_cast<int>(i);
  }
  ::SendMessageA(native.tabs, TCM_SETCURSEL, static_cast<WPARAM>(active), 0);
  for (Control* child : pages.children()) {
    if (child->kind() == Kind::kTabSheet) MirrorEnabledAndVisible(*child);
  }
}

}  // namespace ui
