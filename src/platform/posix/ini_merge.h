// Applies queued writes to an initialization file's text with the rules of
// the profile functions: a key's line is replaced in place (keeping the
// spelling of its name), a new key is added after the last line of its
// section, a new section at the end of the text; nothing is deleted. Names
// and values are written trimmed. Every line ends as the text's first line
// does ("\r\n" when the text has none). Lines that no write touches keep
// their text.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace platform::ini {

struct Write {
  std::string section;
  std::string key;
  std::string value;
};

// The text after the writes, applied in order, as one write after another
// would leave it; nullopt when they change no value.
std::optional<std::string> MergeWrites(std::string_view text, std::span<const Write> writes);

}  // namespace platform::ini
