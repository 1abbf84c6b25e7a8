// The sine and note tables, the pitch factor and the float-to-phase conversions.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "engine/note_table.h"
#include "engine/phase_math.h"
#include "engine/pitch_factor.h"
#include "engine/sine_table.h"
#include "tests/engine/engine_test_support.h"

namespace {

using engine_test::bitsOf;
using engine_test::fnv1a;

// FNV-1a of the 4096 entries (little-endian int16) as the native C library's sine
// gives them; SineTableFollowsTheCLibrary checks this value natively.
constexpr std::uint32_t kSineTableHash = 0x83938a76u;
// FNV-1a of the 128 float note frequencies; the same double-precision steps on every target.
constexpr std::uint32_t kNoteTableHash = 0x434d6261u;

TEST(SineTable, DocumentedEntriesAndShape) {
  SineTable table;
  EXPECT_EQ(table[0], 0);
  EXPECT_EQ(table[1024], 32767);
  EXPECT_EQ(table[2048], 0);
  EXPECT_EQ(table[3072], -32767);
  EXPECT_EQ(table.atPhase(0xFFFF), table[4095]);
  // Positive first half, negative second half, nearly odd about the half cycle (the
  // turn constant is a hair above 2 pi).
  for (std::int32_t i = 1; i < 2048; ++i) {
    ASSERT_GT(table[i], 0) << i;
    ASSERT_LT(table[i + 2048], 0) << i;
    ASSERT_LE(std::abs(table[i] + table[4096 - i]), 1) << i;
  }
}

TEST(SineTable, SameOnEveryTarget) {
  SineTable table;
  EXPECT_EQ(fnv1a(table.data(), sizeof(std::int16_t) * SineTable::kSize), kSineTableHash);
}

#if !defined(_WIN32)
// The table's own sine gives exactly what the formula gives with the C library's sin.
TEST(SineTable, SineTableFollowsTheCLibrary) {
  SineTable table;
  std::int16_t library[SineTable::kSize];
  for (std::int32_t i = 0; i < SineTable::kSize; ++i) {
    library[i] = static_cast<std::int16_t>(std::sin(static_cast<double>(i) * 0.000244140625 * 6.2831853076) * 32767.0);
    ASSERT_EQ(table[i], library[i]) << "entry " << i;
  }
  EXPECT_EQ(fnv1a(library, sizeof library), kSineTableHash);
}
#endif

TEST(NoteFrequencyTable, EntriesAndLookUp) {
  NoteFrequencyTable::fill();
  EXPECT_EQ(NoteFrequencyTable::entry(0), static_cast<float>(8.175798915636872));
  EXPECT_EQ(NoteFrequencyTable::frequency(69), 220.0f);
  EXPECT_EQ(NoteFrequencyTable::frequency(12), NoteFrequencyTable::entry(0));
  EXPECT_EQ(NoteFrequencyTable::entry(1), static_cast<float>(8.175798915636872 * 1.059463094359));
  EXPECT_FALSE(NoteFrequencyTable::hasNote(11));
  EXPECT_TRUE(NoteFrequencyTable::hasNote(12));
  EXPECT_TRUE(NoteFrequencyTable::hasNote(127));
  EXPECT_FALSE(NoteFrequencyTable::hasNote(128));
  float copy[NoteFrequencyTable::kSize];
  for (std::int32_t i = 0; i < NoteFrequencyTable::kSize; ++i) copy[i] = NoteFrequencyTable::entry(i);
  EXPECT_EQ(fnv1a(copy, sizeof copy), kNoteTableHash);
  NoteFrequencyTable::fill();  // filling again changes nothing
  EXPECT_EQ(NoteFrequencyTable::frequency(69), 220.0f);
}

TEST(PitchFactor, StatedValues) {
  EXPECT_EQ(pitchFactor(0.0f), 1.0f);
  EXPECT_EQ(pitchFactor(-1.0f), 0.5f);
  EXPECT_EQ(pitchFactor(1.0f), 2.0f);
  // The bend values of the wheel's centre, bottom and top.
  EXPECT_EQ(8192.0f * 0.00006103515625f * 2.0f - 1.0f, 0.0f);
  const float top = 16383.0f * 0.00006103515625f * 2.0f - 1.0f;
  EXPECT_NEAR(top, 0.99987793f, 1e-8f);
  EXPECT_GT(pitchFactor(top), 1.999f);
  EXPECT_LT(pitchFactor(top), 2.0f);
  // The cubic stays close to a true power of two and rises with the bend.
  float previous = 0.0f;
  for (std::int32_t position = 0; position < 16384; ++position) {
    const float bend = static_cast<float>(position) * 0.00006103515625f * 2.0f - 1.0f;
    const float factor = pitchFactor(bend);
    ASSERT_GT(factor, previous) << position;
    ASSERT_NEAR(factor, std::exp2(bend), 0.002f * factor) << position;
    previous = factor;
  }
}

TEST(PitchFactor, DefinedForEveryFloat) {
  EXPECT_EQ(pitchFactor(std::numeric_limits<float>::quiet_NaN()), 1.0f);
  // Far outside the wheel's range the bit pattern saturates instead of overflowing
  // (the sanitizer build checks that no step is undefined).
  EXPECT_EQ(bitsOf(pitchFactor(1e30f)), 0x7FFFFFFFu);
  EXPECT_EQ(bitsOf(pitchFactor(200.0f)), 0x7FFFFFFFu);
  EXPECT_EQ(bitsOf(pitchFactor(-1e30f)), 0x80000000u);
  EXPECT_EQ(bitsOf(pitchFactor(std::numeric_limits<float>::infinity())), 0x80000000u);
  EXPECT_EQ(pitchFactor(-0.5f), pitchFactor(0.5f) * 0.5f);
}

TEST(PhaseMath, FloorAndTruncationKeepLow16Bits) {
  using namespace phase_math;
  EXPECT_EQ(floorToPhase(2.5f), 2);
  EXPECT_EQ(floorToPhase(-0.5f), 0xFFFF);
  EXPECT_EQ(floorToPhase(-1.0f), 0xFFFF);
  EXPECT_EQ(floorToPhase(-1.5f), 0xFFFE);
  EXPECT_EQ(floorToPhase(65537.75f), 1);
  EXPECT_EQ(floorToPhase(3.0e9f), static_cast<std::uint16_t>(3000000000u & 0xFFFFu));
  EXPECT_EQ(floorToPhase(-3.0e9f), static_cast<std::uint16_t>((0u - 3000000000u) & 0xFFFFu));
  EXPECT_EQ(floorToPhase(1e12f), 0);
  EXPECT_EQ(truncateToPhase(70000.9f), 70000 - 65536);
  EXPECT_EQ(truncateToPhase(-1.5f), 0xFFFF);
  EXPECT_EQ(truncateToPhase(-70000.9f), static_cast<std::uint16_t>(-70000 & 0xFFFF));
  EXPECT_EQ(truncateToPhase(1e20f), 0);
  for (float v : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                  -std::numeric_limits<float>::infinity()}) {
    EXPECT_EQ(floorToPhase(v), 0);
    EXPECT_EQ(truncateToPhase(v), 0);
  }
  // A full-scale modulator shifts the phase by 65534/65536 of a cycle.
  EXPECT_EQ(modulationOffset(32767.0f), 65534);
  EXPECT_EQ(modulationOffset(-0.25f), 0xFFFE);
  EXPECT_EQ(toSigned16(0x8000), -32768);
  EXPECT_EQ(toSigned16(0x7FFF), 32767);
  EXPECT_EQ(toSigned16(0xFFFF), -1);
}

}  // namespace
