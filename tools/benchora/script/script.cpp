#include "script/script.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>

#include "measure/sampling.h"
#include "measure/verdict.h"

namespace benchora {
namespace {

std::optional<ProblemKind> KindNamed(std::string_view word) {
  if (word == "error") return ProblemKind::kErrorLine;
  if (word == "box") return ProblemKind::kBox;
  if (word == "refused") return ProblemKind::kRefused;
  return std::nullopt;
}

// Where the word starting at `at` ends: at white space or the end.
size_t WordEnd(std::string_view text, size_t at) {
  while (at < text.size() && !IsBlank(text[at])) ++at;
  return at;
}

// "@expect KIND [TEXT]" without its '@'; false with `error` set.
bool ParseDirective(std::string_view line, Expectation& out, std::string& error) {
  const size_t word_end = WordEnd(line, 0);
  const std::string_view name = line.substr(0, word_end);
  if (name != "expect") {
    error = "unknown directive '@" + std::string(name) + "' (the one directive is " +
            kExpectSyntax + ")";
    return false;
  }
  std::string_view rest = line.substr(word_end);
  while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
  const size_t kind_end = WordEnd(rest, 0);
  const std::optional<ProblemKind> kind = KindNamed(rest.substr(0, kind_end));
  if (!kind) {
    error = "@expect needs error, box or refused: " + std::string(kExpectSyntax);
    return false;
  }
  out.kind = *kind;
  out.text = kind_end == rest.size() ? std::string() : std::string(rest.substr(kind_end + 1));
  return true;
}

// False with `error` set for a malformed verify or sample command.
bool CheckMeasuringSyntax(std::string_view command, std::string& error) {
  if (const auto arguments = CommandArguments(command, "verify")) {
    return ParseCheck(*arguments, error).has_value();
  }
  if (const auto arguments = CommandArguments(command, "sample")) {
    return ParseSample(*arguments, error).has_value();
  }
  return true;
}

}  // namespace

std::optional<std::string_view> CommandArguments(std::string_view command, std::string_view verb) {
  if (!command.starts_with(verb)) return std::nullopt;
  command.remove_prefix(verb.size());
  if (command.empty()) return command;
  if (!IsBlank(command.front())) return std::nullopt;
  return command.substr(1);
}

bool ScriptReader::Add(std::string_view line, const std::string& origin,
                       std::vector<ScriptCommand>& commands, std::string& error) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  size_t first = 0;
  while (first < line.size() && IsBlank(line[first])) ++first;
  if (first == line.size() || line[first] == '#') return true;
  line.remove_prefix(first);
  if (line.front() == '@') {
    Expectation expectation;
    if (!ParseDirective(line.substr(1), expectation, error)) {
      error = origin + ": " + error;
      return false;
    }
    if (pending_.empty()) pending_origin_ = origin;
    pending_.push_back(std::move(expectation));
    return true;
  }
  if (!CheckMeasuringSyntax(line, error)) {
    error = origin + ": " + error;
    return false;
  }
  commands.push_back({std::string(line), origin, std::move(pending_)});
  pending_.clear();
  return true;
}

bool ScriptReader::Finish(std::string& error) const {
  if (pending_.empty()) return true;
  error = pending_origin_ + ": @expect with no command after it";
  return false;
}

bool ReadScript(const std::string& path, ScriptReader& reader, std::vector<ScriptCommand>& commands,
                std::string& error) {
  std::error_code code;
  if (std::filesystem::is_directory(path, code)) {
    error = "cannot read script " + path + ": it is a folder";
    return false;
  }
  std::ifstream in(path);
  if (!in) {
    error = "cannot read script " + path + ": " + std::strerror(errno);
    return false;
  }
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!reader.Add(line, path + ":" + std::to_string(number), commands, error)) return false;
  }
  if (in.bad()) {
    error = "cannot read script " + path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace benchora
