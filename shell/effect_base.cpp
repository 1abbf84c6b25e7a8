#include "shell/effect_base.h"

#include <cstring>

#include "editor/editor_base.h"
#include "shell/text_copy.h"

namespace {

// The six C entry points placed in the record. Each finds the instance through the
// record's `object` field; a record that is not ours is answered with nothing.

VstIntPtr VSTCALLBACK dispatchEntry(AEffect* record, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                    void* ptr, float opt) {
  EffectBase* effect = effectFromRecord(record);
  if (effect == nullptr) return 0;
  if (opcode == effClose) {
    effect->dispatcher(opcode, index, value, ptr, opt);
    delete effect;
    return 1;
  }
  return effect->dispatcher(opcode, index, value, ptr, opt);
}

void VSTCALLBACK processEntry(AEffect* record, float** inputs, float** outputs, VstInt32 sampleFrames) {
  if (EffectBase* effect = effectFromRecord(record)) effect->processAccumulating(inputs, outputs, sampleFrames);
}

void VSTCALLBACK processReplacingEntry(AEffect* record, float** inputs, float** outputs,
                                       VstInt32 sampleFrames) {
  if (EffectBase* effect = effectFromRecord(record)) effect->processReplacing(inputs, outputs, sampleFrames);
}

void VSTCALLBACK processDoubleReplacingEntry(AEffect* record, double** inputs, double** outputs,
                                             VstInt32 sampleFrames) {
  if (EffectBase* effect = effectFromRecord(record)) {
    effect->processDoubleReplacing(inputs, outputs, sampleFrames);
  }
}

void VSTCALLBACK setParameterEntry(AEffect* record, VstInt32 index, float value) {
  if (EffectBase* effect = effectFromRecord(record)) effect->setParameter(index, value);
}

float VSTCALLBACK getParameterEntry(AEffect* record, VstInt32 index) {
  EffectBase* effect = effectFromRecord(record);
  return effect != nullptr ? effect->getParameter(index) : 0.0f;
}

}  // namespace

EffectBase* effectFromRecord(AEffect* record) {
  if (record == nullptr || record->magic != kEffectMagic) return nullptr;
  return static_cast<EffectBase*>(record->object);
}

EffectBase::EffectBase(audioMasterCallback host, VstInt32 programCount, VstInt32 parameterCount)
    : hostCallback(host),
      editor(nullptr),
      sampleRate(kDefaultSampleRate),
      blockSize(kDefaultBlockSize),
      numPrograms(programCount),
      numParams(parameterCount),
      currentProgram(0) {
  std::memset(&cEffect, 0, sizeof(cEffect));
  cEffect.magic = kEffectMagic;
  cEffect.dispatcher = dispatchEntry;
  cEffect.process = processEntry;
  cEffect.setParameter = setParameterEntry;
  cEffect.getParameter = getParameterEntry;
  cEffect.numPrograms = programCount;
  cEffect.numParams = parameterCount;
  cEffect.numInputs = 1;
  cEffect.numOutputs = 2;
  cEffect.flags = effFlagsCanReplacing;
  cEffect.ioRatio = 1.0f;
  cEffect.object = this;
  cEffect.uniqueID = kDefaultUniqueID;
  cEffect.version = 1;
  cEffect.processReplacing = processReplacingEntry;
  cEffect.processDoubleReplacing = processDoubleReplacingEntry;
}

EffectBase::~EffectBase() {
  delete editor;
  editor = nullptr;
}

VstIntPtr EffectBase::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  switch (opcode) {
    case effOpen: open(); return 0;
    case effClose: close(); return 0;
    case effSetProgram:
      if (value >= 0 && value < numPrograms) setProgram(static_cast<VstInt32>(value));
      return 0;
    case effGetProgram: return getProgram();
    case effSetProgramName: setProgramName(static_cast<char*>(ptr)); return 0;
    case effGetProgramName: getProgramName(static_cast<char*>(ptr)); return 0;
    case effGetParamLabel: getParamLabel(index, static_cast<char*>(ptr)); return 0;
    case effGetParamDisplay: getParamDisplay(index, static_cast<char*>(ptr)); return 0;
    case effGetParamName: getParamName(index, static_cast<char*>(ptr)); return 0;
    case effSetSampleRate: setSampleRate(opt); return 0;
    case effSetBlockSize: setBlockSize(static_cast<VstInt32>(value)); return 0;
    case effMainsChanged:
      if (value == 0) suspend(); else resume();
      return 0;
    case effEditGetRect:
      return editor != nullptr && editor->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
    case effEditOpen: return editor != nullptr && editor->open(ptr) ? 1 : 0;
    case effEditClose:
      if (editor != nullptr) editor->close();
      return 0;
    case effEditIdle:
      if (editor != nullptr) editor->idle();
      return 0;
    case effIdentify: return kEffectIdentify;
    case effGetChunk: return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk: {
      // A size that does not fit 32 bits can be no chunk of ours: pass a size that is
      // refused rather than a truncated one that might look valid.
      const VstInt32 byteSize = (value >= 0 && value <= 0x7fffffff) ? static_cast<VstInt32>(value) : -1;
      return setChunk(ptr, byteSize, index != 0);
    }
    default: return 0;
  }
}

void EffectBase::open() {}
void EffectBase::close() {}
void EffectBase::suspend() {}
void EffectBase::resume() {}
void EffectBase::setSampleRate(float rate) { sampleRate = rate; }
void EffectBase::setBlockSize(VstInt32 size) { blockSize = size; }
void EffectBase::processDoubleReplacing(double**, double**, VstInt32) {}
void EffectBase::setParameter(VstInt32, float) {}
float EffectBase::getParameter(VstInt32) { return 0.0f; }

void EffectBase::automateParameter(VstInt32 index, float value) {
  setParameter(index, value);
  callHost(audioMasterAutomate, index, 0, nullptr, value);
}

VstInt32 EffectBase::getProgram() { return currentProgram.load(std::memory_order_relaxed); }
void EffectBase::setProgram(VstInt32 program) { currentProgram.store(program, std::memory_order_relaxed); }
void EffectBase::setProgramName(char*) {}
void EffectBase::getProgramName(char* name) { copyBoundedText(name, "", kProgramNameBound); }
void EffectBase::getParamLabel(VstInt32, char* label) { copyBoundedText(label, "", kParameterTextBound); }
void EffectBase::getParamDisplay(VstInt32, char* text) { copyBoundedText(text, "", kParameterTextBound); }
void EffectBase::getParamName(VstInt32, char* text) { copyBoundedText(text, "", kParameterTextBound); }
VstInt32 EffectBase::getChunk(void**, bool) { return 0; }
VstInt32 EffectBase::setChunk(void*, VstInt32, bool) { return 0; }
EditorBase* EffectBase::getEditor() { return editor; }
AEffect* EffectBase::getAEffect() { return &cEffect; }
float EffectBase::getSampleRate() { return sampleRate; }
VstInt32 EffectBase::getBlockSize() { return blockSize; }
void EffectBase::processAccumulating(float**, float**, VstInt32) {}

void EffectBase::setFlag(VstInt32 flag, bool state) {
  if (state) cEffect.flags |= flag; else cEffect.flags &= ~flag;
}

VstIntPtr EffectBase::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  if (hostCallback == nullptr) return 0;
  return hostCallback(&cEffect, opcode, index, value, ptr, opt);
}
