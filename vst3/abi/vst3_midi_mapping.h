// MIDI controllers. They never arrive as events: the host turns incoming controllers,
// channel pressure and pitch bend into parameter changes, for those the controller maps
// to a parameter here (per event bus and channel).
#pragma once

#include "vst3/abi/vst3_unknown.h"

namespace vst3 {

// Extended controller numbers: 0..127 are the MIDI controllers by number.
enum ControllerNumbers : CtrlNumber {
  kCtrlModWheel = 1,
  kCtrlVolume = 7,
  kCtrlPan = 10,
  kCtrlExpression = 11,
  kCtrlSustainOnOff = 64,
  kCtrlAllSoundsOff = 120,
  kCtrlResetAllCtrlers = 121,
  kCtrlAllNotesOff = 123,
  kAfterTouch = 128,  // channel pressure
  kPitchBend = 129,
  kCountCtrlNumber = 130,
  // Output only (controller events the plug-in sends).
  kCtrlProgramChange = 130,
  kCtrlPolyPressure = 131,
  kCtrlQuarterFrame = 132,
};

// Plug-in object (the controller), UI thread. After changing the mapping, call
// restartComponent (kMidiCCAssignmentChanged).
class IMidiMapping : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0xDF0FF9F7, 0x49B74669, 0xB63AB732, 0x7ADBF5E5);

  // Slot 3. kResultTrue with `id` set when mapped, else kResultFalse.
  virtual tresult PLUGIN_API getMidiControllerAssignment(int32 busIndex, int16 channel,
                                                         CtrlNumber midiControllerNumber, ParamID& id) = 0;

 protected:
  ~IMidiMapping() = default;
};

// The raw ID bytes on this platform.
#if QUINDLE_VST3_WINDOWS
static_assert(uidHasBytes(IMidiMapping::iid, "F7F90FDFB7496946B63AB7327ADBF5E5"), "IMidiMapping IID");
#else
static_assert(uidHasBytes(IMidiMapping::iid, "DF0FF9F749B74669B63AB7327ADBF5E5"), "IMidiMapping IID");
#endif

}  // namespace vst3
