// The RDS data file that the transmitter replays: one group per line, each
// block in a seven-character cell ("0x", four hexadecimal digits, a blank),
// the way the decode log writes block lines. Lines are read in pieces of at
// most 29 characters including the line end; a longer line gives several
// pieces, each replayed as a line of its own.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace gen1_panel {

// The most characters of one piece, line end included.
inline constexpr size_t kRdsDataPieceLength = 29;

// The most pieces the replay can ever use: its 8-bit position reaches 255
// and a tick takes 20 groups from there. A longer file replays the same as
// one cut here, so nothing beyond is read.
inline constexpr size_t kRdsDataPiecesUsed = 256 + 20;

// The file's pieces, each with its line end ("\n"; a "\r\n" counts as
// one). A file that cannot be opened, and anything that is no regular file
// (a folder, a FIFO, a device), reads as empty.
std::vector<std::string> ReadRdsDataFile(const std::string& path);

// The pieces of a text, as ReadRdsDataFile takes them from a file.
std::vector<std::string> SplitRdsData(std::string_view text, size_t most_pieces);

// Block `b` (0 for A to 3 for D) of a piece: up to four hexadecimal digits
// right after the "0x" of its cell; 0 where the piece does not reach.
uint16_t RdsDataBlock(const std::string& piece, size_t b);

}  // namespace gen1_panel
