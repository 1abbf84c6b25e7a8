// Where the synthesiser's thirteen controls sit over the background picture, in list
// order (drawing and hit testing), and the ids and sizes of the module's four bitmaps.
#pragma once

#include <cstdint>

namespace editor_layout {

constexpr std::int32_t kWidth = 785;
constexpr std::int32_t kHeight = 82;

// Bitmap resources of the module.
constexpr int kKnobMaskId = 101;
constexpr int kBackgroundId = 102;
constexpr int kSwitchId = 103;
constexpr int kKnobStripId = 104;

// Every knob: 26 x 26 pixels, one of 64 frames of the strip, no detent.
constexpr std::int32_t kKnobSize = 26;
constexpr std::int32_t kKnobFrameCount = 64;
constexpr float kKnobSnapRadius = 0.0f;
constexpr float kKnobSnapValue = 0.0f;

enum ControlKind { CONTROL_SWITCH, CONTROL_KNOB };

struct ControlPlace {
  ControlKind kind;
  std::int32_t left;
  std::int32_t top;
  std::int32_t parameterIndex;
};

// The two switches come first although they lie among the knobs on screen.
constexpr ControlPlace kControls[] = {
    // kind            left  top  parameter    panel: caption
    {CONTROL_SWITCH,    32,  36,   0},      // ATTACK: BRIGHT
    {CONTROL_SWITCH,   223,  36,   4},      // BODY: BRIGHT
    {CONTROL_KNOB,      68,  32,   1},      // ATTACK: LEVEL
    {CONTROL_KNOB,     116,  32,   2},      // ATTACK: DECAY
    {CONTROL_KNOB,     163,  32,   3},      // ATTACK: VELOCITY
    {CONTROL_KNOB,     258,  32,   5},      // BODY: TONE
    {CONTROL_KNOB,     306,  32,   6},      // BODY: VELOCITY
    {CONTROL_KNOB,     379,  32,   7},      // MASTER: ATTACK
    {CONTROL_KNOB,     427,  32,   8},      // MASTER: DECAY
    {CONTROL_KNOB,     474,  32,   9},      // MASTER: SUSTAIN
    {CONTROL_KNOB,     523,  32,  10},      // MASTER: RELEASE
    {CONTROL_KNOB,     571,  32,  11},      // MASTER: VELOCITY
    {CONTROL_KNOB,     618,  32,  12},      // MASTER: VOLUME
};
constexpr std::int32_t kControlCount = sizeof(kControls) / sizeof(kControls[0]);

}  // namespace editor_layout
