// The file-open dialog's filter and default extension in the system's form.
#include <gtest/gtest.h>

#include "ui/win32/file_filter.h"

namespace {

using namespace std::string_literals;

TEST(FileFilterTest, BarsBecomeZerosPairsStayWholeAndExtensionsLoseTheirDot) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"Text|*.txt|All|*.*", "Text\0*.txt\0All\0*.*\0\0"s},
      {"Settings", "Settings\0*.*\0\0"s},  // a description without its pattern
  };
  for (const auto& [filter, expected] : cases) EXPECT_EQ(ui::SystemFilter(filter), expected);
  EXPECT_EQ(ui::DefaultExtension(".ini"), "ini");
  EXPECT_EQ(ui::DefaultExtension("txt"), "txt");
}

}  // namespace
