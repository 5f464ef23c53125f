#include "ui/controls.h"

#include <algorithm>

#include "ui/form.h"
#include "ui/services.h"

namespace ui {

// Button

Button::Button(Form& form, std::string name, Control* parent, std::string caption)
    : Control(form, std::move(name), Kind::kButton, parent), caption_(std::move(caption)) {}

void Button::SetCaption(std::string caption) {
  if (caption_ == caption) return;
  caption_ = std::move(caption);
  Changed();
}

void Button::Click() {
  Raise(OnClick);
}

bool Button::UserClick() {
  if (!Reachable()) return false;
  Click();
  return true;
}

// Edit

Edit::Edit(Form& form, std::string name, Control* parent, std::string text)
    : Edit(form, std::move(name), Kind::kEdit, parent, std::move(text)) {}

Edit::Edit(Form& form, std::string name, Kind kind, Control* parent, std::string text)
    : Control(form, std::move(name), kind, parent), text_(std::move(text)) {}

void Edit::SetText(std::string_view text) {
  if (text_ == text) return;
  text_.assign(text);
  Changed();
  Raise(OnChange);
}

bool Edit::UserType(std::string text) {
  if (!Reachable() || read_only_) return false;
  if (max_length_ > 0) {
    // The limit counts characters: cut before the first lead byte beyond it,
    // never inside a character.
    size_t characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      const bool continuation = (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
      if (!continuation && ++characters > max_length_) {
        text.resize(i);
        break;
      }
    }
  }
  text_ = std::move(text);
  Changed();
  Raise(OnChange);
  return true;
}

void Edit::UserLeave() {
  Raise(OnExit);
}

LabeledEdit::LabeledEdit(Form& form, std::string name, Control* parent, std::string label,
                         std::string text)
    : Edit(form, std::move(name), Kind::kLabeledEdit, parent, std::move(text)),
      label_(std::move(label)) {}

void LabeledEdit::SetLabel(std::string label) {
  if (label_ == label) return;
  label_ = std::move(label);
  Changed();
}

// CheckBox

CheckBox::CheckBox(Form& form, std::string name, Control* parent, std::string caption, bool checked)
    : Control(form, std::move(name), Kind::kCheckBox, parent),
      caption_(std::move(caption)),
      checked_(checked) {}

void CheckBox::SetCaption(std::string caption) {
  if (caption_ == caption) return;
  caption_ = std::move(caption);
  Changed();
}

void CheckBox::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  Changed();
  Raise(OnClick);
}

bool CheckBox::UserToggle() {
  if (!Reachable()) return false;
  SetChecked(!checked_);
  return true;
}

// ComboBox

ComboBox::ComboBox(Form& form, std::string name, Control* parent, Style style,
                   std::vector<std::string> items, int item_index)
    : Control(form, std::move(name), Kind::kComboBox, parent),
      style_(style),
      items_(std::move(items)) {
  SetItemIndex(item_index);
}

void ComboBox::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  ++items_revision_;
  item_index_ = -1;
  if (style_ == Style::kDropDownList) text_.clear();
  Changed();
}

void ComboBox::AddItem(std::string item) {
  items_.push_back(std::move(item));
  Changed();
}

void ComboBox::InsertItem(size_t index, std::string item) {
  index = std::min(index, items_.size());
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), std::move(item));
  ++items_revision_;
  if (item_index_ >= 0 && static_cast<size_t>(item_index_) >= index) ++item_index_;
  Changed();
}

void ComboBox::ClearItems() {
  SetItems({});
}

void ComboBox::SetItemIndex(int index) {
  const bool valid = index >= 0 && static_cast<size_t>(index) < items_.size();
  const int new_index = valid ? index : -1;
  const std::string_view new_text =
      valid ? std::string_view(items_[static_cast<size_t>(index)]) : std::string_view();
  if (new_index == item_index_ && new_text == text_) return;  // nothing to show anew
  item_index_ = new_index;
  text_.assign(new_text);
  Changed();
}

void ComboBox::SetText(std::string_view text) {
  text_.assign(text);
  item_index_ = -1;
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i] == text_) {
      item_index_ = static_cast<int>(i);
      break;
    }
  }
  Changed();
}

bool ComboBox::UserSelect(int index) {
  if (!Reachable() || index < 0 || static_cast<size_t>(index) >= items_.size()) return false;
  SetItemIndex(index);
  Raise({&OnClick, &OnChange});
  return true;
}

bool ComboBox::UserType(std::string text) {
  if (!Reachable() || style_ != Style::kDropDown) return false;
  SetText(std::move(text));
  Raise(OnChange);
  return true;
}

bool ComboBox::UserDropDown() {
  if (!Reachable()) return false;
  Raise(OnDropDown);
  return true;
}

void ComboBox::UserLeave() {
  Raise(OnExit);
}

// RadioGroup

RadioGroup::RadioGroup(Form& form, std::string name, Control* parent, std::string caption,
                       std::vector<std::string> items, int item_index, int columns)
    : Control(form, std::move(name), Kind::kRadioGroup, parent),
      caption_(std::move(caption)),
      items_(std::move(items)),
      item_index_(-1),
      columns_(columns) {
  SetItemIndex(item_index);
}

void RadioGroup::SetItemIndex(int index) {
  const int new_index = (index >= 0 && static_cast<size_t>(index) < items_.size()) ? index : -1;
  if (new_index == item_index_) return;
  item_index_ = new_index;
  Changed();
}

bool RadioGroup::UserSelect(int index) {
  if (!Reachable() || index < 0 || static_cast<size_t>(index) >= items_.size()) return false;
  if (index == item_index_) return true;
  SetItemIndex(index);
  Raise(OnClick);
  return true;
}

// Label

Label::Label(Form& form, std::string name, Control* parent, std::string caption)
    : Control(form, std::move(name), Kind::kLabel, parent), caption_(std::move(caption)) {}

void Label::SetCaption(std::string caption) {
  if (caption_ == caption) return;
  caption_ = std::move(caption);
  Changed();
}

void Label::SetColor(Color color) {
  if (color_ == color) return;
  color_ = color;
  Changed();
}

std::vector<std::string> Label::Lines() const {
  std::vector<std::string> lines;
  std::string current;
  for (size_t i = 0; i < caption_.size(); ++i) {
    char c = caption_[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(current);
      current.clear();
      if (c == '\r' && i + 1 < caption_.size() && caption_[i + 1] == '\n') ++i;
    } else {
      current += c;
    }
  }
  if (!current.empty() || lines.empty()) lines.push_back(current);
  return lines;
}

// Memo

Memo::Memo(Form& form, std::string name, Control* parent)
    : Control(form, std::move(name), Kind::kMemo, parent) {}

void Memo::AddLine(std::string line) {
  lines_.push_back(std::move(line));
  Changed();
}

void Memo::SetLines(std::vector<std::string> lines) {
  lines_ = std::move(lines);
  ++lines_revision_;
  Changed();
}

void Memo::Clear() {
  SetLines({});
}

// UpDown

UpDown::UpDown(Form& form, std::string name, Control* parent, int min, int max, int position)
    : Control(form, std::move(name), Kind::kUpDown, parent),
      min_(min),
      max_(max),
      position_(position) {}

void UpDown::SetPosition(int position) {
  position_ = position < min_ ? min_ : (position > max_ ? max_ : position);
  Changed();
}

bool UpDown::UserClick(bool up) {
  if (!Reachable()) return false;
  SetPosition(position_ + (up ? 1 : -1));
  if (OnClick) {
    const Handler handler = [this, up] { OnClick(up); };
    Raise(handler);
  }
  return true;
}

// GroupBox, PageControl, TabSheet

GroupBox::GroupBox(Form& form, std::string name, Control* parent, std::string caption)
    : Control(form, std::move(name), Kind::kGroupBox, parent), caption_(std::move(caption)) {}

PageControl::PageControl(Form& form, std::string name, Control* parent)
    : Control(form, std::move(name), Kind::kPageControl, parent) {}

void PageControl::SetActivePage(TabSheet* page) {
  active_ = page;
  Changed();
}

TabSheet::TabSheet(Form& form, std::string name, PageControl* parent, std::string caption)
    : Control(form, std::move(name), Kind::kTabSheet, parent), caption_(std::move(caption)) {
  if (parent->active_page() == nullptr) parent->SetActivePage(this);
}

void TabSheet::SetTabVisible(bool visible) {
  tab_visible_ = visible;
  SetVisible(visible);
  Changed();
}

// OpenDialog

OpenDialog::OpenDialog(Form& form, std::string name)
    : Component(form, std::move(name), Kind::kOpenDialog) {}

bool OpenDialog::Execute() {
  std::optional<std::string> path = services().OpenFile(title, filter, default_ext);
  if (!path) return false;
  file_name = *path;
  return true;
}

}  // namespace ui
