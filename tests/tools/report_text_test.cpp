// Text made safe for reports: what stands, and what every hostile byte
// sequence becomes.
#include <gtest/gtest.h>

#include <string>

#include "text/report_text.h"
#include "text/sha256.h"

namespace {

TEST(ReportText, KeepsStorableUtf8AndEscapesEveryOtherByte) {
  const struct {
    std::string text, safe;
  } kCases[] = {
      {"ROCK 95 ", "ROCK 95 "},
      {"R\xC3\x84"
       "DIO \xE2\x82\xAC \xF0\x9F\x93\xBB",
       "R\xC3\x84"
       "DIO \xE2\x82\xAC \xF0\x9F\x93\xBB"},
      {"]]> <a href=\"x\">&amp;", "]]> <a href=\"x\">&amp;"},  // each format quotes these
      {"a\\x41", "a\\x41"},
      {"R\x91"
       "DIO",
       "R\\x91DIO"},                        // an RDS letter, not UTF-8
      {std::string("a\0b", 3), "a\\x00b"},  // NUL
      {"\t\r\n\x1B[2J\x7F", "\\x09\\x0D\\x0A\\x1B[2J\\x7F"},
      {"\xC2\x85", "\\xC2\\x85"},                                      // C1 control (NEL)
      {"\xC0\xAF", "\\xC0\\xAF"},                                      // overlong '/'
      {"\xE0\x80\xAF", "\\xE0\\x80\\xAF"},                             // overlong three-byte form
      {"\xED\xA0\x80", "\\xED\\xA0\\x80"},                             // a surrogate
      {"\xEF\xBF\xBE\xEF\xBF\xBF", "\\xEF\\xBF\\xBE\\xEF\\xBF\\xBF"},  // U+FFFE, U+FFFF
      {"\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},                    // above U+10FFFF
      {"\xE2\x82", "\\xE2\\x82"},                                      // cut short at the end
      {"\xE2\x82"
       "A",
       "\\xE2\\x82A"},  // cut short before a letter
      {"\xFF\xFE", "\\xFF\\xFE"},
  };
  for (const auto& c : kCases) {
    const std::string safe = tooltext::ReportText(c.text);
    EXPECT_EQ(safe, c.safe) << c.text;
    EXPECT_TRUE(tooltext::IsReportText(safe)) << safe;
    EXPECT_EQ(tooltext::IsReportText(c.text), c.text == c.safe) << c.text;
  }
}

// The digests of the standard's test messages, and of lengths around the
// padding's block boundary (checked against sha256sum).
TEST(ReportText, Sha256OfTexts) {
  const struct {
    std::string text;
    const char* digest;
  } kCases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
      {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
  };
  for (const auto& c : kCases) EXPECT_EQ(tooltext::Sha256Hex(c.text), c.digest) << c.text.size();
}

}  // namespace
