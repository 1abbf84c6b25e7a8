// The plug-in instance: the effect frame made into a nine-voice synthesiser with a bank
// of eight programs and an editor. The host creates it through VSTPluginMain and ends it
// with effClose. The instrument itself (engine, bank, parameter path, chunks, intake) is
// the format-neutral core; this class translates the VST 2.4 operations onto it.
#pragma once

#include "core/instrument.h"
#include "editor/editor_notifier.h"
#include "params/program_bank.h"
#include "shell/extended_effect_base.h"

class SynthEngine;

class SynthPlugin : public ExtendedEffectBase {
 public:
  static constexpr VstInt32 kUniqueID = fourCharCode('V', 'K', 'Q', 'D');
  // From the project's version (1.0.0 is 1000).
  static constexpr VstInt32 kVendorVersion = QUINDLE_VENDOR_VERSION;
  static constexpr VstInt32 kNumPrograms = kProgramCount;
  static constexpr VstInt32 kNumParams = PARAMETER_COUNT;
  static constexpr VstInt32 kNumOutputs = 2;

  explicit SynthPlugin(audioMasterCallback host);
  ~SynthPlugin() override;

  // Audio (host's audio thread, events first, then the block).
  VstInt32 processEvents(VstEvents* events) override;
  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
  // effMainsChanged, effSetSampleRate: while processing is stopped.
  void suspend() override;
  void resume() override;
  void setSampleRate(float rate) override;

  // Parameters (any host thread; the editor's controls on the UI thread).
  void setParameter(VstInt32 index, float value) override;
  float getParameter(VstInt32 index) override;
  void getParamName(VstInt32 index, char* text) override;
  void getParamLabel(VstInt32 index, char* label) override;
  void getParamDisplay(VstInt32 index, char* text) override;
  bool canBeAutomated(VstInt32 index) override;

  // Programs (any host thread).
  void setProgram(VstInt32 program) override;
  void setProgramName(char* name) override;
  void getProgramName(char* name) override;
  bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;

  // State chunks (any host thread).
  VstInt32 getChunk(void** data, bool isPreset) override;
  VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset) override;

  // Identity (host's UI thread).
  bool getEffectName(char* name) override;
  bool getVendorString(char* text) override;
  bool getProductString(char* text) override;
  VstInt32 getVendorVersion() override;
  VstInt32 canDo(char* text) override;

  // For tests and tools that hold the instance itself.
  const SynthEngine& synthEngine() const { return instrument.engine(); }
  const ProgramBank& programBank() const { return instrument.bank(); }
  bool hasScratchBuffer() const { return instrument.isActive(); }

 private:
  // The engine, the bank and, between resume and suspend, the engine's work area.
  Instrument instrument;
  // Tells the editor (if there is one) of every change of the instrument's values.
  EditorNotifier editorNotifier;
};

// Allocates and constructs one instance; null when its storage is unavailable.
SynthPlugin* createSynthPlugin(audioMasterCallback host);
