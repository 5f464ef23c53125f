#include "fmr-sim/gen1/faults.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "fmr-sim/gen1/messages.h"
#include "text/strict_number.h"

namespace fmrsim {
namespace {

constexpr std::pair<std::string_view, int> kSlots[] = {
    {"slot15", 15}, {"slot54", 54}, {"slot56", 56}, {"slot77", 77}};
constexpr std::string_view kKinds = "fail[:TEXT], length[:N], status[:N], value=FIELD:N";

// The AT commands of slot 54 a fault can single out, and the text each
// begins with.
constexpr std::pair<std::string_view, std::string_view> kAtCommands[] = {
    {"selftest-enable", "at@fmr:quelm_fmr_enable_test_func"},
    {"selftest-status", "at@quelm_fmr_internal_get_status_test_func"},
    {"selftest-disable", "at@fmr:quelm_fmr_disable_test_func"},
    {"pmu", "at@pmu:get_register"},
};

std::string IdText(uint16_t id) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(id));
  return text;
}

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

// "0x00, 0x01, ..., 0x3A"
std::string MessageIdsText() {
  std::string out;
  for (const gen1::MessageShape& m : gen1::kTestFunctions) {
    out += (out.empty() ? "" : ", ") + IdText(m.id);
  }
  return out;
}

// Every target a rule can name.
std::string TargetsText() {
  std::string out = "a message id (" + MessageIdsText() + ")";
  for (const auto& [slot, number] : kSlots) out += ", " + std::string(slot);
  for (const auto& [name, prefix] : kAtCommands) out += ", " + std::string(name);
  return out;
}

// The named fields of the replies (status word at 0 in all of them).
constexpr Gen1ReplyField kReplyFields[] = {
    {0x03, "frequency", 4, 4},  {0x03, "stereo", 8, 1},       {0x03, "pilot", 12, 4},
    {0x03, "rssi", 16, 2},      {0x03, "status_word", 44, 2}, {0x03, "error_groups", 46, 2},
    {0x04, "frequency", 4, 4},  {0x04, "rssi", 8, 2},         {0x04, "stereo", 10, 1},
    {0x05, "stereo", 2, 1},     {0x06, "stereo", 20, 1},      {0x07, "groups", 2, 1},
    {0x07, "received", 164, 2}, {0x08, "frequency", 4, 4},    {0x08, "pilot", 8, 4},
    {0x08, "rssi", 12, 2},      {0x08, "stereo", 14, 1},      {0x0C, "data", 4, 4},
    {0x0E, "agc", 4, 4},        {0x0E, "lna_gain", 8, 1},     {0x0E, "ppf_gain", 9, 1},
    {0x14, "frequency", 4, 4},  {0x18, "frequency", 4, 4},    {0x1B, "pi", 12, 2},
    {0x1B, "pty", 152, 1},
};

struct MessageText {
  uint16_t id;
  std::string_view text;
};

// What each test-function message does and what its reply carries.
constexpr MessageText kMessageTexts[] = {
    {0x00, "probe: is a first-generation radio there"},
    {0x01, "receiver on, with its settings"},
    {0x02, "receiver off"},
    {0x03, "read receive status: frequency, stereo, pilot, RSSI, audio, status word"},
    {0x04, "tune or seek (receive): reply frequency, RSSI, stereo"},
    {0x05, "write receive audio settings: reply stereo"},
    {0x06, "read receive audio settings"},
    {0x07, "RDS receive on, off or poll: reply up to 16 groups with status words"},
    {0x08, "RSSI settings and read: frequency, pilot, RSSI, stereo"},
    {0x0C, "register read or write: reply data"},
    {0x0D, "write gain control"},
    {0x0E, "read gain control: AGC, LNA and PPF gains, external LNA, supply"},
    {0x0F, "choose the antenna"},
    {0x10, "test tone on or off"},
    {0x11, "transmitter on, with its settings"},
    {0x12, "transmitter off"},
    {0x13, "tune the transmitter"},
    {0x14, "transmit scan: reply a quiet channel (the quietest when none is)"},
    {0x15, "write transmit audio settings"},
    {0x16, "write transmit RDS settings (PI, PS, PTY, AF)"},
    {0x17, "chirp on or off"},
    {0x18, "read transmit status: frequency, band, deviations, RDS state"},
    {0x19, "send RDS groups: reply how many were queued"},
    {0x1A, "read back the RDS groups sent"},
    {0x1B, "read transmit RDS settings: PI, PS, PTY, AF"},
    {0x23, "read the power state"},
    {0x3A, "read the radio's info word"},
};

// The names of the fields of `message_id`'s reply, separated by ", ".
std::string FieldNamesText(uint16_t message_id) {
  std::string fields;
  for (const Gen1ReplyField& field : kReplyFields) {
    if (field.message_id == message_id)
      fields += (fields.empty() ? "" : ", ") + std::string(field.name);
  }
  return fields;
}

void PutField(uint8_t* bytes, const Gen1ReplyField& field, int64_t value) {
  for (uint8_t i = 0; i < field.width; ++i) {
    bytes[field.offset + i] = static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * i));
  }
}

}  // namespace

const Gen1ReplyField* FindReplyField(uint16_t message_id, std::string_view name) {
  for (const Gen1ReplyField& field : kReplyFields) {
    if (field.message_id == message_id && field.name == name) return &field;
  }
  return nullptr;
}

void ChangeReplyField(uint8_t* reply, size_t length, const Gen1Fault& fault) {
  if (fault.field.offset + fault.field.width <= length)
    PutField(reply, fault.field, fault.field_value);
}

std::string MessageListText(std::string_view indent) {
  std::string out;
  for (const MessageText& m : kMessageTexts) {
    out += std::string(indent) + IdText(m.id) + "  " + std::string(m.text) + "\n";
    if (const std::string fields = FieldNamesText(m.id); !fields.empty())
      out += std::string(indent) + "        fields: " + fields + "\n";
  }
  return out;
}

std::vector<std::string> Gen1FaultTable::Unfired() const {
  std::vector<std::string> out;
  for (const auto& [key, fault] : faults_) {
    if (!fault.fired && !fault.rule.empty()) out.push_back(fault.rule);
  }
  return out;
}

std::string_view AtCommandPrefix(std::string_view name) {
  for (const auto& [n, prefix] : kAtCommands) {
    if (n == name) return prefix;
  }
  return {};
}

void Gen1FaultTable::Set(const Gen1FaultTarget& target, Gen1Fault fault) {
  const int id = target.message_id ? static_cast<int>(*target.message_id) : -1;
  Key key{target.slot, id, target.command_prefix};
  if (fault.times == 0) {
    faults_.erase(key);
    return;
  }
  faults_[std::move(key)] = std::move(fault);
}

std::optional<Gen1Fault> Gen1FaultTable::Take(int slot, uint16_t message_id,
                                              std::string_view command) {
  auto it = faults_.end();
  for (auto f = faults_.begin(); f != faults_.end() && !command.empty(); ++f) {
    if (f->first.slot == slot && !f->first.command_prefix.empty() &&
        command.starts_with(f->first.command_prefix)) {
      it = f;
      break;
    }
  }
  if (it == faults_.end()) it = faults_.find({slot, static_cast<int>(message_id), {}});
  if (it == faults_.end()) it = faults_.find({slot, -1, {}});
  if (it == faults_.end()) return std::nullopt;
  it->second.fired = true;
  Gen1Fault fault = it->second;
  if (it->second.times > 0 && --it->second.times == 0) faults_.erase(it);
  return fault;
}

bool ParseGen1Fault(std::string_view rule, Gen1FaultTarget& target, Gen1Fault& fault,
                    std::string& error) {
  const auto refuse = [&](const std::string& why) {
    error = "fault rule " + Quoted(rule) + ": " + why;
    return false;
  };
  const size_t colon = rule.find(':');
  if (colon == std::string_view::npos) return refuse("expected TARGET:KIND");
  const std::string_view target_text = rule.substr(0, colon);
  std::string_view rest = rule.substr(colon + 1);
  const size_t arg_colon = rest.find(':');
  const std::string_view kind_text = rest.substr(0, arg_colon);
  const std::optional<std::string_view> arg = arg_colon == std::string_view::npos
                                                  ? std::nullopt
                                                  : std::optional(rest.substr(arg_colon + 1));

  Gen1FaultTarget t;
  if (const std::string_view prefix = AtCommandPrefix(target_text); !prefix.empty()) {
    t.slot = 54;
    t.command_prefix = std::string(prefix);
  } else if (target_text.starts_with("slot")) {
    const auto slot =
        std::ranges::find(kSlots, target_text, &std::pair<std::string_view, int>::first);
    if (slot == std::end(kSlots)) {
      return refuse("no slot " + Quoted(target_text) + " (slot15, slot54, slot56, slot77)");
    }
    t.slot = slot->second;
  } else if (const std::optional<uint64_t> id = tooltext::ParseUnsigned(target_text)) {
    if (*id > 0xFFFF || gen1::FindTestFunction(static_cast<uint16_t>(*id)) == nullptr) {
      return refuse("no message " + std::string(target_text) +
                    " (message ids: " + MessageIdsText() + ")");
    }
    t.message_id = static_cast<uint16_t>(*id);
  } else {
    return refuse("unknown target " + Quoted(target_text) + " (" + TargetsText() + ")");
  }

  Gen1Fault f;
  if (kind_text == "fail") {
    f.kind = Gen1FaultKind::kHostFailure;
    if (arg) f.error_text = std::string(*arg);
  } else if (kind_text == "length" || kind_text == "status") {
    f.kind = kind_text == "length" ? Gen1FaultKind::kWrongLength : Gen1FaultKind::kBadStatus;
    if (arg) {
      const std::optional<uint64_t> value = tooltext::ParseUnsigned(*arg, 0xFFFF);
      if (!value) {
        return refuse(std::string(kind_text) + " takes 0 to 65535, not " + Quoted(*arg));
      }
      f.value = static_cast<uint16_t>(*value);
    }
  } else if (kind_text.starts_with("value=")) {
    const std::string_view name = kind_text.substr(6);
    if (!t.message_id) {
      return refuse("value=FIELD:N needs a message id as its target, not " +
                    std::string(target_text));
    }
    const std::string id = IdText(*t.message_id);
    const Gen1ReplyField* field = FindReplyField(*t.message_id, name);
    if (field == nullptr) {
      const std::string fields = FieldNamesText(*t.message_id);
      return refuse(id + " has no reply field '" + std::string(name) + "' (" +
                    (fields.empty() ? "its reply has none a value fault can change"
                                    : "its fields: " + fields) +
                    ")");
    }
    if (!arg) return refuse("value=" + std::string(name) + " needs :N, the value it carries");
    // N fits the field's bytes read either way: signed or unsigned.
    const int bits = 8 * field->width;
    const int64_t low = -(int64_t{1} << (bits - 1));
    const int64_t high = (int64_t{1} << bits) - 1;
    const std::optional<int64_t> value = tooltext::ParseInteger(*arg, low, high);
    if (!value) {
      return refuse(id + "'s " + std::string(name) + " (" + std::to_string(field->width) +
                    (field->width == 1 ? " byte" : " bytes") + ") takes " + std::to_string(low) +
                    " to " + std::to_string(high) + ", not " + Quoted(*arg));
    }
    f.kind = Gen1FaultKind::kValue;
    f.field = *field;
    f.field_value = *value;
  } else {
    return refuse("unknown kind " + Quoted(kind_text) + " (" + std::string(kKinds) + ")");
  }
  f.rule = std::string(rule);
  target = t;
  fault = std::move(f);
  return true;
}

std::string FaultUsageText() {
  return "  --fault TARGET:KIND[:ARG]  inject a first-generation handset fault (repeatable)\n"
         "      TARGET  a test-function message id (0x04 or 4) on slot 77, or slot15,\n"
         "              slot54, slot56, slot77 for every request of that host slot, or\n"
         "              selftest-enable, selftest-status, selftest-disable, pmu for one\n"
         "              AT command of slot 54\n"
         "      fail[:TEXT]  the host call fails; the last-error slot then answers TEXT\n"
         "                   (for example \"No errors\"), default a text naming the message\n"
         "      length[:N]   the reply has length N (default one byte short)\n"
         "      status[:N]   the radio refuses: status word N (default 0); text\n"
         "                   commands answer \"ERROR\"\n"
         "      value=FIELD:N  the radio acts, but the reply's FIELD carries N (a value\n"
         "                   that is off: --fault 0x08:value=rssi:12)\n"
         "      A rule that never met an exchange is named at the end of the run. A\n"
         "      rule is refused before anything starts when its message, slot, command\n"
         "      or field does not exist or its number does not fit.\n"
         "      Message ids (test functions on slot 77) and their reply fields:\n" +
         MessageListText("      ") +
         "      examples: --fault 0x04:fail  --fault \"0x04:fail:No errors\"\n"
         "                --fault 0x03:length:46  --fault 0x01:status  --fault slot54:fail\n";
}

}  // namespace fmrsim
