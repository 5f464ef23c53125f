// The line syntax of initialization files, as the profile functions read it:
// "[section]" lines, "key=value" lines, comment lines starting with ';'.
// Names and values are trimmed of blanks; names compare without regard to
// case.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace platform::ini {

// The UTF-8 byte-order mark an editor may put in front of the first line.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text);
bool SameName(std::string_view a, std::string_view b);

// Hash and equality of names without regard to case, for hashed containers.
struct NameHash {
  size_t operator()(std::string_view name) const;
};
struct NameEqual {
  bool operator()(std::string_view a, std::string_view b) const { return SameName(a, b); }
};

// A value as a read returns it: one pair of enclosing double or single
// quotes removed.
std::string_view Unquote(std::string_view value);

enum class LineKind { kBlank, kComment, kSection, kKey };

struct Line {
  LineKind kind = LineKind::kBlank;
  // The trimmed section or key name.
  std::string_view name;
  // A key's trimmed value; none for a key line without '=', which reads as
  // missing but is still the key's line when the key is written.
  std::optional<std::string_view> value;
};

Line ParseLine(std::string_view line);

// Splits a text into lines. A line ends with "\r\n", "\n" or "\r"; the last
// line may have no end.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}
  // The next line without its end; false when the text is used up.
  bool Next(std::string_view& line);

 private:
  std::string_view text_;
  size_t position_ = 0;
  // Cached positions of the next '\r' and '\n' at or after position_, so a
  // text with only one kind of line end is still scanned once.
  size_t next_cr_ = 0;
  size_t next_lf_ = 0;
  bool scanned_ = false;
};

}  // namespace platform::ini
