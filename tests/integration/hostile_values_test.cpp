// Values a broken automation lane or a damaged song can send: every sample the module
// hands back stays finite, and once the values are sane again the next note sounds,
// without a program reload.
#include <cmath>
#include <cstring>
#include <limits>

#include "module_fixture.h"
#include "params/program_bank.h"

namespace {

constexpr VstInt32 kFrames = 256;
constexpr VstInt32 kBlocksPerNote = 6;
const float kHostile[] = {1e30f, -1e30f, std::numeric_limits<float>::max(), -std::numeric_limits<float>::max(),
                          -5.0f, 2.0f, 1e-40f, -0.0f};

class HostileValues : public ModuleTest {
 protected:
  AEffect* prepared(float rate = 44100.0f) {
    AEffect* effect = create();
    dispatch(effect, effSetSampleRate, 0, 0, nullptr, rate);
    dispatch(effect, effSetBlockSize, 0, kFrames);
    dispatch(effect, effMainsChanged, 0, 1);
    return effect;
  }
  // A chord and a bend, then blocks of sound; the largest magnitude heard, or -1 as soon
  // as a sample is not finite.
  static float play(AEffect* effect, VstInt32 blocks = kBlocksPerNote) {
    VstMidiEvent midi[4] = {};
    const unsigned char bytes[4][3] = {{0x90, 57, 127}, {0x90, 64, 90}, {0xE0, 0, 80}, {0x90, 69, 40}};
    VstEvents* list = reinterpret_cast<VstEvents*>(listStorage);
    list->numEvents = 4;
    VstEvent** slots = list->events;  // the list runs on past the two entries it declares
    for (int i = 0; i < 4; ++i) {
      midi[i].type = kVstMidiType;
      midi[i].byteSize = sizeof(VstMidiEvent);
      midi[i].deltaFrames = i * 40;
      std::memcpy(midi[i].midiData, bytes[i], 3);
      slots[i] = reinterpret_cast<VstEvent*>(&midi[i]);
    }
    dispatch(effect, effProcessEvents, 0, 0, list);
    float loudest = 0.0f;
    std::vector<float> left(kFrames), right(kFrames);
    float* outputs[2] = {left.data(), right.data()};
    for (VstInt32 block = 0; block < blocks; ++block) {
      effect->processReplacing(effect, nullptr, outputs, kFrames);
      for (VstInt32 i = 0; i < kFrames; ++i) {
        if (!std::isfinite(left[i]) || !std::isfinite(right[i])) return -1.0f;
        loudest = std::fmax(loudest, std::fabs(left[i]));
      }
    }
    return loudest;
  }
  static void allNotesOff(AEffect* effect) {
    VstMidiEvent off = {};
    off.type = kVstMidiType;
    off.byteSize = sizeof(VstMidiEvent);
    off.midiData[0] = static_cast<char>(0xB0);
    off.midiData[1] = 123;
    VstEvents* list = reinterpret_cast<VstEvents*>(listStorage);
    list->numEvents = 1;
    list->events[0] = reinterpret_cast<VstEvent*>(&off);
    dispatch(effect, effProcessEvents, 0, 0, list);
  }
  alignas(VstEvents) static unsigned char listStorage[sizeof(VstEvents) + 4 * sizeof(VstEvent*)];
};
alignas(VstEvents) unsigned char HostileValues::listStorage[sizeof(VstEvents) + 4 * sizeof(VstEvent*)];

TEST_F(HostileValues, EveryParameterAtEveryExtremeStaysFiniteAndRecovers) {
  for (float value : kHostile) {
    AEffect* effect = prepared();
    for (VstInt32 index = 0; index < PARAMETER_COUNT; ++index) {
      effect->setParameter(effect, index, value);
      ASSERT_GE(play(effect), 0.0f) << "parameter " << index << " at " << value;
      effect->setParameter(effect, index, kFactoryPrograms[0].values[index]);
      allNotesOff(effect);
      ASSERT_GT(play(effect), 0.01f) << "no sound after parameter " << index << " left " << value;
      allNotesOff(effect);
    }
  }
}

TEST_F(HostileValues, ABankOfExtremesAndExtremeRatesStayFinite) {
  AEffect* effect = prepared();
  std::vector<ProgramRecord> bank(kFactoryPrograms, kFactoryPrograms + kProgramCount);
  for (ProgramRecord& record : bank) {
    for (VstInt32 index = 0; index < PARAMETER_COUNT; ++index) record.values[index] = kHostile[index % 8];
  }
  ASSERT_EQ(dispatch(effect, effSetChunk, 0, kBankChunkSize, bank.data()), kBankChunkSize);
  ASSERT_GE(play(effect), 0.0f);
  for (VstInt32 index = 0; index < PARAMETER_COUNT; ++index) {
    effect->setParameter(effect, index, kFactoryPrograms[0].values[index]);
  }
  allNotesOff(effect);
  EXPECT_GT(play(effect), 0.01f);

  for (float rate : {1e-30f, 1.0f, 1e30f, std::numeric_limits<float>::max()}) {
    AEffect* extreme = prepared(rate);
    EXPECT_GE(play(extreme, 2), 0.0f) << "rate " << rate;
    dispatch(extreme, effMainsChanged, 0, 0);
    dispatch(extreme, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    dispatch(extreme, effMainsChanged, 0, 1);
    allNotesOff(extreme);
    EXPECT_GT(play(extreme), 0.01f) << "no sound after rate " << rate;
  }
}

}  // namespace
