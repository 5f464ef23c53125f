// The automation interface: one text command acts on a panel as a user
// would, and one text reply tells what happened or what the panel shows.
#pragma once

#include <string>

namespace ui {
class Form;
}

// Runs one command on `form`. Refused commands answer "error: ...".
std::string RunAutomation(ui::Form& form, const std::string& command);

// Quotes a text with C escapes (\" \\ \n \r \t).
std::string QuoteText(const std::string& text);
