// Construction, tear-down and identity of the plug-in instance.
#include "shell/synth_plugin.h"

#include <cstring>
#include <new>

#include "editor/editor_base.h"
#include "shell/text_copy.h"

namespace {

constexpr const char* kEffectName = "Quindle";
constexpr const char* kVendorName = "Velkor";
constexpr const char* kProductName = "Velkor's Quindle";
constexpr const char* kCanDoYes[] = {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstTimeInfo"};

}  // namespace

// The instrument is built (bank, engine, program 0, voices at 44100 Hz) before the
// editor; a failure leaves nothing behind (createSynthPlugin then answers null).
SynthPlugin::SynthPlugin(audioMasterCallback host)
    : ExtendedEffectBase(host, kNumPrograms, kNumParams), instrument(), editorNotifier(editor) {
  setNumInputs(0);
  setNumOutputs(kNumOutputs);
  setUniqueID(kUniqueID);
  isSynth(true);
  programsAreChunks(true);
  canProcessReplacing(true);

  editor = createPluginEditor(this);
  hasEditor(editor != nullptr);
  instrument.setObserver(&editorNotifier);

  currentProgram.store(instrument.currentProgram(), std::memory_order_relaxed);
  if (editor != nullptr) editor->refreshAllControls();
}

// The instrument (work area, engine, bank) goes first; the frame deletes the editor last.
SynthPlugin::~SynthPlugin() { instrument.setObserver(nullptr); }

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
