// The Linux editor's pixels without a display: the compiled-in bitmaps decoded equal the
// files read independently; the decoder refuses what it cannot read; composing with the
// raster rules; and the packing of frames for the server's pixel formats.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "dib_image.h"
#include "editor/bmp_decoder.h"
#include "editor/editor_layout.h"
#include "editor/frame_canvas.h"
#include "editor/module_bitmaps.h"
#include "editor/x11_pixel_format.h"
#include "editor_picture.h"

namespace {

namespace layout = editor_layout;

std::vector<std::uint8_t> fileBytes(const std::string& name) {
  std::ifstream file(std::string(QUINDLE_RESOURCE_DIR) + "/" + name, std::ios::binary);
  return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

TEST(ModuleBitmaps, TheCompiledInBitmapsAreTheFilesPixelForPixel) {
  const struct {
    BitmapId id;
    const char* file;
  } kFiles[] = {{layout::kKnobMaskId, "knob_mask.bmp"},
                {layout::kBackgroundId, "background.bmp"},
                {layout::kSwitchId, "switch.bmp"},
                {layout::kKnobStripId, "knob_strip.bmp"}};
  for (const auto& entry : kFiles) {
    DibImage expected;
    ASSERT_TRUE(readBmpFile(std::string(QUINDLE_RESOURCE_DIR) + "/" + entry.file, expected)) << entry.file;
    const PixelImage* decoded = moduleBitmap(entry.id);
    ASSERT_NE(decoded, nullptr) << entry.file;
    EXPECT_EQ(decoded->width, expected.width) << entry.file;
    EXPECT_EQ(decoded->height, expected.height) << entry.file;
    EXPECT_EQ(decoded->pixels, expected.pixels) << entry.file;
  }
  EXPECT_EQ(moduleBitmap(100), nullptr);
}

TEST(BmpDecoder, ReadsTopDownRowsAndRefusesWhatItCannotRead) {
  std::vector<std::uint8_t> bytes = fileBytes("switch.bmp");  // 24-bit, stored bottom-up
  PixelImage upright;
  ASSERT_TRUE(decodeBmp(bytes.data(), bytes.size(), upright));
  // The same rows stored top row first, as a negative height says.
  std::vector<std::uint8_t> flipped = bytes;
  const std::size_t rows = bytes[10] | bytes[11] << 8;
  const std::size_t stride = (static_cast<std::size_t>(upright.width) * 3 + 3) & ~std::size_t{3};
  for (int y = 0; y < upright.height; ++y) {
    std::copy_n(bytes.begin() + rows + stride * (upright.height - 1 - y), stride, flipped.begin() + rows + stride * y);
  }
  const auto negative = static_cast<std::uint32_t>(-upright.height);
  for (int b = 0; b < 4; ++b) flipped[22 + b] = static_cast<std::uint8_t>(negative >> (8 * b));
  PixelImage topDown;
  ASSERT_TRUE(decodeBmp(flipped.data(), flipped.size(), topDown));
  EXPECT_EQ(topDown.pixels, upright.pixels);

  PixelImage untouched(1, 1, 0x123456);
  EXPECT_FALSE(decodeBmp(bytes.data(), bytes.size() - 1, untouched)) << "last row cut short";
  EXPECT_FALSE(decodeBmp(bytes.data(), 40, untouched));
  EXPECT_FALSE(decodeBmp(nullptr, 0, untouched));
  std::vector<std::uint8_t> damaged = bytes;
  damaged[0] = 'X';
  EXPECT_FALSE(decodeBmp(damaged.data(), damaged.size(), untouched));
  damaged = bytes;
  damaged[28] = 16;  // 16-bit pixels
  EXPECT_FALSE(decodeBmp(damaged.data(), damaged.size(), untouched));
  damaged = bytes;
  damaged[30] = 1;  // run-length compressed
  EXPECT_FALSE(decodeBmp(damaged.data(), damaged.size(), untouched));
  damaged = bytes;
  damaged[21] = 0x7F;  // a width far beyond the data
  EXPECT_FALSE(decodeBmp(damaged.data(), damaged.size(), untouched));

  std::vector<std::uint8_t> mask = fileBytes("knob_mask.bmp");  // 8-bit palette
  const std::size_t pixelsAt = mask[10] | mask[11] << 8;
  mask[46] = 2;  // two palette entries used: index 255 is then outside
  mask[47] = 0;
  mask[pixelsAt] = 255;
  EXPECT_FALSE(decodeBmp(mask.data(), mask.size(), untouched));
  EXPECT_EQ(untouched.at(0, 0), 0x123456u);
}

const PixelImage* testBitmap(BitmapId id) {
  static const PixelImage source = [] {
    PixelImage image(2, 4);
    image.pixels = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x0F0F0F, 0xF0F0F0, 0x000000, 0x808080};
    return image;
  }();
  return id == 1 ? &source : nullptr;
}

TEST(FrameCanvas, CombinesBitByBitClipsAndReportsWhatChanged) {
  PixelImage frame(4, 3, 0x336699);
  FrameCanvas canvas(frame, testBitmap);
  EXPECT_EQ(canvas.changedArea().width, 0);
  canvas.blit(1, 2, {1, 1, 2, 2}, RASTER_AND);  // rows 2 and 3 of the bitmap
  EXPECT_EQ(frame.at(1, 1), 0x336699u & 0x0F0F0Fu);
  EXPECT_EQ(frame.at(2, 1), 0x336699u & 0xF0F0F0u);
  EXPECT_EQ(frame.at(1, 2), 0x000000u);
  EXPECT_EQ(frame.at(0, 0), 0x336699u);
  canvas.blit(1, 0, {1, 1, 2, 2}, RASTER_OR);
  EXPECT_EQ(frame.at(1, 1), (0x336699u & 0x0F0F0Fu) | 0xFF0000u);
  EXPECT_EQ(frame.at(2, 2), 0x808080u | 0xFFFFFFu);
  // Past the frame's edge, past the bitmap's bottom, an unknown bitmap: left out.
  canvas.blit(1, 3, {3, 2, 5, 5}, RASTER_COPY);
  EXPECT_EQ(frame.at(3, 2), 0x000000u);
  canvas.blit(2, 0, {0, 0, 4, 3}, RASTER_COPY);
  canvas.blit(1, -1, {0, 0, 4, 3}, RASTER_COPY);
  EXPECT_EQ(frame.at(0, 0), 0x336699u);
  EXPECT_EQ(canvas.changedArea().left, 1);
  EXPECT_EQ(canvas.changedArea().top, 1);
  EXPECT_EQ(canvas.changedArea().width, 3);
  EXPECT_EQ(canvas.changedArea().height, 2);

  PixelImage round(9, 9, 0);
  FrameCanvas backdrop(round, testBitmap);
  backdrop.fillEllipse({0, 0, 9, 9}, 0x111111, 0xEEEEEE);
  EXPECT_EQ(round.at(4, 4), 0xEEEEEEu);
  EXPECT_EQ(round.at(4, 0), 0x111111u);
  EXPECT_EQ(round.at(0, 0), 0u);
}

TEST(X11PixelFormat, PacksAndUnpacksTheCommonFormats) {
  PixelImage image(3, 2);
  image.pixels = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x7F3F1F};
  const X11PixelFormat::Layout layouts[] = {
      {24, 32, 32, false, 0xFF0000, 0x00FF00, 0x0000FF},
      {24, 32, 32, true, 0xFF0000, 0x00FF00, 0x0000FF},
      {24, 24, 32, false, 0x0000FF, 0x00FF00, 0xFF0000},
  };
  for (const X11PixelFormat::Layout& described : layouts) {
    X11PixelFormat format;
    ASSERT_TRUE(format.describe(described));
    std::vector<std::uint8_t> packed;
    format.pack(image, {0, 0, 3, 2}, packed);
    ASSERT_EQ(packed.size(), format.rowBytes(3) * 2);
    PixelImage back;
    ASSERT_TRUE(format.unpack(packed.data(), packed.size(), 3, 2, back));
    EXPECT_EQ(back.pixels, image.pixels) << int(described.bitsPerPixel) << " bits";
  }
  X11PixelFormat lsb, msb;
  ASSERT_TRUE(lsb.describe(layouts[0]));
  ASSERT_TRUE(msb.describe(layouts[1]));
  std::vector<std::uint8_t> low, high;
  lsb.pack(image, {0, 0, 1, 1}, low);
  msb.pack(image, {0, 0, 1, 1}, high);
  EXPECT_EQ(low, (std::vector<std::uint8_t>{0x00, 0x00, 0xFF, 0x00}));
  EXPECT_EQ(high, (std::vector<std::uint8_t>{0x00, 0xFF, 0x00, 0x00}));

  // 16 bits: five, six and five bits a colour; full intensity stays full.
  X11PixelFormat narrow;
  ASSERT_TRUE(narrow.describe({16, 16, 32, false, 0xF800, 0x07E0, 0x001F}));
  EXPECT_EQ(narrow.rowBytes(3), 8u);
  EXPECT_EQ(narrow.pixelOf(0xFFFFFF), 0xFFFFu);
  EXPECT_EQ(narrow.colorOf(0xFFFF), 0xFFFFFFu);
  EXPECT_EQ(narrow.colorOf(narrow.pixelOf(0x808080)) & 0xF8FCF8, 0x808080u);
  std::vector<std::uint8_t> packed;
  narrow.pack(image, {1, 1, 2, 1}, packed);
  EXPECT_EQ(packed.size(), 4u);
  PixelImage short1;
  EXPECT_FALSE(narrow.unpack(packed.data(), packed.size() - 1, 2, 1, short1));

  X11PixelFormat refused;
  EXPECT_FALSE(refused.describe({8, 8, 32, false, 0xE0, 0x1C, 0x03}));  // 8-bit pixels
  EXPECT_FALSE(refused.describe({24, 32, 32, false, 0, 0x00FF00, 0x0000FF}));
}

}  // namespace
