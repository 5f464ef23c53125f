// The declarative layout the Windows backend places its controls by,
// checked by what it promises rather than by its arithmetic, on both real
// panels and on a form with every kind, in two fonts and two styles.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "demo_form.h"
#include "gen1_panel/kelbo_fmr_gui.h"
#include "gen2_panel/frm_drusk_gui.h"
#include "recording_host.h"
#include "ui/application.h"
#include "ui/control_visitor.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/headless/headless_services.h"
#include "ui/layout.h"

namespace {

using ::testing::IsEmpty;
using ui::Rect;

// Every character `char_width` pixels wide, every line `line_height` high.
class FixedMeasure : public ui::TextMeasure {
 public:
  FixedMeasure(int char_width, int line_height)
      : char_width_(char_width), line_height_(line_height) {}
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
    return {char_width_ * longest, line_height_ * lines};
  }

 private:
  int char_width_;
  int line_height_;
};

int Right(const Rect& r) {
  return r.x + r.width;
}
int Bottom(const Rect& r) {
  return r.y + r.height;
}
bool Overlap(const Rect& a, const Rect& b) {
  return a.x < Right(b) && b.x < Right(a) && a.y < Bottom(b) && b.y < Bottom(a);
}
bool Inside(const Rect& r, int width, int height) {
  return r.x >= 0 && r.y >= 0 && Right(r) <= width && Bottom(r) <= height;
}
// Inside a frame drawn along the edges, below a caption `top` high.
bool InsideFrame(const Rect& r, int width, int height, int top) {
  return r.x > 0 && r.y >= top && Right(r) < width && Bottom(r) < height;
}
// `later` follows `earlier` in reading order: on the same row to its
// right, or below it.
bool ReadsAfter(const Rect& later, const Rect& earlier) {
  const bool same_row = later.y < Bottom(earlier) && earlier.y < Bottom(later);
  return (same_row && later.x >= Right(earlier)) || later.y >= Bottom(earlier);
}
std::string Show(const Rect& r) {
  return "(" + std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.width) +
         "x" + std::to_string(r.height) + ")";
}

// Lays a form out and lists every broken promise of the layout.
class LayoutChecker {
 public:
  LayoutChecker(const ui::Form& form, const ui::TextMeasure& measure, ui::LayoutStyle style)
      : measure_(measure), style_(style), layout_(measure, style) {
    layout_.Update(form);
    const ui::Size content = layout_.content_size();
    CheckContainer(form, content.width, content.height, 0);
  }
  std::vector<std::string> faults;

 private:
  const Rect* Bounds(const ui::Control& control) {
    const ui::Placement* p = layout_.Find(control);
    if (p == nullptr) Fault(control.name() + " was not placed");
    return p != nullptr ? &p->bounds : nullptr;
  }
  void Fault(std::string text) { faults.push_back(std::move(text)); }
  int CaptionHeight(const std::string& caption) const {
    return caption.empty() ? 0 : measure_.Measure(caption).height;
  }

  // `top`: a framed container's caption line, which its children stay below.
  void CheckContainer(const ui::Control& container, int width, int height, int top) {
    std::vector<const ui::Control*> placed;
    const ui::Control* before = nullptr;
    for (const ui::Control* child : container.children()) {
      const Rect* r = Bounds(*child);
      if (r == nullptr) continue;
      const bool framed = container.kind() == ui::Kind::kGroupBox;
      if (framed ? !InsideFrame(*r, width, height, top) : !Inside(*r, width, height))
        Fault(child->name() + " " + Show(*r) + " is not inside " + container.name());
      if (child->kind() != ui::Kind::kTabSheet) {
        for (const ui::Control* other : placed) {
          if (Overlap(*r, *Bounds(*other))) Fault(child->name() + " overlaps " + other->name());
          if (!ReadsAfter(*r, *Bounds(*other)))
            Fault(child->name() + " " + Show(*r) + " comes before " + other->name() + " " +
                  Show(*Bounds(*other)));
        }
        placed.push_back(child);
      }
      if (before != nullptr && !child->new_row()) CheckLinedUp(*before, *child);
      before = child;
      CheckControl(*child, *r);
    }
  }

  // A label lines up with the one-line control beside it.
  void CheckLinedUp(const ui::Control& left, const ui::Control& right) {
    const auto kind = right.kind();
    if (left.kind() != ui::Kind::kLabel ||
        (kind != ui::Kind::kEdit && kind != ui::Kind::kComboBox && kind != ui::Kind::kButton &&
         kind != ui::Kind::kCheckBox))
      return;
    const Rect& a = *Bounds(left);
    const Rect& b = *Bounds(right);
    if (std::abs((a.y + Bottom(a)) - (b.y + Bottom(b))) > 2)
      Fault(left.name() + " " + Show(a) + " is not lined up with " + right.name() + " " + Show(b));
  }

  class PerKind;  // what each kind promises besides

  void CheckControl(const ui::Control& control, const Rect& r);

  // A text the control shows in full.
  void Fits(const ui::Control& control, const std::string& text, const Rect& rect) {
    const ui::Size size = measure_.Measure(text);
    if (size.width > rect.width || size.height > rect.height)
      Fault(control.name() + " " + Show(rect) + " cuts off \"" + text + "\"");
  }

  const ui::TextMeasure& measure_;
  ui::LayoutStyle style_;
  ui::Layout layout_;
};

// An edit or combo box with a width hint may scroll its text; every other
// text shows in full.
class LayoutChecker::PerKind final : public ui::ConstControlVisitor {
 public:
  PerKind(LayoutChecker& checker, const ui::Placement& p) : c_(checker), p_(p) {}

  void Visit(const ui::Form&) override {}
  void Visit(const ui::Memo&) override {}
  void Visit(const ui::UpDown&) override {}
  void Visit(const ui::Button& button) override { c_.Fits(button, button.caption(), p_.bounds); }
  void Visit(const ui::CheckBox& box) override { c_.Fits(box, box.caption(), p_.bounds); }
  void Visit(const ui::Label& label) override { c_.Fits(label, label.caption(), p_.bounds); }
  void Visit(const ui::Edit& edit) override {
    if (edit.width_chars() == 0) c_.Fits(edit, edit.text(), p_.bounds);
  }
  void Visit(const ui::ComboBox& combo) override {
    if (combo.width_chars() > 0) return;
    for (const std::string& item : combo.items()) c_.Fits(combo, item, p_.bounds);
  }
  // The caption above the edit box.
  void Visit(const ui::LabeledEdit& edit) override {
    c_.Fits(edit, edit.label(), p_.label);
    if (edit.width_chars() == 0) c_.Fits(edit, edit.text(), p_.field);
    const Rect& r = p_.bounds;
    if (!Inside(p_.label, r.width, r.height) || !Inside(p_.field, r.width, r.height) ||
        Bottom(p_.label) > p_.field.y)
      c_.Fault(edit.name() + ": the caption " + Show(p_.label) + " is not above the box " +
               Show(p_.field));
  }
  void Visit(const ui::GroupBox& group) override {
    c_.Fits(group, group.caption(), p_.bounds);
    c_.CheckContainer(group, p_.bounds.width, p_.bounds.height, c_.CaptionHeight(group.caption()));
  }
  void Visit(const ui::TabSheet& sheet) override {
    c_.CheckContainer(sheet, p_.bounds.width, p_.bounds.height, 0);
  }
  // The sheets share one page inside the page control, below the tabs.
  void Visit(const ui::PageControl& pages) override {
    const Rect* first = nullptr;
    for (const ui::Control* sheet : pages.children()) {
      const Rect* page = c_.Bounds(*sheet);
      if (page == nullptr) continue;
      if (first != nullptr && !(*page == *first))
        c_.Fault(sheet->name() + " " + Show(*page) + " is not the page of the other sheets");
      if (!InsideFrame(*page, p_.bounds.width, p_.bounds.height, c_.style_.tab_height))
        c_.Fault(sheet->name() + " " + Show(*page) + " is not below the tabs of " + pages.name());
      first = page;
    }
  }
  // The buttons lie apart inside the frame, column after column.
  void Visit(const ui::RadioGroup& group) override {
    c_.Fits(group, group.caption(), p_.bounds);
    const std::vector<Rect>& items = p_.items;
    if (items.size() != group.items().size()) c_.Fault(group.name() + " lacks button places");
    for (size_t i = 0; i < items.size() && i < group.items().size(); ++i) {
      c_.Fits(group, group.items()[i], items[i]);
      if (!InsideFrame(items[i], p_.bounds.width, p_.bounds.height,
                       c_.CaptionHeight(group.caption())))
        c_.Fault(group.name() + " button " + std::to_string(i) + " is not inside its frame");
      for (size_t j = 0; j < i; ++j) {
        if (Overlap(items[i], items[j]) ||
            !(items[i].y >= Bottom(items[j]) || items[i].x >= Right(items[j])))
          c_.Fault(group.name() + " buttons " + std::to_string(j) + " and " + std::to_string(i) +
                   " are out of order");
      }
    }
  }

 private:
  LayoutChecker& c_;
  const ui::Placement& p_;
};

void LayoutChecker::CheckControl(const ui::Control& control, const Rect& r) {
  if (r.width < control.width_chars() * style_.char_width)
    Fault(control.name() + " is narrower than its width hint");
  PerKind checks(*this, *layout_.Find(control));
  control.Accept(checks);
}

class LayoutTest : public ::testing::Test {
 protected:
  ui::HeadlessServices services;
  ui::Application app{services};
  testing_host::RecordingHost host;
};

TEST_F(LayoutTest, PromisesHoldOnBothPanelsAndAFormWithEveryKind) {
  TKelboFMRGUI gen1(app, host.Context(services));
  Tfrm_DruskGUI gen2(app, host.Context(services));
  testing_windows::DemoForm demo(app);
  demo.signal->SetCaption("Signal: a much longer read-out\nover two lines");
  demo.frequency->set_width_chars(12);

  ui::LayoutStyle roomy;
  roomy.margin = 14;
  roomy.spacing = 3;
  roomy.row_spacing = 0;
  roomy.caption_height = 16;
  roomy.button_padding = 40;
  roomy.check_box = 26;
  roomy.edit_width = 60;
  struct Font {
    int char_width;
    int line_height;
  };
  for (const Font font : {Font{6, 13}, Font{9, 18}}) {
    const FixedMeasure measure(font.char_width, font.line_height);
    for (ui::LayoutStyle style : {ui::LayoutStyle{}, roomy}) {
      style.char_width = font.char_width;
      for (const ui::Form* form :
           {static_cast<const ui::Form*>(&gen1), static_cast<const ui::Form*>(&gen2),
            static_cast<const ui::Form*>(&demo)}) {
        SCOPED_TRACE(form->name() + " in a " + std::to_string(font.char_width) + "x" +
                     std::to_string(font.line_height) + " font, margin " +
                     std::to_string(style.margin));
        EXPECT_THAT(LayoutChecker(*form, measure, style).faults, IsEmpty());
      }
    }
  }
}

// A read-out keeps the largest size it needed, so the controls after it do
// not move back and forth with its text; Update tells whether anything moved.
TEST_F(LayoutTest, ControlsKeepTheLargestSizeTheyNeeded) {
  ui::Form form(app, "TReadout");
  auto& readout = form.Add<ui::Label>("readout", &form, "RSSI");
  auto& after = form.Add<ui::Button>("after", &form, "B");
  const FixedMeasure measure(6, 13);
  ui::Layout layout(measure, ui::LayoutStyle{});
  auto bounds = [&](const ui::Control& c) { return layout.Find(c)->bounds; };
  EXPECT_TRUE(layout.Update(form));
  EXPECT_FALSE(layout.Update(form));
  const Rect short_text = bounds(readout);

  readout.SetCaption("RSSI: -45 dBuV");
  EXPECT_TRUE(layout.Update(form));
  const Rect long_text = bounds(readout);
  EXPECT_GT(long_text.width, short_text.width);
  const Rect moved = bounds(after);

  readout.SetCaption("RSSI");
  EXPECT_FALSE(layout.Update(form));
  EXPECT_EQ(bounds(readout), long_text);
  EXPECT_EQ(bounds(after), moved);
}

}  // namespace
