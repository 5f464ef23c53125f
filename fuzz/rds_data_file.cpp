// The RDS data file of the transmit replay: a file of the input's bytes
// through ReadRdsDataFile, and the same text through SplitRdsData without a
// piece limit, then every block of every piece through RdsDataBlock.
//
// Checks: a piece is never empty and never longer than kRdsDataPieceLength;
// only a piece of full length or the file's last piece lacks a line end; the
// unlimited pieces, joined, give back the text with "\r\n" read as "\n";
// the file read gives the first kRdsDataPiecesUsed of them; a block is the
// value of the (at most four) digits at its cell, read by an independent
// copy of the digit rule.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "gen1_panel/rds_data_file.h"
#include "scratch_folder.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

std::string WithoutCrLf(std::string text) {
  for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;) text.erase(at, 1);
  return text;
}

// A digit as the hexadecimal reader takes it: after upper-casing, a decimal
// digit is itself and any other character c is c - 55 when that lies in
// 0..15, which lets the seven characters between "9" and "A" through as 3
// to 9.
int HexDigit(char raw) {
  int c = static_cast<unsigned char>(raw);
  if (c >= 'a' && c <= 'z') c -= 'a' - 'A';
  if (c >= '0' && c <= '9') return c - '0';
  return c - 55 >= 0 && c - 55 <= 15 ? c - 55 : -1;
}

// The block as the cell's characters spell it, read independently of the panel.
uint16_t ExpectedBlock(const std::string& piece, size_t b) {
  unsigned value = 0;
  for (size_t i = 2 + 7 * b; i < piece.size() && i < 6 + 7 * b; ++i) {
    const int digit = HexDigit(piece[i]);
    if (digit < 0) break;
    value = value * 16 + static_cast<unsigned>(digit);
  }
  return static_cast<uint16_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const fuzz::ScratchFolder folder("sonvio-fuzz-rds");
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const std::vector<std::string> all = gen1_panel::SplitRdsData(text, static_cast<size_t>(-1));
  std::string joined;
  for (size_t i = 0; i < all.size(); ++i) {
    const std::string& piece = all[i];
    Require(!piece.empty() && piece.size() <= gen1_panel::kRdsDataPieceLength);
    Require(piece.back() == '\n' || piece.size() == gen1_panel::kRdsDataPieceLength ||
            i + 1 == all.size());
    for (size_t b = 0; b < 4; ++b)
      Require(gen1_panel::RdsDataBlock(piece, b) == ExpectedBlock(piece, b));
    joined += piece;
  }
  Require(joined == WithoutCrLf(std::string(text)));

  const std::string path = (folder.path() / "rds.txt").string();
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    Require(static_cast<bool>(out));
  }
  const size_t used = std::min(all.size(), gen1_panel::kRdsDataPiecesUsed);
  Require(gen1_panel::ReadRdsDataFile(path) ==
          std::vector<std::string>(all.begin(), all.begin() + static_cast<long>(used)));
  return 0;
}
