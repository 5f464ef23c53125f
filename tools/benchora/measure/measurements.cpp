#include "measure/measurements.h"

#include <cstdlib>

#include "measure/measurement.h"
#include "measure/sampling.h"
#include "measure/verdict.h"

namespace benchora {
namespace {

constexpr char kRefusal[] = "error: ";

// The nearest caption of a `where` reply: "\"RDS\" < \"FM RX\"" -> RDS.
std::string NearestCaption(const std::string& where) {
  if (!where.starts_with('"')) return {};
  const size_t end = where.find("\" < ");
  return where.substr(1, (end == std::string::npos ? where.size() - 1 : end) - 1);
}

}  // namespace

std::string Measurements::Help() {
  return "verify NAME OP VALUE [UNIT]\n"
         "                        (benchora) check a value: OP = != < <= > >= in LOW..HIGH ~ "
         "REGEX; NAME a control (its text, check mark, position, index or caption), "
         "CONTROL.KEY of its get state, or rds.VALUE with --rds (" +
         RdsFieldList() +
         ": what was received since the radio last changed what it receives; pi and ecc are "
         "hexadecimal codes); prints PASS or FAIL; a FAIL makes benchora exit with 1\n"
         "sample EVERY_MS COUNT NAME[:UNIT]...\n"
         "                        (benchora) read the values COUNT times, each after EVERY_MS "
         "of the panel's time (its timers run); a name that names nothing fails";
}

std::optional<std::string> Measurements::Run(const ScriptCommand& command) {
  if (const auto arguments = CommandArguments(command.text, "verify"))
    return Verify(command, *arguments);
  if (const auto arguments = CommandArguments(command.text, "sample"))
    return Sample(command, *arguments);
  return std::nullopt;
}

uint64_t Measurements::Now() {
  std::string reply;
  if (!automate_("clock", reply)) return last_clock_.load();
  const uint64_t now = std::strtoull(reply.c_str(), nullptr, 10);
  last_clock_.store(now);
  return now;
}

Measurements::Reading Measurements::Read(const std::string& name, bool with_group) {
  Reading reading;
  if (const std::optional<std::string_view> field = RdsFieldName(name)) {
    if (rds_ == nullptr) {
      reading.why = "RDS values need --rds";
      return reading;
    }
    rds_->Settle();
    reading.value = RdsValue(*rds_, *field, reading.why);
    return reading;
  }
  const size_t dot = name.find('.');
  const std::string control = name.substr(0, dot);
  std::string reply;
  if (!automate_("get " + control, reply)) {
    reading.why = "no panel is shown";
    return reading;
  }
  if (reply.starts_with(kRefusal)) {
    reading.why = "no control or value named " + name;
    reading.unknown = true;
    return reading;
  }
  if (dot == std::string::npos) {
    reading.value = MainValue(reply);
    if (!reading.value) reading.why = control + " shows no value";
  } else {
    reading.value = StateValue(reply, std::string_view(name).substr(dot + 1));
    if (!reading.value) {
      reading.why = control + " has no " + name.substr(dot + 1);
      reading.unknown = true;
    }
  }
  std::string where;
  if (with_group && automate_("where " + control, where)) reading.where = NearestCaption(where);
  return reading;
}

std::string Measurements::Verify(const ScriptCommand& command, std::string_view arguments) {
  std::string error;
  const std::optional<CheckSpec> check = ParseCheck(arguments, error);
  if (!check) return kRefusal + error;
  const Reading reading = Read(check->name, true);
  Judgement judgement;
  if (reading.value) {
    judgement = Judge(*check, *reading.value);
  } else {
    judgement = Judge(*check, "");
    judgement.pass = false;
    judgement.why = reading.why;
  }
  Record record;
  record.kind = RecordKind::kCheck;
  record.time_ms = Now();
  record.origin = command.origin;
  record.name = check->name;
  record.value = reading.value.value_or("");
  record.unit = check->unit;
  record.low = judgement.low;
  record.high = judgement.high;
  record.pass = judgement.pass;
  record.message = VerdictLine(*check, reading.where, reading.value, judgement);
  record.test = std::string(arguments);
  reports_.Add(record);
  return record.message;
}

std::string Measurements::Sample(const ScriptCommand& command, std::string_view arguments) {
  std::string error;
  const std::optional<SampleRequest> request = ParseSample(arguments, error);
  if (!request) return kRefusal + error;
  // Each name is looked up once before the panel's time runs: a name that
  // names nothing is a failed check, not a column of empty values.
  std::vector<SampledValue> values;
  for (const SampledValue& value : request->values) {
    const Reading reading = Read(value.name, false);
    if (!reading.unknown) {
      values.push_back(value);
      continue;
    }
    Record record;
    record.kind = RecordKind::kCheck;
    record.time_ms = Now();
    record.origin = command.origin;
    record.name = value.name;
    record.unit = value.unit;
    record.pass = false;
    record.message = "FAIL " + value.name + ": measured nothing (" + reading.why + ")";
    record.test = std::string(arguments);
    reports_.Add(record);
    transcript_.Line(record.message);
  }
  for (uint32_t n = 0; n < request->count && !values.empty(); ++n) {
    std::string reply;
    if (!automate_("advance " + std::to_string(request->every_ms), reply)) {
      return std::string(kRefusal) + "no panel is shown";
    }
    const uint64_t now = Now();
    std::string line = "SAMPLE " + std::to_string(now) + " ms:";
    for (const SampledValue& value : values) {
      const Reading reading = Read(value.name, false);
      Record record;
      record.kind = RecordKind::kSample;
      record.time_ms = now;
      record.origin = command.origin;
      record.name = value.name;
      record.value = reading.value.value_or("");
      record.unit = value.unit;
      record.message = reading.why;
      reports_.Add(record);
      std::string why;
      const std::optional<KindOfValue> kind = LookUpName(value.name, why);
      line += " " + value.name + "=" +
              (reading.value ? ShownValue(*reading.value, kind.value_or(KindOfValue{}))
                             : "(" + reading.why + ")");
      if (reading.value && !value.unit.empty()) line += " " + value.unit;
    }
    transcript_.Line(line);
  }
  return "ok";
}

void Measurements::RecordSkipped(const ScriptCommand& command, const std::string& why) {
  static_cast<void>(RecordSkippedAt(command, why, Now()));
}

void Measurements::RecordProblem(const ScriptCommand& command, const std::string& what) {
  RecordProblemAt(command, what, Now());
}

bool Measurements::RecordSkippedAt(const ScriptCommand& command, const std::string& why,
                                   uint64_t time_ms) {
  const std::optional<std::string_view> arguments = CommandArguments(command.text, "verify");
  if (!arguments) return false;
  std::string error;
  const std::optional<CheckSpec> check = ParseCheck(*arguments, error);
  Record record;
  record.kind = RecordKind::kSkipped;
  record.time_ms = time_ms;
  record.origin = command.origin;
  record.name = check ? check->name : std::string(*arguments);
  record.pass = false;
  record.message = why;
  record.test = std::string(*arguments);
  reports_.Add(record);
  return true;
}

void Measurements::RecordProblemAt(const ScriptCommand& command, const std::string& what,
                                   uint64_t time_ms) {
  Record record;
  record.kind = RecordKind::kProblem;
  record.time_ms = time_ms;
  record.origin = command.origin;
  record.name = command.text;
  record.pass = false;
  record.message = what;
  record.test = command.text;
  reports_.Add(record);
}

}  // namespace benchora
