#include "ui/layout.h"

#include <algorithm>

#include "ui/controls.h"
#include "ui/form.h"

namespace ui {
namespace {

// Containers and tall controls hang from the top of their row; the others
// are centred in it, so a label lines up with the edit beside it.
bool HangsFromRowTop(Kind kind) {
  return kind == Kind::kGroupBox || kind == Kind::kRadioGroup || kind == Kind::kPageControl ||
         kind == Kind::kMemo;
}

}  // namespace

Layout::Layout(const TextMeasure& measure, LayoutStyle style) : measure_(measure), style_(style) {}

bool Layout::Update(const Form& form) {
  std::map<const Control*, Placement> before;
  before.swap(placements_);
  const Size content = ArrangeChildren(form, style_.margin, style_.margin);
  const Size old_content = content_;
  content_ = {content.width + style_.margin, content.height + style_.margin};
  if (before.size() != placements_.size() || !(old_content == content_)) return true;
  for (const auto& [control, placement] : placements_) {
    auto it = before.find(control);
    if (it == before.end() || !(it->second.bounds == placement.bounds) ||
        !(it->second.label == placement.label) || !(it->second.field == placement.field) ||
        it->second.items != placement.items)
      return true;
  }
  return false;
}

const Placement* Layout::Find(const Control& control) const {
  auto it = placements_.find(&control);
  return it == placements_.end() ? nullptr : &it->second;
}

Size Layout::ArrangeChildren(const Control& container, int left, int top) {
  int x = left;
  int y = top;
  int row_height = 0;
  int right = left;
  std::vector<const Control*> row;
  auto finish_row = [&] {
    for (const Control* c : row) {
      Placement& p = placements_[c];
      if (!HangsFromRowTop(c->kind())) p.bounds.y += (row_height - p.bounds.height) / 2;
    }
  };
  for (const Control* child : container.children()) {
    if (child->kind() == Kind::kTabSheet) continue;  // placed by its page control
    if (child->new_row() && !row.empty()) {
      finish_row();
      y += row_height + style_.row_spacing;
      x = left;
      row_height = 0;
      row.clear();
    }
    const Size size = Place(*child, x, y);
    row.push_back(child);
    x += size.width + style_.spacing;
    row_height = std::max(row_height, size.height);
    right = std::max(right, x - style_.spacing);
  }
  finish_row();
  return {right, y + row_height};
}

Size Layout::Place(const Control& control, int x, int y) {
  Placement placement;
  const Size size = NaturalSize(control, placement);
  placement.bounds = {x, y, size.width, size.height};
  placements_[&control] = std::move(placement);
  return size;
}

Size Layout::Grow(const Control& control, Size size) {
  Size& largest = largest_[&control];
  largest.width = std::max(largest.width, size.width);
  largest.height = std::max(largest.height, size.height);
  return largest;
}

Size Layout::NaturalSize(const Control& control, Placement& placement) {
  const LayoutStyle& s = style_;
  const int hinted = control.width_chars() * s.char_width;
  const int line_height = measure_.Measure("Xg").height;
  switch (control.kind()) {
    case Kind::kButton: {
      const Size text = measure_.Measure(static_cast<const Button&>(control).caption());
      return Grow(control, {std::max({s.button_min_width, text.width + s.button_padding, hinted}),
                            std::max(s.button_height, text.height + 10)});
    }
    case Kind::kCheckBox: {
      const Size text = measure_.Measure(static_cast<const CheckBox&>(control).caption());
      return Grow(control, {std::max(s.check_box + text.width + 4, hinted),
                            std::max(s.check_height, text.height + 4)});
    }
    case Kind::kEdit: {
      const Size text = measure_.Measure(static_cast<const Edit&>(control).text());
      const int width = hinted > 0 ? hinted + s.edit_padding
                                   : std::max(s.edit_width, text.width + s.edit_padding);
      return Grow(control, {width, s.edit_height});
    }
    case Kind::kLabeledEdit: {
      const auto& edit = static_cast<const LabeledEdit&>(control);
      const Size label = measure_.Measure(edit.label());
      const Size text = measure_.Measure(edit.text());
      const int field = hinted > 0 ? hinted + s.edit_padding
                                   : std::max(s.edit_width, text.width + s.edit_padding);
      const Size size =
          Grow(control, {std::max(field, label.width), line_height + s.label_gap + s.edit_height});
      placement.label = {0, 0, size.width, line_height};
      placement.field = {0, line_height + s.label_gap, size.width, s.edit_height};
      return size;
    }
    case Kind::kComboBox: {
      const auto& combo = static_cast<const ComboBox&>(control);
      int widest = measure_.Measure(combo.text()).width;
      for (const std::string& item : combo.items())
        widest = std::max(widest, measure_.Measure(item).width);
      const int width =
          hinted > 0 ? hinted + s.combo_arrow : std::max(s.combo_min_width, widest + s.combo_arrow);
      return Grow(control, {width, s.combo_height});
    }
    case Kind::kLabel: {
      const std::string& caption = static_cast<const Label&>(control).caption();
      Size text = measure_.Measure(caption);
      text.height = std::max(text.height, line_height);
      return Grow(control, {std::max(text.width, hinted), text.height});
    }
    case Kind::kMemo:
      return Grow(control, {hinted > 0 ? hinted + s.scrollbar + s.edit_padding : s.memo_width,
                            s.memo_height});
    case Kind::kUpDown:
      return Grow(control, {s.updown_width, s.edit_height});
    case Kind::kRadioGroup: {
      const auto& group = static_cast<const RadioGroup&>(control);
      const int count = static_cast<int>(group.items().size());
      const int columns = std::clamp(group.columns(), 1, std::max(count, 1));
      const int rows = (count + columns - 1) / columns;
      int item_width = 0;
      for (const std::string& item : group.items())
        item_width = std::max(item_width, s.check_box + measure_.Measure(item).width + 4);
      const int caption = measure_.Measure(group.caption()).width + 2 * s.margin + 8;
      const int items_width = columns * item_width + (columns - 1) * s.radio_column_spacing;
      const Size size =
          Grow(control, {std::max({items_width + 2 * s.margin, caption, hinted}),
                         s.margin + s.caption_height + rows * s.radio_item_height + s.margin});
      // Items fill the first column top to bottom, then the next.
      for (int i = 0; i < count; ++i) {
        const int column = i / std::max(rows, 1);
        const int row = i % std::max(rows, 1);
        placement.items.push_back({s.margin + column * (item_width + s.radio_column_spacing),
                                   s.margin + s.caption_height + row * s.radio_item_height,
                                   item_width, s.radio_item_height});
      }
      return size;
    }
    case Kind::kGroupBox: {
      const Size content = ArrangeChildren(control, s.margin, s.margin + s.caption_height);
      const int caption = measure_.Measure(static_cast<const GroupBox&>(control).caption()).width;
      return {std::max({content.width + s.margin, caption + 2 * s.margin + 8, hinted}),
              content.height + s.margin};
    }
    case Kind::kPageControl: {
      Size page{100, 50};
      int tabs = 0;
      std::vector<const Control*> sheets;
      for (const Control* child : control.children()) {
        if (child->kind() != Kind::kTabSheet) continue;
        sheets.push_back(child);
        const Size content = ArrangeChildren(*child, s.margin, s.margin);
        page.width = std::max(page.width, content.width + s.margin);
        page.height = std::max(page.height, content.height + s.margin);
        tabs += measure_.Measure(static_cast<const TabSheet&>(*child).caption()).width + 16;
      }
      page.width = std::max(page.width, tabs);
      for (const Control* sheet : sheets) {
        Placement& p = placements_[sheet];
        p.bounds = {2, s.tab_height + 2, page.width, page.height};
      }
      return {page.width + 4, page.height + s.tab_height + 4};
    }
    case Kind::kTabSheet:  // placed by its page control
    case Kind::kForm:      // the root
    case Kind::kTimer:     // not controls
    case Kind::kOpenDialog:
      break;
  }
  return {};
}

}  // namespace ui
