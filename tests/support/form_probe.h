// Reads and sets a form's controls by name from compact texts, so tests can
// state a panel's contents as one line of "NAME=VALUE" words.
#pragma once

#include <string>

#include "ui/form.h"

namespace testing_form {

// Sets controls from code, as a panel's handlers do, from "NAME=VALUE"
// words: an edit or editable combo box takes the text, a check box 0 or 1,
// a drop-down list or radio group the item index.
void SetControls(ui::Form& form, const std::string& assignments);
// What a control shows: an edit or editable combo box its text, a label,
// button or group its caption, a check box 0 or 1, a drop-down list or
// radio group its item index, a timer 1 while enabled.
std::string Shown(const ui::Form& form, const std::string& name);
// "NAME=SHOWN" for each "NAME[=...]" word of `names`, so that a text of
// expected contents compares with what the controls show.
std::string Showing(const ui::Form& form, const std::string& names);
// '1' or '0' for each of the space-separated controls as it is enabled.
std::string Enabled(const ui::Form& form, const std::string& names);

}  // namespace testing_form
