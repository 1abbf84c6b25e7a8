// The .fxp/.fxb reader and writer: exact header layout, byte-exact round trips, and the
// refusal of truncated and foreign files with the output left alone.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tools/host/byte_order.h"
#include "tools/host/fx_preset.h"

namespace {

using namespace fxpreset;
using Bytes = std::vector<std::uint8_t>;

constexpr VstInt32 kPluginId = fourCharCode('V', 'K', 'Q', 'D');
constexpr std::size_t kBankChunkBytes = 608;
constexpr std::size_t kProgramChunkBytes = 52;

Bytes pattern(std::size_t size, std::uint8_t seed) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(seed + i * 7);
  return bytes;
}

std::uint32_t wordAt(const Bytes& bytes, std::size_t offset) { return byteorder::bigEndian32(bytes.data() + offset); }
std::string textAt(const Bytes& bytes, std::size_t offset) {
  return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                     bytes.begin() + static_cast<std::ptrdiff_t>(offset + 4));
}

FxBank chunkBank() {
  FxBank bank;
  bank.opaque = true;
  bank.fxID = kPluginId;
  bank.fxVersion = 1;
  bank.numPrograms = 8;
  bank.currentProgram = 3;
  bank.chunk = pattern(kBankChunkBytes, 1);
  return bank;
}

FxProgram chunkProgram() {
  FxProgram program;
  program.opaque = true;
  program.fxID = kPluginId;
  program.fxVersion = 1;
  program.numParams = 13;
  program.setName("FM Classic 1");
  program.chunk = pattern(kProgramChunkBytes, 9);
  return program;
}

FxProgram parameterProgram(const std::string& name, std::uint32_t firstBits) {
  FxProgram program;
  program.opaque = false;
  program.fxID = kPluginId;
  program.fxVersion = 1;
  program.numParams = 4;
  program.setName(name);
  program.paramBits = {firstBits, 0x80000000u /* -0 */, 0x7FC00001u /* a NaN payload */, 0x3C23D70Au /* 0.01 */};
  return program;
}

bool parseBytes(const Bytes& bytes, FxFile& out, std::string& error) {
  return parse(bytes.data(), bytes.size(), out, error);
}

TEST(FxPresetWriter, BankChunkHeaderIsBigEndianAtTheStandardOffsets) {
  const Bytes bytes = serialize(chunkBank());
  ASSERT_EQ(bytes.size(), 160 + kBankChunkBytes);
  EXPECT_EQ(textAt(bytes, 0), "CcnK");
  EXPECT_EQ(wordAt(bytes, 4), bytes.size() - 8);
  EXPECT_EQ(textAt(bytes, 8), "FBCh");
  EXPECT_EQ(wordAt(bytes, 12), 2u);
  EXPECT_EQ(textAt(bytes, 16), "VKQD");
  EXPECT_EQ(wordAt(bytes, 20), 1u);
  EXPECT_EQ(wordAt(bytes, 24), 8u);
  EXPECT_EQ(wordAt(bytes, 28), 3u);
  for (std::size_t i = 32; i < 156; ++i) ASSERT_EQ(bytes[i], 0) << "reserved byte " << i;
  EXPECT_EQ(wordAt(bytes, 156), kBankChunkBytes);
  EXPECT_EQ(Bytes(bytes.begin() + 160, bytes.end()), pattern(kBankChunkBytes, 1));
}

TEST(FxPresetWriter, ProgramChunkHeaderIsBigEndianAtTheStandardOffsets) {
  const Bytes bytes = serialize(chunkProgram());
  ASSERT_EQ(bytes.size(), 60 + kProgramChunkBytes);
  EXPECT_EQ(textAt(bytes, 0), "CcnK");
  EXPECT_EQ(wordAt(bytes, 4), bytes.size() - 8);
  EXPECT_EQ(textAt(bytes, 8), "FPCh");
  EXPECT_EQ(wordAt(bytes, 12), 1u);
  EXPECT_EQ(textAt(bytes, 16), "VKQD");
  EXPECT_EQ(wordAt(bytes, 20), 1u);
  EXPECT_EQ(wordAt(bytes, 24), 13u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data() + 28)), "FM Classic 1");
  for (std::size_t i = 28 + 12; i < 56; ++i) ASSERT_EQ(bytes[i], 0) << "name padding " << i;
  EXPECT_EQ(wordAt(bytes, 56), kProgramChunkBytes);
  EXPECT_EQ(Bytes(bytes.begin() + 60, bytes.end()), pattern(kProgramChunkBytes, 9));
}

TEST(FxPresetWriter, ParameterProgramStoresBigEndianFloatBits) {
  const Bytes bytes = serialize(parameterProgram("p", 0x3F800000u));
  EXPECT_EQ(textAt(bytes, 8), "FxCk");
  EXPECT_EQ(wordAt(bytes, 24), 4u);
  EXPECT_EQ(wordAt(bytes, 56), 0x3F800000u);
  EXPECT_EQ(wordAt(bytes, 60), 0x80000000u);
  EXPECT_EQ(wordAt(bytes, 64), 0x7FC00001u);
  EXPECT_EQ(wordAt(bytes, 68), 0x3C23D70Au);
  EXPECT_EQ(bytes.size(), 72u);
}

// Every kind of file read back and written again gives the same bytes, including what a
// reader could be tempted to normalise: reserved bytes, a 28-character name without a
// terminator, bytes after a name's terminator, NaN payloads and negative zero.
TEST(FxPresetRoundTrip, EveryKindComesBackByteForByte) {
  std::vector<Bytes> files;
  files.push_back(serialize(chunkBank()));
  FxProgram program = chunkProgram();
  program.name.fill('x');  // 28 characters, no terminator
  files.push_back(serialize(program));
  FxProgram afterTerminator = parameterProgram("ab", 0x3F000000u);
  afterTerminator.name[10] = 'z';
  files.push_back(serialize(afterTerminator));
  FxBank versionOne = chunkBank();
  versionOne.version = 1;
  versionOne.reserved = pattern(kBankReservedSizeV1, 3);
  files.push_back(serialize(versionOne));
  FxBank programs;
  programs.opaque = false;
  programs.fxID = kPluginId;
  programs.numPrograms = 2;
  programs.currentProgram = 1;
  programs.programs = {parameterProgram("one", 0x3E800000u), parameterProgram("two", 0x3F400000u)};
  files.push_back(serialize(programs));

  for (std::size_t i = 0; i < files.size(); ++i) {
    FxFile parsed;
    std::string error;
    ASSERT_TRUE(parseBytes(files[i], parsed, error)) << "file " << i << ": " << error;
    EXPECT_EQ(serialize(parsed), files[i]) << "file " << i;
  }
}

TEST(FxPresetRoundTrip, ParsedFieldsMatchWhatWasWritten) {
  FxFile parsed;
  std::string error;
  ASSERT_TRUE(parseBytes(serialize(chunkBank()), parsed, error)) << error;
  ASSERT_TRUE(parsed.isBank);
  EXPECT_TRUE(parsed.bank.opaque);
  EXPECT_EQ(parsed.bank.fxID, kPluginId);
  EXPECT_EQ(parsed.bank.numPrograms, 8);
  EXPECT_EQ(parsed.bank.currentProgram, 3);
  EXPECT_EQ(parsed.bank.chunk, pattern(kBankChunkBytes, 1));

  FxBank programs;
  programs.opaque = false;
  programs.fxID = kPluginId;
  programs.numPrograms = 1;
  programs.programs = {parameterProgram("solo", 0x3F800000u)};
  ASSERT_TRUE(parseBytes(serialize(programs), parsed, error)) << error;
  ASSERT_TRUE(parsed.isBank);
  ASSERT_EQ(parsed.bank.programs.size(), 1u);
  EXPECT_EQ(parsed.bank.programs[0].nameText(), "solo");
  EXPECT_EQ(parsed.bank.programs[0].param(0), 1.0f);
  EXPECT_EQ(parsed.bank.programs[0].paramBits[2], 0x7FC00001u);

  ASSERT_TRUE(parseBytes(serialize(chunkProgram()), parsed, error)) << error;
  ASSERT_FALSE(parsed.isBank);
  EXPECT_EQ(parsed.program.nameText(), "FM Classic 1");
  EXPECT_EQ(parsed.program.chunk, pattern(kProgramChunkBytes, 9));
}

// A sentinel in the output shows that a refused file leaves it as it was.
void expectRefused(const Bytes& bytes, const std::string& expectedWords, const std::string& label) {
  FxFile out;
  out.program.setName("untouched");
  std::string error;
  EXPECT_FALSE(parseBytes(bytes, out, error)) << label;
  EXPECT_NE(error.find(expectedWords), std::string::npos) << label << ": " << error;
  EXPECT_EQ(out.program.nameText(), "untouched") << label;
  EXPECT_FALSE(out.isBank) << label;
}

TEST(FxPresetReader, EveryTruncationIsRefused) {
  const std::vector<Bytes> files = {serialize(chunkBank()), serialize(chunkProgram()),
                                    serialize(parameterProgram("p", 0))};
  for (const Bytes& file : files) {
    for (std::size_t length = 0; length < file.size(); ++length) {
      const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
      expectRefused(cut, "truncated", "length " + std::to_string(length) + " of " + std::to_string(file.size()));
    }
  }
}

TEST(FxPresetReader, ForeignAndCorruptFilesAreRefused) {
  Bytes wav = serialize(chunkProgram());
  std::memcpy(wav.data(), "RIFF", 4);
  expectRefused(wav, "not a preset file", "other magic");

  Bytes unknownType = serialize(chunkProgram());
  std::memcpy(unknownType.data() + 8, "FxXX", 4);
  expectRefused(unknownType, "unknown content type", "unknown content type");

  Bytes shortCount = serialize(chunkBank());
  byteorder::putBigEndian32(shortCount.data() + 4, wordAt(shortCount, 4) - 4);
  expectRefused(shortCount, "corrupt", "byte count smaller than the contents");

  Bytes trailing = serialize(chunkProgram());
  trailing.push_back(0);
  expectRefused(trailing, "after the end", "bytes after the container");

  Bytes versionThree = serialize(chunkBank());
  byteorder::putBigEndian32(versionThree.data() + 12, 3);
  expectRefused(versionThree, "bank version 3", "bank version");

  Bytes hugeChunk = serialize(chunkProgram());
  byteorder::putBigEndian32(hugeChunk.data() + 56, 0x7FFFFFF0u);
  expectRefused(hugeChunk, "chunk size", "chunk size beyond the file");

  Bytes negativeParams = serialize(parameterProgram("p", 0));
  byteorder::putBigEndian32(negativeParams.data() + 24, 0xFFFFFFFFu);
  expectRefused(negativeParams, "parameters", "negative parameter count");

  FxBank programs;
  programs.opaque = false;
  programs.fxID = kPluginId;
  programs.numPrograms = 1;
  programs.programs = {parameterProgram("one", 0)};
  Bytes nested = serialize(programs);
  std::memcpy(nested.data() + 156 + 8, "FBCh", 4);  // the record claims to be a bank
  expectRefused(nested, "program 0 of the bank", "nested record of the wrong type");
}

TEST(FxPresetNames, FourCharactersAndEscapes) {
  EXPECT_EQ(fourCharText(kPluginId), "VKQD");
  EXPECT_EQ(fourCharText(0x41000142), "A\\x00\\x01B");
}

TEST(FxPresetNames, SetNameTruncatesToTheFieldAndPadsWithZeros) {
  FxProgram program;
  program.name.fill('q');
  program.setName("short");
  EXPECT_EQ(program.nameText(), "short");
  for (std::size_t i = 5; i < kNameSize; ++i) EXPECT_EQ(program.name[i], 0);
  program.setName(std::string(40, 'n'));
  EXPECT_EQ(program.nameText(), std::string(kNameSize, 'n'));
}

}  // namespace
