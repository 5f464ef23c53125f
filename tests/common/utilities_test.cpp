// Conversions, radix formatting, help keywords and the version caption shared
// by the panels; the range check of edit fields and the silent check-box setter.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "common/convert.h"
#include "common/format.h"
#include "common/help_keyword.h"
#include "common/validate.h"
#include "common/version_caption.h"
#include "platform/platform.h"
#include "platform/version_marker.h"
#include "test_folder.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/headless/headless_services.h"

namespace {

// Any character not a decimal digit counts as its code - 55 ("@" is 9).
TEST(HexToInt, ScansAtMostCountDigitsAndStopsAtTheFirstNonDigit) {
  const std::tuple<const char*, int8_t, uint32_t> cases[] = {
      // clang-format off
      {"1f", 2, 0x1F}, {"1G", 2, 1}, {"12345", 4, 0x1234}, {"12345", 0, 0}, {"ab", 9, 0xAB},
      {"AbCdEf", 6, 0xABCDEF}, {"123456789", 9, 0x23456789}, {"FFFFFFFF", 8, 0xFFFFFFFF},
      {"@1", 9, 0x91}, {"/1", 9, 0}, {"12345", -1, 0}, {nullptr, 8, 0},
      // clang-format on
  };
  for (const auto& [text, count, value] : cases)
    EXPECT_EQ(common::HexToInt(text, count), value) << (text ? text : "null") << " " << int{count};
}

// Edit fields and integers of initialization files follow one rule; an
// initialization file's value is unquoted first, and its caller's default
// stands for a missing key or a text that is not a number.
TEST(TextToInt, FollowsTheEditFieldRulesAlsoInInitializationFiles) {
  const std::optional<int32_t> none;
  const std::pair<const char*, std::optional<int32_t>> cases[] = {
      {"123", 123},         {"  -45", -45},       {"0x1F", 31},
      {"$ff", 255},         {"0xFFFFFFFF", -1},   {"-2147483648", INT32_MIN},
      {"12a", none},        {"2147483648", none}, {"0x100000000", none},
      {"4294967297", none}, {"abc", none},        {"", none},
  };
  const testing_files::TestFolder folder;
  std::string text = "[S]\r\nquoted=\"7\"\r\n";
  for (size_t i = 0; i < std::size(cases); ++i)
    text += "k" + std::to_string(i) + "=" + cases[i].first + "\r\n";
  folder.Write("integers.ini", text);
  const platform::IniFile ini((folder.path() / "integers.ini").string());
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].first);
    EXPECT_EQ(common::TextToInt(cases[i].first), cases[i].second);
    EXPECT_EQ(common::ReadIniInteger(ini, "S", "k" + std::to_string(i), -7),
              cases[i].second.value_or(-7));
  }
  EXPECT_EQ(common::ReadIniInteger(ini, "S", "quoted", 0), 7);
  EXPECT_EQ(common::ReadIniInteger(ini, "S", "missing", -1), -1);
}

TEST(FormatNumber, EveryRadixRule) {
  const struct {
    uint32_t value;
    int8_t radix, width;
    uint8_t as_short;
    const char* expected;
  } cases[] = {
      // clang-format off
      {0xFFFF, 10, 0, 1, "-1"}, {0x8000, 10, 3, 1, "-32768"}, {0x7FFF, 10, 0, 1, "32767"},
      {0x12345, 10, 0, 1, "9029"}, {0xFFFF, 10, 0, 0, "65535"}, {0xFFFFFFFF, 10, 2, 0, "4294967295"},
      {5, 16, 0, 0, ""}, {0xAB, 16, -1, 0, ""}, {0x1FF, 16, 2, 0, "FF"}, {0xAB, 16, 4, 0, "00AB"},
      {0xDEADBEEF, 16, 8, 0, "DEADBEEF"}, {0, 16, 1, 0, "0"}, {5, 2, 8, 0, "00000101"},
      {5, 2, 0, 0, ""}, {0xFF, 2, 4, 0, "1111"}, {6, 2, 3, 1, "110"}, {7, 8, 4, 0, "0007"},
      {100, 3, 2, 0, "01"}, {255, 15, 3, 0, "120"}, {10, 11, 2, 0, "0A"}, {0, 8, 3, 0, "000"},
      {0xAB, 12, 0, 0, ""}, {9, 9, -2, 0, ""}, {7, 1, 4, 0, "INVALID DATA"},
      {7, 17, 4, 0, "INVALID DATA"}, {7, 0, 4, 0, "INVALID DATA"}, {7, -2, 4, 0, "INVALID DATA"},
      // clang-format on
  };
  for (const auto& c : cases)
    EXPECT_EQ(common::FormatNumber(c.value, c.radix, c.width, c.as_short), c.expected)
        << c.value << " radix " << int{c.radix} << " width " << int{c.width};
  EXPECT_EQ(common::RepeatChar('x', 3) + "|" + common::RepeatChar('x', 0) + "|" +
                common::RepeatChar('x', -1),
            "xxx||");
}

TEST(FormatRegister, HexAndNibbleForms) {
  const std::tuple<int16_t, const char*, const char*, const char*> cases[] = {
      {0x1A2B, "0x1A2B ", "0x1 0xA 0x2 0xB", "   0x1    0xA    0x2    0xB"},
      {-1, "0xFFFF ", "0xF 0xF 0xF 0xF", "   0xF    0xF    0xF    0xF"},
      {0, "0x0000 ", "0x0 0x0 0x0 0x0", "   0x0    0x0    0x0    0x0"},
      {-32768, "0x8000 ", "0x8 0x0 0x0 0x0", "   0x8    0x0    0x0    0x0"},
      {0x00C5, "0x00C5 ", "0x0 0x0 0xC 0x5", "   0x0    0x0    0xC    0x5"},
  };
  for (const auto& [value, hex, nibbles, wide] : cases) {
    EXPECT_EQ(common::FormatRegisterHex(value) + "|" + common::FormatRegisterNibbles(value) + "|" +
                  common::FormatRegisterNibblesWide(value),
              std::string(hex) + "|" + nibbles + "|" + wide);
  }
}

TEST(HelpKeyword, EveryEntryAndTheEmptyOneOutsideTheTable) {
  const std::string base = "SonvioHelp.chm::/SonvioHelp/Sonvio.html#";
  const char* anchors[] = {"SONVIO",       "FREQ_TUN",         "AUDIO_CONTROL",
                           "RSSI_CONTROL", "RDS_CONTROL",      "Gain_Control",
                           "PMU_Control",  "Register_Control", "Audio_Output"};
  EXPECT_EQ(common::HelpKeyword(0), "");
  for (int i = 1; i <= 9; ++i) EXPECT_EQ(common::HelpKeyword(i), base + anchors[i - 1]) << i;
  for (const int outside : {-1, 10, INT32_MIN, INT32_MAX})
    EXPECT_EQ(common::HelpKeyword(outside), "");
}

// The caption comes from the version block of the named file in the program
// folder: product name, then " - Version: " and the file version when there
// is one; without a block, the fallback text.
TEST(VersionCaption, ProductAndFileVersionOfTheNamedFile) {
  const testing_files::TestFolder program("SONVIO_PROGRAM_DIR");
  // A file holding a version block: "key|value|..." with '|' for the zeros.
  auto block = [](std::string pairs) {
    std::replace(pairs.begin(), pairs.end(), '|', '\0');
    return std::string("\177ELF\0\0", 6) + platform::VersionMarker() + pairs + '\0';
  };
  const std::pair<std::optional<std::string>, const char*> cases[] = {
      // none: no file
      {block("Translation|040904b0|ProductName|Sonvio|FileVersion|6.1.2.3|"),
       "Sonvio - Version: 6.1.2.3"},
      {block("Translation|041104e4|FileVersion|2.0|ProductName|Kelbo|"), "Kelbo - Version: 2.0"},
      {block("Translation|040904b0|ProductName|Sonvio|"), "Sonvio"},
      {block("Translation|040904b0|ProductName|Sonvio|FileVersion||"), "Sonvio"},
      {"no version block", "About: No version information available."},
      {std::nullopt, "About: No version information available."},
  };
  program.Write("Other.dll", block("Translation|040904b0|ProductName|Other|"));
  for (const auto& [file, caption] : cases) {
    std::filesystem::remove(program.path() / "Sonvio.dll");
    if (file) program.Write("Sonvio.dll", *file);
    EXPECT_EQ(common::VersionCaption("Sonvio.dll"), caption);
  }
  EXPECT_EQ(common::VersionCaption("Other.dll"), "Other");
}

// Both ends are inclusive; text that is no number counts as 0. A value out
// of range moves the focus to the edit, shows the warning with the limits
// and keeps the text. The silent setter fires no click handler and leaves it
// attached.
TEST(Validate, RangeCheckAtTheLimitsAndItsWarningAndTheSilentCheckBox) {
  ui::HeadlessServices services;
  ui::Application app{services};
  ui::Form form{app, "TForm"};
  auto& edit = form.Add<ui::LabeledEdit>("LEVolume", &form, "Volume");
  auto& other = form.Add<ui::Button>("BtnOther", &form, "Other");
  const struct {
    const char* text;
    int32_t min, max;
    bool accepted;
  } cases[] = {
      // clang-format off
      {"32767", 0, 0x7FFF, true}, {"32768", 0, 0x7FFF, false}, {"0x7FFF", 0, 0x7FFF, true},
      {"0x8000", 0, 0x7FFF, false}, {"abc", 0, 0x7FFF, true}, {"abc", 1, 5, false},
      {"", -3, 0, true}, {"-4", -4, 4, true}, {"-5", -4, 4, false}, {"4", -4, 4, true},
      {"5", -4, 4, false}, {"87500000", 87500000, 108000000, true},
      {"87499999", 87500000, 108000000, false}, {"108000001", 87500000, 108000000, false},
      {"-2147483648", INT32_MIN, 0, true}, {"2147483647", 0, INT32_MAX, true},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    edit.SetText(c.text);
    services.SetFocus(&other);
    EXPECT_EQ(common::ValidateRange(edit, c.min, c.max), c.accepted);
    EXPECT_EQ(edit.text(), c.text);
    EXPECT_EQ(services.Focused(), c.accepted ? static_cast<ui::Control*>(&other) : &edit);
    std::string shown;
    for (const ui::ShownMessage& m : services.TakeMessages().messages)
      shown += m.caption + (m.icon == ui::MessageIcon::kWarning ? " (warning): " : ": ") + m.text;
    EXPECT_EQ(shown, c.accepted ? ""
                                : "Warning (warning): Input Value Out Of Range(" +
                                      std::to_string(c.min) + " ~ " + std::to_string(c.max) + ")");
  }

  auto& box = form.Add<ui::CheckBox>("cb_rds", &form, "RDS");
  int clicks = 0;
  box.OnClick = [&] { ++clicks; };
  for (const int state : {1, 1, 0, 2}) {
    common::SetCheckedSilently(box, static_cast<uint8_t>(state));
    EXPECT_EQ(box.checked(), state != 0);
  }
  EXPECT_EQ(clicks, 0);
  box.SetChecked(false);
  EXPECT_EQ(clicks, 1) << "the handler is attached again";
}

}  // namespace
