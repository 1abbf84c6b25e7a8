// The effect frame's second layer: answers the dispatcher opcodes 25 to 79 and passes
// every other opcode on to EffectBase unchanged.
#pragma once

#include "shell/effect_base.h"

struct VstPinProperties;
struct VstParameterProperties;
struct VstSpeakerArrangement;
struct VstPatchChunkInfo;
struct VstAudioFile;
struct VstVariableIo;
struct MidiProgramName;
struct MidiProgramCategory;
struct MidiKeyName;

class ExtendedEffectBase : public EffectBase {
 public:
  ExtendedEffectBase(audioMasterCallback host, VstInt32 programCount, VstInt32 parameterCount);

  VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) override;

  // Each of the following answers the dispatcher opcode that bears its name, on the
  // host thread that sends it; the defaults answer false, 0 or the stated value.
  virtual bool canBeAutomated(VstInt32 index);
  virtual bool string2Parameter(VstInt32 index, char* text);
  virtual bool getParameterProperties(VstInt32 index, VstParameterProperties* properties);
  virtual bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text);
  virtual bool beginSetProgram();
  virtual bool endSetProgram();
  virtual VstInt32 beginLoadBank(VstPatchChunkInfo* info);
  virtual VstInt32 beginLoadProgram(VstPatchChunkInfo* info);
  virtual bool getInputProperties(VstInt32 index, VstPinProperties* properties);
  virtual bool getOutputProperties(VstInt32 index, VstPinProperties* properties);
  virtual bool setSpeakerArrangement(VstSpeakerArrangement* input, VstSpeakerArrangement* output);
  // Writes null through both pointers (where they are given).
  virtual bool getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output);
  virtual bool setBypass(bool onOff);
  virtual bool setPanLaw(VstInt32 type, float value);
  virtual bool setProcessPrecision(VstInt32 precision);
  virtual VstInt32 getNumMidiInputChannels();
  virtual VstInt32 getNumMidiOutputChannels();
  // effProcessEvents, host's audio thread, before the block's processReplacing.
  virtual VstInt32 processEvents(VstEvents* events);
  virtual VstInt32 startProcess();
  virtual VstInt32 stopProcess();
  virtual bool processVarIo(VstVariableIo* varIo);
  virtual VstInt32 setTotalSampleToProcess(VstInt32 value);
  virtual VstInt32 getTailSize();
  virtual bool getEffectName(char* name);
  virtual bool getVendorString(char* text);
  virtual bool getProductString(char* text);
  virtual VstInt32 getVendorVersion();
  virtual VstIntPtr vendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt);
  virtual VstInt32 canDo(char* text);
  virtual VstInt32 getVstVersion();
  virtual VstInt32 getPlugCategory();
  virtual VstInt32 getMidiProgramName(VstInt32 channel, MidiProgramName* name);
  virtual VstInt32 getCurrentMidiProgram(VstInt32 channel, MidiProgramName* current);
  virtual VstInt32 getMidiProgramCategory(VstInt32 channel, MidiProgramCategory* category);
  virtual bool hasMidiProgramsChanged(VstInt32 channel);
  virtual bool getMidiKeyName(VstInt32 channel, MidiKeyName* keyName);
  virtual VstInt32 shellGetNextPlugin(char* name);
  virtual bool offlineNotify(VstAudioFile* files, VstInt32 count, bool start);
  virtual bool offlinePrepare(void* info, VstInt32 count);
  virtual bool offlineRun(void* info, VstInt32 count);

 protected:
  // audioMasterWantMidi with the filter as value; nothing is sent without a host.
  void hostWantMidi(VstInt32 filter);
  // audioMasterUpdateDisplay; true when the host answered non-zero.
  bool hostUpdateDisplay();
};
