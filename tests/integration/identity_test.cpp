// Identity texts and canDo answers, byte for byte in the host's buffers.
#include "module_fixture.h"

namespace {

using IdentityTest = ModuleTest;

TEST_F(IdentityTest, NamesAreCopiedWithTheirBounds) {
  AEffect* effect = create();
  VstIntPtr answer = 0;
  expectBoundedText(textFrom(effect, effGetEffectName, 0, 0, &answer), "Quindle", 32);
  EXPECT_EQ(answer, 1);
  expectBoundedText(textFrom(effect, effGetVendorString, 0, 0, &answer), "Velkor", 64);
  EXPECT_EQ(answer, 1);
  expectBoundedText(textFrom(effect, effGetProductString, 0, 0, &answer), "Velkor's Quindle", 64);
  EXPECT_EQ(answer, 1);
  EXPECT_EQ(dispatch(effect, effGetVendorVersion), 1000);
}

TEST_F(IdentityTest, NullTextBuffersAreRefused) {
  AEffect* effect = create();
  EXPECT_EQ(dispatch(effect, effGetEffectName), 0);
  EXPECT_EQ(dispatch(effect, effGetVendorString), 0);
  EXPECT_EQ(dispatch(effect, effGetProductString), 0);
  EXPECT_EQ(dispatch(effect, effCanDo), -1);
  EXPECT_EQ(dispatch(effect, effGetParamName), 0);
  EXPECT_EQ(dispatch(effect, effGetProgramName), 0);
  EXPECT_EQ(dispatch(effect, effSetProgramName), 0);
  EXPECT_EQ(dispatch(effect, effGetProgramNameIndexed), 0);
}

TEST_F(IdentityTest, CanDoMatchesOnlyWholeWords) {
  AEffect* effect = create();
  auto canDo = [&](const char* text) {
    std::string copy(text);
    return dispatch(effect, effCanDo, 0, 0, &copy[0]);
  };
  EXPECT_EQ(canDo("receiveVstEvents"), 1);
  EXPECT_EQ(canDo("receiveVstMidiEvent"), 1);
  EXPECT_EQ(canDo("receiveVstTimeInfo"), 1);
  EXPECT_EQ(canDo("receiveVstMidiEventx"), -1);
  EXPECT_EQ(canDo("ReceiveVstMidiEvent"), -1);
  EXPECT_EQ(canDo("receiveVstMidi"), -1);
  EXPECT_EQ(canDo("sendVstMidiEvent"), -1);
  EXPECT_EQ(canDo("offline"), -1);
  EXPECT_EQ(canDo(""), -1);
}

TEST_F(IdentityTest, CategoryAndVersions) {
  AEffect* effect = create();
  EXPECT_EQ(dispatch(effect, effGetPlugCategory), 2);
  EXPECT_EQ(dispatch(effect, effGetVstVersion), 2400);
  EXPECT_EQ(dispatch(effect, effGetTailSize), 0);
  EXPECT_EQ(dispatch(effect, effGetNumMidiInputChannels), 0);
}

}  // namespace
