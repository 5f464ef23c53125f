// The range check of edit fields and the silent check-box setter.
#include <gtest/gtest.h>

#include <climits>

#include "common/validate.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/headless/headless_services.h"

namespace {

// Both ends are inclusive; text that is no number counts as 0. A value out
// of range moves the focus to the edit, shows the warning with the limits
// and keeps the text.
TEST(Validate, RangeCheckAtTheLimitsAndItsWarning) {
  ui::HeadlessServices services;
  ui::Application app{services};
  ui::Form form{app, "TForm"};
  auto& edit = form.Add<ui::LabeledEdit>("LEVolume", &form, "Volume");
  auto& other = form.Add<ui::Button>("BtnOther", &form, "Other");
  const struct {
    const char* text;
    int32_t min, max;
    bool accepted;
  } cases[] = {
      {"32767", 0, 0x7FFF, true},
      {"32768", 0, 0x7FFF, false},
      {"0x7FFF", 0, 0x7FFF, true},
      {"0x8000", 0, 0x7FFF, false},
      {"abc", 0, 0x7FFF, true},
      {"abc", 1, 5, false},
      {"", -3, 0, true},
      {"-4", -4, 4, true},
      {"-5", -4, 4, false},
      {"4", -4, 4, true},
      {"5", -4, 4, false},
      {"87500000", 87500000, 108000000, true},
      {"87499999", 87500000, 108000000, false},
      {"108000001", 87500000, 108000000, false},
      {"-2147483648", INT32_MIN, 0, true},
      {"2147483647", 0, INT32_MAX, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    edit.SetText(c.text);
    services.SetFocus(&other);
    EXPECT_EQ(ValidateRange(edit, c.min, c.max), c.accepted);
    EXPECT_EQ(edit.text(), c.text);
    const std::vector<ui::ShownMessage> boxes = services.TakeMessages().messages;
    if (c.accepted) {
      EXPECT_EQ(services.Focused(), &other);
      EXPECT_TRUE(boxes.empty());
      continue;
    }
    EXPECT_EQ(services.Focused(), &edit);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Warning");
    EXPECT_EQ(boxes[0].icon, ui::MessageIcon::kWarning);
    EXPECT_EQ(boxes[0].text, "Input Value Out Of Range(" + std::to_string(c.min) + " ~ " +
                                 std::to_string(c.max) + ")");
  }
}

TEST(Validate, SilentCheckBox) {
  ui::HeadlessServices services;
  ui::Application app{services};
  ui::Form form{app, "TForm"};
  auto& box = form.Add<ui::CheckBox>("cb_rds", &form, "RDS");
  int clicks = 0;
  box.OnClick = [&] { ++clicks; };
  for (const int state : {1, 1, 0, 2}) {
    SetCheckedSilently(box, static_cast<uint8_t>(state));
    EXPECT_EQ(box.checked(), state != 0);
  }
  EXPECT_EQ(clicks, 0);
  box.SetChecked(false);
  EXPECT_EQ(clicks, 1) << "the handler is attached again";
}

}  // namespace
