#include "fmr-sim/gen1/faults.h"

#include "fmr-sim/text_number.h"

namespace fmrsim {
namespace {

// Decimal, or hexadecimal with "0x"; the whole text must be the number.
std::optional<uint32_t> ParseNumber(std::string_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  return ParseUnsigned(text, base);
}

}  // namespace

std::string_view AtCommandPrefix(std::string_view name) {
  static constexpr std::pair<std::string_view, std::string_view> kNames[] = {
      {"selftest-enable", "at@fmr:quelm_fmr_enable_test_func"},
      {"selftest-status", "at@quelm_fmr_internal_get_status_test_func"},
      {"selftest-disable", "at@fmr:quelm_fmr_disable_test_func"},
      {"pmu", "at@pmu:get_register"},
  };
  for (const auto& [n, prefix] : kNames) {
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
  Gen1Fault fault = it->second;
  if (it->second.times > 0 && --it->second.times == 0) faults_.erase(it);
  return fault;
}

bool ParseGen1Fault(std::string_view rule, Gen1FaultTarget& target, Gen1Fault& fault,
                    std::string& error) {
  const std::string quoted = "fault \"" + std::string(rule) + "\": ";
  const size_t colon = rule.find(':');
  if (colon == std::string_view::npos) {
    error = quoted + "expected TARGET:KIND";
    return false;
  }
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
    const std::optional<uint32_t> slot = ParseNumber(target_text.substr(4));
    if (!slot || (*slot != 15 && *slot != 54 && *slot != 56 && *slot != 77)) {
      error = quoted + "the slot must be slot15, slot54, slot56 or slot77";
      return false;
    }
    t.slot = static_cast<int>(*slot);
  } else {
    const std::optional<uint32_t> id = ParseNumber(target_text);
    if (!id || *id > 0xFFFF) {
      error = quoted +
              "the target must be a message id (0x04 or 4), a slot (slot54) or an AT command "
              "(selftest-enable, selftest-status, selftest-disable, pmu)";
      return false;
    }
    t.message_id = static_cast<uint16_t>(*id);
  }

  Gen1Fault f;
  if (kind_text == "fail") {
    f.kind = Gen1FaultKind::kHostFailure;
    if (arg) f.error_text = std::string(*arg);
  } else if (kind_text == "length" || kind_text == "status") {
    f.kind = kind_text == "length" ? Gen1FaultKind::kWrongLength : Gen1FaultKind::kBadStatus;
    if (arg) {
      const std::optional<uint32_t> value = ParseNumber(*arg);
      if (!value || *value > 0xFFFF) {
        error = quoted + std::string(kind_text) + " takes a number from 0 to 65535";
        return false;
      }
      f.value = static_cast<uint16_t>(*value);
    }
  } else {
    error = quoted + "the kind must be fail, length or status";
    return false;
  }
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
         "      examples: --fault 0x04:fail  --fault \"0x04:fail:No errors\"\n"
         "                --fault 0x03:length:46  --fault 0x01:status  --fault slot54:fail\n";
}

}  // namespace fmrsim
