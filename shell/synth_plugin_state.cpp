// Parameters, programs and state chunks of the instance. The live values belong to the
// engine; the bank keeps the stored programs, and the current program's record takes
// the live values when the program is left or a chunk is requested.
#include <cmath>
#include <cstring>

#include "editor/editor_base.h"
#include "engine/synth_engine.h"
#include "engine/voice.h"
#include "params/parameter_table.h"
#include "params/program_bank.h"
#include "shell/synth_plugin.h"
#include "shell/text_copy.h"

void SynthPlugin::saveCurrentProgram() {
  ProgramRecord& record = bank->record(currentProgram.load(std::memory_order_relaxed));
  const std::atomic<float>* live = engine->liveParameters();
  for (VstInt32 i = 0; i < bank->parameterCount; ++i) record.values[i] = live[i].load(std::memory_order_relaxed);
}

void SynthPlugin::loadCurrentProgram() {
  const ProgramRecord& record = bank->record(currentProgram.load(std::memory_order_relaxed));
  std::atomic<float>* live = engine->liveParameters();
  for (VstInt32 i = 0; i < bank->parameterCount; ++i) live[i].store(record.values[i], std::memory_order_relaxed);
}

// setParameter entry or automateParameter; any thread.
void SynthPlugin::setParameter(VstInt32 index, float value) {
  // Outside the table, or not a number the voices can use: refused, nothing changes.
  if (!isParameterIndex(index) || !std::isfinite(value)) return;
  std::atomic<float>& live = engine->liveParameters()[index];
  if (live.load(std::memory_order_relaxed) == value) return;
  live.store(value, std::memory_order_relaxed);
  engine->updateVoices(index);
  if (EditorBase* view = getEditor()) {
    view->parameterChanged(index, value);
    view->redrawDirty();
  }
}

// getParameter entry; any thread. An index outside the table reads 0.
float SynthPlugin::getParameter(VstInt32 index) {
  if (!isParameterIndex(index)) return 0.0f;
  return engine->liveParameters()[index].load(std::memory_order_relaxed);
}

// effGetParamName, UI thread: the buffer is left untouched for an unknown index.
void SynthPlugin::getParamName(VstInt32 index, char* text) {
  if (const char* name = parameterName(index)) copyBoundedText(text, name, kParameterTextBound);
}

// effGetParamLabel, UI thread.
void SynthPlugin::getParamLabel(VstInt32, char* label) {
  copyBoundedText(label, kParameterLabel, kParameterTextBound);
}

// effGetParamDisplay, UI thread: the value is never formatted.
void SynthPlugin::getParamDisplay(VstInt32, char* text) {
  copyBoundedText(text, kParameterDisplay, kParameterTextBound);
}

// effCanBeAutomated, UI thread.
bool SynthPlugin::canBeAutomated(VstInt32) { return true; }

// effSetProgram (number checked by the dispatcher), any thread.
void SynthPlugin::setProgram(VstInt32 program) {
  if (!bank->isProgram(program)) return;
  saveCurrentProgram();
  currentProgram.store(program, std::memory_order_relaxed);
  loadCurrentProgram();
  engine->updateVoices(ALL_ENVELOPES);
  if (EditorBase* view = getEditor()) {
    view->refreshAllControls();
    view->redrawDirty();
  }
}

// effSetProgramName, UI thread.
void SynthPlugin::setProgramName(char* name) {
  if (name == nullptr) return;
  bank->rename(currentProgram.load(std::memory_order_relaxed), name);
}

// effGetProgramName, UI thread.
void SynthPlugin::getProgramName(char* name) {
  copyBoundedText(name, bank->record(currentProgram.load(std::memory_order_relaxed)).name, kProgramNameBound);
}

// effGetProgramNameIndexed, UI thread: the category is not used.
bool SynthPlugin::getProgramNameIndexed(VstInt32, VstInt32 index, char* text) {
  if (text == nullptr || !bank->isProgram(index)) return false;
  copyBoundedText(text, bank->record(index).name, kProgramNameBound);
  return true;
}

// effGetChunk, any thread: the chunk is the instance's own memory, read in place.
VstInt32 SynthPlugin::getChunk(void** data, bool isPreset) {
  if (data == nullptr) return 0;
  saveCurrentProgram();
  if (isPreset) {
    static_assert(sizeof(std::atomic<float>) == sizeof(float), "live values double as the program chunk");
    *data = engine->liveParameters();
    return kProgramChunkSize;
  }
  *data = bank->storage();
  return bank->storageSize();
}

// effSetChunk, any thread. Recognised by size alone; a chunk of another size, without
// data, or holding a value that is not a finite number, is refused and changes nothing.
VstInt32 SynthPlugin::setChunk(void* data, VstInt32 byteSize, bool isPreset) {
  const bool programChunk = isPreset && byteSize == kProgramChunkSize;
  const bool bankChunk = !programChunk && byteSize == bank->storageSize();
  if (data == nullptr || !(programChunk || bankChunk) || !chunkValuesAreFinite(data, byteSize)) {
    hostUpdateDisplay();
    return 0;
  }
  if (programChunk) {
    std::memcpy(bank->record(currentProgram.load(std::memory_order_relaxed)).values, data, kProgramChunkSize);
  } else {
    std::memcpy(bank->storage(), data, static_cast<std::size_t>(byteSize));
  }
  loadCurrentProgram();
  engine->updateVoices(ALL_ENVELOPES);
  if (EditorBase* view = getEditor()) view->refreshAllControls();
  return byteSize;
}
