// How the simulator's tests read an AT reply as it travels on the link:
// the words of its reply lines and the final word. Blanks, commas, braces
// and line ends all separate words.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace simtest {

struct ReplyWords {
  std::vector<std::string> values;  // the words before the final one
  std::string final_word;           // "OK" or "ERROR"; empty for an empty text
};

inline ReplyWords SplitReply(std::string_view text) {
  ReplyWords reply;
  size_t start = 0;
  while ((start = text.find_first_not_of(" \t\r\n,{}", start)) != std::string_view::npos) {
    const size_t end = std::min(text.find_first_of(" \t\r\n,{}", start), text.size());
    reply.values.emplace_back(text.substr(start, end - start));
    start = end;
  }
  if (!reply.values.empty()) {
    reply.final_word = std::move(reply.values.back());
    reply.values.pop_back();
  }
  return reply;
}

}  // namespace simtest
