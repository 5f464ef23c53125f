#include "host/message_boxes.h"

#include <sstream>

namespace benchora {

ShownBoxes ParseDialogsReply(const std::string& reply) {
  ShownBoxes shown;
  std::istringstream in(reply);
  for (std::string line; std::getline(in, line);) {
    if (line.empty()) continue;
    // Control characters of captions and texts arrive escaped, so the first
    // tab is the one between them.
    const size_t tab = line.find('\t');
    if (tab == std::string::npos) {
      shown.notes.push_back(line);
    } else if (tab == 0) {
      shown.boxes.push_back(line.substr(1));
    } else {
      shown.boxes.push_back(line.substr(0, tab) + ": " + line.substr(tab + 1));
    }
  }
  return shown;
}

std::string DialogLine(const std::string& box) {
  return "DIALOG " + box;
}

}  // namespace benchora
