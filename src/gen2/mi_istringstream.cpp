#include "gen2/mi_istringstream.h"

namespace MANAGED_IF {

mi_istringstream::mi_istringstream(const std::string& text) : std::istringstream(text) {}

template <typename T>
void mi_istringstream::ExtractNumber(T& field) {
  // Read into a temporary so that a failed extraction writes nothing.
  T value{};
  if (static_cast<std::istream&>(*this) >> value) field = value;
}

void mi_istringstream::Extract(uint8_t& field) {
  uint32_t wide = 0;
  ExtractNumber(wide);
  if (!fail()) field = static_cast<uint8_t>(wide & 0xFFu);
}

void mi_istringstream::Extract(uint16_t& field) {
  ExtractNumber(field);
}
void mi_istringstream::Extract(int16_t& field) {
  ExtractNumber(field);
}
void mi_istringstream::Extract(uint32_t& field) {
  ExtractNumber(field);
}
void mi_istringstream::Extract(int32_t& field) {
  ExtractNumber(field);
}

std::string mi_istringstream::Word() {
  std::string word;
  if (!(static_cast<std::istream&>(*this) >> word)) word.clear();
  return word;
}

}  // namespace MANAGED_IF
