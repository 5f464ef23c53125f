// The transport stand-in's reply framer fed the bytes of a reply stream in
// chunks the input chooses, with a hold limit the input chooses.
//
// Input: one byte for the limit, then a sequence of control bytes, each
// followed by the chunk it announces (low six bits: chunk size; bit 6: take
// the complete replies after this chunk; bit 7, in the clearing mode only:
// clear the framer first, otherwise: take them with TakeInto into one reused
// reply rather than with Take). The first byte's top bit selects the
// clearing mode.
//
// Checks: no reply text is longer than the limit; once no complete reply is
// waiting, the framer holds at most the limit plus one line end and the
// start of a possible final or unsolicited line; and without clearing, the
// replies and the unsolicited lines are the ones a plain line-by-line
// reading of the whole stream finds, however the stream was chunked.
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "reply_framer.h"

namespace {

// The longest line held before it is known to be a reply line (a possible
// unsolicited line), and the line end.
constexpr size_t kMostBookkeeping = tessic::kLongestUnsolicitedLine + 2;

struct Framed {
  bool error;
  std::string text;
  bool operator==(const Framed&) const = default;
};

void Require(bool condition) {
  if (!condition) std::abort();
}

// The replies and unsolicited lines of a whole stream, read line by line: a
// line ends with CR LF, LF or CR; a line "OK", "ERROR", "+CME ERROR: ..." or
// "+CMS ERROR: ..." (no longer than the longest unsolicited line) ends a
// reply, whose text is the lines before it (and the
// final line, when it is an error line with a reason) joined by CR LF, cut
// to `limit`; unsolicited lines are in no reply.
std::vector<Framed> ReadWhole(const std::string& stream, size_t limit,
                              std::vector<std::string>& unsolicited) {
  std::vector<Framed> replies;
  std::string text, line, pending_end;  // pending_end: the line end of the last reply line
  for (size_t i = 0; i < stream.size(); ++i) {
    const char c = stream[i];
    if (c != '\r' && c != '\n') {
      line += c;
      continue;
    }
    i += c == '\r' && i + 1 < stream.size() && stream[i + 1] == '\n' ? 1 : 0;
    // A line starting with "+" is held only up to the longest unsolicited
    // line; a longer one is a reply line whatever it starts with.
    const bool held = line.size() <= tessic::kLongestUnsolicitedLine;
    const bool reason = held && tessic::IsFinalErrorLine(line);
    if (line == "OK" || line == "ERROR" || reason) {
      if (reason) text += (text.empty() ? "" : pending_end) + line;
      replies.push_back({line != "OK", text.substr(0, limit)});
      text.clear();
      pending_end.clear();
    } else if (held && tessic::IsUnsolicitedLine(line)) {
      unsolicited.push_back(line);
    } else {
      text += pending_end + line;
      pending_end = "\r\n";
    }
    line.clear();
  }
  return replies;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzInput in(data, size);
  const uint8_t setup = in.U8();
  const bool clearing = (setup & 0x80) != 0;
  // Mostly small limits, so that cutting happens; sometimes the default.
  const size_t limit = (setup & 0x7F) == 0x7F ? 0xFFFF : (setup & 0x7F);

  tessic::ReplyFramer framer;
  framer.set_limit(limit);
  std::vector<std::string> unsolicited;
  framer.set_unsolicited_sink([&](std::string_view line) { unsolicited.emplace_back(line); });
  std::vector<Framed> replies;
  std::string stream;
  tessic::Reply reused;
  const auto take_all = [&](bool into) {
    for (std::optional<tessic::Reply> taken;
         into ? framer.TakeInto(reused) : (taken = framer.Take()).has_value();) {
      const tessic::Reply& reply = into ? reused : *taken;
      Require(reply.text.size() <= limit);
      replies.push_back({reply.error, reply.text});
    }
    Require(framer.held() <= limit + kMostBookkeeping);
  };

  while (!in.empty()) {
    const uint8_t control = in.U8();
    if (clearing && (control & 0x80) != 0) {
      framer.Clear();
      Require(framer.held() == 0);
      Require(!framer.Take());
    }
    const std::string_view chunk = in.Bytes(control & 0x3F);
    framer.Append(chunk.data(), chunk.size());
    stream.append(chunk);
    if ((control & 0x40) != 0) take_all(!clearing && (control & 0x80) != 0);
  }
  take_all(false);

  if (!clearing) {
    std::vector<std::string> expected_unsolicited;
    Require(replies == ReadWhole(stream, limit, expected_unsolicited));
    Require(unsolicited == expected_unsolicited);
  }
  return 0;
}
