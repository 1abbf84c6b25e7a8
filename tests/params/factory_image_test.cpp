// The factory bank image, checked against values computed from the decimal texts the
// programs were designed with, independently of the table in the code.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "params/parameter_table.h"
#include "params/program_bank.h"

namespace {

const char* const kNames[kProgramCount] = {"Basic 1", "Basic 2", "FM Classic 1", "FM Classic 2",
                                           "Pump up", "Sequence this", "Deep", "Knocky"};

// One row per parameter, one column per program, as decimal text.
const char* const kValues[PARAMETER_COUNT][kProgramCount] = {
    {"1", "1", "1", "0", "0.01", "1", "1", "1"},
    {"0", "0.09499991", "0.34499967", "0.16000009", "0.33500028", "0.63500035", "0.4849999", "0.5650004"},
    {"0.01", "0.7299999", "0.24999976", "0.35999966", "0.07499993", "1", "0.029999971", "0.014999986"},
    {"0.01", "0.01", "0.95999944", "0.01", "0.9149996", "0.8049998", "0.2249999", "0.01"},
    {"0.01", "1", "1", "0", "1", "1", "1", "0.01"},
    {"0.37499964", "0.42000055", "0.26999986", "0.5049999", "0.66499984", "0.2049998", "0.16999984", "0.8899994"},
    {"0.48499954", "0.40499997", "0.73499954", "0.6449994", "0.7599999", "0.70999944", "0", "0.01"},
    {"0", "0", "0", "0", "0", "0", "0.01", "0"},
    {"0.13999987", "0.01", "0.27499974", "0.28499973", "0.68999934", "0.5200004", "0.15999985", "0.49500036"},
    {"0.83499944", "0.99999917", "0.55999947", "1", "0.4049996", "0.2149998", "0.8249998", "0.49499953"},
    {"0.034999967", "0.01", "0.03999996", "0.029999971", "0.024999976", "0.034999967", "0.01", "0.099999905"},
    {"0.68999934", "0.34999967", "0.5949998", "0.34999967", "0.24999976", "0.39499962", "0.01", "0.49499953"},
    {"0.26999974", "0.22999978", "0.3199997", "0.16999984", "0.22999978", "0.3099997", "0.3249997", "0.33499968"},
};

std::uint32_t bitsOf(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof(bits));
  return bits;
}

// Builds the 608-byte image from the decimal texts: names zero padded, values the
// float nearest to each decimal, little-endian.
std::vector<unsigned char> expectedImage() {
  std::vector<unsigned char> image(kBankChunkSize, 0);
  for (int p = 0; p < kProgramCount; ++p) {
    std::memcpy(&image[p * 76], kNames[p], std::strlen(kNames[p]));
    for (int i = 0; i < PARAMETER_COUNT; ++i) {
      const std::uint32_t bits = bitsOf(std::strtof(kValues[i][p], nullptr));
      for (int b = 0; b < 4; ++b) image[p * 76 + 24 + i * 4 + b] = static_cast<unsigned char>(bits >> (8 * b));
    }
  }
  return image;
}

TEST(FactoryPrograms, ImageIsBitForBitTheDesignedBank) {
  ProgramBank bank;
  ASSERT_EQ(bank.storageSize(), 608);
  const auto* bytes = static_cast<const unsigned char*>(bank.storage());
  const std::vector<unsigned char> expected = expectedImage();
  for (int i = 0; i < kBankChunkSize; ++i) ASSERT_EQ(bytes[i], expected[i]) << "byte " << i;
}

TEST(FactoryPrograms, DocumentedValues) {
  EXPECT_EQ(bitsOf(kFactoryPrograms[0].values[PARAM_ATTACK_DECAY]), 0x3C23D70Au);  // 0.01
  EXPECT_EQ(kFactoryPrograms[0].values[PARAM_ATTACK_MODE], 1.0f);
  EXPECT_EQ(kFactoryPrograms[0].values[PARAM_TONE_LEVEL], 0.37499964f);
  EXPECT_EQ(kFactoryPrograms[7].values[PARAM_AMP_RELEASE], 0.099999905f);
  EXPECT_STREQ(kFactoryPrograms[7].name, "Knocky");
}

TEST(ParameterTable, NamesAndTexts) {
  EXPECT_STREQ(parameterName(0), "A Mode");
  EXPECT_STREQ(parameterName(8), "Sustain");  // hosts see 8 and 9 crossed over
  EXPECT_STREQ(parameterName(9), "Decay");
  EXPECT_STREQ(parameterName(11), "Velocity");
  EXPECT_EQ(parameterName(13), nullptr);
  EXPECT_EQ(parameterName(-1), nullptr);
  for (int i = 0; i < PARAMETER_COUNT; ++i) EXPECT_LE(std::strlen(parameterName(i)), 8u);
}

TEST(ProgramBank, RenameFillsTheWholeField) {
  ProgramBank bank;
  bank.rename(4, "Sub");
  EXPECT_STREQ(bank.record(4).name, "Sub");
  for (int i = 3; i < kProgramNameSize; ++i) EXPECT_EQ(bank.record(4).name[i], '\0');
  bank.rename(4, "abcdefghijklmnopqrstuvwxyz");
  EXPECT_EQ(std::memcmp(bank.record(4).name, "abcdefghijklmnopqrstuvwx", 24), 0);
  EXPECT_STREQ(bank.record(5).name, "Sequence this");
  EXPECT_EQ(bank.record(4).values[PARAM_VOLUME], kFactoryPrograms[4].values[PARAM_VOLUME]);
}

TEST(ProgramBank, ChunkValuesMustBeFinite) {
  ProgramBank bank;
  std::vector<unsigned char> image(static_cast<unsigned char*>(bank.storage()),
                                   static_cast<unsigned char*>(bank.storage()) + kBankChunkSize);
  EXPECT_TRUE(chunkValuesAreFinite(image.data(), kBankChunkSize));
  // Names may hold any bytes, including ones that read as NaN.
  std::memset(image.data(), 0xFF, kProgramNameSize);
  EXPECT_TRUE(chunkValuesAreFinite(image.data(), kBankChunkSize));
  const float nan = std::strtof("nan", nullptr);
  std::memcpy(&image[7 * 76 + 24 + 12 * 4], &nan, 4);
  EXPECT_FALSE(chunkValuesAreFinite(image.data(), kBankChunkSize));
  // Unaligned program chunk.
  std::vector<unsigned char> program(53, 0);
  EXPECT_TRUE(chunkValuesAreFinite(program.data() + 1, kProgramChunkSize));
  const float infinity = std::strtof("inf", nullptr);
  std::memcpy(&program[1 + 12 * 4], &infinity, 4);
  EXPECT_FALSE(chunkValuesAreFinite(program.data() + 1, kProgramChunkSize));
  EXPECT_FALSE(chunkValuesAreFinite(program.data(), 10));
}

}  // namespace
