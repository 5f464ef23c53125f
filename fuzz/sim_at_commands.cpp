// The simulated handset's AT command interpreter: command lines of the
// input run one after another on one simulated radio, as a client sends
// them over the AT server's connection.
//
// Input: command lines separated by line feeds (a trailing CR is dropped,
// as the server does), at most 64 of them.
//
// Checks: no reply line holds a line end (it would frame as several lines
// on the connection).
#include <cstdlib>
#include <string>

#include "fmr-sim/gen2/at_commands.h"
#include "fmr-sim/radio_model.h"
#include "fuzz_input.h"

namespace {

constexpr int kMostCommands = 64;

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzInput in(data, size);
  fmrsim::RadioModel radio;
  fmrsim::AtCommands commands(radio);
  commands.set_auto_search_polls(1);
  for (int i = 0; i < kMostCommands && !in.empty(); ++i) {
    std::string_view line = in.Until('\n');
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const fmrsim::AtReply reply = commands.Execute(line);
    for (const std::string& text : reply.lines) {
      Require(text.find_first_of("\r\n") == std::string::npos);
    }
  }
  return 0;
}
