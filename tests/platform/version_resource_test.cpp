// The plug-in's version block read back from the built file.
#include <gtest/gtest.h>

#include "platform/platform.h"

namespace {

TEST(VersionResource, PluginFileCarriesProductNameAndVersion) {
  auto resource = platform::LoadVersionResource(platform::ProgramFolder() + "Sonvio.dll");
  ASSERT_NE(resource, nullptr);
  uint16_t language = 0;
  uint16_t code_page = 0;
  ASSERT_TRUE(resource->Translation(language, code_page));
  EXPECT_EQ(language, 0x0409);
  EXPECT_EQ(code_page, 0x04B0);
  EXPECT_EQ(resource->Query("\\StringFileInfo\\040904b0\\ProductName"), "Sonvio");
  EXPECT_EQ(resource->Query("\\StringFileInfo\\040904B0\\FileVersion"), SONVIO_VERSION_TEXT);
  EXPECT_EQ(resource->Query("\\StringFileInfo\\04070000\\ProductName"), std::nullopt);
  EXPECT_EQ(resource->Query("\\StringFileInfo\\040904b0\\Missing"), std::nullopt);
}

TEST(VersionResource, FilesWithoutTheBlockHaveNone) {
  EXPECT_EQ(platform::LoadVersionResource("/nonexistent/Sonvio.dll"), nullptr);
  EXPECT_EQ(platform::LoadVersionResource("/proc/self/status"), nullptr);
}

}  // namespace
