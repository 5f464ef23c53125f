// The automation interface acting on a form with every kind of component.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <utility>
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
  ui::ComboBox& history =
      form.Add<ui::ComboBox>("LERegAddress", &form, ui::ComboBox::Style::kDropDown,
                             std::vector<std::string>{"0x0012", "0x0034"});
  ui::Edit& plain = form.Add<ui::Edit>("EData", &form, "ro");
  ui::UpDown& updown = form.Add<ui::UpDown>("UDStep", &form, 0, 2, 1);
  ui::PageControl& pages = form.Add<ui::PageControl>("PCPages", &form);
  ui::TabSheet& sheet = form.Add<ui::TabSheet>("TSRx", &pages, "FM RX");
  ui::Button& open = form.Add<ui::Button>("BtnOpen", &sheet, "Open");
  ui::OpenDialog& dialog = form.Add<ui::OpenDialog>("ODFile");

  void SetUp() override {
    form.SetCaption("Demo \"panel\"");
    auto record = [this](const char* what) { return [this, what] { fired.push_back(what); }; };
    button.OnClick = [this] {
      fired.push_back("go");
      services.ShowMessage("Level\t2", "Warning", ui::MessageIcon::kWarning);
    };
    box.OnClick = [this] { fired.push_back(box.checked() ? "mute" : "unmute"); };
    edit.OnChange = record("vol-change");
    edit.OnExit = record("vol-exit");
    combo.OnClick = record("band-click");
    combo.OnChange = record("band-change");
    combo.OnDropDown = record("band-drop");
    radio.OnClick = record("mode");
    history.OnChange = record("reg-change");
    history.OnExit = record("reg-exit");
    updown.OnClick = [this](bool up) { fired.push_back(up ? "up" : "down"); };
    timer.OnTimer = record("tick");
    timer.SetEnabled(true);
    plain.set_read_only(true);
    memo.SetLines({"first", "second"});
    label.SetCaption("No\r\nsignal");
    open.OnClick = [this] {
      fired.push_back(dialog.Execute() ? "file " + dialog.file_name : "cancelled");
    };
  }
  std::string Run(const std::string& command) { return ui::RunAutomation(form, command); }

  // Each command's reply and the handlers it ran, comma-separated.
  struct Step {
    std::string command;
    std::string reply;
    std::string fired;
  };
  void RunSteps(const std::vector<Step>& steps) {
    for (const Step& step : steps) {
      fired.clear();
      EXPECT_EQ(Run(step.command), step.reply) << step.command;
      std::string ran;
      for (const std::string& f : fired) ran += (ran.empty() ? "" : ",") + f;
      EXPECT_EQ(ran, step.fired) << step.command;
    }
  }
};

TEST_F(Automation, EveryVerbActsAsAUserAndRepliesWhatHappened) {
  RunSteps({
      {"click BtnGo", "ok", "go"},
      {"dialogs", "Warning\tLevel\\t2", ""},
      {"dialogs", "", ""},
      {"click CBMute\r\n", "ok", "mute"},
      {"check CBMute 1", "ok", ""},
      {"check CBMute 0", "ok", "unmute"},
      {"check CBMute 2", "error: check needs 0 or 1", ""},
      {"select CBBand 1", "ok", "band-click,band-change"},
      {"select CBBand Europe", "ok", "band-click,band-change"},
      {"select CBBand Jap", "ok", "band-click,band-change"},
      {"get CBBand",
       "kind=ComboBox enabled=1 visible=1 text=\"Japan\" index=1 items=2 bounds=266,36,68,21", ""},
      {"select CBBand 2", "error: no item 2 in CBBand", ""},
      {"select CBBand -1", "error: no item -1 in CBBand", ""},
      {"select RGMode Tx", "ok", "mode"},
      {"select RGMode 1", "ok", ""},
      {"select RGMode 2", "error: no item 2 in RGMode", ""},
      {"select BtnGo 0", "error: BtnGo has no items to select", ""},
      {"type LEVolume 12  dB", "ok", "vol-change"},
      {"get LEVolume",
       "kind=LabeledEdit enabled=1 visible=1 label=\"Volume\" text=\"12  dB\" bounds=99,28,100,37",
       ""},
      {"type LEVolume", "ok", "vol-change"},
      {"get LEVolume",
       "kind=LabeledEdit enabled=1 visible=1 label=\"Volume\" text=\"\" bounds=99,28,100,37", ""},
      {"type EData x", "error: EData is read-only", ""},
      {"type CBBand x", "error: CBBand is a drop-down list", ""},
      {"type LERegAddress 0x0034", "ok", "reg-change"},
      {"get LERegAddress",
       "kind=ComboBox enabled=1 visible=1 text=\"0x0034\" index=1 items=2 bounds=782,57,70,21", ""},
      {"type BtnGo x", "error: BtnGo takes no text", ""},
      {"leave LEVolume", "ok", "vol-exit"},
      {"leave LERegAddress", "ok", "reg-exit"},
      {"leave RGMode", "error: RGMode takes no focus", ""},
      {"dropdown CBBand", "ok", "band-drop"},
      {"click UDStep up", "ok", "up"},
      {"click UDStep", "ok", "up"},
      {"click UDStep down", "ok", "down"},
      {"click UDStep left", "error: click up or down", ""},
      {"click LReady", "error: LReady cannot be clicked", ""},
      {"click TRSSI", "error: TRSSI is not a control", ""},
      {"items CBBand", "Europe\nJapan", ""},
      {"items RGMode", "Rx\nTx", ""},
      {"items BtnGo", "error: BtnGo has no items", ""},
      {"lines MData", "first\nsecond", ""},
      {"lines LReady", "No\nsignal", ""},
      {"lines CBBand", "error: CBBand has no lines", ""},
      {"advance 999", "ok", ""},
      {"advance 1", "ok", "tick"},
      {"advance 2000", "ok", "tick,tick"},
      {"advance x", "error: advance needs milliseconds", ""},
      {"advance 5x", "error: advance needs milliseconds", ""},
      {"answer-file /tmp/my file.ini", "ok", ""},
      {"answer-file --cancel", "ok", ""},
      {"click BtnOpen", "ok", "file /tmp/my file.ini"},
      {"click BtnOpen", "ok", "cancelled"},
      {"answer-file", "error: answer-file needs a path or --cancel", ""},
      {"frob BtnGo", "error: unknown command 'frob'", ""},
      {"", "error: empty command", ""},
      {"click", "error: 'click' needs a control name", ""},
      {"get Nothing", "error: no control named Nothing", ""},
      // find: names, captions, labels and items, whatever the case; the form first.
      {"find japan", "CBBand ComboBox \"\"", ""},
      {"find TX", "RGMode RadioGroup \"Mode\"", ""},
      {"find 0x0034", "LERegAddress ComboBox \"\"", ""},
      {"find volume", "LEVolume LabeledEdit \"Volume\"", ""},
      {"find fm rx", "TSRx TabSheet \"FM RX\"", ""},
      {"find o",
       "DemoGUI Form \"Demo \\\"panel\\\"\"\nGBAudio GroupBox \"Audio Control\"\n"
       "BtnGo Button \"Go\"\nLEVolume LabeledEdit \"Volume\"\nCBBand ComboBox \"\"\n"
       "RGMode RadioGroup \"Mode\"\nLReady Label \"No\\r\\nsignal\"\n"
       "BtnOpen Button \"Open\"\n"
       "ODFile OpenDialog \"\"",
       ""},
      {"find", "error: find needs a text", ""},
  });
}

// Every kind's get line in one snapshot, and the list of components.
TEST_F(Automation, SnapshotAndListShowEveryComponent) {
  button.SetEnabled(false);
  label.SetColor(ui::Label::Color::kGreen);
  box.SetChecked(true);
  dialog.title = "Open file";
  EXPECT_EQ(
      Run("snapshot"),
      R"(DemoGUI: kind=Form enabled=1 visible=1 caption="Demo \"panel\"" help="" bounds=0,0,1105,136
GBAudio: kind=GroupBox enabled=1 visible=1 caption="Audio Control" bounds=8,8,334,65
BtnGo: kind=Button enabled=0 visible=1 caption="Go" bounds=16,34,75,25
LEVolume: kind=LabeledEdit enabled=1 visible=1 label="Volume" text="5" bounds=99,28,100,37
CBMute: kind=CheckBox enabled=1 visible=1 caption="Mute" checked=1 bounds=207,37,51,19
CBBand: kind=ComboBox enabled=1 visible=1 text="Europe" index=0 items=2 bounds=266,36,68,21
RGMode: kind=RadioGroup enabled=1 visible=1 caption="Mode" index=0 items=2 bounds=350,8,55,68
LReady: kind=Label enabled=1 visible=1 caption="No\r\nsignal" color=green bounds=413,55,33,26
MData: kind=Memo enabled=1 visible=1 lines=2 bounds=454,8,320,120
TRSSI: kind=Timer enabled=1 visible=0 interval=1000
LERegAddress: kind=ComboBox enabled=1 visible=1 text="" index=-1 items=2 bounds=782,57,70,21
EData: kind=Edit enabled=1 visible=1 text="ro" bounds=860,57,100,21
UDStep: kind=UpDown enabled=1 visible=1 position=1 bounds=968,57,17,21
PCPages: kind=PageControl enabled=1 visible=1 page="TSRx" bounds=993,8,104,78
TSRx: kind=TabSheet enabled=1 visible=1 caption="FM RX" bounds=995,34,100,50
BtnOpen: kind=Button enabled=1 visible=1 caption="Open" bounds=1003,42,75,25
ODFile: kind=OpenDialog enabled=1 visible=0 title="Open file" file="")");
  // list: the same components, "NAME KIND" each.
  std::string list;
  std::istringstream snapshot(Run("snapshot"));
  std::getline(snapshot, list);  // the form is no component of its own
  list.clear();
  for (std::string line; std::getline(snapshot, line);) {
    const size_t colon = line.find(": kind=");
    list += (list.empty() ? "" : "\n") + line.substr(0, colon) + " " +
            line.substr(colon + 7, line.find(' ', colon + 7) - colon - 7);
  }
  EXPECT_EQ(Run("list"), list);
}

// Every user action on a control that is disabled, invisible or inside a
// container that is: refused, nothing fired, nothing changed.
TEST_F(Automation, RefusesWhatAUserCouldNotDo) {
  const std::pair<ui::Control*, const char*> acts[] = {
      {&button, "click BtnGo"},         {&box, "click CBMute"},
      {&box, "check CBMute 1"},         {&combo, "select CBBand 1"},
      {&combo, "dropdown CBBand"},      {&history, "type LERegAddress 1"},
      {&history, "leave LERegAddress"}, {&edit, "type LEVolume 1"},
      {&edit, "leave LEVolume"},        {&radio, "select RGMode 1"},
      {&updown, "click UDStep up"},     {&open, "click BtnOpen"},
  };
  const std::string before = Run("snapshot");
  for (const auto& [control, command] : acts) {
    SCOPED_TRACE(command);
    const std::string refused = "error: " + control->name() + " is ";
    control->SetEnabled(false);
    EXPECT_EQ(Run(command), refused + "disabled");
    control->SetEnabled(true);
    control->SetVisible(false);
    EXPECT_EQ(Run(command), refused + "not visible");
    control->SetVisible(true);
    for (ui::Control* outer = control->parent(); outer != nullptr; outer = outer->parent()) {
      outer->SetEnabled(false);
      EXPECT_EQ(Run(command), refused + "disabled") << outer->name();
      outer->SetEnabled(true);
      outer->SetVisible(false);
      EXPECT_EQ(Run(command), refused + "not visible") << outer->name();
      outer->SetVisible(true);
    }
  }
  EXPECT_TRUE(fired.empty());
  EXPECT_EQ(Run("snapshot"), before);
  // Words quoted back are escaped: a refusal is one line of plain text.
  EXPECT_EQ(Run("get No\tthing"), "error: no control named No\\tthing");
  EXPECT_EQ(Run("frob\nnicate"), "error: unknown command 'frob\\nnicate'");
  EXPECT_EQ(Run("select CBBand \x01"), "error: no item \\x01 in CBBand");
}

TEST_F(Automation, SelectTakesAnIndexAnExactTextOrAUniquePrefix) {
  combo.SetItems({"Europe", "Japan", "Jamaica", "Jam"});
  EXPECT_EQ(Run("select CBBand Japan"), "ok");
  EXPECT_EQ(combo.item_index(), 1);
  EXPECT_EQ(Run("select CBBand Jam"), "ok");  // the exact text before a prefix
  EXPECT_EQ(combo.item_index(), 3);
  EXPECT_EQ(Run("select CBBand Ja"), "error: no item Ja in CBBand");  // three items begin so
  EXPECT_EQ(combo.item_index(), 3);
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
