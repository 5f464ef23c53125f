#include "transcript.h"

#include <cstdio>

namespace benchora {

bool Transcript::OpenFile(const std::string& path, std::string& error) {
  file_.open(path, std::ios::out | std::ios::trunc);
  if (!file_) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

void Transcript::ToFile(const std::string& text) {
  if (file_.is_open()) {
    file_ << text << '\n';
    file_.flush();
  }
}

void Transcript::Line(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
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
  std::fflush(stdout);
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
