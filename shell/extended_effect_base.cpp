#include "shell/extended_effect_base.h"

#include <cmath>

#include "editor/editor_base.h"

namespace {

VstIntPtr answer(bool result) { return result ? 1 : 0; }

// The low byte of a float, truncated toward zero; NaN and out-of-range values give 0
// instead of an undefined conversion.
unsigned char lowByteOf(float value) {
  if (!(std::fabs(value) < 2147483648.0f)) return 0;
  return static_cast<unsigned char>(static_cast<VstInt32>(value) & 0xff);
}

}  // namespace

ExtendedEffectBase::ExtendedEffectBase(audioMasterCallback host, VstInt32 programCount,
                                       VstInt32 parameterCount)
    : EffectBase(host, programCount, parameterCount) {}

VstIntPtr ExtendedEffectBase::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                         float opt) {
  const VstInt32 value32 = static_cast<VstInt32>(value);
  switch (opcode) {
    case effProcessEvents: return processEvents(static_cast<VstEvents*>(ptr));
    case effCanBeAutomated: return answer(canBeAutomated(index));
    case effString2Parameter: return answer(string2Parameter(index, static_cast<char*>(ptr)));
    case effGetProgramNameIndexed:
      return answer(getProgramNameIndexed(value32, index, static_cast<char*>(ptr)));
    case effGetInputProperties:
      return answer(getInputProperties(index, static_cast<VstPinProperties*>(ptr)));
    case effGetOutputProperties:
      return answer(getOutputProperties(index, static_cast<VstPinProperties*>(ptr)));
    case effGetPlugCategory: return getPlugCategory();
    case effOfflineNotify:
      return answer(offlineNotify(static_cast<VstAudioFile*>(ptr), value32, index != 0));
    case effOfflinePrepare: return answer(offlinePrepare(ptr, value32));
    case effOfflineRun: return answer(offlineRun(ptr, value32));
    case effProcessVarIo: return answer(processVarIo(static_cast<VstVariableIo*>(ptr)));
    case effSetSpeakerArrangement:
      return answer(setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                          static_cast<VstSpeakerArrangement*>(ptr)));
    case effSetBypass: return answer(setBypass(value != 0));
    case effGetEffectName: return answer(getEffectName(static_cast<char*>(ptr)));
    case effGetVendorString: return answer(getVendorString(static_cast<char*>(ptr)));
    case effGetProductString: return answer(getProductString(static_cast<char*>(ptr)));
    case effGetVendorVersion: return getVendorVersion();
    case effVendorSpecific: return vendorSpecific(index, value, ptr, opt);
    case effCanDo: return canDo(static_cast<char*>(ptr));
    case effGetTailSize: return getTailSize();
    case effGetParameterProperties:
      return answer(getParameterProperties(index, static_cast<VstParameterProperties*>(ptr)));
    case effGetVstVersion: return getVstVersion();
    case effEditKeyDown:
    case effEditKeyUp: {
      if (editor == nullptr) return 0;
      VstKeyCode key{index, static_cast<unsigned char>(value & 0xff), lowByteOf(opt)};
      return answer(opcode == effEditKeyDown ? editor->keyDown(key) : editor->keyUp(key));
    }
    case effSetEditKnobMode: return editor != nullptr ? answer(editor->setKnobMode(value32)) : 0;
    case effGetMidiProgramName: return getMidiProgramName(index, static_cast<MidiProgramName*>(ptr));
    case effGetCurrentMidiProgram: return getCurrentMidiProgram(index, static_cast<MidiProgramName*>(ptr));
    case effGetMidiProgramCategory:
      return getMidiProgramCategory(index, static_cast<MidiProgramCategory*>(ptr));
    case effHasMidiProgramsChanged: return answer(hasMidiProgramsChanged(index));
    case effGetMidiKeyName: return answer(getMidiKeyName(index, static_cast<MidiKeyName*>(ptr)));
    case effBeginSetProgram: return answer(beginSetProgram());
    case effEndSetProgram: return answer(endSetProgram());
    case effGetSpeakerArrangement:
      return answer(getSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement**>(value),
                                          static_cast<VstSpeakerArrangement**>(ptr)));
    case effShellGetNextPlugin: return shellGetNextPlugin(static_cast<char*>(ptr));
    case effStartProcess: return startProcess();
    case effStopProcess: return stopProcess();
    case effSetTotalSampleToProcess: return setTotalSampleToProcess(value32);
    case effSetPanLaw: return answer(setPanLaw(value32, opt));
    case effBeginLoadBank: return beginLoadBank(static_cast<VstPatchChunkInfo*>(ptr));
    case effBeginLoadProgram: return beginLoadProgram(static_cast<VstPatchChunkInfo*>(ptr));
    case effSetProcessPrecision: return answer(setProcessPrecision(value32));
    case effGetNumMidiInputChannels: return getNumMidiInputChannels();
    case effGetNumMidiOutputChannels: return getNumMidiOutputChannels();
    default: return EffectBase::dispatcher(opcode, index, value, ptr, opt);
  }
}

bool ExtendedEffectBase::canBeAutomated(VstInt32) { return false; }
bool ExtendedEffectBase::string2Parameter(VstInt32, char*) { return false; }
bool ExtendedEffectBase::getParameterProperties(VstInt32, VstParameterProperties*) { return false; }
bool ExtendedEffectBase::getProgramNameIndexed(VstInt32, VstInt32, char*) { return false; }
bool ExtendedEffectBase::beginSetProgram() { return false; }
bool ExtendedEffectBase::endSetProgram() { return false; }
VstInt32 ExtendedEffectBase::beginLoadBank(VstPatchChunkInfo*) { return 0; }
VstInt32 ExtendedEffectBase::beginLoadProgram(VstPatchChunkInfo*) { return 0; }
bool ExtendedEffectBase::getInputProperties(VstInt32, VstPinProperties*) { return false; }
bool ExtendedEffectBase::getOutputProperties(VstInt32, VstPinProperties*) { return false; }
bool ExtendedEffectBase::setSpeakerArrangement(VstSpeakerArrangement*, VstSpeakerArrangement*) { return false; }

bool ExtendedEffectBase::getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output) {
  if (input != nullptr) *input = nullptr;
  if (output != nullptr) *output = nullptr;
  return false;
}

bool ExtendedEffectBase::setBypass(bool) { return false; }
bool ExtendedEffectBase::setPanLaw(VstInt32, float) { return false; }
bool ExtendedEffectBase::setProcessPrecision(VstInt32) { return false; }
VstInt32 ExtendedEffectBase::getNumMidiInputChannels() { return 0; }
VstInt32 ExtendedEffectBase::getNumMidiOutputChannels() { return 0; }
VstInt32 ExtendedEffectBase::processEvents(VstEvents*) { return 0; }
VstInt32 ExtendedEffectBase::startProcess() { return 0; }
VstInt32 ExtendedEffectBase::stopProcess() { return 0; }
bool ExtendedEffectBase::processVarIo(VstVariableIo*) { return false; }
VstInt32 ExtendedEffectBase::setTotalSampleToProcess(VstInt32 value) { return value; }
VstInt32 ExtendedEffectBase::getTailSize() { return 0; }
bool ExtendedEffectBase::getEffectName(char*) { return false; }
bool ExtendedEffectBase::getVendorString(char*) { return false; }
bool ExtendedEffectBase::getProductString(char*) { return false; }
VstInt32 ExtendedEffectBase::getVendorVersion() { return 0; }
VstIntPtr ExtendedEffectBase::vendorSpecific(VstInt32, VstIntPtr, void*, float) { return 0; }
VstInt32 ExtendedEffectBase::canDo(char*) { return -1; }
VstInt32 ExtendedEffectBase::getVstVersion() { return kVstVersion; }

VstInt32 ExtendedEffectBase::getPlugCategory() {
  return (cEffect.flags & effFlagsIsSynth) != 0 ? kPlugCategSynth : kPlugCategUnknown;
}

VstInt32 ExtendedEffectBase::getMidiProgramName(VstInt32, MidiProgramName*) { return 0; }
VstInt32 ExtendedEffectBase::getCurrentMidiProgram(VstInt32, MidiProgramName*) { return -1; }
VstInt32 ExtendedEffectBase::getMidiProgramCategory(VstInt32, MidiProgramCategory*) { return 0; }
bool ExtendedEffectBase::hasMidiProgramsChanged(VstInt32) { return false; }
bool ExtendedEffectBase::getMidiKeyName(VstInt32, MidiKeyName*) { return false; }
VstInt32 ExtendedEffectBase::shellGetNextPlugin(char*) { return 0; }
bool ExtendedEffectBase::offlineNotify(VstAudioFile*, VstInt32, bool) { return false; }
bool ExtendedEffectBase::offlinePrepare(void*, VstInt32) { return false; }
bool ExtendedEffectBase::offlineRun(void*, VstInt32) { return false; }

void ExtendedEffectBase::hostWantMidi(VstInt32 filter) { callHost(audioMasterWantMidi, 0, filter); }

bool ExtendedEffectBase::hostUpdateDisplay() {
  if (hostCallback == nullptr) return false;
  return callHost(audioMasterUpdateDisplay) != 0;
}
