// Parameters, programs and state chunks of the instance, translated onto the instrument.
#include "params/parameter_table.h"
#include "shell/synth_plugin.h"
#include "shell/text_copy.h"

// setParameter entry or automateParameter; any thread. Outside the table, or not a
// finite number: refused, nothing changes.
void SynthPlugin::setParameter(VstInt32 index, float value) { instrument.setParameter(index, value); }

// getParameter entry; any thread. An index outside the table reads 0.
float SynthPlugin::getParameter(VstInt32 index) { return instrument.getParameter(index); }

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
  if (!instrument.selectProgram(program)) return;
  ExtendedEffectBase::setProgram(program);
}

// effSetProgramName, UI thread.
void SynthPlugin::setProgramName(char* name) {
  if (name != nullptr) instrument.renameProgram(name);
}

// effGetProgramName, UI thread.
void SynthPlugin::getProgramName(char* name) {
  char text[Instrument::kProgramNameCapacity];
  instrument.programName(instrument.currentProgram(), text);
  copyBoundedText(name, text, kProgramNameBound);
}

// effGetProgramNameIndexed, UI thread: the category is not used.
bool SynthPlugin::getProgramNameIndexed(VstInt32, VstInt32 index, char* text) {
  char name[Instrument::kProgramNameCapacity];
  if (text == nullptr || !instrument.programName(index, name)) return false;
  copyBoundedText(text, name, kProgramNameBound);
  return true;
}

// effGetChunk, any thread: the chunk is the instance's own memory, read in place.
VstInt32 SynthPlugin::getChunk(void** data, bool isPreset) {
  return isPreset ? instrument.programChunk(data) : instrument.bankChunk(data);
}

// effSetChunk, any thread. Recognised by size alone; a chunk of another size, without
// data, or holding a value that is not a finite number, is refused: the host is asked to
// refresh its display and nothing changes.
VstInt32 SynthPlugin::setChunk(void* data, VstInt32 byteSize, bool isPreset) {
  const VstInt32 taken = instrument.loadChunk(data, byteSize, isPreset);
  if (taken == 0) hostUpdateDisplay();
  return taken;
}
