// The instrument's versioned state image and what its observer hears.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "core/instrument.h"

namespace {

using Image = std::vector<std::uint8_t>;

class Recorder : public InstrumentObserver {
 public:
  void parameterChanged(std::int32_t index, float) override { log.push_back("changed " + std::to_string(index)); }
  void programLoaded() override { log.push_back("program"); }
  void stateLoaded() override { log.push_back("state"); }
  std::vector<std::string> log;
};

Image saved(Instrument& instrument) {
  Image image(Instrument::kStateSize);
  EXPECT_EQ(instrument.saveState(image.data(), image.size()), Instrument::kStateSize);
  return image;
}

void putFloat(Image& image, std::size_t offset, float value) { std::memcpy(image.data() + offset, &value, 4); }

// Offset of value `parameter` of program `program` in a state image.
std::size_t valueOffset(std::int32_t program, std::int32_t parameter) {
  return state_image::kBankOffset + static_cast<std::size_t>(program * kProgramRecordSize + kProgramNameSize +
                                                            parameter * 4);
}

TEST(InstrumentState, ImageHoldsHeaderCurrentProgramAndTheLiveEdits) {
  Instrument instrument;
  instrument.selectProgram(3);
  instrument.setParameter(5, 0.25f);
  const Image image = saved(instrument);
  EXPECT_EQ(std::string(image.begin(), image.begin() + 4), "QNDS");
  EXPECT_EQ(state_image::readUint32(image.data() + state_image::kVersionOffset), 1u);
  EXPECT_EQ(state_image::readUint32(image.data() + state_image::kProgramOffset), 3u);
  float stored;
  std::memcpy(&stored, image.data() + valueOffset(3, 5), 4);
  EXPECT_EQ(stored, 0.25f);  // saved from the live values, as a bank chunk is
  EXPECT_EQ(std::memcmp(image.data() + state_image::kBankOffset + kProgramRecordSize, &kFactoryPrograms[1],
                        kProgramRecordSize),
            0);
  Image tooSmall(Instrument::kStateSize - 1);
  EXPECT_EQ(instrument.saveState(tooSmall.data(), tooSmall.size()), 0u);
}

TEST(InstrumentState, LoadingRestoresEveryProgramNameAndTheCurrentProgram) {
  Instrument source;
  source.selectProgram(6);
  source.renameProgram("My deep one");
  source.setParameter(12, 0.9f);
  const Image image = saved(source);

  Instrument target;
  Recorder recorder;
  target.setObserver(&recorder);
  ASSERT_TRUE(target.loadState(image.data(), image.size()));
  EXPECT_EQ(recorder.log, std::vector<std::string>{"state"});
  EXPECT_EQ(target.currentProgram(), 6);
  EXPECT_EQ(target.getParameter(12), 0.9f);
  char name[Instrument::kProgramNameCapacity];
  ASSERT_TRUE(target.programName(6, name));
  EXPECT_STREQ(name, "My deep one");
  EXPECT_EQ(saved(target), image);
}

TEST(InstrumentState, EveryDamagedImageIsRefusedWithNothingChanged) {
  Instrument instrument;
  instrument.setParameter(3, 0.5f);
  const Image before = saved(instrument);
  Recorder recorder;
  instrument.setObserver(&recorder);

  Image good = before;
  std::vector<Image> damaged;
  damaged.push_back(Image(good.begin(), good.end() - 1));  // truncated
  Image longer = good;
  longer.push_back(0);
  damaged.push_back(longer);
  Image magic = good;
  magic[0] = 'X';
  damaged.push_back(magic);
  Image version = good;
  state_image::writeUint32(version.data() + state_image::kVersionOffset, 2);
  damaged.push_back(version);
  for (std::uint32_t program : {8u, 0xFFFFFFFFu}) {
    Image outside = good;
    state_image::writeUint32(outside.data() + state_image::kProgramOffset, program);
    damaged.push_back(outside);
  }
  for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
    Image value = good;
    putFloat(value, valueOffset(7, 12), bad);
    damaged.push_back(value);
  }
  for (const Image& image : damaged) EXPECT_FALSE(instrument.loadState(image.data(), image.size()));
  EXPECT_FALSE(instrument.loadState(nullptr, Instrument::kStateSize));
  EXPECT_TRUE(recorder.log.empty());
  instrument.setObserver(nullptr);
  EXPECT_EQ(saved(instrument), before);
}

TEST(InstrumentState, ObserverHearsOnlyRealChanges) {
  Instrument instrument;
  Recorder recorder;
  instrument.setObserver(&recorder);
  instrument.setParameter(5, instrument.getParameter(5));
  instrument.setParameter(13, 0.5f);
  instrument.setParameter(5, std::numeric_limits<float>::quiet_NaN());
  EXPECT_FALSE(instrument.selectProgram(8));
  EXPECT_EQ(instrument.loadChunk(nullptr, kBankChunkSize, false), 0);
  EXPECT_TRUE(recorder.log.empty());
  instrument.setParameter(5, 0.75f);
  instrument.selectProgram(2);
  void* bank = nullptr;
  const std::int32_t size = instrument.bankChunk(&bank);
  const std::vector<std::uint8_t> copy(static_cast<std::uint8_t*>(bank), static_cast<std::uint8_t*>(bank) + size);
  EXPECT_EQ(instrument.loadChunk(copy.data(), size, true), kBankChunkSize);  // a whole bank despite the flag
  EXPECT_EQ(recorder.log, (std::vector<std::string>{"changed 5", "program", "state"}));
}

}  // namespace
