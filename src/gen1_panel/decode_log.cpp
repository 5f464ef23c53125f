#include "gen1_panel/decode_log.h"

#include <algorithm>

#include "common/format.h"

namespace gen1_panel {

namespace {
constexpr char kLineEnd[] = "\r\n";
}  // namespace

bool DecodeLog::Open(const std::string& path) {
  Close();
  file_.open(path, std::ios::binary | std::ios::trunc);
  return file_.is_open();
}

void DecodeLog::Close() {
  if (file_.is_open()) file_.close();
  file_.clear();
}

void DecodeLog::Append(const gen1::FmrParameters& p, const std::string& time) {
  if (!file_.is_open()) return;
  std::string record = "--- " + time + " ---" + kLineEnd;
  const size_t groups = std::min<size_t>(p.rdsGroupCount, gen1::kRdsRxGroups);
  for (size_t g = 0; g < groups; ++g) {
    for (size_t b = 0; b < 4; ++b) {
      record += common::FormatRegisterHex(static_cast<int16_t>(p.rdsBlocks[4 * g + b]));
    }
    record += kLineEnd;
    record += common::FormatRegisterNibblesWide(static_cast<int16_t>(p.rdsGroupStatus[g]));
    record += kLineEnd;
  }
  record += kLineEnd;
  record += kLineEnd;
  file_ << record;
  file_.flush();
}

}  // namespace gen1_panel
