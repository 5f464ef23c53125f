// The automation interface acting on a form with every kind of component.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/automation.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/headless/headless_services.h"
#include "ui/timer.h"

namespace {

class Automation : public ::testing::Test {
 protected:
  ui::HeadlessServices services;
  ui::Application app{services};
  ui::Form form{app, "TDemoGUI"};
  std::vector<std::string> fired;

  ui::GroupBox& group = form.Add<ui::GroupBox>("GBAudio", &form, "Audio Control");
  ui::Button& button = form.Add<ui::Button>("BtnGo", &group, "Go");
  ui::LabeledEdit& edit = form.Add<ui::LabeledEdit>("LEVolume", &group, "Volume", "5");
  ui::CheckBox& box = form.Add<ui::CheckBox>("CBMute", &group, "Mute");
  ui::ComboBox& combo = form.Add<ui::ComboBox>("CBBand", &group, ui::ComboBox::Style::kDropDownList,
                                               std::vector<std::string>{"Europe", "Japan"}, 0);
  ui::RadioGroup& radio =
      form.Add<ui::RadioGroup>("RGMode", &form, "Mode", std::vector<std::string>{"Rx", "Tx"}, 0);
  ui::Label& label = form.Add<ui::Label>("LReady", &form, "No");
  ui::Memo& memo = form.Add<ui::Memo>("MData", &form);
  ui::Timer& timer = form.Add<ui::Timer>("TRSSI", 1000);

  void SetUp() override {
    form.SetCaption("Demo \"panel\"");
    button.OnClick = [this] { fired.push_back("go"); };
    box.OnClick = [this] { fired.push_back(box.checked() ? "mute" : "unmute"); };
    combo.OnChange = [this] { fired.push_back("band-change"); };
  }
  std::string Run(const std::string& command) { return ui::RunAutomation(form, command); }
};

TEST_F(Automation, RefusesWhatAUserCouldNotDo) {
  button.SetEnabled(false);
  EXPECT_EQ(Run("click BtnGo"), "error: BtnGo is disabled");
  group.SetVisible(false);
  EXPECT_EQ(Run("check CBMute 1"), "error: CBMute is not visible");
  group.SetVisible(true);
  EXPECT_EQ(Run("click Nothing"), "error: no control named Nothing");
  EXPECT_EQ(Run("select CBBand 9"), "error: no item 9 in CBBand");
  EXPECT_EQ(Run("type CBBand x"), "error: CBBand is a drop-down list");
  EXPECT_EQ(Run("click MData"), "error: MData cannot be clicked");
  // Words quoted back are escaped: a refusal is one line of plain text.
  EXPECT_EQ(Run("get No\tthing"), "error: no control named No\\tthing");
  EXPECT_EQ(Run("frob\nnicate"), "error: unknown command 'frob\\nnicate'");
  EXPECT_EQ(Run("select CBBand \x01"), "error: no item \\x01 in CBBand");
  EXPECT_TRUE(fired.empty());
}

TEST_F(Automation, SelectTakesAnIndexAnExactTextOrAUniquePrefix) {
  combo.SetItems({"Europe", "Japan", "Jamaica"});
  EXPECT_EQ(Run("select CBBand Japan"), "ok");
  EXPECT_EQ(combo.item_index(), 1);
  EXPECT_EQ(Run("select CBBand Ja"), "error: no item Ja in CBBand");  // two items begin so
  EXPECT_EQ(Run("select RGMode Tx"), "ok");
  EXPECT_EQ(radio.item_index(), 1);
}

// Handset texts end up in captions, items and lines; no control byte of
// theirs may reach a terminal that shows the reply.
TEST_F(Automation, ControlBytesInTextsAreEscaped) {
  label.SetCaption("v\x1b]0;\"owned\"\a\x7f");
  EXPECT_EQ(Run("get LReady"),
            "kind=Label enabled=1 visible=1 caption=\"v\\x1B]0;\\\"owned\\\"\\x07\\x7F\" "
            "color=default bounds=413,61,90,13");
  combo.SetItems({"a\x1b[2Jb"});
  EXPECT_EQ(Run("items CBBand"), "a\\x1B[2Jb");
  memo.SetLines({"x\ty\x01"});
  EXPECT_EQ(Run("lines MData"), "x\\ty\\x01");
  services.ShowMessage("bad\x1b\nline", "Warn\x07", ui::MessageIcon::kWarning);
  EXPECT_EQ(Run("dialogs"), "Warn\\x07\tbad\\x1B\\nline");
}

// A host that never asks for the boxes must not make the plug-in grow: the
// newest thousand are kept and the older ones only counted.
TEST_F(Automation, MessageBoxesAreKeptUntilReadUpToALimit) {
  for (int i = 0; i < 1005; ++i) {
    services.ShowMessage("box " + std::to_string(i), "Warning", ui::MessageIcon::kWarning);
  }
  const std::string reply = Run("dialogs");
  EXPECT_EQ(reply.substr(0, reply.find('\n')), "(5 older message boxes dropped)");
  EXPECT_NE(reply.find("\nWarning\tbox 5\n"), std::string::npos);
  EXPECT_EQ(reply.substr(reply.rfind('\n') + 1), "Warning\tbox 1004");
  EXPECT_EQ(std::count(reply.begin(), reply.end(), '\n'), 1000);
  EXPECT_EQ(Run("dialogs"), "");
}

}  // namespace
