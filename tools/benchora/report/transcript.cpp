#include "report/transcript.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace benchora {

namespace {

std::string Reason() {
  return errno != 0 ? std::strerror(errno) : "the write failed";
}

}  // namespace

bool Transcript::OpenFile(const std::string& path, std::string& error) {
  errno = 0;
  file_.reset(std::fopen(path.c_str(), "wb"));
  if (!file_) {
    error = "cannot write " + path + ": " + Reason();
    return false;
  }
  path_ = path;
  return true;
}

void Transcript::ToFile(const std::string& text) {
  if (!file_ || file_failed_) return;
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), file_.get()) != text.size() ||
      std::fputc('\n', file_.get()) == EOF || std::fflush(file_.get()) != 0) {
    file_failed_ = true;
    std::fprintf(stderr, "benchora: cannot write %s: %s\n", path_.c_str(), Reason().c_str());
    std::fflush(stderr);
  }
}

void Transcript::ToStdout(const std::string& text) {
  if (stdout_failed_) return;
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
    stdout_failed_ = true;
    std::fprintf(stderr, "benchora: cannot write standard output: %s\n", Reason().c_str());
    std::fflush(stderr);
  }
}

void Transcript::Line(const std::string& text) {
  ToStdout(text + "\n");
  ToFile(text);
}

void Transcript::Notice(const std::string& text) {
  Line(text);
  if (on_notice) on_notice(text);
}

void Transcript::Command(const std::string& text) {
  if (echo_commands_) {
    Line("> " + text);
  } else {
    ToFile("> " + text);
  }
}

void Transcript::Prompt(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);  // a prompt nobody sees costs nothing: the next line tells
}

void Transcript::Error(const std::string& text) {
  std::fprintf(stderr, "benchora: %s\n", text.c_str());
  std::fflush(stderr);
  ToFile("benchora: " + text);
}

void Transcript::PlatformNote(const std::string& text) {
  std::fprintf(stderr, "benchora: %s\n", text.c_str());
  std::fflush(stderr);
}

std::string LogLineText(const char* text, uint8_t flag) {
  // One log line stays one transcript line: the control bytes of a
  // handset's text are written as escapes (\r, \n, \t, \xHH).
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string line = "LOG[" + std::to_string(flag) + "] ";
  for (const char* c = text != nullptr ? text : ""; *c != '\0'; ++c) {
    const auto byte = static_cast<unsigned char>(*c);
    if (*c == '\r') {
      line += "\\r";
    } else if (*c == '\n') {
      line += "\\n";
    } else if (*c == '\t') {
      line += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      line += "\\x";
      line += kHex[byte >> 4];
      line += kHex[byte & 0x0F];
    } else {
      line += *c;
    }
  }
  return line;
}

}  // namespace benchora
