// One plug-in instance as a host holds it: created through VSTPluginMain with a host
// callback, driven only through its AEffect record, closed with effClose. The checks
// every fuzz target makes after each call live here: the record and the identity answers
// are as they were at creation, the plug-in called back only with its own record, and
// processReplacing filled exactly the host's buffers with finite, equal channels.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "shell/vst_abi.h"

class EventList;

class FuzzInstance {
 public:
  static constexpr std::int32_t kParameterCount = 13;
  static constexpr std::size_t kBankChunkSize = 608;
  static constexpr std::size_t kProgramChunkSize = 52;
  // The bank chunk's records: a name, then the program's values.
  static constexpr std::size_t kProgramCount = 8;
  static constexpr std::size_t kRecordSize = 76;
  static constexpr std::size_t kNameSize = 24;
  // The block the end-of-run checks render.
  static constexpr std::int32_t kSettleFrames = 256;

  FuzzInstance();
  ~FuzzInstance();
  FuzzInstance(const FuzzInstance&) = delete;
  FuzzInstance& operator=(const FuzzInstance&) = delete;

  AEffect& effect() { return *record; }
  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);
  // After every call: the record's bytes, the identity answers, no foreign callbacks.
  void checkUnchanged(const char* after);

  void resume();
  void suspend();
  bool isResumed() const { return resumed; }
  // effMainsChanged with any value: non-zero resumes.
  void mainsChanged(VstIntPtr value);

  // processReplacing into buffers of exactly `frames` floats (one float, which must stay
  // untouched, for a count below 1). Checks that every sample was replaced by a finite
  // value, that both channels are equal, and that a block without a resume before it is
  // silent. The left channel is kept in lastBlock().
  void process(std::int32_t frames, bool sharedOutput = false);
  const std::vector<float>& lastBlock() const { return left; }
  bool lastBlockSilent() const;
  void sendEvents(EventList& list);

  std::array<float, kParameterCount> parameters();
  // A copy of the chunk effGetChunk hands out (the bank for index 0); checks its size.
  std::vector<std::uint8_t> chunk(bool program);

  // A note-off at the start of the next block for every MIDI note.
  void releaseEveryNote();
  // The end of every run: the queue is played out, every note released and all sound
  // turned off; the next blocks are exact silence.
  void checkFallsSilent();

 private:
  struct Identity {
    std::string effectName;
    std::string vendor;
    std::string product;
    VstIntPtr vendorVersion;
    VstIntPtr vstVersion;
    VstIntPtr category;
    VstIntPtr canDoMidi;
    bool operator==(const Identity& other) const;
  };
  Identity identity();
  std::string text(VstInt32 opcode, std::size_t bound);

  AEffect* record;
  std::array<std::uint8_t, sizeof(AEffect)> recordAtStart{};
  Identity identityAtStart;
  bool resumed = false;
  std::vector<float> left;
  std::vector<float> right;
};
