#include "vst3/controller_side.h"

#include <algorithm>
#include <cmath>

#include "core/instrument.h"
#include "editor/editor_base.h"

namespace quindle_vst3 {

ControllerSide::ControllerSide(Instrument& owner) : instrument(owner), values(), gestureOpen(), handler(nullptr) {
  for (vst3::int32 id = 0; id < kParameterIdCount; ++id) values[id] = defaultNormalized(static_cast<vst3::ParamID>(id));
  syncFromInstrument();
}

ControllerSide::~ControllerSide() { setHandler(nullptr); }

bool ControllerSide::catchUp() {
  if (!replacement.take()) return false;
  syncFromInstrument();
  return true;
}

void ControllerSide::syncFromInstrument() {
  replacement.take();  // what is read below is at least as new as what was noted
  for (std::int32_t index = 0; index < PARAMETER_COUNT; ++index) {
    values[index] = static_cast<double>(instrument.getParameter(index));
  }
  values[kProgramParameter] = normalizedFromProgram(instrument.currentProgram());
  refreshEditors();
}

double ControllerSide::value(vst3::ParamID id) {
  if (!isKnownParameter(id)) return 0.0;
  catchUp();
  return values[id];
}

vst3::tresult ControllerSide::setFromHost(vst3::ParamID id, double value) {
  if (!isKnownParameter(id) || !std::isfinite(value)) return vst3::kInvalidArgument;
  const bool caughtUp = catchUp();
  const double normalized = clampNormalized(value);
  if (isInstrumentParameter(id)) {
    values[id] = normalized;
    showValue(static_cast<std::int32_t>(id), static_cast<float>(normalized));
    if (caughtUp) restart(vst3::kParamValuesChanged);
    return vst3::kResultOk;
  }
  if (id != kProgramParameter) {
    values[id] = normalized;
    return vst3::kResultOk;
  }
  // The program selector: the program is loaded here and in the process call that
  // brings the same change, whichever comes first; the host re-reads every value.
  const vst3::int32 program = programFromNormalized(normalized);
  const bool stale = values[kProgramParameter] != normalizedFromProgram(program);
  const bool selected = program != instrument.currentProgram() && instrument.selectProgram(program);
  if (selected || stale || caughtUp) {
    syncFromInstrument();
    restart(vst3::kParamValuesChanged);
  }
  return vst3::kResultOk;
}

void ControllerSide::setHandler(vst3::IComponentHandler* newHandler) {
  if (newHandler == handler) return;
  if (handler != nullptr) {
    for (std::int32_t index = 0; index < PARAMETER_COUNT; ++index) endEdit(index);
    handler->release();
  }
  handler = newHandler;
  if (handler != nullptr) handler->addRef();
}

void ControllerSide::restart(vst3::int32 flags) {
  if (handler != nullptr) handler->restartComponent(flags);
}

void ControllerSide::addEditor(EditorBase* editor) {
  if (editor != nullptr) editors.push_back(editor);
}

void ControllerSide::removeEditor(EditorBase* editor) {
  editors.erase(std::remove(editors.begin(), editors.end(), editor), editors.end());
}

void ControllerSide::showValue(std::int32_t index, float value) {
  for (EditorBase* editor : editors) {
    editor->parameterChanged(index, value);
    editor->redrawDirty();
  }
}

void ControllerSide::refreshEditors() {
  for (EditorBase* editor : editors) {
    editor->refreshAllControls();
    editor->redrawDirty();
  }
}

float ControllerSide::getParameter(std::int32_t index) {
  return isParameterIndex(index) ? static_cast<float>(values[index]) : 0.0f;
}

bool ControllerSide::takeEdit(std::int32_t index, float value) {
  if (!isParameterIndex(index) || !std::isfinite(value)) return false;
  instrument.setParameter(index, value);
  values[index] = static_cast<double>(value);
  return true;
}

void ControllerSide::setParameter(std::int32_t index, float value) { takeEdit(index, value); }

void ControllerSide::automateParameter(std::int32_t index, float value) {
  if (!takeEdit(index, value) || handler == nullptr) return;
  const auto id = static_cast<vst3::ParamID>(index);
  const bool ownGesture = !gestureOpen[index];
  if (ownGesture) handler->beginEdit(id);
  handler->performEdit(id, static_cast<double>(value));
  if (ownGesture) handler->endEdit(id);
}

void ControllerSide::beginEdit(std::int32_t index) {
  if (!isParameterIndex(index) || gestureOpen[index] || handler == nullptr) return;
  gestureOpen[index] = true;
  handler->beginEdit(static_cast<vst3::ParamID>(index));
}

void ControllerSide::endEdit(std::int32_t index) {
  if (!isParameterIndex(index) || !gestureOpen[index]) return;
  gestureOpen[index] = false;
  if (handler != nullptr) handler->endEdit(static_cast<vst3::ParamID>(index));
}

}  // namespace quindle_vst3
