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

void Transcript::Line(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
  if (file_.is_open()) {
    file_ << text << '\n';
    file_.flush();
  }
}

void Transcript::Error(const std::string& text) {
  std::fprintf(stderr, "benchora: %s\n", text.c_str());
  std::fflush(stderr);
  if (file_.is_open()) {
    file_ << "benchora: " << text << '\n';
    file_.flush();
  }
}

std::string LogLineText(const char* text, uint8_t flag) {
  return "LOG[" + std::to_string(flag) + "] " + (text != nullptr ? text : "");
}

}  // namespace benchora
