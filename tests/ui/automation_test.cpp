// The event rules of the component model: what fires for program actions and
// for timers on the headless virtual clock; the automation interface acting as
// a user on a form with every kind of component.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "test_folder.h"
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
  std::string fired;  // the handlers run, comma-separated

  void Fire(const std::string& what) { fired += (fired.empty() ? "" : ",") + what; }
  ui::Handler Record(const std::string& what) {
    return [this, what] { Fire(what); };
  }

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
                             std::vector<std::string>{"0x0012", "0x0034", "0x00"});
  ui::Edit& plain = form.Add<ui::Edit>("EData", &form, "ro");
  ui::UpDown& updown = form.Add<ui::UpDown>("UDStep", &form, 0, 2, 1);
  ui::PageControl& pages = form.Add<ui::PageControl>("PCPages", &form);
  ui::TabSheet& sheet = form.Add<ui::TabSheet>("TSRx", &pages, "FM RX");
  ui::Button& open = form.Add<ui::Button>("BtnOpen", &sheet, "Open");
  ui::OpenDialog& dialog = form.Add<ui::OpenDialog>("ODFile");

  void SetUp() override {
    form.SetCaption("Demo \"panel\"");
    button.OnClick = [this] {
      Fire("go");
      services.ShowMessage("Level\t2", "Warning", ui::MessageIcon::kWarning);
    };
    box.OnClick = [this] { Fire(box.checked() ? "mute" : "unmute"); };
    edit.OnChange = Record("vol-change");
    edit.OnExit = Record("vol-exit");
    combo.OnClick = Record("band-click");
    combo.OnChange = Record("band-change");
    combo.OnDropDown = Record("band-drop");
    radio.OnClick = Record("mode");
    history.OnChange = Record("reg-change");
    history.OnExit = Record("reg-exit");
    updown.OnClick = [this](bool up) { Fire(up ? "up" : "down"); };
    timer.OnTimer = Record("tick");
    timer.SetEnabled(true);
    plain.set_read_only(true);
    memo.SetLines({"first", "second"});
    label.SetCaption("No\r\nsignal");
    open.OnClick = [this] { Fire(dialog.Execute() ? "file " + dialog.file_name : "cancelled"); };
  }
  std::string Run(const std::string& command) { return ui::RunAutomation(form, command); }

  // Each command's reply and the handlers it ran, comma-separated.
  struct Step {
    std::string command, reply, fired;
  };
  void RunSteps(const std::vector<Step>& steps) {
    for (const Step& step : steps) {
      fired.clear();
      EXPECT_EQ(Run(step.command), step.reply) << step.command;
      EXPECT_EQ(fired, step.fired) << step.command;
    }
  }
};

TEST_F(Automation, EveryVerbActsAsAUserAndRepliesWhatHappened) {
  RunSteps({
      // clang-format off
      {"click BtnGo", "ok", "go"}, {"dialogs", "Warning\tLevel\\t2", ""}, {"dialogs", "", ""},
      {"click CBMute\r\n", "ok", "mute"}, {"check CBMute 1", "ok", ""},
      {"check CBMute 0", "ok", "unmute"}, {"check CBMute 2", "error: check needs 0 or 1", ""},
      {"select CBBand 1", "ok", "band-click,band-change"}, {"select CBBand Europe", "ok", "band-click,band-change"},
      {"select CBBand Jap", "ok", "band-click,band-change"},
      {"get CBBand", "kind=ComboBox enabled=1 visible=1 text=\"Japan\" index=1 items=2 bounds=266,36,68,21 group=\"Audio Control\"", ""},
      {"select CBBand 2", "error: no item 2 in CBBand", ""}, {"select CBBand -1", "error: no item -1 in CBBand", ""},
      {"select RGMode Tx", "ok", "mode"}, {"select RGMode 1", "ok", ""},
      {"select RGMode 2", "error: no item 2 in RGMode", ""}, {"type LEVolume 12  dB", "ok", "vol-change"},
      {"select BtnGo 0", "error: BtnGo has no items to select", ""},
      {"get LEVolume", "kind=LabeledEdit enabled=1 visible=1 label=\"Volume\" text=\"12  dB\" bounds=99,28,100,37 group=\"Audio Control\"", ""},
      {"type LEVolume", "ok", "vol-change"},
      {"get LEVolume", "kind=LabeledEdit enabled=1 visible=1 label=\"Volume\" text=\"\" bounds=99,28,100,37 group=\"Audio Control\"", ""},
      {"type EData x", "error: EData is read-only", ""}, {"type CBBand x", "error: CBBand is a drop-down list", ""},
      // An item's exact text before the start of others; a start of several is refused.
      {"select LERegAddress 0x0", "error: no item 0x0 in LERegAddress", ""}, {"select LERegAddress 0x00", "ok", "reg-change"},
      {"get LERegAddress", "kind=ComboBox enabled=1 visible=1 text=\"0x00\" index=2 items=3 bounds=782,57,70,21", ""},
      {"type LERegAddress 0x0034", "ok", "reg-change"},
      {"get LERegAddress", "kind=ComboBox enabled=1 visible=1 text=\"0x0034\" index=1 items=3 bounds=782,57,70,21", ""},
      {"type BtnGo x", "error: BtnGo takes no text", ""}, {"leave LEVolume", "ok", "vol-exit"},
      {"leave LERegAddress", "ok", "reg-exit"}, {"leave RGMode", "error: RGMode takes no focus", ""},
      {"dropdown CBBand", "ok", "band-drop"}, {"click UDStep up", "ok", "up"},
      {"click UDStep", "ok", "up"}, {"click UDStep down", "ok", "down"},
      {"click UDStep left", "error: click up or down", ""}, {"items CBBand", "Europe\nJapan", ""},
      {"click LReady", "error: LReady cannot be clicked", ""}, {"click TRSSI", "error: TRSSI is not a control", ""},
      {"items RGMode", "Rx\nTx", ""}, {"items BtnGo", "error: BtnGo has no items", ""}, {"lines MData", "first\nsecond", ""},
      {"lines LReady", "No\nsignal", ""}, {"lines CBBand", "error: CBBand has no lines", ""}, {"find", "error: find needs a text", ""},
      {"advance 999", "ok", ""}, {"advance 1", "ok", "tick"}, {"advance 2000", "ok", "tick,tick"},
      {"advance x", "error: advance needs milliseconds", ""}, {"advance 5x", "error: advance needs milliseconds", ""},
      {"answer-file /tmp/my file.ini", "ok", ""}, {"answer-file --cancel", "ok", ""},
      {"click BtnOpen", "ok", "file /tmp/my file.ini"}, {"click BtnOpen", "ok", "cancelled"},
      {"answer-file", "error: answer-file needs a path or --cancel", ""}, {"frob BtnGo", "error: unknown command 'frob'", ""},
      {"click", "error: 'click' needs a control name", ""}, {"get Nothing", "error: no control named Nothing", ""},
      // find: names, captions, labels and items, whatever the case; the form first.
      {"find japan", "CBBand ComboBox \"\" in \"Audio Control\"", ""}, {"find TX", "RGMode RadioGroup \"Mode\"", ""},
      {"find 0x0034", "LERegAddress ComboBox \"\"", ""}, {"", "error: empty command", ""},
      {"find volume", "LEVolume LabeledEdit \"Volume\" in \"Audio Control\"", ""}, {"find fm rx", "TSRx TabSheet \"FM RX\"", ""},
      {"find o", "DemoGUI Form \"Demo \\\"panel\\\"\"\nGBAudio GroupBox \"Audio Control\"\n"
                 "BtnGo Button \"Go\" in \"Audio Control\"\nLEVolume LabeledEdit \"Volume\" in \"Audio Control\"\n"
                 "CBBand ComboBox \"\" in \"Audio Control\"\n"
                 "RGMode RadioGroup \"Mode\"\nLReady Label \"No\\r\\nsignal\"\n"
                 "BtnOpen Button \"Open\"\nODFile OpenDialog \"\"", ""},
      // list: every component but the form, "NAME KIND" each.
      {"list", "GBAudio GroupBox\nBtnGo Button\nLEVolume LabeledEdit\nCBMute CheckBox\n"
               "CBBand ComboBox\nRGMode RadioGroup\nLReady Label\nMData Memo\nTRSSI Timer\n"
               "LERegAddress ComboBox\nEData Edit\nUDStep UpDown\nPCPages PageControl\n"
               "TSRx TabSheet\nBtnOpen Button\nODFile OpenDialog", ""},
      // clang-format on
  });
}

// Whole replies: every kind's get line in one snapshot, and the help text.
TEST_F(Automation, SnapshotAndHelpMatchTheirDataFiles) {
  button.SetEnabled(false);
  label.SetColor(ui::Label::Color::kGreen);
  box.SetChecked(true);
  dialog.title = "Open file";
  for (const char* command : {"snapshot", "help"}) {
    EXPECT_EQ(Run(command) + "\n",
              testing_files::ReadFile(SONVIO_SOURCE_DIR "/tests/ui/data/automation_" +
                                      std::string(command) + ".txt"));
  }
}

// An item's text comes before its index, in any letter case when only one
// item matches it; `where` names the containers around a control.
TEST_F(Automation, SelectTakesTextFirstAndWhereNamesTheGroups) {
  history.AddItem("2");
  history.AddItem("Auto");
  history.AddItem("AUTO");
  RunSteps({
      // clang-format off
      {"select LERegAddress 2", "ok", "reg-change"},
      {"get LERegAddress", "kind=ComboBox enabled=1 visible=1 text=\"2\" index=3 items=6 bounds=782,57,70,21", ""},
      {"select LERegAddress AUTO", "ok", "reg-change"}, {"select LERegAddress auto", "error: no item auto in LERegAddress", ""},
      {"select LERegAddress 0X0034", "ok", "reg-change"}, {"select LERegAddress au", "error: no item au in LERegAddress", ""},
      {"select CBBand jap", "ok", "band-click,band-change"}, {"select RGMode tx", "ok", "mode"},
      {"where CBBand", "\"Audio Control\"", ""}, {"where BtnOpen", "\"FM RX\"", ""},
      {"where LReady", "(the form)", ""}, {"advance 250", "ok", ""}, {"clock", "250", ""},
      // clang-format on
  });
}

// The bench guide's list of automation commands ("- `FORM`..." lines) is
// the table's, form by form.
TEST(AutomationCommands, GuideListsEveryFormOfEveryCommand) {
  std::ifstream readme(SONVIO_SOURCE_DIR "/docs/bench-guide.md");
  std::vector<std::string> listed;
  bool inside = false;
  for (std::string line; std::getline(readme, line);) {
    if (line.starts_with("## ")) inside = line == "## Automation commands";
    if (inside && line.starts_with("- `")) listed.push_back(line.substr(3, line.find('`', 3) - 3));
  }
  const std::vector<std::string_view> forms = ui::AutomationCommandForms();
  EXPECT_EQ(listed, std::vector<std::string>(forms.begin(), forms.end()));
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
    for (ui::Control* outer = control; outer != nullptr; outer = outer->parent()) {
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
}

// Handset texts end up in captions, items, lines and message boxes, and a
// command's own words in refusals: no control byte and no byte of broken
// UTF-8 may reach a terminal raw, while well-formed UTF-8 passes.
TEST_F(Automation, RepliesEscapeControlBytesAndBrokenUtf8) {
  // Two, three and four bytes: the lowest and highest of each, around the surrogates.
  const std::string valid =
      "\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF"
      "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF\xE2\x82\xAC";
  const std::pair<std::string, std::string> cases[] = {
      // raw (no blanks), escaped
      {"x\ty\r\nz\x01\x1b]0;\a\x7f", "x\\ty\\r\\nz\\x01\\x1B]0;\\x07\\x7F"},
      {valid, valid},
      {"a\xE2\x82", "a\\xE2\\x82"},  // cut short at the end
      {"\xF0\x9F\x93!\xC3(\x80\xBF",
       "\\xF0\\x9F\\x93!\\xC3(\\x80\\xBF"},             // cut short, lone continuations
      {"\xC0\xAF\xC1\xBF\xE0\x9F\xBF\xF0\x8F\xBF\xBF",  // overlong
       "\\xC0\\xAF\\xC1\\xBF\\xE0\\x9F\\xBF\\xF0\\x8F\\xBF\\xBF"},
      {"\xED\xA0\x80\xED\xBF\xBF\xF4\x90\x80\x80\xF5\x80",  // surrogates, above U+10FFFF
       "\\xED\\xA0\\x80\\xED\\xBF\\xBF\\xF4\\x90\\x80\\x80\\xF5\\x80"},
      {"\xFF\xFE" + valid, "\\xFF\\xFE" + valid},
  };
  for (const auto& [raw, escaped] : cases) {
    SCOPED_TRACE(escaped);
    memo.SetLines({raw});
    EXPECT_EQ(Run("lines MData"), escaped);
    services.ShowMessage(raw, raw, ui::MessageIcon::kWarning);
    EXPECT_EQ(Run("dialogs"), escaped + "\t" + escaped);
    EXPECT_EQ(Run(raw), "error: unknown command '" + escaped + "'");
    form.SetCaption(raw);
    EXPECT_EQ(Run("get DemoGUI"), "kind=Form enabled=1 visible=1 caption=\"" + escaped +
                                      "\" help=\"\" bounds=0,0,1105,136");
  }
}

// A host that never asks for the boxes must not make the plug-in grow: the
// newest thousand are kept and the older ones only counted.
TEST_F(Automation, MessageBoxesAreKeptUntilReadUpToALimit) {
  for (int i = 0; i < 1005; ++i) {
    services.ShowMessage("box " + std::to_string(i), "Warning", ui::MessageIcon::kWarning);
  }
  std::string kept = "(5 older message boxes dropped)";
  for (int i = 5; i < 1005; ++i) kept += "\nWarning\tbox " + std::to_string(i);
  EXPECT_EQ(Run("dialogs"), kept);
  EXPECT_EQ(Run("dialogs"), "");
}

// The program's own actions and the timers on the headless virtual clock, on
// the same form.
using ComponentEvents = Automation;

TEST_F(ComponentEvents, EditChangeFiresOnlyOnDifferenceAndTypingStopsAtTheLimit) {
  edit.SetText("5");
  edit.SetText("90000000");
  EXPECT_EQ(fired, "vol-change");
  edit.set_max_length(9);
  // Typing stops at the limit, which counts characters and never cuts one
  // in half (an e acute after eight or nine letters).
  for (const auto& [typed, kept] : {std::pair{"1234567890", "123456789"},
                                    {"aaaaaaaa\xC3\xA9", "aaaaaaaa\xC3\xA9"},
                                    {"aaaaaaaaa\xC3\xA9", "aaaaaaaaa"}}) {
    EXPECT_TRUE(edit.UserType(typed));
    EXPECT_EQ(edit.text(), kept);
  }
  edit.SetText("1234567890");
  EXPECT_EQ(edit.text(), "1234567890") << "the program is not limited";
  edit.set_read_only(true);
  EXPECT_FALSE(edit.UserType("1"));
}

// What the program's own actions fire, and the state they leave.
TEST_F(ComponentEvents, ProgramActionsFireWhatTheToolkitFires) {
  for (ui::Control* c : std::initializer_list<ui::Control*>{&button, &box, &combo, &radio})
    c->SetEnabled(false);  // the program is not stopped by that
  button.SetVisible(false);
  button.OnClick = Record("click");
  box.OnClick = Record("box");
  combo.OnClick = combo.OnChange = history.OnChange = radio.OnClick = Record("select");
  auto state = [&] {
    return std::to_string(box.checked()) + " " + std::to_string(combo.item_index()) + ":" +
           combo.text() + " " + std::to_string(history.item_index()) + ":" + history.text() + " " +
           std::to_string(radio.item_index()) + " " + std::to_string(updown.position());
  };
  const struct {
    std::function<void()> act;
    const char* fired;
    const char* state;  // box, combo index:text, history index:text, radio, up-down
  } steps[] = {
      {[&] { button.Click(); }, "click", "0 0:Europe -1: 0 1"},
      // A user's click on a shown but disabled button fires nothing.
      {[&] { button.SetVisible(true), button.UserClick(), button.SetVisible(false); }, "",
       "0 0:Europe -1: 0 1"},
      {[&] { box.SetChecked(true); }, "box", "1 0:Europe -1: 0 1"},
      {[&] { box.SetChecked(true); }, "", "1 0:Europe -1: 0 1"},
      {[&] { box.SetChecked(false); }, "box", "0 0:Europe -1: 0 1"},
      {[&] { combo.SetItemIndex(1); }, "", "0 1:Japan -1: 0 1"},
      {[&] { combo.SetItemIndex(2); }, "", "0 -1: -1: 0 1"},
      {[&] { history.SetText("0x0034"); }, "", "0 -1: 1:0x0034 0 1"},
      {[&] { history.InsertItem(1, "0x0"); }, "", "0 -1: 2:0x0034 0 1"},
      {[&] { history.SetText("0x7"); }, "", "0 -1: -1:0x7 0 1"},
      {[&] { history.SetItems({"0x7"}); }, "", "0 -1: -1:0x7 0 1"},
      {[&] { combo.SetItemIndex(0), combo.SetItems({"c"}); }, "", "0 -1: -1:0x7 0 1"},
      {[&] { radio.SetItemIndex(1); }, "", "0 -1: -1:0x7 1 1"},
      {[&] { radio.SetItemIndex(5); }, "", "0 -1: -1:0x7 -1 1"},
      {[&] { updown.SetPosition(7); }, "", "0 -1: -1:0x7 -1 2"},
      {[&] { updown.SetPosition(-5); }, "", "0 -1: -1:0x7 -1 0"},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    fired.clear();
    steps[i].act();
    EXPECT_EQ(fired + " " + state(), std::string(steps[i].fired) + " " + steps[i].state) << i;
  }
}

// Overdue timers fire once when the thread becomes idle again, not once per
// missed interval, as the window system coalesces timer messages.
TEST_F(ComponentEvents, TimersFireInTimeOrderOnAdvanceOnly) {
  const auto record = [this](const std::string& name) {
    return [this, name] { Fire(name + "@" + std::to_string(services.NowMs())); };
  };
  auto& slow = form.Add<ui::Timer>("TSlow", 1400);
  slow.OnTimer = record("slow");
  slow.SetEnabled(true);
  timer.OnTimer = record("fast");  // 1000 ms, running since the start
  services.Sleep(5000);            // a blocked UI thread fires nothing
  EXPECT_TRUE(fired.empty());
  services.Advance(2900);
  EXPECT_EQ(fired, "fast@5000,slow@5000,fast@6000,slow@6400,fast@7000,slow@7800");
  EXPECT_EQ(services.NowMs(), 7900u);
}

TEST_F(ComponentEvents, TimerHandlerThatPausesAndReEnablesItsTimerDoesNotOverlap) {
  timer.OnTimer = [&] {
    timer.SetEnabled(false);
    Fire(std::to_string(services.NowMs()));
    services.Sleep(500);  // the tick blocks the thread for a while
    timer.SetEnabled(true);
  };
  services.Advance(4000);
  EXPECT_EQ(fired, "1000,2500,4000");
}

}  // namespace
