// Every dispatcher opcode, through the module's own dispatcher entry.
#include <map>

#include "module_fixture.h"

namespace {

constexpr VstIntPtr kHasEditor = 1;

// Answers for a fresh instance, with index 0, value 0, opt 0 and ptr pointing to a zeroed
// buffer. Opcodes not listed answer 0.
const std::map<VstInt32, VstIntPtr> kAnswers = {
    {effGetProgram, 0},           {effEditGetRect, kHasEditor},   {effIdentify, 0x4E764566},
    {effGetChunk, 608},           {effProcessEvents, 1},          {effCanBeAutomated, 1},
    {effGetProgramNameIndexed, 1}, {effGetPlugCategory, 2},       {effGetEffectName, 1},
    {effGetVendorString, 1},      {effGetProductString, 1},       {effGetVendorVersion, 1000},
    {effCanDo, -1},               {effGetVstVersion, 2400},       {effGetCurrentMidiProgram, -1},
};

using DispatcherTest = ModuleTest;

TEST_F(DispatcherTest, EveryOpcodeGivesItsAnswer) {
  for (VstInt32 opcode = -3; opcode <= 100; ++opcode) {
    if (opcode == effClose || opcode == effEditOpen) continue;  // tested on their own
    AEffect* effect = create();
    ASSERT_NE(effect, nullptr);
    alignas(16) VstIntPtr buffer[128] = {};
    const auto expected = kAnswers.find(opcode);
    const VstIntPtr answer = dispatch(effect, opcode, 0, 0, buffer);
    EXPECT_EQ(answer, expected != kAnswers.end() ? expected->second : 0) << "opcode " << opcode;
  }
}

TEST_F(DispatcherTest, UnusedOpcodesChangeNothing) {
  AEffect* effect = create();
  const VstInt32 unused[] = {9, 16, 17, 18, 20, 21, 28, 30, 31, 32, 36, 37, 43, 46, 53, 54, 55, 57, -1, -100, 80, 1000};
  for (VstInt32 opcode : unused) {
    alignas(16) unsigned char buffer[256];
    std::memset(buffer, kMarker, sizeof(buffer));
    EXPECT_EQ(dispatch(effect, opcode, 1, 1, buffer, 1.0f), 0) << "opcode " << opcode;
    for (unsigned char byte : buffer) ASSERT_EQ(byte, kMarker) << "opcode " << opcode << " wrote";
  }
  EXPECT_EQ(dispatch(effect, effGetProgram), 0);
  EXPECT_EQ(effect->getParameter(effect, 0), 1.0f);
}

TEST_F(DispatcherTest, CloseAnswersOne) {
  AEffect* effect = create();
  forget(effect);
  EXPECT_EQ(dispatch(effect, effClose), 1);
}

TEST_F(DispatcherTest, ProgramNumbersOutsideTheBankAreIgnored) {
  AEffect* effect = create();
  dispatch(effect, effSetProgram, 0, 2);
  for (VstIntPtr bad : {VstIntPtr{8}, VstIntPtr{100}, VstIntPtr{-1}}) {
    EXPECT_EQ(dispatch(effect, effSetProgram, 0, bad), 0);
    EXPECT_EQ(dispatch(effect, effGetProgram), 2);
  }
  EXPECT_EQ(effect->getParameter(effect, 5), 0.26999986f);
}

TEST_F(DispatcherTest, ValueAnswersPassThrough) {
  AEffect* effect = create();
  EXPECT_EQ(dispatch(effect, effSetTotalSampleToProcess, 0, 512), 512);
  EXPECT_EQ(dispatch(effect, effSetTotalSampleToProcess, 0, -7), -7);
}

TEST_F(DispatcherTest, SpeakerArrangementAnswersNullPointers) {
  AEffect* effect = create();
  void* input = &input;
  void* output = &output;
  EXPECT_EQ(dispatch(effect, effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&input), &output), 0);
  EXPECT_EQ(input, nullptr);
  EXPECT_EQ(output, nullptr);
}

TEST_F(DispatcherTest, EditorRectangleIsTheEditorsSize) {
  AEffect* effect = create();
  ERect* rect = nullptr;
  ASSERT_EQ(dispatch(effect, effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, 82);
  EXPECT_EQ(rect->right, 785);
#ifndef _WIN32
  // On Linux the pointer holds an X11 window id: an address is none, nor is 0.
  EXPECT_EQ(dispatch(effect, effEditOpen, 0, 0, &rect), 0);
  EXPECT_EQ(dispatch(effect, effEditOpen, 0, 0, nullptr), 0);
  EXPECT_EQ(dispatch(effect, effEditIdle), 0);
#endif
  EXPECT_EQ(dispatch(effect, effEditKeyDown, 65, 3, nullptr, 2.9f), 0);
  EXPECT_EQ(dispatch(effect, effEditKeyUp, 65, 3, nullptr, 2.9f), 0);
  EXPECT_EQ(dispatch(effect, effSetEditKnobMode, 0, 2), 0);
}

TEST_F(DispatcherTest, ResumeAsksForMidiEveryTime) {
  AEffect* effect = create();
  hostcallback::clear();
  dispatch(effect, effMainsChanged, 0, 1);
  dispatch(effect, effMainsChanged, 0, 0);
  dispatch(effect, effMainsChanged, 0, 1);
  const auto calls = hostcallback::calls();
  ASSERT_EQ(calls.size(), 2u);
  for (const HostCall& call : calls) {
    EXPECT_EQ(call.effect, effect);
    EXPECT_EQ(call.opcode, audioMasterWantMidi);
    EXPECT_EQ(call.index, 0);
    EXPECT_EQ(call.value, 1);
    EXPECT_EQ(call.ptr, nullptr);
    EXPECT_EQ(call.opt, 0.0f);
  }
}

}  // namespace
