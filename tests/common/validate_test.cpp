// The range check of edit fields and the silent check-box setter.
#include <gtest/gtest.h>

#include "common/validate.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/headless/headless_services.h"

namespace {

// The first-generation panel's tests check the warning, the focus and the
// kept text for each checked edit; here the values that pass and the box.
TEST(Validate, RangeCheckAndSilentCheckBox) {
  ui::HeadlessServices services;
  ui::Application app{services};
  ui::Form form{app, "TForm"};
  auto& edit = form.Add<ui::LabeledEdit>("LEVolume", &form, "Volume");
  for (const char* text : {"32767", "0x7FFF", "abc"}) {
    edit.SetText(text);
    EXPECT_TRUE(ValidateRange(edit, 0, 0x7FFF)) << text;
  }
  edit.SetText("-5");
  EXPECT_FALSE(ValidateRange(edit, -4, 4));
  const std::vector<ui::ShownMessage> boxes = services.TakeMessages().messages;
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Input Value Out Of Range(-4 ~ 4)");

  auto& box = form.Add<ui::CheckBox>("cb_rds", &form, "RDS");
  int clicks = 0;
  box.OnClick = [&] { ++clicks; };
  SetCheckedSilently(box, 1);
  EXPECT_TRUE(box.checked());
  EXPECT_EQ(clicks, 0);
  box.SetChecked(false);
  EXPECT_EQ(clicks, 1) << "the handler is attached again";
}

}  // namespace
