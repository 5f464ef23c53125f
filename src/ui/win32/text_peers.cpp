// The peers of the kinds that show a text: edits, labelled edits, memos
// and labels.
#include "ui/win32/control_peers.h"

namespace ui {
namespace {

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  return text;
}

COLORREF LabelColor(Label::Color color) {
  return color == Label::Color::kGreen ? RGB(0, 128, 0) : RGB(220, 0, 0);
}

}  // namespace

// Edit

void EditPeer::Create(HWND parent) {
  window_ =
      CreateChild("EDIT", edit_.text(), ES_AUTOHSCROLL | WS_TABSTOP, parent, WS_EX_CLIENTEDGE);
}

void EditPeer::Mirror() {
  SetWindowTextIfChanged(window_, edit_.text());
  ::SendMessageA(window_, EM_SETREADONLY, edit_.read_only() ? TRUE : FALSE, 0);
  // 0 lifts the native limit to its maximum, as the model's 0 means none.
  ::SendMessageA(window_, EM_SETLIMITTEXT, static_cast<WPARAM>(edit_.max_length()), 0);
}

bool EditPeer::Command(HWND from, int, UINT code) {
  if (code == EN_CHANGE) {
    const std::string text = WindowText(from);
    if (text != edit_.text() && !edit_.UserType(text)) site().Remirror(edit_);
  } else if (code == EN_KILLFOCUS) {
    edit_.UserLeave();
  }
  return true;
}

// LabeledEdit

void LabeledEditPeer::Create(HWND parent) {
  label_ = CreateChild("STATIC", edit_.label(), SS_LEFT | SS_NOPREFIX, parent);
  EditPeer::Create(parent);
}

void LabeledEditPeer::Mirror() {
  SetWindowTextIfChanged(label_, edit_.label());
  EditPeer::Mirror();
}

void LabeledEditPeer::Place(const Placement& placement) {
  const Rect& b = placement.bounds;
  MoveWindowTo(label_, {b.x + placement.label.x, b.y + placement.label.y, placement.label.width,
                        placement.label.height});
  MoveWindowTo(window_, {b.x + placement.field.x, b.y + placement.field.y, placement.field.width,
                         placement.field.height});
}

void LabeledEditPeer::Enable(bool enabled) {
  EditPeer::Enable(enabled);
  if (label_ != nullptr) ::EnableWindow(label_, enabled ? TRUE : FALSE);
}

void LabeledEditPeer::Show(bool shown) {
  EditPeer::Show(shown);
  if (label_ != nullptr) ::ShowWindow(label_, shown ? SW_SHOWNA : SW_HIDE);
}

// Memo

void MemoPeer::Create(HWND parent) {
  window_ =
      CreateChild("EDIT", "", ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, parent, WS_EX_CLIENTEDGE);
  ::SendMessageA(window_, EM_SETLIMITTEXT, 0, 0);  // no 32K cap
}

void MemoPeer::Mirror() {
  ::SendMessageA(window_, EM_SETREADONLY, memo_.read_only() ? TRUE : FALSE, 0);
  const std::vector<std::string>& lines = memo_.lines();
  const bool same_revision = shown_revision_ == memo_.lines_revision();
  if (same_revision && shown_lines_ == lines.size()) return;
  if (same_revision && shown_lines_ > 0 && shown_lines_ < lines.size()) {
    // Lines were added: append them instead of rewriting the whole text.
    std::string tail;
    for (size_t i = shown_lines_; i < lines.size(); ++i) (tail += "\r\n") += lines[i];
    const auto end = static_cast<WPARAM>(::GetWindowTextLengthA(window_));
    ::SendMessageA(window_, EM_SETSEL, end, static_cast<LPARAM>(end));
    ::SendMessageA(window_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(tail.c_str()));
  } else {
    ::SetWindowTextA(window_, JoinLines(lines).c_str());
  }
  ::SendMessageA(window_, EM_SCROLLCARET, 0, 0);
  shown_revision_ = memo_.lines_revision();
  shown_lines_ = lines.size();
}

// Label

void LabelPeer::Create(HWND parent) {
  // Sized to its text by the layout: no word wrapping, which rounding
  // could otherwise trigger on the last word.
  window_ = CreateChild("STATIC", label_.caption(), SS_LEFTNOWORDWRAP | SS_NOPREFIX, parent);
}

void LabelPeer::Mirror() {
  SetWindowTextIfChanged(window_, label_.caption());
  ::InvalidateRect(window_, nullptr, TRUE);  // the colour may have changed
}

LRESULT LabelPeer::ColorStatic(HDC dc) {
  if (label_.color() == Label::Color::kDefault) return 0;
  ::SetTextColor(dc, LabelColor(label_.color()));
  ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
}

}  // namespace ui
