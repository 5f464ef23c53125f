// The file-open dialog's filter and default extension in the system's form.
#include <gtest/gtest.h>

#include "ui/win32/file_filter.h"

namespace {

using namespace std::string_literals;

TEST(FileFilterTest, BarsBecomeZerosAndTheListEndsWithTwo) {
  struct Case {
    std::string filter;
    std::string expected;
  };
  const Case cases[] = {
      {"", ""},
      {"Text files (*.txt)|*.txt", "Text files (*.txt)\0*.txt\0\0"s},
      {"Text|*.txt|All|*.*", "Text\0*.txt\0All\0*.*\0\0"s},
      // A description without its pattern gets one, so pairs stay whole.
      {"Settings", "Settings\0*.*\0\0"s},
  };
  for (const Case& c : cases) EXPECT_EQ(ui::SystemFilter(c.filter), c.expected) << c.filter;
}

TEST(FileFilterTest, DefaultExtensionLosesItsDot) {
  EXPECT_EQ(ui::DefaultExtension(".ini"), "ini");
  EXPECT_EQ(ui::DefaultExtension("txt"), "txt");
  EXPECT_EQ(ui::DefaultExtension(""), "");
}

}  // namespace
