// SHA-256 of a text, as 64 lower-case hexadecimal digits: names a script's
// exact text in a report, so two runs can be told to have run the same one.
#pragma once

#include <string>
#include <string_view>

namespace tooltext {

[[nodiscard]] std::string Sha256Hex(std::string_view data);

}  // namespace tooltext
