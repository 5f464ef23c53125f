// The automation interface: one text command acts on a form as a user
// would, and one text reply tells what happened or what the form shows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ui {

class Form;

// Runs one command on `form`. Refused commands answer "error: ...".
std::string RunAutomation(Form& form, const std::string& command);

// Every form of every command, in the order `help` lists them ("get NAME",
// "click NAME", "click NAME up|down", ...): the list the bench guide documents.
std::vector<std::string_view> AutomationCommandForms();

}  // namespace ui
