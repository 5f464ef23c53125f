// The automation interface: one text command acts on a form as a user
// would, and one text reply tells what happened or what the form shows.
#pragma once

#include <string>

namespace ui {

class Form;

// Runs one command on `form`. Refused commands answer "error: ...".
std::string RunAutomation(Form& form, const std::string& command);

}  // namespace ui
