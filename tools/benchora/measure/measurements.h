// benchora's measuring commands: "verify" judges one value against its
// limits and prints the verdict line, "sample" reads values while the
// panel's own timers run. Both read the panel through the automation
// interface (and the RDS station --rds decodes), and hand what they
// measured to the reports.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "measure/rds_watch.h"
#include "report/reports.h"
#include "report/transcript.h"
#include "script/script.h"

namespace benchora {

class Measurements {
 public:
  // Runs an automation command on the panel; false when none is shown.
  using Automate = std::function<bool(const std::string& command, std::string& reply)>;

  Measurements(Automate automate, Transcript& transcript, Reports& reports)
      : automate_(std::move(automate)), transcript_(transcript), reports_(reports) {}

  void set_rds(RdsWatch* rds) { rds_ = rds; }

  // The reply of a verify or sample command; nullopt for any other command.
  std::optional<std::string> Run(const ScriptCommand& command);

  // A check that did not run, and why ("not run: --strict stopped the run
  // before it").
  void RecordSkipped(const ScriptCommand& command, const std::string& why);

  // A command that went wrong where the script did not expect it.
  void RecordProblem(const ScriptCommand& command, const std::string& what);

  // The same two at a given time, without asking the panel: for a run that
  // is being ended from outside while the panel may hang.
  // RecordSkippedAt is false for a command that is no check.
  bool RecordSkippedAt(const ScriptCommand& command, const std::string& why, uint64_t time_ms);
  void RecordProblemAt(const ScriptCommand& command, const std::string& what, uint64_t time_ms);
  // The panel's clock when it was last read.
  [[nodiscard]] uint64_t last_clock() const { return last_clock_.load(); }

  // The help lines of the measuring commands.
  static std::string Help();

 private:
  struct Reading {
    std::optional<std::string> value;
    std::string why;       // when there is no value
    bool unknown = false;  // the name names no control, key or value
    std::string where;     // the caption of the control's group
  };
  Reading Read(const std::string& name, bool with_group);
  uint64_t Now();
  std::string Verify(const ScriptCommand& command, std::string_view arguments);
  std::string Sample(const ScriptCommand& command, std::string_view arguments);

  Automate automate_;
  Transcript& transcript_;
  Reports& reports_;
  RdsWatch* rds_ = nullptr;
  std::atomic<uint64_t> last_clock_{0};
};

}  // namespace benchora
