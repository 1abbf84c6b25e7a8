// The editor's four bitmaps as committed in resources/: sizes and formats the editor
// relies on, the mask/strip agreement that lets a knob redraw in place, the knob seats
// and switch frames of the background under the controls, and the pointer's travel.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "dib_image.h"
#include "editor/editor_layout.h"

namespace {

namespace layout = editor_layout;

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr int kSwitchWidth = 25;
constexpr int kSwitchHeight = 17;

DibImage load(const char* name) {
  DibImage image;
  EXPECT_TRUE(readBmpFile(std::string(QUINDLE_RESOURCE_DIR) + "/" + name, image)) << name;
  return image;
}

int red(std::uint32_t c) { return static_cast<int>(c >> 16 & 0xFF); }
int green(std::uint32_t c) { return static_cast<int>(c >> 8 & 0xFF); }
int blue(std::uint32_t c) { return static_cast<int>(c & 0xFF); }
int luminance(std::uint32_t c) { return (red(c) * 3 + green(c) * 6 + blue(c)) / 10; }

class Artwork : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    mask = new DibImage(load("knob_mask.bmp"));
    background = new DibImage(load("background.bmp"));
    switches = new DibImage(load("switch.bmp"));
    strip = new DibImage(load("knob_strip.bmp"));
  }
  static void TearDownTestSuite() {
    delete mask;
    delete background;
    delete switches;
    delete strip;
  }
  static bool inMask(int x, int y) { return mask->at(x, y) == kBlack; }

  static DibImage* mask;
  static DibImage* background;
  static DibImage* switches;
  static DibImage* strip;
};

DibImage* Artwork::mask = nullptr;
DibImage* Artwork::background = nullptr;
DibImage* Artwork::switches = nullptr;
DibImage* Artwork::strip = nullptr;

TEST_F(Artwork, SizesAndFormatsAreTheOnesTheEditorLoads) {
  EXPECT_EQ(mask->width, layout::kKnobSize);
  EXPECT_EQ(mask->height, layout::kKnobSize);
  EXPECT_EQ(mask->bitsPerPixel, 8);
  EXPECT_EQ(background->width, layout::kWidth);
  EXPECT_EQ(background->height, layout::kHeight);
  EXPECT_EQ(background->bitsPerPixel, 24);
  EXPECT_EQ(switches->width, kSwitchWidth);
  EXPECT_EQ(switches->height, 2 * kSwitchHeight);
  EXPECT_EQ(switches->bitsPerPixel, 24);
  EXPECT_EQ(strip->width, layout::kKnobSize);
  EXPECT_EQ(strip->height, layout::kKnobSize * layout::kKnobFrameCount);
  EXPECT_EQ(strip->bitsPerPixel, 24);
}

TEST_F(Artwork, MaskIsABlackDiscAtIndexZeroOnWhite) {
  ASSERT_FALSE(mask->palette.empty());
  EXPECT_EQ(mask->palette[0], kBlack);
  double sumX = 0, sumY = 0;
  int count = 0;
  for (int y = 0; y < mask->height; ++y) {
    for (int x = 0; x < mask->width; ++x) {
      const std::uint8_t index = mask->indices[static_cast<std::size_t>(y) * mask->width + x];
      if (index == 0) {
        sumX += x + 0.5;
        sumY += y + 0.5;
        ++count;
      } else {
        EXPECT_EQ(mask->palette[index], kWhite) << "(" << x << ", " << y << ")";
      }
    }
  }
  // A disc centred on the knob's middle, nearly filling its square; the corners stay white.
  ASSERT_GT(count, 0);
  const double area = static_cast<double>(count);
  EXPECT_NEAR(sumX / area, layout::kKnobSize / 2.0, 0.25);
  EXPECT_NEAR(sumY / area, layout::kKnobSize / 2.0, 0.25);
  EXPECT_GT(area, 0.75 * 3.14159 * 13 * 13);
  EXPECT_EQ(mask->at(0, 0), kWhite);
  EXPECT_EQ(mask->at(25, 25), kWhite);
  EXPECT_EQ(mask->at(13, 13), kBlack);
}

TEST_F(Artwork, EveryKnobFrameLiesInsideTheMaskOnBlack) {
  for (int frame = 0; frame < layout::kKnobFrameCount; ++frame) {
    int lit = 0;
    for (int y = 0; y < layout::kKnobSize; ++y) {
      for (int x = 0; x < layout::kKnobSize; ++x) {
        const std::uint32_t pixel = strip->at(x, frame * layout::kKnobSize + y);
        if (!inMask(x, y)) {
          EXPECT_EQ(pixel, kBlack) << "frame " << frame << " (" << x << ", " << y << ")";
        }
        if (pixel != kBlack) ++lit;
      }
    }
    EXPECT_GT(lit, 300) << "frame " << frame << " shows no knob";
  }
}

// The pointer is the strip's amber: its centre of mass gives the direction it points.
double pointerAngle(const DibImage& strip, int frame) {
  double sumX = 0, sumY = 0;
  int count = 0;
  for (int y = 0; y < layout::kKnobSize; ++y) {
    for (int x = 0; x < layout::kKnobSize; ++x) {
      const std::uint32_t p = strip.at(x, frame * layout::kKnobSize + y);
      if (red(p) > 170 && red(p) - blue(p) > 90) {
        sumX += x + 0.5 - layout::kKnobSize / 2.0;
        sumY += y + 0.5 - layout::kKnobSize / 2.0;
        ++count;
      }
    }
  }
  EXPECT_GT(count, 4) << "frame " << frame << " has no pointer";
  // Clockwise from straight up, in degrees.
  return std::atan2(sumX, -sumY) * 180.0 / 3.14159265358979;
}

TEST_F(Artwork, PointerTurnsClockwiseFromSevenToFiveOClockAndFrame31PointsUp) {
  EXPECT_NEAR(pointerAngle(*strip, 31), 0.0, 4.0);
  // Seven o'clock is 150 degrees anticlockwise from up, five o'clock 150 clockwise.
  EXPECT_NEAR(pointerAngle(*strip, 0), -150.0, 15.0);
  EXPECT_NEAR(pointerAngle(*strip, 63), 150.0, 15.0);
  double previous = pointerAngle(*strip, 0);
  for (int frame = 1; frame < layout::kKnobFrameCount; ++frame) {
    const double angle = pointerAngle(*strip, frame);
    EXPECT_GT(angle, previous) << "frame " << frame;
    previous = angle;
  }
}

TEST_F(Artwork, SwitchShowsALitYellowLampOverAGreyOne) {
  const std::uint32_t lit = switches->at(12, 8);
  const std::uint32_t dark = switches->at(12, kSwitchHeight + 8);
  EXPECT_GT(red(lit), 200);
  EXPECT_GT(green(lit), 150);
  EXPECT_LT(blue(lit), 130);
  EXPECT_LT(std::abs(red(dark) - green(dark)), 16);
  EXPECT_LT(std::abs(green(dark) - blue(dark)), 16);
  EXPECT_LT(luminance(dark), luminance(lit) - 60);
}

TEST_F(Artwork, BackgroundSeatsEachKnobOnABlackDiscAndEachSwitchOnALightFrame) {
  for (const layout::ControlPlace& place : layout::kControls) {
    if (place.kind == layout::CONTROL_KNOB) {
      for (int y = 0; y < layout::kKnobSize; ++y) {
        for (int x = 0; x < layout::kKnobSize; ++x) {
          if (inMask(x, y)) {
            EXPECT_EQ(background->at(place.left + x, place.top + y), kBlack) << "knob at " << place.left;
          }
        }
      }
      // Right outside the disc the panel shows again.
      EXPECT_NE(background->at(place.left + 13, place.top - 6), kBlack) << "knob at " << place.left;
    } else {
      // The frame's outer ring is light; the picture around it is the darker panel.
      int light = 0, ring = 0;
      for (int x = 1; x < kSwitchWidth - 1; ++x) {
        for (int y : {1, kSwitchHeight - 2}) {
          ++ring;
          if (luminance(background->at(place.left + x, place.top + y)) > 150) ++light;
        }
      }
      EXPECT_GT(light, ring * 3 / 4) << "switch at " << place.left;
      EXPECT_LT(luminance(background->at(place.left - 3, place.top + 8)), 100) << "switch at " << place.left;
    }
  }
}

TEST_F(Artwork, BackgroundCarriesACaptionUnderEveryControlAndTheProductName) {
  // Caption text: light pixels in the band below each control, within its column.
  for (const layout::ControlPlace& place : layout::kControls) {
    const int centre = place.left + (place.kind == layout::CONTROL_KNOB ? layout::kKnobSize : kSwitchWidth) / 2;
    int light = 0;
    for (int y = 62; y < 74; ++y) {
      for (int x = centre - 10; x <= centre + 10; ++x) {
        if (luminance(background->at(x, y)) > 140) ++light;
      }
    }
    EXPECT_GT(light, 12) << "no caption under the control at " << place.left;
  }
  int logo = 0;
  for (int y = 24; y < 56; ++y) {
    for (int x = 676; x < layout::kWidth; ++x) {
      if (luminance(background->at(x, y)) > 180) ++logo;
    }
  }
  EXPECT_GT(logo, 150) << "no product name at the right";
}

}  // namespace
