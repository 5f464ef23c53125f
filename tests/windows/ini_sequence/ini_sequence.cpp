// One fixed sequence of initialization-file writes, then a fixed set of
// reads, through the platform layer: the profile functions on Windows, our
// own writer elsewhere. The test compares the files and the read reports
// the two builds produce, byte for byte.
//   ini_sequence FILE REPORT
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/platform.h"

namespace {

bool Write(const std::string& file, const char* section, const char* key, const char* value) {
  if (platform::IniWriteString(file, section, key, value)) return true;
  std::fprintf(stderr, "write [%s] %s failed\n", section, key);
  return false;
}

bool WriteSequence(const std::string& file) {
  bool ok = Write(file, "FM Radio Parameters", "LEVolume", "10");   // new file
  ok = Write(file, "Register_Address", "0", "0x0012") && ok;        // new section
  ok = Write(file, "FM Radio Parameters", "CBMute", "1") && ok;     // earlier section
  ok = Write(file, "fm radio parameters", "LEVOLUME", "12") && ok;  // in place, other case
  // The profile functions strip the blanks around a value when the next
  // write reads the file again, so a value with blanks is not the last one.
  ok = Write(file, "FM Radio Parameters", "LEPSN", "  two words  ") && ok;
  ok = Write(file, "FM Radio Parameters", "LERT", "") && ok;

  platform::IniFile ini(file);  // a handler's writes, committed together
  ini.Write("Register_Data", "0", "0x00001234");
  ini.Write("Register_Address", "1", "0x0013");
  ini.Write("FM Radio Parameters", "LEPSN", "three  inner  blanks");
  ini.Write("register_data", "1", "0x00005678");
  ini.Write("FM Radio Parameters", "CBMute", "0");
  ok = ini.Commit() && ok;

  // A hand edit: a comment and a line without '=' end the last section,
  // then an empty section follows.
  std::ofstream(file, std::ios::binary | std::ios::app) << "; hand-written note\r\n"
                                                           "stray\r\n"
                                                           "[Empty]\r\n";
  ok = Write(file, "register_data", "2", "0x00009ABC") && ok;       // after the section's last line
  ok = Write(file, "Register_Data", "STRAY", "5") && ok;            // the line without '='
  ok = Write(file, "Empty", "first", "1") && ok;                    // right after the section line
  ok = Write(file, "FM Radio Parameters", "LEVolume", "12") && ok;  // no change
  ok = Write(file, "Last Section", "Quoted", "\"q\"") && ok;        // new section at the end
  return ok;
}

void ReportReads(const std::string& file, const std::string& report) {
  static constexpr const char* kReads[][2] = {
      {"FM Radio Parameters", "LEVolume"},
      {"FM RADIO PARAMETERS", "levolume"},
      {"FM Radio Parameters", "LEPSN"},
      {"FM Radio Parameters", "LERT"},
      {"FM Radio Parameters", "Missing"},
      {"Register_Data", "stray"},
      {"Register_Data", "2"},
      {"Register_Data", "; hand-written note"},
      {"Empty", "first"},
      {"Last Section", "Quoted"},
      {"Nowhere", "k"},
  };
  std::ofstream out(report, std::ios::binary | std::ios::trunc);
  const platform::IniFile ini(file);
  for (const auto& [section, key] : kReads) {
    const std::optional<std::string> value = ini.Read(section, key);
    out << "[" << section << "] " << key << (value ? " = <" + *value + ">" : " missing") << "\n";
  }
  out << "default: <" << platform::IniReadString(file, "Nowhere", "k", "fallback") << ">\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const std::string file = argv[1];
  std::error_code ignored;
  std::filesystem::remove(file, ignored);
  const bool ok = WriteSequence(file);
  ReportReads(file, argv[2]);
  return ok ? 0 : 1;
}
