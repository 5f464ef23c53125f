#include "gen2/mi_istringstream.h"

namespace MANAGED_IF {

std::string mi_istringstream::Word() {
  std::string word;
  if (failed_ || !SkipBlanks()) {
    failed_ = true;
    return word;
  }
  for (; pos_ != end_ && ClassOf(*pos_) != CharClass::kBlank; ++pos_) {
    if (*pos_ != '\r') word += *pos_;
  }
  return word;
}

}  // namespace MANAGED_IF
