#include "common/validate.h"

#include <cstdio>

#include "common/convert.h"
#include "ui/controls.h"
#include "ui/services.h"

namespace common {

bool ValidateRange(ui::Edit& edit, int32_t min, int32_t max) {
  const int32_t value = TextToIntDef(edit.text(), 0);
  if (value >= min && value <= max) return true;
  char text[64];
  std::snprintf(text, sizeof(text), "Input Value Out Of Range(%d ~ %d)", min, max);
  edit.SetFocus();
  edit.services().ShowMessage(text, "Warning", ui::MessageIcon::kWarning);
  return false;
}

void SetCheckedSilently(ui::CheckBox& box, uint8_t state) {
  ui::Handler handler = std::move(box.OnClick);
  box.OnClick = nullptr;
  box.SetChecked(state != 0);
  box.OnClick = std::move(handler);
}

}  // namespace common
