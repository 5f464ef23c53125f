// The Win32 backend's tests, run under Wine:
//   win32_backend_test.exe [GoogleTest flags] [--screenshot=FILE]
// FILE gets a BMP image of the frame with the demo form.
#include <gtest/gtest.h>

#include <string_view>

#include "backend_fixture.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  constexpr std::string_view kScreenshot = "--screenshot=";
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg.substr(0, kScreenshot.size()) == kScreenshot)
      testing_windows::g_screenshot_path = std::string(arg.substr(kScreenshot.size()));
  }
  return RUN_ALL_TESTS();
}
