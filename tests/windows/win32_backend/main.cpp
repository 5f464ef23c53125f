// The Win32 backend's tests, run under Wine:
//   win32_backend_test.exe [GoogleTest flags] [--screenshot=FILE]
// FILE gets a BMP image of the frame with the demo form.
#include <gtest/gtest.h>

#include <string_view>

#include "backend_fixture.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    if (std::string_view(argv[i]).starts_with("--screenshot="))
      testing_windows::g_screenshot_path = argv[i] + 13;
  }
  return RUN_ALL_TESTS();
}
