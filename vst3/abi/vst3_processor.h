// The processor: speaker arrangements, processing setup and the per-block records the
// host hands to `process`, plus the processor's own interfaces.
#pragma once

#include <cstddef>

#include "vst3/abi/vst3_unknown.h"

namespace vst3 {

class IParameterChanges;
class IEventList;

// Speakers are bits of a SpeakerArrangement.
constexpr Speaker kSpeakerL = 1 << 0;
constexpr Speaker kSpeakerR = 1 << 1;
constexpr Speaker kSpeakerM = 1 << 19;
namespace SpeakerArr {
constexpr SpeakerArrangement kEmpty = 0;
constexpr SpeakerArrangement kMono = kSpeakerM;
constexpr SpeakerArrangement kStereo = kSpeakerL | kSpeakerR;
}  // namespace SpeakerArr

enum SymbolicSampleSizes : int32 { kSample32 = 0, kSample64 = 1 };
enum ProcessModes : int32 { kRealtime = 0, kPrefetch = 1, kOffline = 2 };

// IAudioProcessor::getTailSamples answers one of these or a number of samples.
constexpr uint32 kNoTail = 0;
constexpr uint32 kInfiniteTail = 0xFFFFFFFF;

struct ProcessSetup {
  int32 processMode;         // ProcessModes
  int32 symbolicSampleSize;  // SymbolicSampleSizes
  int32 maxSamplesPerBlock;
  SampleRate sampleRate;
};

// One bus's buffers; symbolicSampleSize selects the union member. Inactive buses may have
// null buffers. Bit n of silenceFlags is channel n.
struct AudioBusBuffers {
  int32 numChannels;
  uint64 silenceFlags;
  union {
    Sample32** channelBuffers32;
    Sample64** channelBuffers64;
  };
};

struct Chord {
  uint8 keyNote;
  uint8 rootNote;
  int16 chordMask;
};

struct FrameRate {
  uint32 framesPerSecond;
  uint32 flags;
};

// The transport; each field is meaningful only when its flag is set in `state`.
struct ProcessContext {
  enum StatesAndFlags : uint32 {
    kPlaying = 1 << 1,
    kCycleActive = 1 << 2,
    kRecording = 1 << 3,
    kSystemTimeValid = 1 << 8,
    kProjectTimeMusicValid = 1 << 9,
    kTempoValid = 1 << 10,
    kBarPositionValid = 1 << 11,
    kCycleValid = 1 << 12,
    kTimeSigValid = 1 << 13,
    kSmpteValid = 1 << 14,
    kClockValid = 1 << 15,
    kContTimeValid = 1 << 17,
    kChordValid = 1 << 18,
  };

  uint32 state;
  SampleRate sampleRate;
  TSamples projectTimeSamples;
  int64 systemTime;
  TSamples continousTimeSamples;
  TQuarterNotes projectTimeMusic;
  TQuarterNotes barPositionMusic;
  TQuarterNotes cycleStartMusic;
  TQuarterNotes cycleEndMusic;
  double tempo;
  int32 timeSigNumerator;
  int32 timeSigDenominator;
  Chord chord;
  int32 smpteOffsetSubframes;
  FrameRate frameRate;
  int32 samplesToNextClock;
};

// One call of `process`. A flush has numSamples 0, no buses and null buffers, only to
// deliver parameter changes. The event lists, the output changes and the context may be
// null; fewer output buses than declared may come when the trailing ones are inactive.
struct ProcessData {
  int32 processMode;         // ProcessModes
  int32 symbolicSampleSize;  // SymbolicSampleSizes
  int32 numSamples;          // 0 .. ProcessSetup::maxSamplesPerBlock
  int32 numInputs;
  int32 numOutputs;
  AudioBusBuffers* inputs;
  AudioBusBuffers* outputs;
  IParameterChanges* inputParameterChanges;
  IParameterChanges* outputParameterChanges;
  IEventList* inputEvents;
  IEventList* outputEvents;
  ProcessContext* processContext;
};

class IAudioProcessor : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x42043F99, 0xB7DA453C, 0xA569E79D, 0x9AAEC33D);

  // Slot 3, UI thread, while inactive. kResultTrue only when accepted unchanged;
  // otherwise adapt and answer kResultFalse.
  virtual tresult PLUGIN_API setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                SpeakerArrangement* outputs, int32 numOuts) = 0;
  // Slot 4, UI thread.
  virtual tresult PLUGIN_API getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arr) = 0;
  // Slot 5, UI thread: kResultTrue or kResultFalse.
  virtual tresult PLUGIN_API canProcessSampleSize(int32 symbolicSampleSize) = 0;
  // Slot 6, UI thread.
  virtual uint32 PLUGIN_API getLatencySamples() = 0;
  // Slot 7, UI thread, while inactive: mode, sample size, largest block, rate.
  virtual tresult PLUGIN_API setupProcessing(ProcessSetup& setup) = 0;
  // Slot 8, UI or audio thread; may toggle with no `process` between, and false also
  // comes to objects never activated.
  virtual tresult PLUGIN_API setProcessing(TBool state) = 0;
  // Slot 9, audio thread, between setProcessing (true) and setProcessing (false).
  virtual tresult PLUGIN_API process(ProcessData& data) = 0;
  // Slot 10, UI thread: kNoTail, kInfiniteTail or samples.
  virtual uint32 PLUGIN_API getTailSamples() = 0;

 protected:
  ~IAudioProcessor() = default;
};

// Tells the host which ProcessContext fields to fill; without it a host may fill none.
class IProcessContextRequirements : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x2A654303, 0xEF764E3D, 0x95B5FE83, 0x730EF6D0);

  enum Flags : uint32 {
    kNeedSystemTime = 1 << 0,
    kNeedContinousTimeSamples = 1 << 1,
    kNeedProjectTimeMusic = 1 << 2,
    kNeedBarPositionMusic = 1 << 3,
    kNeedCycleMusic = 1 << 4,
    kNeedSamplesToNextClock = 1 << 5,
    kNeedTempo = 1 << 6,
    kNeedTimeSignature = 1 << 7,
    kNeedChord = 1 << 8,
    kNeedFrameRate = 1 << 9,
    kNeedTransportState = 1 << 10,
  };

  // Slot 3, UI thread, once between initialize and setActive: Flags bits.
  virtual uint32 PLUGIN_API getProcessContextRequirements() = 0;

 protected:
  ~IProcessContextRequirements() = default;
};

// Layouts. ProcessSetup, AudioBusBuffers and ProcessContext are the same on the three
// targets; ProcessData holds pointers.
static_assert(sizeof(ProcessSetup) == 24 && alignof(ProcessSetup) == 8, "ProcessSetup");
static_assert(offsetof(ProcessSetup, processMode) == 0 && offsetof(ProcessSetup, symbolicSampleSize) == 4,
              "ProcessSetup");
static_assert(offsetof(ProcessSetup, maxSamplesPerBlock) == 8 && offsetof(ProcessSetup, sampleRate) == 16,
              "ProcessSetup");

static_assert(sizeof(AudioBusBuffers) == 24 && alignof(AudioBusBuffers) == 8, "AudioBusBuffers");
static_assert(offsetof(AudioBusBuffers, numChannels) == 0 && offsetof(AudioBusBuffers, silenceFlags) == 8,
              "AudioBusBuffers");
static_assert(offsetof(AudioBusBuffers, channelBuffers32) == 16 &&
                  offsetof(AudioBusBuffers, channelBuffers64) == 16,
              "AudioBusBuffers");

static_assert(sizeof(Chord) == 4 && offsetof(Chord, rootNote) == 1 && offsetof(Chord, chordMask) == 2, "Chord");
static_assert(sizeof(FrameRate) == 8 && offsetof(FrameRate, flags) == 4, "FrameRate");
static_assert(sizeof(ProcessContext) == 112 && alignof(ProcessContext) == 8, "ProcessContext");
static_assert(offsetof(ProcessContext, state) == 0 && offsetof(ProcessContext, sampleRate) == 8, "ProcessContext");
static_assert(offsetof(ProcessContext, projectTimeSamples) == 16 && offsetof(ProcessContext, systemTime) == 24,
              "ProcessContext");
static_assert(offsetof(ProcessContext, continousTimeSamples) == 32 &&
                  offsetof(ProcessContext, projectTimeMusic) == 40,
              "ProcessContext");
static_assert(offsetof(ProcessContext, barPositionMusic) == 48 && offsetof(ProcessContext, cycleStartMusic) == 56,
              "ProcessContext");
static_assert(offsetof(ProcessContext, cycleEndMusic) == 64 && offsetof(ProcessContext, tempo) == 72,
              "ProcessContext");
static_assert(offsetof(ProcessContext, timeSigNumerator) == 80 &&
                  offsetof(ProcessContext, timeSigDenominator) == 84,
              "ProcessContext");
static_assert(offsetof(ProcessContext, chord) == 88 && offsetof(ProcessContext, smpteOffsetSubframes) == 92,
              "ProcessContext");
static_assert(offsetof(ProcessContext, frameRate) == 96 && offsetof(ProcessContext, samplesToNextClock) == 104,
              "ProcessContext");

static_assert(offsetof(ProcessData, processMode) == 0 && offsetof(ProcessData, symbolicSampleSize) == 4,
              "ProcessData");
static_assert(offsetof(ProcessData, numSamples) == 8 && offsetof(ProcessData, numInputs) == 12, "ProcessData");
static_assert(offsetof(ProcessData, numOutputs) == 16, "ProcessData");
#if QUINDLE_VST3_X86
static_assert(sizeof(ProcessData) == 48 && alignof(ProcessData) == 4, "ProcessData x86");
static_assert(offsetof(ProcessData, inputs) == 20 && offsetof(ProcessData, outputs) == 24, "ProcessData x86");
static_assert(offsetof(ProcessData, inputParameterChanges) == 28 &&
                  offsetof(ProcessData, outputParameterChanges) == 32,
              "ProcessData x86");
static_assert(offsetof(ProcessData, inputEvents) == 36 && offsetof(ProcessData, outputEvents) == 40,
              "ProcessData x86");
static_assert(offsetof(ProcessData, processContext) == 44, "ProcessData x86");
#else
static_assert(sizeof(ProcessData) == 80 && alignof(ProcessData) == 8, "ProcessData x64");
static_assert(offsetof(ProcessData, inputs) == 24 && offsetof(ProcessData, outputs) == 32, "ProcessData x64");
static_assert(offsetof(ProcessData, inputParameterChanges) == 40 &&
                  offsetof(ProcessData, outputParameterChanges) == 48,
              "ProcessData x64");
static_assert(offsetof(ProcessData, inputEvents) == 56 && offsetof(ProcessData, outputEvents) == 64,
              "ProcessData x64");
static_assert(offsetof(ProcessData, processContext) == 72, "ProcessData x64");
#endif

// The raw ID bytes on this platform.
#if QUINDLE_VST3_WINDOWS
static_assert(uidHasBytes(IAudioProcessor::iid, "993F0442DAB73C45A569E79D9AAEC33D"), "IAudioProcessor IID");
static_assert(uidHasBytes(IProcessContextRequirements::iid, "0343652A76EF3D4E95B5FE83730EF6D0"),
              "IProcessContextRequirements IID");
#else
static_assert(uidHasBytes(IAudioProcessor::iid, "42043F99B7DA453CA569E79D9AAEC33D"), "IAudioProcessor IID");
static_assert(uidHasBytes(IProcessContextRequirements::iid, "2A654303EF764E3D95B5FE83730EF6D0"),
              "IProcessContextRequirements IID");
#endif

}  // namespace vst3
