// The message boxes the plug-in recorded, as its "dialogs" command answers
// them (one "CAPTION<TAB>TEXT" line each, after an optional line counting
// the boxes it had to drop), turned into the lines benchora shows.
#pragma once

#include <string>
#include <vector>

namespace benchora {

struct ShownBoxes {
  std::vector<std::string> boxes;  // "caption: text", or "text" without a caption
  std::vector<std::string> notes;  // anything else the reply said
};

ShownBoxes ParseDialogsReply(const std::string& reply);

// A box as the transcript shows it: "DIALOG caption: text".
std::string DialogLine(const std::string& box);

}  // namespace benchora
