// Fault injection for the first-generation handset: per test-function
// message id, or per host slot, the exchange can fail in the host, come
// back with the wrong length, or carry a status word other than 1.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fmrsim {

enum class Gen1FaultKind {
  kHostFailure,  // the host call returns false; nothing reaches the radio
  kWrongLength,  // the radio acts, the reply length is wrong
  kBadStatus,    // the radio refuses: the status word is not 1
  kValue,        // the radio acts, one field of its reply carries another value
};

// A named field of a test-function reply: where it lies and how wide it is.
struct Gen1ReplyField {
  uint16_t message_id = 0;
  std::string_view name;
  uint16_t offset = 0;
  uint8_t width = 1;  // bytes, little-endian
};

// The field `name` of message `message_id`'s reply; null when it has none.
const Gen1ReplyField* FindReplyField(uint16_t message_id, std::string_view name);

// The test-function messages, one line each: id, what it does and carries,
// then on a line of its own the named reply fields a value fault can
// change; `indent` in front of every line.
std::string MessageListText(std::string_view indent = "");

struct Gen1Fault {
  Gen1FaultKind kind = Gen1FaultKind::kHostFailure;
  // Host failure: the text the host's last-error function gives afterwards
  // (may be "No errors"); empty: a text naming the message.
  std::string error_text;
  // Wrong length: the reply length reported (default one byte short).
  // Bad status: the status word (default 0). Text replies of slot 54 are
  // replaced by "ERROR"; the info reply's byte 0 takes the value.
  std::optional<uint16_t> value;
  // Exchanges still affected; negative: every one. Setting a fault with 0
  // removes the target's fault.
  int times = -1;
  // Value: the field changed and the value it carries instead.
  Gen1ReplyField field;
  int64_t field_value = 0;
  std::string rule;    // the rule as written (empty when set from code)
  bool fired = false;  // it has met an exchange
};

// Writes a value fault's value into its field of a reply of `length` bytes.
void ChangeReplyField(uint8_t* reply, size_t length, const Gen1Fault& fault);

// A test-function message id on slot 77, every request of a slot, or the
// AT commands of slot 54 that begin with a text.
struct Gen1FaultTarget {
  int slot = 77;
  std::optional<uint16_t> message_id;
  std::string command_prefix;
};

// The named AT commands a fault can single out ("selftest-status"), and
// the text each begins with; empty for other names.
std::string_view AtCommandPrefix(std::string_view name);

class Gen1FaultTable {
 public:
  void Set(const Gen1FaultTarget& target, Gen1Fault fault);
  void Clear() { faults_.clear(); }
  bool empty() const { return faults_.empty(); }

  // The fault for one exchange, the command's or message's own before the
  // slot's; the fault's remaining count goes down by one and it is dropped
  // at zero.
  std::optional<Gen1Fault> Take(int slot, uint16_t message_id, std::string_view command = {});
  // The rules set from text that have not met any exchange yet.
  std::vector<std::string> Unfired() const;

 private:
  struct Key {
    int slot;
    int message_id;  // -1 for a slot-wide fault
    std::string command_prefix;
    auto operator<=>(const Key&) const = default;
  };
  std::map<Key, Gen1Fault> faults_;
};

// Parses and checks "TARGET:KIND[:ARG]". TARGET: a test-function message
// id the radio knows (0x04 or 4), slot15, slot54, slot56, slot77 (every
// request of that slot), or one of the AT commands selftest-enable,
// selftest-status, selftest-disable, pmu. KIND: fail[:TEXT], length[:N],
// status[:N] (N from 0 to 65535), value=FIELD:N (a field of the message's
// reply, see MessageListText, and an N its bytes hold). False with `error`
// set to the reason otherwise ("fault rule \"TEXT\": ...").
[[nodiscard]] bool ParseGen1Fault(std::string_view rule, Gen1FaultTarget& target, Gen1Fault& fault,
                                  std::string& error);

// The syntax above as option help lines.
std::string FaultUsageText();

}  // namespace fmrsim
