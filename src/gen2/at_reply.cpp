#include "gen2/at_reply.h"

#include <algorithm>

namespace MANAGED_IF {

std::string PreprocessReply(std::string text) {
  for (char& c : text) {
    if (c == ',' || c == '{' || c == '}' || c == '\n') c = ' ';
  }
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

}  // namespace MANAGED_IF
