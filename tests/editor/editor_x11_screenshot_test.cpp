// quindle-host screenshot on Linux, end to end: the program opens an X11 frame, the
// module's editor embeds in it, and the PNG it writes is the picture composed from the
// bitmap files for the chosen program.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "editor_picture.h"
#include "params/program_bank.h"

#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

namespace editor_test {
namespace {

constexpr int kProgram = 3;
constexpr int kRgb = 3;

TEST(X11Screenshot, ThePictureIsTheEditorComposedForTheProgram) {
  const Artwork art = loadArtworkFiles(QUINDLE_RESOURCE_DIR);
  ASSERT_TRUE(art.complete);
  const std::string picture = ::testing::TempDir() + "quindle-screenshot.png";
  std::remove(picture.c_str());
  const std::string command = std::string(QUINDLE_HOST) + " screenshot " + QUINDLE_MODULE_FILE + " " + picture +
                              " --program " + std::to_string(kProgram);
  ASSERT_EQ(std::system(command.c_str()), 0) << command;

  int width = 0, height = 0, channels = 0;
  unsigned char* rgb = stbi_load(picture.c_str(), &width, &height, &channels, kRgb);
  ASSERT_NE(rgb, nullptr) << "no picture at " << picture;
  ASSERT_EQ(width, kWidth);
  ASSERT_EQ(height, kHeight);
  Pixels pixels(static_cast<std::size_t>(width) * height);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    pixels[i] = static_cast<std::uint32_t>(rgb[i * kRgb]) << 16 | static_cast<std::uint32_t>(rgb[i * kRgb + 1]) << 8 |
                rgb[i * kRgb + 2];
  }
  stbi_image_free(rgb);
  EXPECT_EQ(windowDifferences(pixels, composeEditor(art, kFactoryPrograms[kProgram].values)), 0);
  std::remove(picture.c_str());
}

}  // namespace
}  // namespace editor_test
