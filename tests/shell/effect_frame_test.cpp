// The two-layer effect frame with a minimal effect of its own and a recording editor.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "editor/editor_base.h"
#include "shell/extended_effect_base.h"

namespace {

struct Call {
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  float opt;
  float parameterDuringCall;
};
std::vector<Call> hostCalls;

class RecordingEditor : public EditorBase {
 public:
  explicit RecordingEditor(EffectBase* owner, int* deletions) : EditorBase(owner), deleted(deletions) {}
  ~RecordingEditor() override { ++*deleted; }
  bool keyDown(VstKeyCode& key) override {
    lastKey = key;
    return true;
  }
  bool open(void* parent) override {
    EditorBase::open(parent);
    return true;
  }
  VstKeyCode lastKey{0, 0, 0};
  int* deleted;
};

class FrameEffect : public ExtendedEffectBase {
 public:
  explicit FrameEffect(audioMasterCallback host) : ExtendedEffectBase(host, 4, 3) {}
  void processReplacing(float**, float**, VstInt32) override {}
  void setParameter(VstInt32 index, float value) override {
    if (index >= 0 && index < 3) values[index] = value;
  }
  float getParameter(VstInt32 index) override { return index >= 0 && index < 3 ? values[index] : 0.0f; }
  void attach(EditorBase* view) { editor = view; }
  void wantMidi() { hostWantMidi(1); }
  bool updateDisplay() { return hostUpdateDisplay(); }
  void setSynth(bool state) { isSynth(state); }
  float values[3] = {0.0f, 0.0f, 0.0f};
};

VstIntPtr VSTCALLBACK recordingHost(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void*,
                                    float opt) {
  hostCalls.push_back({opcode, index, value, opt, effect->getParameter(effect, index)});
  return 7;
}

TEST(EffectFrame, RecordDefaultsBeforeTheInstanceChangesThem) {
  FrameEffect effect(nullptr);
  const AEffect* record = effect.getAEffect();
  EXPECT_EQ(record->magic, kEffectMagic);
  EXPECT_EQ(record->numPrograms, 4);
  EXPECT_EQ(record->numParams, 3);
  EXPECT_EQ(record->numInputs, 1);
  EXPECT_EQ(record->numOutputs, 2);
  EXPECT_EQ(record->flags, effFlagsCanReplacing);
  EXPECT_EQ(record->uniqueID, fourCharCode('N', 'o', 'E', 'f'));
  EXPECT_EQ(record->version, 1);
  EXPECT_EQ(record->object, &effect);
  EXPECT_EQ(effect.getSampleRate(), 44100.0f);
  EXPECT_EQ(effect.getBlockSize(), 1024);
  EXPECT_EQ(effect.getPlugCategory(), kPlugCategUnknown);
  effect.setSynth(true);
  EXPECT_EQ(effect.getPlugCategory(), kPlugCategSynth);
}

TEST(EffectFrame, DefaultsAnswerEmptyTextsAndStoreSettings) {
  FrameEffect effect(nullptr);
  char text[32];
  std::memset(text, 'x', sizeof(text));
  effect.dispatcher(effGetParamName, 0, 0, text, 0.0f);
  EXPECT_EQ(text[0], '\0');
  EXPECT_EQ(text[8], '\0');
  EXPECT_EQ(text[9], 'x');
  effect.dispatcher(effSetSampleRate, 0, 0, nullptr, 96000.0f);
  effect.dispatcher(effSetBlockSize, 0, 64, nullptr, 0.0f);
  EXPECT_EQ(effect.getSampleRate(), 96000.0f);
  EXPECT_EQ(effect.getBlockSize(), 64);
  effect.dispatcher(effSetProgram, 0, 3, nullptr, 0.0f);
  EXPECT_EQ(effect.dispatcher(effGetProgram, 0, 0, nullptr, 0.0f), 3);
  effect.dispatcher(effSetProgram, 0, 4, nullptr, 0.0f);  // past numPrograms
  EXPECT_EQ(effect.dispatcher(effGetProgram, 0, 0, nullptr, 0.0f), 3);
  EXPECT_EQ(effect.dispatcher(effCanDo, 0, 0, const_cast<char*>("receiveVstEvents"), 0.0f), -1);
}

TEST(EffectFrame, EditorOpcodesReachTheEditorOnlyWhenThereIsOne) {
  FrameEffect effect(nullptr);
  EXPECT_EQ(effect.dispatcher(effEditOpen, 0, 0, &effect, 0.0f), 0);
  EXPECT_EQ(effect.dispatcher(effEditKeyDown, 65, 3, nullptr, 2.9f), 0);
  int deleted = 0;
  {
    FrameEffect owner(nullptr);
    auto* view = new RecordingEditor(&owner, &deleted);
    owner.attach(view);
    EXPECT_EQ(owner.dispatcher(effEditOpen, 0, 0, &owner, 0.0f), 1);
    EXPECT_TRUE(view->isOpen());
    owner.dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
    EXPECT_FALSE(view->isOpen());
    EXPECT_EQ(owner.dispatcher(effEditGetRect, 0, 0, nullptr, 0.0f), 0);  // base editor has no rectangle
    EXPECT_EQ(owner.dispatcher(effEditKeyDown, 65, 3, nullptr, 2.9f), 1);
    EXPECT_EQ(view->lastKey.character, 65);
    EXPECT_EQ(view->lastKey.virt, 3);
    EXPECT_EQ(view->lastKey.modifier, 2);
    owner.dispatcher(effEditKeyDown, 66, 0x1ff, nullptr, -1.5f);
    EXPECT_EQ(view->lastKey.virt, 0xff);
    EXPECT_EQ(view->lastKey.modifier, 0xff);  // -1 truncated toward zero, low byte
    owner.dispatcher(effEditKeyDown, 66, 0, nullptr, 1e30f);
    EXPECT_EQ(view->lastKey.modifier, 0);  // not representable: no undefined conversion
  }
  EXPECT_EQ(deleted, 1);  // the frame deletes its editor
}

TEST(EffectFrame, AutomationReachesTheHostAfterTheValueIsHeld) {
  hostCalls.clear();
  FrameEffect effect(recordingHost);
  effect.automateParameter(2, 0.6f);
  ASSERT_EQ(hostCalls.size(), 1u);
  EXPECT_EQ(hostCalls[0].opcode, audioMasterAutomate);
  EXPECT_EQ(hostCalls[0].index, 2);
  EXPECT_EQ(hostCalls[0].value, 0);
  EXPECT_EQ(hostCalls[0].opt, 0.6f);
  EXPECT_EQ(hostCalls[0].parameterDuringCall, 0.6f);
  effect.wantMidi();
  EXPECT_TRUE(effect.updateDisplay());
  ASSERT_EQ(hostCalls.size(), 3u);
  EXPECT_EQ(hostCalls[1].opcode, audioMasterWantMidi);
  EXPECT_EQ(hostCalls[1].value, 1);
  EXPECT_EQ(hostCalls[2].opcode, audioMasterUpdateDisplay);
}

TEST(EffectFrame, WithoutAHostNothingIsSentAndParametersStillChange) {
  FrameEffect effect(nullptr);
  effect.automateParameter(1, 0.25f);
  EXPECT_EQ(effect.getParameter(1), 0.25f);
  effect.wantMidi();
  EXPECT_FALSE(effect.updateDisplay());
}

TEST(EffectFrame, ForeignRecordsAreNotTrusted) {
  AEffect stranger{};
  EXPECT_EQ(effectFromRecord(&stranger), nullptr);
  EXPECT_EQ(effectFromRecord(nullptr), nullptr);
  FrameEffect effect(nullptr);
  EXPECT_EQ(effectFromRecord(effect.getAEffect()), &effect);
}

}  // namespace
