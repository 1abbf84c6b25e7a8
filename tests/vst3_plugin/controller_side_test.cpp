// The controller's half: the host's values move the controller and not the sound, the
// editor's edits move both and reach the host in gestures, and a program or a state
// loaded on either side brings every value along.
#include "vst3/controller_side.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/instrument.h"
#include "tools/host/vst3_host_objects.h"

namespace {

using namespace quindle_vst3;
using vst3host::HandlerCall;

class ControllerSideTest : public ::testing::Test {
 protected:
  void SetUp() override {
    instrument.setObserver(&controller.observer());
    controller.setHandler(&handler);
  }
  void TearDown() override {
    controller.setHandler(nullptr);
    EXPECT_EQ(handler.referenceCount(), 1u);
    instrument.setObserver(nullptr);
  }
  std::vector<HandlerCall::Kind> kinds() const {
    std::vector<HandlerCall::Kind> out;
    for (const HandlerCall& call : handler.calls) out.push_back(call.kind);
    return out;
  }

  Instrument instrument;
  ControllerSide controller{instrument};
  vst3host::ComponentHandler handler;
};

TEST_F(ControllerSideTest, HostValuesMoveTheControllerOnly) {
  const float before = instrument.getParameter(PARAM_TONE_LEVEL);
  EXPECT_EQ(controller.setFromHost(PARAM_TONE_LEVEL, 0.8), vst3::kResultOk);
  EXPECT_EQ(controller.value(PARAM_TONE_LEVEL), 0.8);
  EXPECT_EQ(controller.getParameter(PARAM_TONE_LEVEL), 0.8f);  // what the editor shows
  EXPECT_EQ(instrument.getParameter(PARAM_TONE_LEVEL), before);
  EXPECT_EQ(controller.setFromHost(PARAM_VOLUME, 3.0), vst3::kResultOk);
  EXPECT_EQ(controller.value(PARAM_VOLUME), 1.0);
  EXPECT_EQ(controller.setFromHost(PARAM_VOLUME, std::nan("")), vst3::kInvalidArgument);
  EXPECT_EQ(controller.setFromHost(kParameterIdCount, 0.5), vst3::kInvalidArgument);
  EXPECT_EQ(controller.value(kParameterIdCount), 0.0);
  EXPECT_TRUE(handler.calls.empty());
}

TEST_F(ControllerSideTest, EditorEditsReachTheSoundAndTheHostInGestures) {
  controller.automateParameter(PARAM_VOLUME, 0.5f);  // a wheel step: no gesture open
  controller.beginEdit(PARAM_TONE_LEVEL);
  controller.automateParameter(PARAM_TONE_LEVEL, 0.25f);
  controller.automateParameter(PARAM_TONE_LEVEL, 0.125f);
  controller.endEdit(PARAM_TONE_LEVEL);
  controller.endEdit(PARAM_TONE_LEVEL);  // no gesture open: nothing
  using K = HandlerCall;
  const std::vector<HandlerCall::Kind> expected = {K::kBeginEdit, K::kPerformEdit, K::kEndEdit,   K::kBeginEdit,
                                                   K::kPerformEdit, K::kPerformEdit, K::kEndEdit};
  EXPECT_EQ(kinds(), expected);
  EXPECT_EQ(handler.calls[0].id, static_cast<vst3::ParamID>(PARAM_VOLUME));
  EXPECT_EQ(handler.calls[5].value, 0.125);
  EXPECT_EQ(instrument.getParameter(PARAM_TONE_LEVEL), 0.125f);
  EXPECT_EQ(controller.value(PARAM_TONE_LEVEL), 0.125);

  controller.setParameter(PARAM_AMP_ATTACK, 0.75f);  // heard, not reported
  EXPECT_EQ(instrument.getParameter(PARAM_AMP_ATTACK), 0.75f);
  EXPECT_EQ(handler.calls.size(), expected.size());

  // A gesture left open ends with its handler.
  controller.beginEdit(PARAM_AMP_DECAY);
  controller.setHandler(nullptr);
  EXPECT_EQ(handler.calls.back().kind, HandlerCall::kEndEdit);
  EXPECT_EQ(handler.calls.back().id, static_cast<vst3::ParamID>(PARAM_AMP_DECAY));
}

TEST_F(ControllerSideTest, ProgramSelectionLoadsTheProgramAndAsksTheHostToReread) {
  std::vector<double> reread;
  handler.onRestart = [&](vst3::int32) { reread.push_back(controller.value(PARAM_TONE_LEVEL)); };
  ASSERT_EQ(controller.setFromHost(kProgramParameter, normalizedFromProgram(6)), vst3::kResultOk);
  EXPECT_EQ(instrument.currentProgram(), 6);
  ASSERT_EQ(handler.calls.size(), 1u);
  EXPECT_EQ(handler.calls[0].kind, HandlerCall::kRestart);
  EXPECT_EQ(handler.calls[0].flags, vst3::kParamValuesChanged);
  ASSERT_EQ(reread.size(), 1u);
  EXPECT_EQ(reread[0], static_cast<double>(kFactoryPrograms[6].values[PARAM_TONE_LEVEL]));
  EXPECT_EQ(controller.value(kProgramParameter), normalizedFromProgram(6));

  // The same program again changes nothing and tells nothing.
  controller.setFromHost(kProgramParameter, normalizedFromProgram(6) + 0.01);
  EXPECT_EQ(handler.calls.size(), 1u);
}

TEST_F(ControllerSideTest, AProgramTheAudioSideLoadedIsCaughtUpOnTheUiThread) {
  instrument.selectProgram(3);  // as a program point in a process call does
  EXPECT_TRUE(handler.calls.empty());
  EXPECT_EQ(controller.value(kProgramParameter), normalizedFromProgram(3));
  EXPECT_EQ(controller.value(PARAM_AMP_SUSTAIN), static_cast<double>(kFactoryPrograms[3].values[PARAM_AMP_SUSTAIN]));

  // The host then tells the controller of the same program: the values it re-reads are right.
  instrument.selectProgram(4);
  controller.setFromHost(kProgramParameter, normalizedFromProgram(4));
  ASSERT_FALSE(handler.calls.empty());
  EXPECT_EQ(handler.calls.back().kind, HandlerCall::kRestart);
  EXPECT_EQ(controller.getParameter(PARAM_TONE_LEVEL), kFactoryPrograms[4].values[PARAM_TONE_LEVEL]);
}

}  // namespace
