// Construction, tear-down and identity of the plug-in instance.
#include "shell/synth_plugin.h"

#include <cstring>
#include <memory>
#include <new>

#include "editor/editor_base.h"
#include "engine/note_table.h"
#include "engine/synth_engine.h"
#include "params/program_bank.h"
#include "shell/text_copy.h"

namespace {

constexpr const char* kEffectName = "Quindle";
constexpr const char* kVendorName = "Velkor";
constexpr const char* kProductName = "Velkor's Quindle";
constexpr const char* kCanDoYes[] = {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstTimeInfo"};

}  // namespace

SynthPlugin::SynthPlugin(audioMasterCallback host)
    : ExtendedEffectBase(host, kNumPrograms, kNumParams),
      scratchBuffer(nullptr),
      engine(nullptr),
      bank(nullptr) {
  setNumInputs(0);
  setNumOutputs(kNumOutputs);
  setUniqueID(kUniqueID);
  isSynth(true);
  programsAreChunks(true);
  canProcessReplacing(true);

  // The bank and the engine are built before either is published, so a failure leaves
  // nothing behind (createSynthPlugin then answers null).
  std::unique_ptr<ProgramBank> newBank(new ProgramBank());
  std::unique_ptr<SynthEngine> newEngine(new SynthEngine());
  bank = newBank.release();
  engine = newEngine.release();

  editor = createPluginEditor(this);
  hasEditor(editor != nullptr);

  currentProgram.store(0, std::memory_order_relaxed);
  loadCurrentProgram();
  engine->setSampleRate(sampleRate);
  if (editor != nullptr) editor->refreshAllControls();

  NoteFrequencyTable::fill();
}

SynthPlugin::~SynthPlugin() {
  releaseScratchBuffer();
  delete engine;
  engine = nullptr;
  delete bank;
  bank = nullptr;
  // The frame deletes the editor last.
}

SynthPlugin* createSynthPlugin(audioMasterCallback host) {
  try {
    return new SynthPlugin(host);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

bool SynthPlugin::getEffectName(char* name) {
  if (name == nullptr) return false;
  copyBoundedText(name, kEffectName, kEffectNameBound);
  return true;
}

bool SynthPlugin::getVendorString(char* text) {
  if (text == nullptr) return false;
  copyBoundedText(text, kVendorName, kVendorStringBound);
  return true;
}

bool SynthPlugin::getProductString(char* text) {
  if (text == nullptr) return false;
  copyBoundedText(text, kProductName, kProductStringBound);
  return true;
}

VstInt32 SynthPlugin::getVendorVersion() { return kVendorVersion; }

VstInt32 SynthPlugin::canDo(char* text) {
  if (text == nullptr) return -1;
  for (const char* word : kCanDoYes) {
    if (std::strcmp(text, word) == 0) return 1;
  }
  return -1;
}
