// The effect frame's first layer: owns the AEffect record the host sees, the instance's
// basic state, the calls back to the host, and answers the dispatcher opcodes 0 to 24.
#pragma once

#include <atomic>

#include "editor/edited_instance.h"
#include "shell/vst_abi.h"

class EditorBase;

// The instance is also what its editor edits: the controls read and set parameters and
// report the user's changes through the operations below.
class EffectBase : public EditedInstance {
 public:
  // Frame defaults, before the instance publishes its own values.
  static constexpr float kDefaultSampleRate = 44100.0f;
  static constexpr VstInt32 kDefaultBlockSize = 1024;
  static constexpr VstInt32 kDefaultUniqueID = fourCharCode('N', 'o', 'E', 'f');

  EffectBase(audioMasterCallback host, VstInt32 programCount, VstInt32 parameterCount);
  ~EffectBase() override;
  EffectBase(const EffectBase&) = delete;
  EffectBase& operator=(const EffectBase&) = delete;

  // Host's dispatcher call, any host thread (the host chooses; see each operation).
  virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

  // effOpen / effClose, host's UI thread.
  virtual void open();
  virtual void close();
  // effMainsChanged, host thread, while processing is stopped.
  virtual void suspend();
  virtual void resume();
  // effSetSampleRate / effSetBlockSize, while processing is stopped.
  virtual void setSampleRate(float rate);
  virtual void setBlockSize(VstInt32 size);
  // processReplacing entry, host's audio thread.
  virtual void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) = 0;
  // processDoubleReplacing entry: not announced, does nothing.
  virtual void processDoubleReplacing(double** inputs, double** outputs, VstInt32 sampleFrames);
  // setParameter / getParameter entries, any host thread.
  void setParameter(VstInt32 index, float value) override;
  float getParameter(VstInt32 index) override;
  // The editor's controls, UI thread: set the parameter, then tell the host.
  void automateParameter(VstInt32 index, float value) override;
  // effGetProgram / effSetProgram, any host thread.
  virtual VstInt32 getProgram();
  virtual void setProgram(VstInt32 program);
  // effSetProgramName / effGetProgramName, host's UI thread.
  virtual void setProgramName(char* name);
  virtual void getProgramName(char* name);
  // effGetParamLabel / effGetParamDisplay / effGetParamName, host's UI thread.
  virtual void getParamLabel(VstInt32 index, char* label);
  virtual void getParamDisplay(VstInt32 index, char* text);
  virtual void getParamName(VstInt32 index, char* text);
  // effGetChunk / effSetChunk, any host thread.
  virtual VstInt32 getChunk(void** data, bool isPreset);
  virtual VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset);

  virtual EditorBase* getEditor();
  virtual AEffect* getAEffect();
  virtual float getSampleRate();
  virtual VstInt32 getBlockSize();
  // process entry (the deprecated accumulating call), host's audio thread: nothing.
  virtual void processAccumulating(float** inputs, float** outputs, VstInt32 sampleFrames);

  // Record setters, used while the instance sets itself up.
  void setUniqueID(VstInt32 id) { cEffect.uniqueID = id; }
  void setNumInputs(VstInt32 count) { cEffect.numInputs = count; }
  void setNumOutputs(VstInt32 count) { cEffect.numOutputs = count; }
  void setInitialDelay(VstInt32 delay) { cEffect.initialDelay = delay; }
  void hasEditor(bool state) { setFlag(effFlagsHasEditor, state); }
  void canProcessReplacing(bool state) { setFlag(effFlagsCanReplacing, state); }
  void programsAreChunks(bool state) { setFlag(effFlagsProgramChunks, state); }
  void isSynth(bool state) { setFlag(effFlagsIsSynth, state); }
  void noTail(bool state) { setFlag(effFlagsNoSoundInStop, state); }
  void canDoubleReplacing(bool state) { setFlag(effFlagsCanDoubleReplacing, state); }

 protected:
  void setFlag(VstInt32 flag, bool state);
  // Sends one callback to the host; nothing is sent (and 0 answered) without a host.
  VstIntPtr callHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);

  audioMasterCallback hostCallback;
  EditorBase* editor;
  float sampleRate;
  VstInt32 blockSize;
  VstInt32 numPrograms;
  VstInt32 numParams;
  std::atomic<VstInt32> currentProgram;
  AEffect cEffect;
};

// Recovers the instance from the record the host passes; null for a foreign record.
EffectBase* effectFromRecord(AEffect* record);
