// Edit-field checks shared by the panels.
#pragma once

#include <cstdint>

namespace ui {
class Edit;
class CheckBox;
}  // namespace ui

namespace common {

// True when the edit's number (decimal or "0x" hexadecimal, 0 for text that
// is no number) lies in [min, max]. Otherwise the focus goes to the edit, a
// "Warning" box says "Input Value Out Of Range(min ~ max)", and false.
bool ValidateRange(ui::Edit& edit, int32_t min, int32_t max);

// Sets the box's state without running its click handler.
void SetCheckedSilently(ui::CheckBox& box, uint8_t state);

}  // namespace common
