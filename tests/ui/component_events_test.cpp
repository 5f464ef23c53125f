// The event rules of the component model: what fires for program actions,
// for user actions and for timers on the headless virtual clock.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/headless/headless_services.h"
#include "ui/timer.h"

namespace {

class ComponentEvents : public ::testing::Test {
 protected:
  ui::HeadlessServices services;
  ui::Application app{services};
  ui::Form form{app, "TTestForm"};
  std::vector<std::string> fired;

  ui::Handler Record(const std::string& what) {
    return [this, what] { fired.push_back(what); };
  }
  // A timer that records "name@time" when it fires.
  ui::Timer& AddTimer(const std::string& name, uint32_t interval, ui::Form& owner) {
    auto& timer = owner.Add<ui::Timer>(name, interval);
    timer.OnTimer = [this, name] {
      fired.push_back(name + "@" + std::to_string(services.NowMs()));
    };
    return timer;
  }
};

TEST_F(ComponentEvents, EditChangeFiresOnlyOnDifferenceAndTypingStopsAtTheLimit) {
  auto& edit = form.Add<ui::LabeledEdit>("LEFrequency", &form, "Frequency", "87500000");
  edit.OnChange = Record("change");
  edit.SetText("87500000");
  edit.SetText("90000000");
  EXPECT_EQ(fired, std::vector<std::string>{"change"});
  edit.set_max_length(9);
  EXPECT_TRUE(edit.UserType("1234567890"));
  EXPECT_EQ(edit.text(), "123456789") << "typing stops at the limit";
  // The limit counts characters and never cuts one in half.
  EXPECT_TRUE(edit.UserType("aaaaaaaa\xC3\xA9"));  // eight letters and an e acute
  EXPECT_EQ(edit.text(), "aaaaaaaa\xC3\xA9");
  EXPECT_TRUE(edit.UserType("aaaaaaaaa\xC3\xA9"));
  EXPECT_EQ(edit.text(), "aaaaaaaaa");
  edit.SetText("1234567890");
  EXPECT_EQ(edit.text(), "1234567890") << "the program is not limited";
  edit.set_read_only(true);
  EXPECT_FALSE(edit.UserType("1"));
}

// What the program's own actions fire (user actions: automation_test), and
// the state they leave.
TEST_F(ComponentEvents, ProgramActionsFireWhatTheToolkitFires) {
  auto& button = form.Add<ui::Button>("Btn", &form, "Go");
  auto& box = form.Add<ui::CheckBox>("Box", &form, "Mute");
  auto& list = form.Add<ui::ComboBox>("List", &form, ui::ComboBox::Style::kDropDownList,
                                      std::vector<std::string>{"a", "b"}, 0);
  auto& history = form.Add<ui::ComboBox>("Hist", &form, ui::ComboBox::Style::kDropDown,
                                         std::vector<std::string>{"0x1", "0x2"});
  auto& radio =
      form.Add<ui::RadioGroup>("Radio", &form, "Mode", std::vector<std::string>{"Rx", "Tx"}, 0);
  auto& updown = form.Add<ui::UpDown>("Step", &form, -1, 3, 0);
  for (ui::Control* c : std::initializer_list<ui::Control*>{&button, &box, &list, &radio})
    c->SetEnabled(false);  // the program is not stopped by that
  button.SetVisible(false);
  button.OnClick = Record("click");
  box.OnClick = Record("box");
  list.OnClick = list.OnChange = history.OnChange = radio.OnClick = Record("select");
  auto state = [&] {
    return std::to_string(box.checked()) + " " + std::to_string(list.item_index()) + ":" +
           list.text() + " " + std::to_string(history.item_index()) + ":" + history.text() + " " +
           std::to_string(radio.item_index()) + " " + std::to_string(updown.position());
  };
  const struct {
    std::function<void()> act;
    const char* fired;
    const char* state;  // box, list index:text, history index:text, radio, up-down
  } steps[] = {
      {[&] { button.Click(); }, "click", "0 0:a -1: 0 0"},
      {[&] { box.SetChecked(true); }, "box", "1 0:a -1: 0 0"},
      {[&] { box.SetChecked(true); }, "", "1 0:a -1: 0 0"},
      {[&] { box.SetChecked(false); }, "box", "0 0:a -1: 0 0"},
      {[&] { list.SetItemIndex(1); }, "", "0 1:b -1: 0 0"},
      {[&] { list.SetItemIndex(2); }, "", "0 -1: -1: 0 0"},
      {[&] { history.SetText("0x2"); }, "", "0 -1: 1:0x2 0 0"},
      {[&] { history.InsertItem(1, "0x0"); }, "", "0 -1: 2:0x2 0 0"},
      {[&] { history.SetText("0x7"); }, "", "0 -1: -1:0x7 0 0"},
      {[&] { history.SetItems({"0x7"}); }, "", "0 -1: -1:0x7 0 0"},
      {[&] { list.SetItemIndex(0), list.SetItems({"c"}); }, "", "0 -1: -1:0x7 0 0"},
      {[&] { radio.SetItemIndex(1); }, "", "0 -1: -1:0x7 1 0"},
      {[&] { radio.SetItemIndex(5); }, "", "0 -1: -1:0x7 -1 0"},
      {[&] { updown.SetPosition(7); }, "", "0 -1: -1:0x7 -1 3"},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    fired.clear();
    steps[i].act();
    const std::vector<std::string> expected = {steps[i].fired};
    EXPECT_EQ(fired, *steps[i].fired ? expected : std::vector<std::string>{}) << "step " << i;
    EXPECT_EQ(state(), steps[i].state) << "step " << i;
  }
}

// Overdue timers fire once when the thread becomes idle again, not once per
// missed interval, as the window system coalesces timer messages.
TEST_F(ComponentEvents, TimersFireInTimeOrderOnAdvanceOnly) {
  AddTimer("slow", 1400, form).SetEnabled(true);
  AddTimer("fast", 1000, form).SetEnabled(true);
  services.Sleep(5000);  // a blocked UI thread fires nothing
  EXPECT_TRUE(fired.empty());
  services.Advance(2900);
  EXPECT_EQ(fired, (std::vector<std::string>{"fast@5000", "slow@5000", "fast@6000", "slow@6400",
                                             "fast@7000", "slow@7800"}));
  EXPECT_EQ(services.NowMs(), 7900u);
}

TEST_F(ComponentEvents, TimerHandlerThatPausesAndReEnablesItsTimerDoesNotOverlap) {
  auto& timer = AddTimer("poll", 1000, form);
  timer.OnTimer = [&] {
    timer.SetEnabled(false);
    fired.push_back(std::to_string(services.NowMs()));
    services.Sleep(500);  // the tick blocks the thread for a while
    timer.SetEnabled(true);
  };
  timer.SetEnabled(true);
  services.Advance(4000);
  EXPECT_EQ(fired, (std::vector<std::string>{"1000", "2500", "4000"}));
}

}  // namespace
