// The declarative layout every backend places and reports controls by,
// checked by what it promises rather than by its arithmetic, on both real
// panels and on a form with every kind, in two fonts and two styles; and
// both panels on the bench screens, in the dialog font.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
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
struct FixedMeasure : ui::TextMeasure {
  FixedMeasure(int char_width, int line_height) : char_(char_width), line_(line_height) {}
  ui::Size Measure(const std::string& text) const override {
    int lines = 1, longest = 0, current = 0;
    for (char c : text) {
      current = c == '\n' ? 0 : current + 1;
      lines += c == '\n';
      longest = std::max(longest, current);
    }
    return {char_ * longest, line_ * lines};
  }
  int char_, line_;
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
std::string Show(const Rect& r) {
  return "(" + std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.width) +
         "x" + std::to_string(r.height) + ")";
}

// Lists every broken promise of a form's layout: each control inside its
// container (a framed one's caption above it), apart from the others, at
// least as wide as its width hint, and every text shown whole (an edit's or
// combo box's with room for its frame or arrow, width hint or not).
class LayoutChecker {
 public:
  LayoutChecker(const ui::Form& form, const ui::Layout& layout, const ui::TextMeasure& measure)
      : measure_(measure), style_(layout.style()), layout_(layout) {
    CheckContainer(form, layout.content_size().width, layout.content_size().height, 0);
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
  void Fits(const ui::Control& control, const std::string& text, const Rect& rect, int pad = 0) {
    const ui::Size size = measure_.Measure(text);
    if (size.width + pad > rect.width || size.height > rect.height)
      Fault(control.name() + " " + Show(rect) + " cuts off \"" + text + "\"");
  }

  // `top`: a framed container's caption line, which its children stay below.
  void CheckContainer(const ui::Control& container, int width, int height, int top) {
    std::vector<const ui::Control*> placed;
    for (const ui::Control* child : container.children()) {
      const Rect* r = Bounds(*child);
      if (r == nullptr) continue;
      const bool framed = container.kind() == ui::Kind::kGroupBox;
      if (framed ? !InsideFrame(*r, width, height, top) : !Inside(*r, width, height))
        Fault(child->name() + " " + Show(*r) + " is not inside " + container.name());
      if (child->kind() != ui::Kind::kTabSheet) {
        for (const ui::Control* other : placed)
          if (Overlap(*r, *Bounds(*other))) Fault(child->name() + " overlaps " + other->name());
        placed.push_back(child);
      }
      if (r->width < child->width_chars() * style_.char_width)
        Fault(child->name() + " is narrower than its width hint");
      PerKind checks(*this, *layout_.Find(*child));
      child->Accept(checks);
    }
  }

  // What each kind promises besides.
  class PerKind final : public ui::ConstControlVisitor {
   public:
    PerKind(LayoutChecker& checker, const ui::Placement& p) : c_(checker), p_(p) {}
    void Visit(const ui::Form&) override {}
    void Visit(const ui::Memo&) override {}
    void Visit(const ui::UpDown&) override {}
    void Visit(const ui::Button& button) override { c_.Fits(button, button.caption(), p_.bounds); }
    void Visit(const ui::CheckBox& box) override { c_.Fits(box, box.caption(), p_.bounds); }
    void Visit(const ui::Label& label) override { c_.Fits(label, label.caption(), p_.bounds); }
    void Visit(const ui::Edit& edit) override {
      c_.Fits(edit, edit.text(), p_.bounds, c_.style_.edit_padding);
    }
    void Visit(const ui::ComboBox& combo) override {
      c_.Fits(combo, combo.text(), p_.bounds, c_.style_.combo_arrow);
      for (const std::string& item : combo.items())
        c_.Fits(combo, item, p_.bounds, c_.style_.combo_arrow);
    }
    // The caption above the edit box.
    void Visit(const ui::LabeledEdit& edit) override {
      c_.Fits(edit, edit.label(), p_.label);
      c_.Fits(edit, edit.text(), p_.field, c_.style_.edit_padding);
      const Rect& r = p_.bounds;
      if (!Inside(p_.label, r.width, r.height) || !Inside(p_.field, r.width, r.height) ||
          Bottom(p_.label) > p_.field.y)
        c_.Fault(edit.name() + ": the caption is not above the box");
    }
    void Visit(const ui::GroupBox& group) override {
      c_.Fits(group, group.caption(), p_.bounds);
      c_.CheckContainer(group, p_.bounds.width, p_.bounds.height,
                        c_.CaptionHeight(group.caption()));
    }
    void Visit(const ui::TabSheet& sheet) override {
      c_.CheckContainer(sheet, p_.bounds.width, p_.bounds.height, 0);
    }
    // The sheets share one page inside the page control, below the tabs;
    // each holds its controls as any container does.
    void Visit(const ui::PageControl& pages) override {
      const Rect* first = nullptr;
      for (const ui::Control* sheet : pages.children()) {
        const Rect* page = c_.Bounds(*sheet);
        if (page == nullptr) continue;
        if ((first != nullptr && !(*page == *first)) ||
            !InsideFrame(*page, p_.bounds.width, p_.bounds.height, c_.style_.tab_height))
          c_.Fault(sheet->name() + " " + Show(*page) + " is not the page below the tabs");
        first = page;
        PerKind checks(c_, *c_.layout_.Find(*sheet));
        sheet->Accept(checks);
      }
    }
    // The buttons lie apart inside the frame.
    void Visit(const ui::RadioGroup& group) override {
      c_.Fits(group, group.caption(), p_.bounds);
      const std::vector<Rect>& items = p_.items;
      if (items.size() != group.items().size()) c_.Fault(group.name() + " lacks button places");
      for (size_t i = 0; i < items.size() && i < group.items().size(); ++i) {
        c_.Fits(group, group.items()[i], items[i]);
        if (!InsideFrame(items[i], p_.bounds.width, p_.bounds.height,
                         c_.CaptionHeight(group.caption())))
          c_.Fault(group.name() + " button " + std::to_string(i) + " is not inside its frame");
        for (size_t j = 0; j < i; ++j)
          if (Overlap(items[i], items[j])) c_.Fault(group.name() + " buttons overlap");
      }
    }

   private:
    LayoutChecker& c_;
    const ui::Placement& p_;
  };

  const ui::TextMeasure& measure_;
  const ui::LayoutStyle& style_;
  const ui::Layout& layout_;
};

std::vector<std::string> Faults(const ui::Form& form, const ui::TextMeasure& measure,
                                const ui::LayoutStyle& style) {
  ui::Layout layout(measure, style);
  layout.Update(form);
  return LayoutChecker(form, layout, measure).faults;
}
// The promises of the layout a shown form keeps, in the dialog font.
std::vector<std::string> Faults(ui::Form& form) {
  return LayoutChecker(form, form.LaidOut(), ui::DialogFont()).faults;
}

class LayoutTest : public ::testing::Test {
 protected:
  ui::HeadlessServices services;
  ui::Application app{services};
  testing_host::RecordingHost host;
  gen1_panel::TKelboFMRGUI gen1{app, host.Context(services)};
  gen2_panel::Tfrm_DruskGUI gen2{app, host.Context(services)};
};

TEST_F(LayoutTest, PromisesHoldOnBothPanelsAndAFormWithEveryKind) {
  testing_windows::DemoForm demo(app);
  demo.signal->SetCaption("Signal: a much longer read-out\nover two lines");
  demo.frequency->set_width_chars(12);
  const ui::LayoutStyle roomy{.margin = 14,
                              .spacing = 3,
                              .row_spacing = 0,
                              .caption_height = 16,
                              .button_padding = 40,
                              .edit_width = 60,
                              .check_box = 26};
  for (const auto& [char_width, line_height] : {std::pair{6, 13}, std::pair{9, 18}}) {
    const FixedMeasure measure(char_width, line_height);
    for (ui::LayoutStyle style : {ui::LayoutStyle{}, roomy}) {
      style.char_width = char_width;
      for (const ui::Form* form : std::initializer_list<const ui::Form*>{&gen1, &gen2, &demo}) {
        SCOPED_TRACE(form->name() + " in a " + std::to_string(char_width) + "x" +
                     std::to_string(line_height) + " font, margin " + std::to_string(style.margin));
        EXPECT_THAT(Faults(*form, measure, style), IsEmpty());
      }
    }
  }
}

// A read-out keeps the largest size it needed, so the controls after it do
// not move back and forth with its text; the sizes follow every state the
// controls went through, so a form laid out after each change and one laid
// out once at the end agree.
TEST_F(LayoutTest, ControlsKeepTheLargestSizeTheyNeeded) {
  ui::Form often(app, "TOften"), once(app, "TOnce");
  ui::Form* forms[] = {&often, &once};
  ui::Label* readouts[2];
  ui::Button* after[2];
  for (int i : {0, 1}) {
    readouts[i] = &forms[i]->Add<ui::Label>("readout", forms[i], "RSSI");
    after[i] = &forms[i]->Add<ui::Button>("after", forms[i], "After");
    forms[i]->Show();
  }
  const int short_width = often.LaidOutBounds(*readouts[0])->width;
  std::vector<Rect> moved;
  for (const char* text : {"RSSI: -45 dBuV", "RSSI"}) {
    for (ui::Label* readout : readouts) readout->SetCaption(text);
    moved.push_back(*often.LaidOutBounds(*after[0]));
  }
  EXPECT_GT(often.LaidOutBounds(*readouts[0])->width, short_width);
  EXPECT_EQ(moved[1], moved[0]);
  EXPECT_EQ(often.LaidOutBounds(*readouts[0]), once.LaidOutBounds(*readouts[1]));
  EXPECT_EQ(often.LaidOutBounds(*after[0]), once.LaidOutBounds(*after[1]));
  EXPECT_EQ(often.LaidOutBounds(often), once.LaidOutBounds(once));
}

// Every control's bounds, by name.
std::map<std::string, std::string> AllBounds(ui::Form& form) {
  std::map<std::string, std::string> all;
  for (const auto& component : form.components()) {
    if (const auto* control = component->AsControl())
      all[control->name()] = Show(form.LaidOutBounds(*control).value_or(Rect{}));
  }
  return all;
}

// Both panels in the dialog font on the bench screens (bench_screen.h): the
// second generation, a normal window, fits whole without scroll bars (in a
// 1024x768 frame too); the first generation, maximized in a 1280x800 frame,
// fits whole without scroll bars and spreads across the screen's width.
// Read-outs are as wide as the values they show need: values showing move
// no control (a list of RDS groups only grows downwards) and show in full,
// and the programme types listed once their selector drops down and the
// fullest list of RDS groups keep the first generation on the screen.
TEST_F(LayoutTest, PanelsFitTheBenchScreensWithTheirReadOutValues) {
  using namespace testing_windows;
  gen1.Show();
  gen2.Show();
  const auto gen1_before = AllBounds(gen1);
  const auto gen2_before = AllBounds(gen2);
  const Rect second = *gen2.LaidOutBounds(gen2);
  for (const auto& screen : kBenchScreens) {
    EXPECT_LE(second.width, NormalClient(screen).width) << screen.name;
    EXPECT_LE(second.height, NormalClient(screen).height) << screen.name;
  }
  const auto gen1_fills_the_large_screen = [&](const char* when) {
    const Rect first = *gen1.LaidOutBounds(gen1);
    const ui::Size area = kLargeScreen.mdi_client;
    EXPECT_LE(first.width, area.width) << when;
    EXPECT_LE(first.height, area.height) << when;
    EXPECT_GE(first.width, area.width * 85 / 100) << when;
  };
  gen1_fills_the_large_screen("shown");
  EXPECT_THAT(Faults(gen1), IsEmpty());
  EXPECT_THAT(Faults(gen2), IsEmpty());

  gen1.LData->SetCaption("0xDBCA 0xCDAB 0xABDC 0x20CD ");  // 14 of the widest digits
  gen1.LStatus->SetCaption("0xD 0xB 0xC 0xA");
  gen1.LERSSI->SetText("-128");
  gen1.LEPilotFreq->SetText("19000");
  gen1.le_db->SetText("-12.5");
  gen1.LERXError->SetText("65535");
  gen1.le_scan_freq->SetText("107900000");
  gen1.le_pmu->SetText("Normal");
  gen1.LStereo->SetCaption("No");
  gen1.LReady->SetCaption("No");
  EXPECT_EQ(AllBounds(gen1), gen1_before);
  EXPECT_THAT(Faults(gen1), IsEmpty());
  gen1.cb_ptcDropDown();
  gen1_fills_the_large_screen("with the programme types");
  EXPECT_THAT(Faults(gen1), IsEmpty());
  // A reply with more groups than the list holds, every block and status
  // word in the widest digits: 16 groups, a blank line after every fourth.
  gen1::FmrParameters& reply = gen1.radio().parameters();
  reply.rdsGroupCount = 255;
  reply.rdsBlocks.fill(0xDBCA);
  reply.rdsGroupStatus.fill(0xDBCA);
  gen1.ShowParameters();
  EXPECT_EQ(ui::DialogFont().Measure(gen1.LData2->caption()).height,
            20 * ui::DialogFontMeasure::kLineHeight);
  gen1_fills_the_large_screen("with the fullest list of RDS groups");
  EXPECT_THAT(Faults(gen1), IsEmpty());

  const std::pair<ui::Label*, const char*> values[] = {{gen2.l1, "Test mode ON"},
                                                       {gen2.l2, "4294967295"},
                                                       {gen2.l3, "stereo"},
                                                       {gen2.l4, "stopped"},
                                                       {gen2.l5, "Pilot found"},
                                                       {gen2.l6, "-32768"},
                                                       {gen2.l7, "65535"},
                                                       {gen2.l8, "65535"},
                                                       {gen2.l9, "-2147483648"},
                                                       {gen2.l10, "LSI"},
                                                       {gen2.l_rx_ver, "FW 5.12.3"},
                                                       {gen2.l_pkg_ver, "SW 2.4.17 "},
                                                       {gen2.l_hw_ver, "DR947-B2 FMRX"},
                                                       {gen2.l_man_ver, "DRUSK"}};
  for (const auto& [label, value] : values) label->SetCaption(value);
  gen2.LData->SetText("0xC202  0x2427  0x2020  0x2020  0x0004  0x0020  0x0012 ");
  gen2.le_frequency->SetText("108000000");
  gen2.cb_station->SetItems({"87500000", "108000000"});
  EXPECT_EQ(AllBounds(gen2), gen2_before);
  // The last RDS group scrolls in its edit (a line of it would make the
  // panel too wide for a 1024x768 frame); the memo below wraps the lines.
  EXPECT_THAT(Faults(gen2), ElementsAre(StartsWith("LData ")));
}

}  // namespace
