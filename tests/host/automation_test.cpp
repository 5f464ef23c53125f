// The automation interface acting on a form with every kind of component.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/exports.h"
#include "host/host_state.h"
#include "table_host.h"
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
    edit.OnChange = [this] { fired.push_back("change:" + edit.text()); };
    edit.OnExit = [this] { fired.push_back("exit"); };
    box.OnClick = [this] { fired.push_back(box.checked() ? "mute" : "unmute"); };
    combo.OnClick = [this] { fired.push_back("band-click"); };
    combo.OnChange = [this] { fired.push_back("band-change"); };
    combo.OnDropDown = [this] { fired.push_back("band-open"); };
    radio.OnClick = [this] { fired.push_back("mode"); };
    timer.OnTimer = [this] { fired.push_back("tick"); };
  }
  std::string Run(const std::string& command) { return RunAutomation(form, command); }
};

TEST_F(Automation, ListAndGetDescribeComponentsInOrder) {
  EXPECT_EQ(Run("list"),
            "GBAudio GroupBox\nBtnGo Button\nLEVolume LabeledEdit\nCBMute CheckBox\n"
            "CBBand ComboBox\nRGMode RadioGroup\nLReady Label\nMData Memo\nTRSSI Timer");
  // Buttons, edits, combo boxes, labels, timers and forms are read by the tours.
  EXPECT_EQ(Run("get DemoGUI"),
            "kind=Form enabled=1 visible=1 caption=\"Demo \\\"panel\\\"\" help=\"\"");
  EXPECT_EQ(Run("get RGMode"),
            "kind=RadioGroup enabled=1 visible=1 caption=\"Mode\" index=0 items=2");
  memo.SetLines({"a\tb", "c"});
  EXPECT_EQ(Run("get MData"), "kind=Memo enabled=1 visible=1 lines=2");
  EXPECT_EQ(Run("lines MData"), "a\tb\nc");
  EXPECT_EQ(Run("items CBBand"), "Europe\nJapan");
}

TEST_F(Automation, UserActionsFireWhatAUserWouldFire) {
  EXPECT_EQ(Run("click BtnGo"), "ok");
  EXPECT_EQ(Run("type LEVolume 12 dB"), "ok");
  EXPECT_EQ(Run("leave LEVolume"), "ok");
  EXPECT_EQ(Run("check CBMute 1"), "ok");
  EXPECT_EQ(Run("check CBMute 1"), "ok");  // no change, no event
  EXPECT_EQ(Run("click CBMute"), "ok");
  EXPECT_EQ(Run("select CBBand 1"), "ok");
  EXPECT_EQ(Run("dropdown CBBand"), "ok");
  EXPECT_EQ(Run("select RGMode 1"), "ok");
  EXPECT_EQ(Run("type LEVolume"), "ok");  // an empty text
  EXPECT_EQ(fired,
            (std::vector<std::string>{"go", "change:12 dB", "exit", "mute", "unmute", "band-click",
                                      "band-change", "band-open", "mode", "change:"}));
}

TEST_F(Automation, RefusesWhatAUserCouldNotDo) {
  button.SetEnabled(false);
  EXPECT_EQ(Run("click BtnGo"), "error: BtnGo is disabled");
  group.SetVisible(false);
  EXPECT_EQ(Run("check CBMute 1"), "error: CBMute is not visible");
  group.SetVisible(true);
  EXPECT_EQ(Run("click Nothing"), "error: no control named Nothing");
  EXPECT_EQ(Run("select CBBand 9"), "error: no item 9 in CBBand");
  EXPECT_EQ(Run("select CBBand x"), "error: select needs an item index");
  EXPECT_EQ(Run("check CBMute 2"), "error: check needs 0 or 1");
  EXPECT_EQ(Run("type CBBand x"), "error: CBBand is a drop-down list");
  EXPECT_EQ(Run("advance -1"), "error: advance needs milliseconds");
  EXPECT_EQ(Run("frobnicate LReady"), "error: unknown command 'frobnicate'");
  EXPECT_EQ(Run(""), "error: empty command");
  EXPECT_TRUE(fired.empty());
}

TEST_F(Automation, AdvanceDialogsAndFileAnswers) {
  timer.SetEnabled(true);
  EXPECT_EQ(Run("advance 2500"), "ok");
  EXPECT_EQ(fired, (std::vector<std::string>{"tick", "tick"}));

  services.ShowMessage("Input Value Out Of Range(0 ~ 15)\nline", "Warning",
                       ui::MessageIcon::kWarning);
  EXPECT_EQ(Run("dialogs"), "Warning\tInput Value Out Of Range(0 ~ 15)\\nline");
  EXPECT_EQ(Run("dialogs"), "");

  EXPECT_EQ(Run("answer-file /tmp/my file.ini"), "ok");
  EXPECT_EQ(Run("answer-file --cancel"), "ok");
  EXPECT_EQ(services.OpenFile("t", "f", "e"), std::optional<std::string>("/tmp/my file.ini"));
  EXPECT_EQ(services.OpenFile("t", "f", "e"), std::nullopt);
}

TEST(AutomationExport, NoPanelAnswersMinusOneAndRepliesAreTruncated) {
  testing_host::TableHost host;
  int app = 0;
  while (Host().current_panel != nullptr) CloseMDIChildForm(&app);
  char reply[8] = "unset";
  EXPECT_EQ(SonvioAutomate("list", reply, sizeof(reply)), -1);

  host.AnswerText("1021");
  ShowMDIChildForm(&app);
  const std::string full = RunAutomation(*Host().current_panel, "get KelboFMRGUI");
  EXPECT_EQ(SonvioAutomate("get KelboFMRGUI", reply, sizeof(reply)),
            static_cast<int32_t>(full.size()));
  EXPECT_EQ(std::string(reply), full.substr(0, 7));
  CloseMDIChildForm(&app);
}

}  // namespace
