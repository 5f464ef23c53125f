#include "ui/win32/file_filter.h"

namespace ui {

std::string SystemFilter(const std::string& filter) {
  if (filter.empty()) return {};
  std::string out;
  out.reserve(filter.size() + 2);
  for (char c : filter) out += c == '|' ? '\0' : c;
  // A description without a pattern gets the pattern "*.*", so the list
  // always holds whole pairs.
  size_t parts = 1;
  for (char c : filter) parts += c == '|' ? 1 : 0;
  if (parts % 2 == 1) out += std::string(1, '\0') + "*.*";
  out += '\0';
  out += '\0';
  return out;
}

std::string DefaultExtension(const std::string& extension) {
  return (!extension.empty() && extension[0] == '.') ? extension.substr(1) : extension;
}

}  // namespace ui
