#include "gen1_panel/rds_data_file.h"

#include <optional>
#include <string_view>

#include "common/convert.h"
#include "platform/platform.h"

namespace gen1_panel {

std::vector<std::string> SplitRdsData(std::string_view text, size_t most_pieces) {
  std::vector<std::string> pieces;
  size_t i = 0;
  while (i < text.size() && pieces.size() < most_pieces) {
    std::string piece;
    while (i < text.size() && piece.size() < kRdsDataPieceLength) {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;  // one line end
      piece += text[i++];
      if (piece.back() == '\n') break;
    }
    pieces.push_back(std::move(piece));
  }
  return pieces;
}

std::vector<std::string> ReadRdsDataFile(const std::string& path) {
  // Each piece takes at most one byte more than its length from the file
  // (a "\r\n" line end), and telling "\r\n" from a lone "\r" needs one byte
  // of look-ahead: so much covers every piece the replay can use.
  constexpr size_t kBytesUsed = kRdsDataPiecesUsed * (kRdsDataPieceLength + 1) + 1;
  const std::optional<std::string> text = platform::ReadRegularFile(path, kBytesUsed);
  if (!text) return {};
  return SplitRdsData(*text, kRdsDataPiecesUsed);
}

uint16_t RdsDataBlock(const std::string& piece, size_t b) {
  const size_t at = 2 + 7 * b;  // right after the cell's "0x"
  if (at >= piece.size()) return 0;
  return static_cast<uint16_t>(common::HexToInt(piece.c_str() + at, 4));
}

}  // namespace gen1_panel
