// The declarative layout every backend places and reports controls by,
// checked by what it promises rather than by its arithmetic, on both real
// panels and on a form with every kind, in two fonts and two styles; and
// both panels on the bench screens, in the dialog font.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench_screen.h"
#include "demo_form.h"
#include "gen1_panel/kelbo_fmr_gui.h"
#include "gen2_panel/frm_drusk_gui.h"
#include "recording_host.h"
#include "ui/application.h"
#include "ui/control_visitor.h"
#include "ui/controls.h"
#include "ui/dialog_font.h"
#include "ui/form.h"
#include "ui/headless/headless_services.h"
#include "ui/layout.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;
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
// `later` follows `earlier` in reading order: in a later column, to the
// right of it; in the same column, on the same row to its right, or below
// it.
bool ReadsAfter(const Rect& later, int later_column, const Rect& earlier, int earlier_column) {
  if (later_column != earlier_column)
    return later_column > earlier_column && later.x >= Right(earlier);
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
    std::vector<std::pair<const ui::Control*, int>> placed;  // and its column
    const ui::Control* before = nullptr;
    int column = 0;
    for (const ui::Control* child : container.children()) {
      const Rect* r = Bounds(*child);
      if (r == nullptr) continue;
      if (child->new_column() && before != nullptr) ++column;
      const bool framed = container.kind() == ui::Kind::kGroupBox;
      if (framed ? !InsideFrame(*r, width, height, top) : !Inside(*r, width, height))
        Fault(child->name() + " " + Show(*r) + " is not inside " + container.name());
      if (child->kind() != ui::Kind::kTabSheet) {
        for (const auto& [other, other_column] : placed) {
          if (Overlap(*r, *Bounds(*other))) Fault(child->name() + " overlaps " + other->name());
          if (!ReadsAfter(*r, column, *Bounds(*other), other_column))
            Fault(child->name() + " " + Show(*r) + " comes before " + other->name() + " " +
                  Show(*Bounds(*other)));
        }
        placed.emplace_back(child, column);
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

// A container fills its columns left to right, each from the top: a
// control that starts a column goes right of everything before it.
TEST_F(LayoutTest, ColumnsStartAtTheTopRightOfTheColumnsBefore) {
  ui::Form form(app, "TColumns");
  auto& first = form.Add<ui::GroupBox>("first", &form, "First");
  form.Add<ui::Button>("wide", &first, "A rather wide button");
  auto& below = form.Add<ui::Button>("below", &form, "Below");
  below.set_new_row(true);
  auto& second = form.Add<ui::GroupBox>("second", &form, "Second");
  second.set_new_column(true);
  form.Add<ui::Button>("tall", &second, "Tall");
  form.Add<ui::Button>("taller", &second, "Taller").set_new_row(true);
  auto& beside = form.Add<ui::Label>("beside", &form, "Beside");
  const FixedMeasure measure(6, 13);
  const ui::LayoutStyle style;
  ui::Layout layout(measure, style);
  layout.Update(form);
  auto bounds = [&](const ui::Control& c) { return layout.Find(c)->bounds; };

  EXPECT_EQ(bounds(second).y, bounds(first).y);
  EXPECT_EQ(bounds(second).x, Right(bounds(first)) + style.column_spacing);
  EXPECT_GE(bounds(below).y, Bottom(bounds(first)));
  EXPECT_EQ(bounds(beside).x, Right(bounds(second)) + style.spacing) << "same row as its column's";
  const ui::Size content = layout.content_size();
  EXPECT_EQ(content.width, Right(bounds(beside)) + style.margin);
  EXPECT_EQ(content.height, std::max(Bottom(bounds(below)), Bottom(bounds(second))) + style.margin);
  EXPECT_THAT(LayoutChecker(form, measure, style).faults, IsEmpty());
}

// The sizes a form's layout keeps follow every state its controls went
// through, not the moments it was laid out at: a backend that lays out
// after each change and one that lays out once at the end agree.
TEST_F(LayoutTest, KeptSizesDoNotDependOnWhenTheFormIsLaidOut) {
  ui::Form often(app, "TOften");
  ui::Form once(app, "TOnce");
  for (ui::Form* form : {&often, &once}) {
    form->Add<ui::Label>("readout", form, "");
    form->Add<ui::Button>("after", form, "After");
    form->Show();
  }
  auto readout = [](ui::Form& f) { return static_cast<ui::Label*>(f.FindComponent("readout")); };
  for (const char* text : {"RSSI: -45 dBuV", "RSSI"}) {
    readout(often)->SetCaption(text);
    often.LaidOut();
    readout(once)->SetCaption(text);
  }
  for (const char* name : {"readout", "after"}) {
    const auto& control = *static_cast<ui::Control*>(often.FindComponent(name));
    EXPECT_EQ(often.LaidOutBounds(control),
              once.LaidOutBounds(*static_cast<ui::Control*>(once.FindComponent(name))))
        << name;
  }
  EXPECT_EQ(often.LaidOutBounds(often), once.LaidOutBounds(once));
}

// The edits and combo boxes whose text (or items) do not show in full,
// width hints or not.
std::vector<std::string> CutOffTexts(ui::Form& form) {
  const ui::LayoutStyle style = ui::DialogFontStyle();
  std::vector<std::string> cut;
  auto check = [&](const ui::Control& c, const std::string& text, int parts, int width) {
    if (ui::DialogFont().Measure(text).width + parts > width)
      cut.push_back(c.name() + " (" + std::to_string(width) + ") cuts off \"" + text + "\"");
  };
  for (const auto& component : form.components()) {
    const auto* control = dynamic_cast<const ui::Control*>(component.get());
    if (control == nullptr) continue;
    const ui::Placement& p = *form.LaidOut().Find(*control);
    if (control->kind() == ui::Kind::kLabeledEdit) {
      check(*control, static_cast<const ui::Edit*>(control)->text(), style.edit_padding,
            p.field.width);
    } else if (control->kind() == ui::Kind::kEdit) {
      check(*control, static_cast<const ui::Edit*>(control)->text(), style.edit_padding,
            p.bounds.width);
    } else if (control->kind() == ui::Kind::kComboBox) {
      const auto* combo = static_cast<const ui::ComboBox*>(control);
      check(*control, combo->text(), style.combo_arrow, p.bounds.width);
      for (const std::string& item : combo->items())
        check(*control, item, style.combo_arrow, p.bounds.width);
    }
  }
  return cut;
}

ui::Size Extent(ui::Form& form) {
  const Rect r = *form.LaidOutBounds(form);
  return {r.width, r.height};
}

// Both panels in the dialog font on the bench screens (bench_screen.h): the
// second generation, a normal window, fits whole without scroll bars (in a
// 1024x768 frame too); the first generation, maximized, shows its first
// groups without scrolling in a 1280x800 frame, and never scrolls sideways.
TEST_F(LayoutTest, PanelsFitTheBenchScreens) {
  using testing_windows::kBenchScreens;
  using testing_windows::kLargeScreen;
  using testing_windows::kScrollBar;
  using testing_windows::NormalClient;
  TKelboFMRGUI gen1(app, host.Context(services));
  Tfrm_DruskGUI gen2(app, host.Context(services));
  // Shown, with the texts the panels put in their controls then.
  for (ui::Form* form : {static_cast<ui::Form*>(&gen1), static_cast<ui::Form*>(&gen2)}) {
    form->Show();
    EXPECT_THAT(LayoutChecker(*form, ui::DialogFont(), ui::DialogFontStyle()).faults, IsEmpty())
        << form->name();
    EXPECT_THAT(CutOffTexts(*form), IsEmpty()) << form->name();
    const ui::Size extent = Extent(*form);
    RecordProperty(form->name() + "_extent",
                   std::to_string(extent.width) + "x" + std::to_string(extent.height));
  }

  const ui::Size second = Extent(gen2);
  for (const auto& screen : kBenchScreens) {
    EXPECT_LE(second.width, NormalClient(screen).width) << screen.name;
    EXPECT_LE(second.height, NormalClient(screen).height) << screen.name;
  }

  const ui::Size first = Extent(gen1);
  for (const auto& screen : kBenchScreens) {
    const ui::Size area = screen.mdi_client;
    EXPECT_LE(first.width, area.width - (first.height > area.height ? kScrollBar : 0))
        << screen.name;
  }
  for (const ui::GroupBox* group : {gen1.GBPowerTuning, gen1.GBAudio, gen1.GBRSSI, gen1.GBRDS}) {
    const Rect r = *gen1.LaidOutBounds(*group);
    EXPECT_LE(Bottom(r), kLargeScreen.mdi_client.height) << group->name();
    EXPECT_LE(Right(r), kLargeScreen.mdi_client.width - kScrollBar) << group->name();
  }
}

// Every control's bounds, by name.
std::map<std::string, Rect> AllBounds(ui::Form& form) {
  std::map<std::string, Rect> all;
  for (const auto& component : form.components()) {
    if (const auto* control = dynamic_cast<const ui::Control*>(component.get()))
      all[control->name()] = form.LaidOutBounds(*control).value_or(Rect{});
  }
  return all;
}

std::vector<std::string> Moved(ui::Form& form, const std::map<std::string, Rect>& before) {
  std::vector<std::string> moved;
  for (const auto& [name, bounds] : AllBounds(form)) {
    if (!(before.at(name) == bounds))
      moved.push_back(name + " " + Show(before.at(name)) + " -> " + Show(bounds));
  }
  return moved;
}

// Read-outs are as wide as the values they show need: values showing move
// no control of either panel (a list of RDS groups only grows downwards),
// and show in full.
TEST_F(LayoutTest, ReadOutValuesMoveNothing) {
  TKelboFMRGUI gen1(app, host.Context(services));
  Tfrm_DruskGUI gen2(app, host.Context(services));
  gen1.Show();
  gen2.Show();
  const std::map<std::string, Rect> gen1_before = AllBounds(gen1);
  const std::map<std::string, Rect> gen2_before = AllBounds(gen2);

  gen1.LData->SetCaption("0xC204 0x2168 0x696F 0x6E0D ");
  gen1.LStatus->SetCaption("0x0 0x0 0x5 0x0");
  gen1.LERSSI->SetText("-128");
  gen1.LEPilotFreq->SetText("19000");
  gen1.le_db->SetText("-12.5");
  gen1.LERXError->SetText("65535");
  gen1.le_scan_freq->SetText("107900000");
  gen1.le_pmu->SetText("Normal");
  gen1.LStereo->SetCaption("No");
  gen1.LReady->SetCaption("No");
  EXPECT_THAT(Moved(gen1, gen1_before), IsEmpty());
  EXPECT_THAT(CutOffTexts(gen1), IsEmpty());

  const char* values[] = {"Test mode ON", "4294967295", "stereo", "stopped",     "Pilot found",
                          "-32768",       "65535",      "65535",  "-2147483648", "LSI"};
  ui::Label* labels[] = {gen2.l1, gen2.l2, gen2.l3, gen2.l4, gen2.l5,
                         gen2.l6, gen2.l7, gen2.l8, gen2.l9, gen2.l10};
  for (size_t i = 0; i < std::size(labels); ++i) labels[i]->SetCaption(values[i]);
  gen2.l_rx_ver->SetCaption("FW 5.12.3");
  gen2.l_pkg_ver->SetCaption("SW 2.4.17 ");
  gen2.l_hw_ver->SetCaption("DR947-B2 FMRX");
  gen2.l_man_ver->SetCaption("DRUSK");
  gen2.LData->SetText("0xC202  0x2427  0x2020  0x2020  0x0004  0x0020  0x0012 ");
  gen2.le_frequency->SetText("108000000");
  gen2.cb_station->SetItems({"87500000", "108000000"});
  EXPECT_THAT(Moved(gen2, gen2_before), IsEmpty());
  // The last RDS group scrolls in its edit (a line of it would make the
  // panel too wide for a 1024x768 frame); the memo below wraps the lines.
  EXPECT_THAT(CutOffTexts(gen2), ElementsAre(StartsWith("LData ")));
}

}  // namespace
