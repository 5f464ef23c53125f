#include "script/command_runner.h"

#include "host/message_boxes.h"
#include "link/connection_help.h"
#include "measure/measurement.h"
#include "measure/tuning_events.h"

namespace benchora {
namespace {

constexpr char kRefusal[] = "error: ";

// Progress lines that are no action of their own.
bool IsProgressLine(const std::string& line) {
  return line == "OK" || line == "Sending to mobile...";
}

}  // namespace

std::string CommandRunner::ErrorDetail(const std::string& line) const {
  if (at_command_.empty()) return action_.empty() ? line : action_ + " failed: " + line;
  const std::string action = action_.empty() ? std::string() : action_ + ": ";
  std::optional<std::string> outcome;
  if (transport_events_ != nullptr) outcome = transport_events_->OutcomeOf(at_command_);
  return action + at_command_ + " " + outcome.value_or("failed (\"" + line + "\")");
}

void CommandRunner::LogLine(const char* text, uint8_t flag) {
  const std::string line = text != nullptr ? text : "";
  // The panel fills its RDS read-outs before it logs anything else: the
  // station they show comes before this line.
  if (rds_ != nullptr) rds_->OnLogLine(line, flag);
  transcript_.Line(LogLineText(line.c_str(), flag));
  if (LoggedAtCommand(line)) {
    at_command_ = line;
  } else if (flag != 0 && !IsProgressLine(line)) {
    action_ = line;
    at_command_.clear();
  }
  if (flag == 0 && check_) check_->Add({ProblemKind::kErrorLine, line, ErrorDetail(line)});
  if (IsConnectionFailure(line) && !at_server_.told_unreachable) {
    for (const std::string& help : ConnectionHelp(at_server_))
      transcript_.Notice("benchora: " + help);
  }
}

bool CommandRunner::ShowPanel(void* host_application) {
  set_step("showing the panel");
  check_.emplace();
  plugin_.ShowMDIChildForm(host_application);
  ShowBoxes();
  const bool go_on = Finish({"panel start", start_origin_, {}}, {});
  RefreshIdentity();
  return go_on;
}

void CommandRunner::StartFailed(const std::string& why) {
  measurements_.RecordProblemAt({"start", start_origin_, {}}, "the run could not start: " + why, 0);
}

void CommandRunner::RunAll(std::span<const ScriptCommand> commands,
                           const std::function<void()>& after_each) {
  if (plan_.data() != commands.data() || plan_.size() != commands.size()) plan_ = commands;
  for (size_t i = 0; i < commands.size(); ++i) {
    next_.store(i);
    in_run_all_ = true;
    set_step(commands[i].origin.empty() ? commands[i].text
                                        : commands[i].origin + ": " + commands[i].text);
    in_run_all_ = false;
    in_command_.store(true);
    const bool go_on = Run(commands[i]);
    in_command_.store(false);
    next_.store(i + 1);
    if (after_each) after_each();
    if (!go_on) {
      for (const ScriptCommand& rest : commands.subspan(i + 1)) {
        measurements_.RecordSkipped(rest, "not run: --strict stopped the run before it");
      }
      break;
    }
  }
  set_step("closing the panel");
}

bool CommandRunner::Abandon(const std::string& why, bool step_is_error) {
  const uint64_t now = measurements_.last_clock();
  const size_t next = next_.load();
  size_t first_not_run = next;
  bool recorded = false;
  if (step_is_error) {
    // The step that hung: a command of the script, or benchora's own.
    if (in_command_.load() && next < plan_.size()) {
      measurements_.RecordProblemAt(plan_[next], why, now);
      first_not_run = next + 1;
    } else {
      measurements_.RecordProblemAt({step(), start_origin_, {}}, why, now);
    }
    recorded = true;
  }
  for (size_t i = first_not_run; i < plan_.size(); ++i) {
    recorded = measurements_.RecordSkippedAt(plan_[i], "not run: " + why, now) || recorded;
  }
  // Stopped with no check left to skip: the report still says so.
  if (!recorded) measurements_.RecordProblemAt({step(), start_origin_, {}}, why, now);
  TellWriteErrors();
  std::string error;
  if (reports_.Finish(error)) return true;
  if (!error.empty()) transcript_.Error(error);
  return false;
}

std::string CommandRunner::step() const {
  const std::lock_guard lock(step_mutex_);
  return step_;
}

void CommandRunner::set_step(std::string step) {
  const std::lock_guard lock(step_mutex_);
  step_ = std::move(step);
  // Inside RunAll the step is the command about to run; outside it, the
  // number of commands done (none yet, or all of them).
  if (feed_ != nullptr) feed_->Step(next_.load() + (in_run_all_ ? 1 : 0), plan_.size(), step_);
}

void CommandRunner::RefreshIdentity() {
  std::string reply;
  std::string version;
  for (const char* form : {"KelboFMRGUI", "frm_DruskGUI"}) {
    if (plugin_.Automate(std::string("get ") + form, reply) && reply.starts_with("kind=Form")) {
      const std::string caption = StateValue(reply, "caption").value_or("");
      const size_t at = caption.find("Version: ");
      version = at == std::string::npos ? caption : caption.substr(at + 9);
      break;
    }
  }
  // The first generation's chip probe; the second-generation panel's
  // Version group, once it has been read.
  std::string handset = chip_probe_answer_ != nullptr ? *chip_probe_answer_ : std::string();
  for (const char* label : {"l_rx_ver", "l_pkg_ver", "l_hw_ver", "l_man_ver"}) {
    if (!plugin_.Automate(std::string("get ") + label, reply) || !reply.starts_with("kind=")) {
      continue;
    }
    std::string caption = StateValue(reply, "caption").value_or("");
    while (!caption.empty() && caption.back() == ' ') caption.pop_back();
    if (caption.empty()) continue;
    handset += (handset.empty() ? "" : ", ") + caption;
  }
  reports_.ChangeIdentity([&](RunIdentity& identity) {
    if (!version.empty()) identity.plugin_version = version;
    if (!handset.empty()) identity.handset = handset;
  });
}

void CommandRunner::TellWriteErrors() {
  const std::string error = reports_.TakeWriteError();
  if (!error.empty()) transcript_.Error(error);
}

bool CommandRunner::Run(const ScriptCommand& command) {
  transcript_.Command(command.text);
  check_.emplace();
  action_.clear();
  at_command_.clear();
  std::string reply;
  if (command.text == "reopen") {
    // The host closes its panel window and asks for it again.
    int host_application = 0;
    plugin_.CloseMDIChildForm(&host_application);
    plugin_.ShowMDIChildForm(&host_application);
    reply = "ok";
  } else if (std::optional<std::string> measured = measurements_.Run(command)) {
    reply = std::move(*measured);
  } else if (!plugin_.Automate(command.text, reply)) {
    reply = std::string(kRefusal) + "no panel is shown";
  } else if (command.text == "help") {
    reply += "\n" + OwnHelp() + "\n" + Measurements::Help();
  }
  // A message box is modal: it was closed before the command returned.
  ShowBoxes();
  if (rds_ != nullptr) rds_->Settle();
  transcript_.Line(reply);
  if (reply.starts_with(kRefusal)) check_->Add({ProblemKind::kRefused, reply, {}});
  const bool go_on = Finish(command, command.expected);
  RefreshIdentity();
  TellWriteErrors();
  return go_on;
}

void CommandRunner::RecordUnfiredFault(const std::string& rule) {
  ++unfired_faults_;
  transcript_.Notice("benchora: fault rule \"" + rule + "\" never fired");
  measurements_.RecordProblem(
      {rule, "--fault", {}}, "fault rule \"" + rule + "\" never fired: nothing was tested with it");
}

int CommandRunner::Close() {
  TellWriteErrors();
  std::string error;
  if (!reports_.Finish(error)) {
    if (!error.empty()) transcript_.Error(error);
    return 1;
  }
  return stopped_ || reports_.failed_checks() > 0 || unfired_faults_ > 0 ||
                 reports_.write_failed() || transcript_.write_failed()
             ? 1
             : 0;
}

std::string CommandRunner::OwnHelp() {
  return "reopen                  (benchora) close the panel and show it again\n"
         "@expect KIND [TEXT]     (benchora, before a command) it is meant to go wrong: KIND "
         "error (an error line), box (a message box) or refused; TEXT: part of it\n"
         "quit                    (benchora, interactive) leave";
}

void CommandRunner::ShowBoxes() {
  std::string reply;
  if (!plugin_.Automate("dialogs", reply)) return;
  const ShownBoxes shown = ParseDialogsReply(reply);
  for (const std::string& note : shown.notes) {
    transcript_.Notice(DialogLine(note));
    if (check_) check_->Add({ProblemKind::kBox, note, {}});
  }
  for (const std::string& box : shown.boxes) {
    transcript_.Notice(DialogLine(box));
    if (check_) check_->Add({ProblemKind::kBox, box, {}});
  }
}

bool CommandRunner::Finish(const ScriptCommand& command, const std::vector<Expectation>& expected) {
  const std::string& what = command.text;
  const std::string& origin = command.origin;
  const Verdict verdict = check_->Judge(expected);
  check_.reset();
  if (verdict.mark) transcript_.Notice("!! " + what + ": " + *verdict.mark);
  if (verdict.failure) measurements_.RecordProblem(command, what + ": " + *verdict.failure);
  if (!strict_ || !verdict.failure) return true;
  transcript_.Error("--strict: " + (origin.empty() ? "" : origin + ": ") + what + ": " +
                    *verdict.failure);
  if (verdict.directive && !origin.empty()) {
    transcript_.Error("(when it is meant to happen, write \"" + *verdict.directive +
                      "\" on the line before the command)");
  }
  stopped_ = true;
  return false;
}

}  // namespace benchora
