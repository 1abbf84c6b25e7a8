// Parameters, programs and state chunks, as a host reads and writes them.
#include <cmath>
#include <limits>

#include "module_fixture.h"

namespace {

using StateTest = ModuleTest;

const char* const kNames[13] = {"A Mode", "A Level", "A Decay", "A Vel",   "T Mode",   "Tone",  "T Vel",
                                "Attack", "Sustain", "Decay",   "Release", "Velocity", "Volume"};
const char* const kPrograms[8] = {"Basic 1", "Basic 2", "FM Classic 1", "FM Classic 2",
                                  "Pump up", "Sequence this", "Deep", "Knocky"};

std::vector<unsigned char> chunkOf(AEffect* effect, bool program) {
  void* data = nullptr;
  const VstIntPtr size = effect->dispatcher(effect, effGetChunk, program ? 1 : 0, 0, &data, 0.0f);
  if (size <= 0 || data == nullptr) return {};
  const auto* bytes = static_cast<const unsigned char*>(data);
  return std::vector<unsigned char>(bytes, bytes + size);
}

VstIntPtr setChunk(AEffect* effect, std::vector<unsigned char> bytes, bool program) {
  return effect->dispatcher(effect, effSetChunk, program ? 1 : 0, static_cast<VstIntPtr>(bytes.size()),
                            bytes.data(), 0.0f);
}

void putFloat(std::vector<unsigned char>& bytes, size_t offset, float value) {
  std::memcpy(&bytes[offset], &value, sizeof(value));
}

TEST_F(StateTest, ParameterTexts) {
  AEffect* effect = create();
  for (VstInt32 i = 0; i < 13; ++i) {
    expectBoundedText(textFrom(effect, effGetParamName, i), kNames[i], 8);
    expectBoundedText(textFrom(effect, effGetParamLabel, i), "Ynk", 8);
    expectBoundedText(textFrom(effect, effGetParamDisplay, i), "A few", 8);
  }
  // Outside the table the name request leaves the buffer alone; label and display answer.
  for (VstInt32 i : {13, -1, 1000}) {
    for (unsigned char byte : textFrom(effect, effGetParamName, i)) ASSERT_EQ(byte, kMarker);
    expectBoundedText(textFrom(effect, effGetParamLabel, i), "Ynk", 8);
    expectBoundedText(textFrom(effect, effGetParamDisplay, i), "A few", 8);
  }
  EXPECT_EQ(dispatch(effect, effCanBeAutomated, 99), 1);
  EXPECT_EQ(dispatch(effect, effString2Parameter, 0, 0, const_cast<char*>("0.5")), 0);
  EXPECT_EQ(effect->getParameter(effect, 0), 1.0f);
}

TEST_F(StateTest, ParametersStartAtProgramZeroAndStoreWhatArrives) {
  AEffect* effect = create();
  EXPECT_EQ(effect->getParameter(effect, 0), 1.0f);
  EXPECT_EQ(effect->getParameter(effect, 5), 0.37499964f);
  EXPECT_EQ(effect->getParameter(effect, 12), 0.26999974f);
  effect->setParameter(effect, 3, 1.5f);
  EXPECT_EQ(effect->getParameter(effect, 3), 1.5f);
  effect->setParameter(effect, 3, -0.25f);
  EXPECT_EQ(effect->getParameter(effect, 3), -0.25f);
}

TEST_F(StateTest, UnusableParameterCallsAreRefused) {
  AEffect* effect = create();
  const std::vector<unsigned char> before = chunkOf(effect, false);
  effect->setParameter(effect, 13, 0.5f);
  effect->setParameter(effect, -1, 0.5f);
  effect->setParameter(effect, 4, std::numeric_limits<float>::quiet_NaN());
  effect->setParameter(effect, 4, std::numeric_limits<float>::infinity());
  EXPECT_EQ(effect->getParameter(effect, 13), 0.0f);
  EXPECT_EQ(effect->getParameter(effect, -1), 0.0f);
  EXPECT_EQ(chunkOf(effect, false), before);
}

TEST_F(StateTest, ProgramsKeepTheirEdits) {
  AEffect* effect = create();
  expectBoundedText(textFrom(effect, effGetProgramName), "Basic 1", 24);
  for (VstInt32 p = 0; p < 8; ++p) {
    for (VstIntPtr category : {VstIntPtr{0}, VstIntPtr{-1}, VstIntPtr{5}}) {
      VstIntPtr answer = 0;
      expectBoundedText(textFrom(effect, effGetProgramNameIndexed, p, category, &answer), kPrograms[p], 24);
      EXPECT_EQ(answer, 1);
    }
  }
  for (VstInt32 bad : {8, -1, 1 << 30}) {
    VstIntPtr answer = 1;
    for (unsigned char byte : textFrom(effect, effGetProgramNameIndexed, bad, 0, &answer)) ASSERT_EQ(byte, kMarker);
    EXPECT_EQ(answer, 0);
  }

  effect->setParameter(effect, 5, 0.9f);
  dispatch(effect, effSetProgram, 0, 3);
  EXPECT_EQ(effect->getParameter(effect, 5), 0.5049999f);
  dispatch(effect, effSetProgram, 0, 0);
  EXPECT_EQ(effect->getParameter(effect, 5), 0.9f);
  // Selecting the current program again keeps the live values.
  effect->setParameter(effect, 6, 0.125f);
  dispatch(effect, effSetProgram, 0, 0);
  EXPECT_EQ(effect->getParameter(effect, 6), 0.125f);
}

TEST_F(StateTest, RenamingTouchesOnlyTheCurrentName) {
  AEffect* effect = create();
  dispatch(effect, effSetProgram, 0, 2);
  const std::vector<unsigned char> before = chunkOf(effect, false);
  std::string longName = "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234";  // 30 characters
  dispatch(effect, effSetProgramName, 0, 0, &longName[0]);
  expectBoundedText(textFrom(effect, effGetProgramName), "ABCDEFGHIJKLMNOPQRSTUVWX", 24);
  const std::vector<unsigned char> after = chunkOf(effect, false);
  ASSERT_EQ(after.size(), 608u);
  for (size_t i = 0; i < after.size(); ++i) {
    const bool inName = i >= 2 * 76 && i < 2 * 76 + 24;
    if (!inName) {
      ASSERT_EQ(after[i], before[i]) << "byte " << i;
    }
  }
  EXPECT_EQ(0, std::memcmp(&after[2 * 76], "ABCDEFGHIJKLMNOPQRSTUVWX", 24));  // no terminator inside
  std::string empty;
  dispatch(effect, effSetProgramName, 0, 0, &empty[0]);
  expectBoundedText(textFrom(effect, effGetProgramName), "", 24);
  expectBoundedText(textFrom(effect, effGetProgramNameIndexed, 1), "Basic 2", 24);
}

TEST_F(StateTest, BankChunkIsTheFactoryImageAndFollowsEdits) {
  AEffect* effect = create();
  std::vector<unsigned char> bank = chunkOf(effect, false);
  ASSERT_EQ(bank.size(), 608u);
  for (int p = 0; p < 8; ++p) {
    const char* name = reinterpret_cast<const char*>(&bank[p * 76]);
    EXPECT_STREQ(name, kPrograms[p]);
    for (size_t i = std::strlen(kPrograms[p]); i < 24; ++i) EXPECT_EQ(bank[p * 76 + i], 0);
  }
  float value;
  std::memcpy(&value, &bank[24 + 5 * 4], 4);
  EXPECT_EQ(value, 0.37499964f);
  effect->setParameter(effect, 5, 0.6f);
  bank = chunkOf(effect, false);
  std::memcpy(&value, &bank[24 + 5 * 4], 4);
  EXPECT_EQ(value, 0.6f);

  const std::vector<unsigned char> program = chunkOf(effect, true);
  ASSERT_EQ(program.size(), 52u);
  EXPECT_EQ(0, std::memcmp(program.data(), &bank[24], 52));
}

TEST_F(StateTest, ProgramChunkChangesOnlyTheCurrentProgram) {
  AEffect* effect = create();
  dispatch(effect, effSetProgram, 0, 3);
  const std::vector<unsigned char> bankBefore = chunkOf(effect, false);
  std::vector<unsigned char> program(52);
  for (int i = 0; i < 13; ++i) putFloat(program, i * 4, 0.05f * static_cast<float>(i));
  EXPECT_EQ(setChunk(effect, program, true), 52);
  for (int i = 0; i < 13; ++i) EXPECT_EQ(effect->getParameter(effect, i), 0.05f * static_cast<float>(i));
  const std::vector<unsigned char> bankAfter = chunkOf(effect, false);
  for (size_t i = 0; i < 608; ++i) {
    const bool inValues = i >= 3 * 76 + 24 && i < 4 * 76;
    if (inValues) {
      ASSERT_EQ(bankAfter[i], program[i - (3 * 76 + 24)]);
    } else {
      ASSERT_EQ(bankAfter[i], bankBefore[i]) << "byte " << i;
    }
  }
  EXPECT_EQ(hostcallback::countOf(audioMasterUpdateDisplay), 0u);
}

TEST_F(StateTest, BankChunkRestoresNamesAndValues) {
  AEffect* effect = create();
  dispatch(effect, effSetProgram, 0, 1);
  const std::vector<unsigned char> saved = chunkOf(effect, false);
  effect->setParameter(effect, 2, 0.33f);
  std::string name = "Changed";
  dispatch(effect, effSetProgramName, 0, 0, &name[0]);
  dispatch(effect, effSetProgram, 0, 6);
  effect->setParameter(effect, 12, 0.9f);

  EXPECT_EQ(setChunk(effect, saved, false), 608);
  EXPECT_EQ(dispatch(effect, effGetProgram), 6);
  EXPECT_EQ(chunkOf(effect, false), saved);
  expectBoundedText(textFrom(effect, effGetProgramNameIndexed, 1), "Basic 2", 24);
  EXPECT_EQ(effect->getParameter(effect, 12), 0.3249997f);
  // A bank-sized chunk with the program flag is taken as a whole bank too.
  std::vector<unsigned char> edited = saved;
  putFloat(edited, 6 * 76 + 24 + 12 * 4, 0.75f);
  EXPECT_EQ(setChunk(effect, edited, true), 608);
  EXPECT_EQ(effect->getParameter(effect, 12), 0.75f);
}

TEST_F(StateTest, ChunksOfOtherSizesAreRefused) {
  AEffect* effect = create();
  effect->setParameter(effect, 5, 0.6f);
  const std::vector<unsigned char> before = chunkOf(effect, false);
  const std::vector<unsigned char> program = chunkOf(effect, true);
  hostcallback::clear();
  EXPECT_EQ(setChunk(effect, std::vector<unsigned char>(10, 0), false), 0);
  EXPECT_EQ(setChunk(effect, std::vector<unsigned char>(10, 0), true), 0);
  EXPECT_EQ(setChunk(effect, program, false), 0);  // 52 bytes without the program flag
  EXPECT_EQ(setChunk(effect, std::vector<unsigned char>(607, 0), false), 0);
  EXPECT_EQ(setChunk(effect, std::vector<unsigned char>(609, 0), false), 0);
  EXPECT_EQ(hostcallback::countOf(audioMasterUpdateDisplay), 5u);
  EXPECT_EQ(chunkOf(effect, false), before);
  EXPECT_EQ(effect->getParameter(effect, 5), 0.6f);
}

TEST_F(StateTest, UnsafeChunkRequestsAreRefused) {
  AEffect* effect = create();
  const std::vector<unsigned char> before = chunkOf(effect, false);
  EXPECT_EQ(dispatch(effect, effGetChunk, 0, 0, nullptr), 0);
  EXPECT_EQ(dispatch(effect, effGetChunk, 1, 0, nullptr), 0);
  EXPECT_EQ(dispatch(effect, effSetChunk, 0, 608, nullptr), 0);
  EXPECT_EQ(dispatch(effect, effSetChunk, 1, 52, nullptr), 0);
  // A size whose low 32 bits would look right is still refused.
  std::vector<unsigned char> bank = before;
  if (sizeof(VstIntPtr) == 8) {
    const VstIntPtr disguised = static_cast<VstIntPtr>((static_cast<unsigned long long>(1) << 32) + 608);
    EXPECT_EQ(dispatch(effect, effSetChunk, 0, disguised, bank.data()), 0);
  }
  // Values that are not finite numbers are refused like a wrong size.
  std::vector<unsigned char> program(52, 0);
  putFloat(program, 7 * 4, std::numeric_limits<float>::quiet_NaN());
  hostcallback::clear();
  EXPECT_EQ(setChunk(effect, program, true), 0);
  putFloat(bank, 4 * 76 + 24 + 9 * 4, std::numeric_limits<float>::infinity());
  EXPECT_EQ(setChunk(effect, bank, false), 0);
  EXPECT_EQ(hostcallback::countOf(audioMasterUpdateDisplay), 2u);
  EXPECT_EQ(chunkOf(effect, false), before);
}

}  // namespace
