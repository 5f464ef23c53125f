// RDS text in UTF-8: the character table (a sample of every row, the
// positions that differ from ASCII, the undefined bytes), national letters
// through the decoder into every output, and hostile texts in the JSON
// outputs, parsed back.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <set>
#include <string>

#include "fmr-rds/cli.h"
#include "fmr-rds/rds_characters.h"
#include "fmr-rds/report_json.h"
#include "text/report_text.h"
#include "text/utf8_unit.h"
#include "tool_run.h"

namespace rdstest {
namespace {

RunResult RunRds(const std::vector<std::string>& args, const std::string& input) {
  return RunTool(&fmrrds::Run, args, input);
}

size_t CodePoints(const std::string& text) {
  size_t count = 0;
  for (size_t at = 0; at < text.size(); at += tooltext::DecodeUnit(text, at).length) ++count;
  return count;
}

// Each line of `text` as JSON; a line that does not parse fails the test.
std::vector<nlohmann::json> ParseLines(const std::string& text) {
  std::vector<nlohmann::json> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    const std::string line = text.substr(start, end - start);
    lines.push_back(nlohmann::json::parse(line, nullptr, false));
    EXPECT_FALSE(lines.back().is_discarded()) << line;
    EXPECT_TRUE(tooltext::IsReportText(line)) << line;
    start = end == std::string::npos ? text.size() : end + 1;
  }
  return lines;
}

TEST(RdsCharacters, EveryRowSampledAndThePositionsThatDifferFromAscii) {
  const struct {
    std::string raw, utf8;
  } kCases[] = {
      // 0x20-0x7F: ASCII but for four positions.
      {"\x24\x5E\x60\x7E", "¤―║¯"},
      {" !#%&'()*+,-./09:;<=>?@AZ[\\]_az{|}", " !#%&'()*+,-./09:;<=>?@AZ[\\]_az{|}"},
      {"R\x91"
       "DIO",
       "RäDIO"},
      // One row of national letters and symbols after the other: the first,
      // some in between and the last of each.
      {"\x80\x81\x82\x86\x8A\x8B\x8C\x8D\x8E\x8F", "áàéóÑÇŞß¡Ĳ"},
      {"\x90\x91\x92\x97\x99\x9A\x9B\x9C\x9D\x9E\x9F", "âäêöüñçşğıĳ"},
      {"\xA0\xA1\xA2\xA3\xA4\xA7\xA8\xA9\xAA\xAB\xAC\xAD\xAE\xAF", "ªα©‰Ğőπ€£$←↑→↓"},
      {"\xB0\xB1\xB4\xB5\xB6\xB7\xB8\xB9\xBA\xBB\xBC\xBF", "º¹±İńűµ¿÷°¼§"},
      {"\xC0\xC1\xC2\xC9\xCA\xCB\xCC\xCD\xCE\xCF", "ÁÀÉÙŘČŠŽĐĿ"},
      {"\xD0\xD1\xD7\xD9\xDA\xDB\xDC\xDD\xDE\xDF", "ÂÄÖÜřčšžđŀ"},
      {"\xE0\xE1\xE2\xE3\xE4\xE5\xE7\xE9\xEA\xEE\xEF", "ÃÅÆŒŷÝØŊŔŦð"},
      {"\xF0\xF1\xF2\xF3\xF4\xF5\xF7\xF8\xF9\xFB\xFE", "ãåæœŵýøþŋćŧ"},
      // Controls with a meaning in RDS text, and bytes without one: those
      // stay as they are, for the report writers to escape.
      {"a\x0A"
       "b\x0D"
       "c\x1F"
       "d",
       "a\nb\rc\u00ADd"},
      {std::string("\x00\x01\x0B\x1B\x7F\xFF", 6), std::string("\x00\x01\x0B\x1B\x7F\xFF", 6)},
      {"", ""},
  };
  for (const auto& c : kCases) EXPECT_EQ(fmrrds::RdsTextToUtf8(c.raw), c.utf8) << c.raw;
}

// Every defined byte is one character of its own, and only the controls
// without a meaning, 0x7F and 0xFF are undefined: a zero left in the table
// or a row shifted by one shows here.
TEST(RdsCharacters, EveryDefinedByteIsOneCharacterOfItsOwn) {
  std::set<char32_t> seen;
  for (unsigned byte = 0; byte < 256; ++byte) {
    const auto b = static_cast<unsigned char>(byte);
    const bool undefined =
        (byte < 0x20 && byte != 0x0A && byte != 0x0D && byte != 0x1F) || b == 0x7F || b == 0xFF;
    const char32_t c = fmrrds::RdsCharacter(b);
    EXPECT_EQ(c == 0, undefined) << std::hex << byte;
    if (undefined) continue;
    EXPECT_TRUE(seen.insert(c).second) << "twice: " << std::hex << byte;
    const std::string utf8 = fmrrds::RdsTextToUtf8(std::string(1, static_cast<char>(b)));
    const tooltext::Utf8Unit unit = tooltext::DecodeUnit(utf8, 0);
    EXPECT_EQ(unit.value, static_cast<uint32_t>(c)) << std::hex << byte;
    EXPECT_EQ(unit.length, utf8.size()) << std::hex << byte;
  }
  EXPECT_EQ(seen.size(), 256u - 29u - 2u);
}

// A station with national letters in its name (padded with spaces to eight
// characters), its radio text and the RadioText+ tags that point into it
// (positions count RDS characters, not UTF-8 bytes): every output reads
// them in UTF-8.
TEST(RdsText, NationalLettersReadOutInEveryOutput) {
  const std::string letters = Data("letters.txt");
  ASSERT_FALSE(letters.empty());
  ExpectData("letters.summary.txt", RunRds({"--summary"}, letters).out);
  const RunResult groups = RunRds({}, letters);
  ExpectData("letters.groups.jsonl", groups.out);
  EXPECT_EQ(ParseLines(groups.out).size(), 20u);

  const std::vector<nlohmann::json> summary =
      ParseLines(RunRds({"--summary", "--json"}, letters).out);
  ASSERT_EQ(summary.size(), 1u);
  const nlohmann::json& station = summary[0];
  EXPECT_EQ(station.at("ps"), "RäDIO   ");
  EXPECT_EQ(CodePoints(station.at("ps").get<std::string>()), 8u);
  EXPECT_EQ(station.at("ps_names"), nlohmann::json::array({"RäDIO   "}));
  EXPECT_EQ(station.at("rt"), "Grüße aus München");
  EXPECT_EQ(station.at("rt_plus").at("tags").at(0).at("text"), "München");
  EXPECT_EQ(station.at("rt_plus").at("tags").at(1).at("text"), "Grüße");
}

// Quotes, backslashes, control bytes and the undefined bytes in PS and radio
// text: the JSON lines parse back and hold them as \xHH; the text summary
// shows them, and the quote and backslash, as \xHH.
TEST(RdsText, HostileTextsInEveryOutput) {
  const std::string hostile = Data("hostile.txt");
  ASSERT_FALSE(hostile.empty());
  ExpectData("hostile.summary.txt", RunRds({"--summary"}, hostile).out);
  const std::string groups = RunRds({}, hostile).out;
  ExpectData("hostile.groups.jsonl", groups);
  EXPECT_EQ(ParseLines(groups).size(), 18u);
  const std::string json = RunRds({"--summary", "--json"}, hostile).out;
  ExpectData("hostile.summary.json", json);
  const std::vector<nlohmann::json> summary = ParseLines(json);
  ASSERT_EQ(summary.size(), 1u);
  EXPECT_EQ(summary[0].at("ps"), "\"\\\\x01\\x7F\\xFF¤―║");
  EXPECT_EQ(summary[0].at("rt"), "\\x1B[2J\\x0A\\x0B\u00AD¯║―¤ ŷŵĲĳ");
}

// Whatever bytes a text field holds, the JSON writers give valid JSON whose
// string is the text as a report holds it: every invalid UTF-8 form, C1
// controls and noncharacters escaped byte by byte.
TEST(RdsJson, EveryInvalidByteFormInEveryTextField) {
  const std::string kTexts[] = {
      "ok ä €",
      std::string("\x00\x1F\x7F", 3),
      "\x80 \xBF",           // continuation bytes alone
      "\xC3",                // cut short
      "\xC0\xAF",            // overlong
      "\xED\xA0\x80",        // a surrogate
      "\xF4\x90\x80\x80",    // above U+10FFFF
      "\xC2\x85",            // C1 control
      "\xEF\xBF\xBF\xFE",    // a noncharacter, a byte never in UTF-8
      "\"\\\"\\u0041\\x41",  // quotes and backslashes, and what looks like escapes
  };
  for (const std::string& text : kTexts) {
    fmrrds::GroupReport report;
    report.type = fmrrds::GroupType{2, false};
    report.skipped.clear();
    report.ps = text;
    report.rt_flag = 'A';
    report.rt_segment = 0;
    report.rt_chars = text;
    report.rt_plus = fmrrds::RtPlusGroup{};
    report.rt_plus->tags[0].content_type = 1;
    report.rt_plus_text[0] = text;
    const std::string line = fmrrds::GroupJson(report, fmrrds::PtyTable::kRds);
    const std::vector<nlohmann::json> parsed = ParseLines(line);
    ASSERT_EQ(parsed.size(), 1u);
    const std::string safe = tooltext::ReportText(text);
    EXPECT_EQ(parsed[0].at("ps"), safe);
    EXPECT_EQ(parsed[0].at("rt_chars"), safe);
    EXPECT_EQ(parsed[0].at("rt_plus").at("tags").at(0).at("text"), safe);

    fmrrds::StationSummary station;
    station.ps = text;
    station.ps_names = {text};
    station.rt_progressive = text;
    const std::vector<nlohmann::json> summary =
        ParseLines(fmrrds::SummaryJson(station, {}, fmrrds::PtyTable::kRds));
    ASSERT_EQ(summary.size(), 1u);
    EXPECT_EQ(summary[0].at("ps"), safe);
    EXPECT_EQ(summary[0].at("ps_names").at(0), safe);
    EXPECT_EQ(summary[0].at("rt_progressive"), safe);
  }
  // One whole line: the fields in their order, numbers as numbers.
  fmrrds::GroupReport report;
  report.line = 7;
  report.type = fmrrds::GroupType{0, true};
  report.pi = 0xC201;
  report.ps_segment = 1;
  report.ps_chars = "\xC3\xA4\x01";
  report.ps_progressive = "??\xC3\xA4\x01????";
  report.bler_recent = 12.25;
  EXPECT_EQ(fmrrds::GroupJson(report, fmrrds::PtyTable::kRds),
            "{\"line\":7,\"type\":\"0B\",\"pi\":\"C201\",\"tp\":false,\"pty\":0,\"pty_name\":"
            "\"No Program type or undefined\",\"ps_segment\":1,\"ps_chars\":\"ä\\\\x01\","
            "\"ps_progressive\":\"??ä\\\\x01????\",\"status\":\"0000\",\"bler_recent\":12.2}");
}

}  // namespace
}  // namespace rdstest
