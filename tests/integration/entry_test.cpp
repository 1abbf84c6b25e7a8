// The entry point and the AEffect record a host finds.
#include "module_fixture.h"

namespace {

constexpr VstInt32 kQuindleID = ('V' << 24) | ('K' << 16) | ('Q' << 8) | 'D';

VstIntPtr VSTCALLBACK refusingHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 0 : 1;
}

using EntryTest = ModuleTest;

TEST_F(EntryTest, BothExportedNamesLeadToTheSameEntryPoint) {
  void* entry = module->symbol("VSTPluginMain");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(module->symbol("main"), entry);
}

TEST_F(EntryTest, HostAnsweringZeroToTheVersionGetsNoInstance) {
  EXPECT_EQ(module->instantiate(refusingHost), nullptr);
  hostcallback::setVersionAnswer(0);
  EXPECT_EQ(module->instantiate(hostcallback::answer), nullptr);
  // The version query is the one call made, with a null record and zero arguments.
  const auto calls = hostcallback::calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].effect, nullptr);
  EXPECT_EQ(calls[0].opcode, audioMasterVersion);
  EXPECT_EQ(calls[0].index, 0);
  EXPECT_EQ(calls[0].value, 0);
  EXPECT_EQ(calls[0].ptr, nullptr);
  EXPECT_EQ(calls[0].opt, 0.0f);
}

TEST_F(EntryTest, NoHostCallbackGetsNoInstance) { EXPECT_EQ(module->instantiate(nullptr), nullptr); }

TEST_F(EntryTest, AnyNonZeroVersionIsAccepted) {
  hostcallback::setVersionAnswer(1);
  EXPECT_NE(create(), nullptr);
  hostcallback::setVersionAnswer(2300);
  EXPECT_NE(create(), nullptr);
}

TEST_F(EntryTest, RecordHoldsThePublishedValues) {
  AEffect* effect = create();
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(effect->magic, 0x56737450);
  EXPECT_NE(effect->dispatcher, nullptr);
  EXPECT_NE(effect->process, nullptr);
  EXPECT_NE(effect->setParameter, nullptr);
  EXPECT_NE(effect->getParameter, nullptr);
  EXPECT_EQ(effect->numPrograms, 8);
  EXPECT_EQ(effect->numParams, 13);
  EXPECT_EQ(effect->numInputs, 0);
  EXPECT_EQ(effect->numOutputs, 2);
  EXPECT_EQ(effect->flags, 0x131);  // an editor on every build: Win32 or X11
  EXPECT_EQ(effect->resvd1, 0);
  EXPECT_EQ(effect->resvd2, 0);
  EXPECT_EQ(effect->initialDelay, 0);
  EXPECT_EQ(effect->realQualities, 0);
  EXPECT_EQ(effect->offQualities, 0);
  EXPECT_EQ(effect->ioRatio, 1.0f);
  EXPECT_NE(effect->object, nullptr);
  EXPECT_EQ(effect->user, nullptr);
  EXPECT_EQ(effect->uniqueID, kQuindleID);
  EXPECT_EQ(effect->version, 1);
  EXPECT_NE(effect->processReplacing, nullptr);
  EXPECT_NE(effect->processDoubleReplacing, nullptr);
  for (char byte : effect->future) EXPECT_EQ(byte, 0);
}

TEST_F(EntryTest, ConstructionAsksTheHostForNothingButItsVersion) {
  ASSERT_NE(create(), nullptr);
  const auto calls = hostcallback::calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].opcode, audioMasterVersion);
}

TEST_F(EntryTest, TwoInstancesAreIndependent) {
  AEffect* first = create();
  AEffect* second = create();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  ASSERT_NE(first, second);
  ASSERT_NE(first->object, second->object);

  first->setParameter(first, 5, 0.75f);
  dispatch(second, effSetProgram, 0, 3);
  EXPECT_EQ(first->getParameter(first, 5), 0.75f);
  EXPECT_EQ(second->getParameter(second, 5), 0.5049999f);
  EXPECT_EQ(dispatch(first, effGetProgram), 0);
  EXPECT_EQ(dispatch(second, effGetProgram), 3);

  // Closing one leaves the other working.
  forget(first);
  EXPECT_EQ(dispatch(first, effClose), 1);
  EXPECT_EQ(second->getParameter(second, 5), 0.5049999f);
  std::vector<unsigned char> name = textFrom(second, effGetProgramName);
  EXPECT_STREQ(reinterpret_cast<const char*>(name.data()), "FM Classic 2");
}

TEST_F(EntryTest, ManyInstancesComeAndGo) {
  for (int round = 0; round < 50; ++round) {
    AEffect* effect = module->instantiate(hostcallback::answer);
    ASSERT_NE(effect, nullptr);
    dispatch(effect, effOpen);
    dispatch(effect, effMainsChanged, 0, 1);
    EXPECT_EQ(dispatch(effect, effClose), 1);
  }
}

}  // namespace
