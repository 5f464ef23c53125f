// The declarative layout the Windows backend places its controls by.
#include <gtest/gtest.h>

#include <algorithm>

#include "ui/application.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/headless/headless_services.h"
#include "ui/layout.h"

namespace {

// Every character 6 pixels wide, every line 13 pixels high.
class FixedMeasure : public ui::TextMeasure {
 public:
  ui::Size Measure(const std::string& text) const override {
    int lines = 1;
    int longest = 0;
    int current = 0;
    for (char c : text) {
      if (c == '\n') {
        ++lines;
        current = 0;
      } else {
        longest = std::max(longest, ++current);
      }
    }
    return {6 * longest, 13 * lines};
  }
};

class LayoutTest : public ::testing::Test {
 protected:
  const ui::Rect& Bounds(const ui::Control& control) {
    const ui::Placement* placement = layout.Find(control);
    EXPECT_NE(placement, nullptr) << control.name();
    static const ui::Rect kNone{};
    return placement != nullptr ? placement->bounds : kNone;
  }

  ui::HeadlessServices services;
  ui::Application app{services};
  ui::Form form{app, "TDemo"};
  FixedMeasure measure;
  ui::LayoutStyle style;
  ui::Layout layout{measure, style};
};

TEST_F(LayoutTest, RowsFlowLeftToRightAndNewRowsStartBelowTheTallestControl) {
  auto& a = form.Add<ui::Button>("a", &form, "A");
  auto& b = form.Add<ui::Memo>("b", &form);
  auto& c = form.Add<ui::Button>("c", &form, "C");
  c.set_new_row(true);
  auto& d = form.Add<ui::Button>("d", &form, "D");
  layout.Update(form);

  const int m = style.margin;
  EXPECT_EQ(Bounds(b).x, m + style.button_min_width + style.spacing);
  EXPECT_EQ(Bounds(b).y, m);  // tall controls hang from the row's top
  EXPECT_EQ(Bounds(a).y, m + (style.memo_height - style.button_height) / 2);  // others centred
  EXPECT_EQ(Bounds(c).x, m);
  EXPECT_EQ(Bounds(c).y, m + style.memo_height + style.row_spacing);
  EXPECT_EQ(Bounds(d).x, m + style.button_min_width + style.spacing);
  EXPECT_EQ(layout.content_size(),
            (ui::Size{m + style.button_min_width + style.spacing + style.memo_width + m,
                      Bounds(c).y + style.button_height + m}));
}

TEST_F(LayoutTest, NaturalSizesFollowTheTexts) {
  struct Case {
    ui::Control* control;
    ui::Size expected;
  };
  auto& wide = form.Add<ui::Button>("wide", &form, std::string(20, 'x'));
  auto& box = form.Add<ui::CheckBox>("box", &form, "Stereo");
  auto& label = form.Add<ui::Label>("label", &form, "two\nlines");
  auto& empty = form.Add<ui::Label>("empty", &form, "");
  auto& combo = form.Add<ui::ComboBox>("combo", &form, ui::ComboBox::Style::kDropDownList,
                                       std::vector<std::string>{"a", std::string(30, 'y')});
  auto& hinted = form.Add<ui::Edit>("hinted", &form, "1");
  hinted.set_width_chars(8);
  auto& updown = form.Add<ui::UpDown>("updown", &form, 0, 9);
  layout.Update(form);

  const Case cases[] = {
      {&wide, {120 + style.button_padding, style.button_height}},
      {&box, {style.check_box + 36 + 4, style.check_height}},
      {&label, {30, 26}},
      {&empty, {0, 13}},
      {&combo, {180 + style.combo_arrow, style.combo_height}},
      {&hinted, {8 * style.char_width + style.edit_padding, style.edit_height}},
      {&updown, {style.updown_width, style.edit_height}},
  };
  for (const Case& c : cases) {
    const ui::Rect& r = Bounds(*c.control);
    EXPECT_EQ((ui::Size{r.width, r.height}), c.expected) << c.control->name();
  }
}

TEST_F(LayoutTest, GroupBoxHoldsItsRowsBelowItsCaption) {
  auto& group = form.Add<ui::GroupBox>("group", &form, "Tuning");
  auto& first = form.Add<ui::Button>("first", &group, "Tune");
  auto& second = form.Add<ui::Button>("second", &group, "Seek");
  second.set_new_row(true);
  layout.Update(form);

  const int top = style.margin + style.caption_height;
  EXPECT_EQ(Bounds(first),
            (ui::Rect{style.margin, top, style.button_min_width, style.button_height}));
  EXPECT_EQ(Bounds(second).y, top + style.button_height + style.row_spacing);
  EXPECT_EQ(Bounds(group), (ui::Rect{style.margin, style.margin,
                                     style.margin + style.button_min_width + style.margin,
                                     Bounds(second).y + style.button_height + style.margin}));
}

TEST_F(LayoutTest, LabeledEditPutsItsCaptionAboveTheBox) {
  auto& edit = form.Add<ui::LabeledEdit>("edit", &form, std::string(25, 'c'), "87.5");
  layout.Update(form);
  const ui::Placement* p = layout.Find(edit);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->bounds.width, 150);  // the caption is wider than the box
  EXPECT_EQ(p->label, (ui::Rect{0, 0, 150, 13}));
  EXPECT_EQ(p->field, (ui::Rect{0, 13 + style.label_gap, 150, style.edit_height}));
  EXPECT_EQ(p->bounds.height, 13 + style.label_gap + style.edit_height);
}

TEST_F(LayoutTest, RadioGroupFillsItsColumnsTopToBottom) {
  auto& group = form.Add<ui::RadioGroup>("group", &form, "Out",
                                         std::vector<std::string>{"aa", "bbbb", "c"}, 0, 2);
  layout.Update(form);
  const ui::Placement* p = layout.Find(group);
  ASSERT_NE(p, nullptr);
  ASSERT_EQ(p->items.size(), 3u);
  const int item_width = style.check_box + 24 + 4;  // the widest item
  const int top = style.margin + style.caption_height;
  EXPECT_EQ(p->items[0], (ui::Rect{style.margin, top, item_width, style.radio_item_height}));
  EXPECT_EQ(p->items[1].y, top + style.radio_item_height);  // two rows in the first column
  EXPECT_EQ(p->items[2].x, style.margin + item_width + style.radio_column_spacing);
  EXPECT_EQ(p->items[2].y, top);
  EXPECT_EQ(p->bounds.height, top + 2 * style.radio_item_height + style.margin);
}

TEST_F(LayoutTest, TabSheetsShareThePageOfTheLargestSheet) {
  auto& pages = form.Add<ui::PageControl>("pages", &form);
  auto& small = form.Add<ui::TabSheet>("small", &pages, "S");
  auto& large = form.Add<ui::TabSheet>("large", &pages, "L");
  form.Add<ui::Button>("b", &small, "B");
  auto& memo = form.Add<ui::Memo>("memo", &large);
  layout.Update(form);

  const ui::Rect page{2, style.tab_height + 2, style.margin + style.memo_width + style.margin,
                      style.margin + style.memo_height + style.margin};
  EXPECT_EQ(Bounds(small), page);
  EXPECT_EQ(Bounds(large), page);
  EXPECT_EQ(Bounds(memo).x, style.margin);  // relative to its sheet
  EXPECT_EQ(Bounds(pages).width, page.width + 4);
  EXPECT_EQ(Bounds(pages).height, page.height + style.tab_height + 4);
}

TEST_F(LayoutTest, ControlsKeepTheLargestSizeTheyNeeded) {
  auto& readout = form.Add<ui::Label>("readout", &form, "RSSI");
  auto& after = form.Add<ui::Button>("after", &form, "B");
  EXPECT_TRUE(layout.Update(form));
  EXPECT_FALSE(layout.Update(form));  // nothing changed

  readout.SetCaption("RSSI: -45 dBuV");
  EXPECT_TRUE(layout.Update(form));
  EXPECT_EQ(Bounds(readout).width, 84);
  const int after_x = Bounds(after).x;

  readout.SetCaption("RSSI");
  EXPECT_FALSE(layout.Update(form));
  EXPECT_EQ(Bounds(readout).width, 84);
  EXPECT_EQ(Bounds(after).x, after_x);
}

}  // namespace
