#include "ui/layout.h"

#include <algorithm>

#include "ui/control_visitor.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace ui {
namespace {

// A text as tall as any line in the controls' font.
constexpr char kLineSample[] = "Xg";

}  // namespace

// The size rules: each kind's least size that shows its content, from the
// texts it holds, the style's part sizes and the control's width hint.
// Containers arrange their children on the way.
class Layout::Sizer final : public ConstControlVisitor {
 public:
  Sizer(Layout& layout, const Control& control, Placement& placement)
      : layout_(layout),
        s_(layout.style_),
        control_(control),
        placement_(placement),
        hinted_(control.width_chars() * s_.char_width) {}

  const Box& box() const { return box_; }

  void Visit(const Form&) override {}      // the root, not in any row
  void Visit(const TabSheet&) override {}  // placed by its page control

  void Visit(const Button& button) override {
    const Size text = Text(button.caption());
    Sticky({AtLeastHinted(std::max(s_.button_min_width, text.width + s_.button_padding)),
            std::max(s_.button_height, text.height + s_.button_padding_height)});
  }

  void Visit(const CheckBox& box) override {
    const Size text = Text(box.caption());
    Sticky({AtLeastHinted(s_.check_box + text.width + s_.check_padding),
            std::max(s_.check_height, text.height + s_.check_padding)});
  }

  void Visit(const Edit& edit) override { Sticky({EditWidth(edit), s_.edit_height}); }

  // The caption above the edit box, both as wide as the wider of them.
  void Visit(const LabeledEdit& edit) override {
    const int line = LineHeight();
    const Size size = Sticky({std::max(EditWidth(edit), Text(edit.label()).width),
                              line + s_.label_gap + s_.edit_height});
    placement_.label = {0, 0, size.width, line};
    placement_.field = {0, line + s_.label_gap, size.width, s_.edit_height};
  }

  void Visit(const ComboBox& combo) override {
    int widest = Text(combo.text()).width;
    for (const std::string& item : combo.items()) widest = std::max(widest, Text(item).width);
    Sticky({HintedOr(s_.combo_arrow, std::max(s_.combo_min_width, widest + s_.combo_arrow)),
            s_.combo_height});
  }

  void Visit(const Label& label) override {
    const Size text = Text(label.caption());
    Sticky({AtLeastHinted(text.width), std::max(text.height, LineHeight())});
  }

  void Visit(const Memo&) override {
    Sticky({HintedOr(s_.scrollbar + s_.edit_padding, s_.memo_width), s_.memo_height});
    box_.hangs = true;
  }

  void Visit(const UpDown&) override { Sticky({s_.updown_width, s_.edit_height}); }

  // The buttons fill the first column top to bottom, then the next.
  void Visit(const RadioGroup& group) override {
    const int count = static_cast<int>(group.items().size());
    const int columns = std::clamp(group.columns(), 1, std::max(count, 1));
    const int rows = (count + columns - 1) / columns;
    int item_width = 0;
    for (const std::string& item : group.items())
      item_width = std::max(item_width, s_.check_box + Text(item).width + s_.check_padding);
    const int column_width = item_width + s_.radio_column_spacing;
    const int top = s_.margin + s_.caption_height;
    Sticky({AtLeastHinted(std::max(columns * column_width - s_.radio_column_spacing + 2 * s_.margin,
                                   FramedCaptionWidth(group.caption()))),
            top + rows * s_.radio_item_height + s_.margin});
    box_.hangs = true;
    for (int i = 0; i < count; ++i)
      placement_.items.push_back({s_.margin + i / rows * column_width,
                                  top + i % rows * s_.radio_item_height, item_width,
                                  s_.radio_item_height});
  }

  void Visit(const GroupBox& group) override {
    const Size content = layout_.ArrangeChildren(group, s_.margin, s_.margin + s_.caption_height);
    box_ = {
        {AtLeastHinted(std::max(content.width + s_.margin, FramedCaptionWidth(group.caption()))),
         content.height + s_.margin},
        true};
  }

  // Every sheet gets the page of the largest one, inside the frame below
  // the tabs.
  void Visit(const PageControl& pages) override {
    Size page{s_.page_min_width, s_.page_min_height};
    int tabs = 0;
    std::vector<const TabSheet*> sheets;
    for (const Control* child : pages.children()) {
      if (child->kind() != Kind::kTabSheet) continue;
      sheets.push_back(static_cast<const TabSheet*>(child));
      const Size content = layout_.ArrangeChildren(*child, s_.margin, s_.margin);
      page = {std::max(page.width, content.width + s_.margin),
              std::max(page.height, content.height + s_.margin)};
      tabs += Text(sheets.back()->caption()).width + s_.tab_padding;
    }
    page.width = std::max(page.width, tabs);
    const int border = s_.page_border;
    for (const TabSheet* sheet : sheets)
      layout_.placements_[sheet].bounds = {border, s_.tab_height + border, page.width, page.height};
    box_ = {{page.width + 2 * border, s_.tab_height + page.height + 2 * border}, true};
  }

 private:
  Size Text(const std::string& text) const { return layout_.measure_.Measure(text); }
  int LineHeight() const { return Text(kLineSample).height; }
  // A width hint widens the control to it...
  int AtLeastHinted(int width) const { return std::max(width, hinted_); }
  // ...or replaces its content's width, beside the parts around the text.
  int HintedOr(int parts, int width) const { return hinted_ > 0 ? hinted_ + parts : width; }
  int EditWidth(const Edit& edit) const {
    return HintedOr(s_.edit_padding,
                    std::max(s_.edit_width, Text(edit.text()).width + s_.edit_padding));
  }
  // A group's frame shows its caption between the margins.
  int FramedCaptionWidth(const std::string& caption) const {
    return Text(caption).width + 2 * s_.margin + s_.frame_caption_padding;
  }
  // The size, never smaller than the control needed before.
  Size Sticky(Size size) { return box_.size = layout_.Grow(control_, size); }

  Layout& layout_;
  const LayoutStyle& s_;
  const Control& control_;
  Placement& placement_;
  const int hinted_;
  Box box_;
};

Layout::Layout(const TextMeasure& measure, LayoutStyle style) : measure_(measure), style_(style) {}

bool Layout::Update(const Form& form) {
  std::map<const Control*, Placement> before;
  before.swap(placements_);
  const Size content = ArrangeChildren(form, style_.margin, style_.margin);
  laid_out_ = true;
  const Size old_content = content_;
  content_ = {content.width + style_.margin, content.height + style_.margin};
  const bool changed = before.size() != placements_.size() || !(old_content == content_) ||
                       std::any_of(placements_.begin(), placements_.end(), [&](const auto& entry) {
                         auto it = before.find(entry.first);
                         const Placement& now = entry.second;
                         return it == before.end() || !(it->second.bounds == now.bounds) ||
                                !(it->second.label == now.label) ||
                                !(it->second.field == now.field) || it->second.items != now.items;
                       });
  if (changed) ++revision_;
  return changed;
}

void Layout::Note(const Control& control) {
  // Containers take their size from their children.
  if (!laid_out_ || !control.children().empty()) return;
  // Every change of a control passes here: the scratch placement keeps its
  // room from one to the next.
  scratch_.items.clear();
  NaturalSize(control, scratch_);
}

const Placement* Layout::Find(const Control& control) const {
  auto it = placements_.find(&control);
  return it == placements_.end() ? nullptr : &it->second;
}

std::optional<Rect> Layout::ClientBounds(const Control& control) const {
  if (control.kind() == Kind::kForm) return Rect{0, 0, content_.width, content_.height};
  const Placement* placement = Find(control);
  if (placement == nullptr) return std::nullopt;
  Rect bounds = placement->bounds;
  // Each container's children are placed from its own origin.
  for (const Control* c = control.parent(); c != nullptr && c->kind() != Kind::kForm;
       c = c->parent()) {
    const Placement* outer = Find(*c);
    if (outer == nullptr) return std::nullopt;
    bounds.x += outer->bounds.x;
    bounds.y += outer->bounds.y;
  }
  return bounds;
}

Size Layout::ArrangeChildren(const Control& container, int left, int top) {
  int column_left = left;
  int x = left;
  int y = top;
  int row_height = 0;
  int right = left;                              // of everything placed so far, in every column
  int bottom = top;                              // of the columns before the current one
  std::vector<std::pair<Placement*, bool>> row;  // placement, hangs from the row's top
  auto finish_row = [&] {
    for (auto [placement, hangs] : row) {
      if (!hangs) placement->bounds.y += (row_height - placement->bounds.height) / 2;
    }
  };
  for (const Control* child : container.children()) {
    if (child->new_column() && !row.empty()) {
      finish_row();
      bottom = std::max(bottom, y + row_height);
      column_left = right + style_.column_spacing;
      x = column_left;
      y = top;
      row_height = 0;
      row.clear();
    } else if (child->new_row() && !row.empty()) {
      finish_row();
      y += row_height + style_.row_spacing;
      x = column_left;
      row_height = 0;
      row.clear();
    }
    Placement placement;
    const Box box = NaturalSize(*child, placement);
    placement.bounds = {x, y, box.size.width, box.size.height};
    Placement& placed = placements_[child] = std::move(placement);
    row.emplace_back(&placed, box.hangs);
    x += box.size.width + style_.spacing;
    row_height = std::max(row_height, box.size.height);
    right = std::max(right, x - style_.spacing);
  }
  finish_row();
  return {right, std::max(bottom, y + row_height)};
}

Layout::Box Layout::NaturalSize(const Control& control, Placement& placement) {
  Sizer sizer(*this, control, placement);
  control.Accept(sizer);
  return sizer.box();
}

Size Layout::Grow(const Control& control, Size size) {
  Size& largest = largest_[&control];
  largest.width = std::max(largest.width, size.width);
  largest.height = std::max(largest.height, size.height);
  return largest;
}

}  // namespace ui
