#include "editor_picture.h"

#include <algorithm>

#include "editor/editor_layout.h"

namespace editor_test {

namespace {

constexpr std::uint32_t kBlack = 0x000000;  // the knob mask's disc

}  // namespace

Artwork loadArtworkFiles(const std::string& folder) {
  Artwork art;
  art.complete = readBmpFile(folder + "/knob_mask.bmp", art.mask) &&
                 readBmpFile(folder + "/background.bmp", art.background) &&
                 readBmpFile(folder + "/switch.bmp", art.switches) && readBmpFile(folder + "/knob_strip.bmp", art.strip);
  return art;
}

Pixels composeEditor(const Artwork& art, const float values[kParameterCount]) {
  Pixels pixels = art.background.pixels;
  for (const editor_layout::ControlPlace& place : editor_layout::kControls) {
    const float value = values[place.parameterIndex];
    if (place.kind == editor_layout::CONTROL_KNOB) {
      const float shown = std::min(1.0f, std::max(0.0f, value));
      const int frame = static_cast<int>(static_cast<float>(editor_layout::kKnobFrameCount - 1) * shown);
      for (int y = 0; y < kKnobSize; ++y) {
        for (int x = 0; x < kKnobSize; ++x) {
          if (art.mask.at(x, y) != kBlack) continue;  // outside the disc the background stays
          pixels[(place.top + y) * kWidth + place.left + x] = art.strip.at(x, frame * kKnobSize + y);
        }
      }
    } else {
      const int row = value > 0.5f ? kSwitchHeight : 0;
      for (int y = 0; y < kSwitchHeight; ++y) {
        for (int x = 0; x < kSwitchWidth; ++x) {
          pixels[(place.top + y) * kWidth + place.left + x] = art.switches.at(x, row + y);
        }
      }
    }
  }
  return pixels;
}

int differences(const Pixels& actual, const Pixels& expected, int left, int top, int width, int height) {
  int count = 0;
  for (int y = top; y < top + height; ++y) {
    for (int x = left; x < left + width; ++x) {
      if (actual[y * kWidth + x] != expected[y * kWidth + x]) ++count;
    }
  }
  return count;
}

int differencesInDisc(const Pixels& actual, const Pixels& expected, const Artwork& art, int left, int top) {
  int count = 0;
  for (int y = 0; y < kKnobSize; ++y) {
    for (int x = 0; x < kKnobSize; ++x) {
      const int at = (top + y) * kWidth + left + x;
      if (art.mask.at(x, y) == kBlack && actual[at] != expected[at]) ++count;
    }
  }
  return count;
}

int windowDifferences(const Pixels& actual, const Pixels& expected) {
  return differences(actual, expected, 0, 0, kWidth, kHeight);
}

int knobDifferences(const Pixels& actual, const Pixels& expected) {
  return differences(actual, expected, kKnobLeft, kKnobTop, kKnobSize, kKnobSize);
}

bool regionIsOverpainted(const Pixels& pixels, int left, int top, int width, int height) {
  for (int y = top; y < top + height; ++y) {
    for (int x = left; x < left + width; ++x) {
      if (pixels[y * kWidth + x] != kOverpaint) return false;
    }
  }
  return true;
}

}  // namespace editor_test
