// The editor's picture as it should be, composed from the module's bitmaps the way a
// reader of the files sees them, and the comparisons the pixel tests make. Shared by the
// Win32 tests (bitmaps from the module's resources) and the X11 tests (from the files).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dib_image.h"

namespace editor_test {

constexpr int kWidth = 785;
constexpr int kHeight = 82;
constexpr int kParameterCount = 13;
constexpr int kKnobSize = 26;
constexpr int kSwitchWidth = 25;
constexpr int kSwitchHeight = 17;
// The controls the tests use: the ATTACK panel's switch (parameter 0) and the MASTER DECAY
// knob (parameter 8), with a point well inside each, and a point on the background.
constexpr int kSwitchParameter = 0;
constexpr int kSwitchLeft = 32, kSwitchTop = 36, kSwitchX = 44, kSwitchY = 44;
constexpr int kKnobParameter = 8;
constexpr int kKnobLeft = 427, kKnobTop = 32, kKnobX = 440, kKnobY = 45;
constexpr int kBackgroundX = 10, kBackgroundY = 10;
// The size of a program chunk.
constexpr int kProgramChunkSize = 52;

// A colour in none of the bitmaps: a region painted with it shows whether it was redrawn.
constexpr std::uint32_t kOverpaint = 0xFF00FF;

using Pixels = std::vector<std::uint32_t>;  // 0xRRGGBB, kWidth x kHeight, top row first

struct Artwork {
  DibImage mask, background, switches, strip;
  bool complete = false;
};
// The four bitmaps read from their .bmp files in `folder`.
Artwork loadArtworkFiles(const std::string& folder);

// The editor as it should look with these 13 parameter values: the background, each
// knob's frame inside the mask, each switch's state image.
Pixels composeEditor(const Artwork& art, const float values[kParameterCount]);
// Pixels that differ inside the rectangle (left, top, width, height).
int differences(const Pixels& actual, const Pixels& expected, int left, int top, int width, int height);
// Pixels that differ inside the knob's disc (where the mask is black), the knob's
// top-left corner at (left, top).
int differencesInDisc(const Pixels& actual, const Pixels& expected, const Artwork& art, int left, int top);
// Differences over the whole window, and inside the MASTER DECAY knob's square.
int windowDifferences(const Pixels& actual, const Pixels& expected);
int knobDifferences(const Pixels& actual, const Pixels& expected);
bool regionIsOverpainted(const Pixels& pixels, int left, int top, int width, int height);

}  // namespace editor_test
