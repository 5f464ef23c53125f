// The second-generation commands by the names fault rules give them, and
// the numbered fields of their replies, read from the interpreter's command
// table: what a value fault's FIELD may be, and the listing of the help
// texts and the simulator guide.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fmr-sim/gen2/at_commands.h"

namespace fmrsim {

using CommandSignature = AtCommands::Signature;
using CommandReplyField = AtCommands::ReplyField;

// The command called `name` ("fmrx_enable", no "at@MODULE:" part); null
// when there is none.
[[nodiscard]] const CommandSignature* FindCommand(std::string_view name);

// The command whose name is `name` but for upper and lower case; null when
// there is none.
[[nodiscard]] const CommandSignature* FindCommandIgnoringCase(std::string_view name);

// How many numbers the command's reply carries at most (its sized arrays
// at their longest).
[[nodiscard]] uint32_t ReplyNumberCount(const CommandSignature& command);

// The field that holds the reply's `index`-th number (from 0; for sized
// arrays, as at their longest) and which element of it that is; nullopt
// beyond the reply.
struct NumberedField {
  const CommandReplyField* field = nullptr;
  uint32_t element = 0;
};
[[nodiscard]] std::optional<NumberedField> ReplyNumber(const CommandSignature& command,
                                                       uint32_t index);

// Every command's name, in the table's order, separated by ", ".
std::string CommandNamesText();

// Each command whose reply carries numbers on a line of its own with them
// numbered ("fmrx_get_dynamic_data: 0 state, 1 frequency, ..., 4 rssi,
// ..."), arrays as ranges ("1..50 frequency[0..49]"); then the commands
// answered with "OK" alone. Lines are wrapped before 80 columns with
// `indent` in front of each.
std::string CommandFieldListText(std::string_view indent = "");

}  // namespace fmrsim
