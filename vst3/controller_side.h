// The controller's half of the single component: the parameter values as the host and
// the editor see them, the host's component handler, the edit gestures and the open
// editors. Everything here runs on the host's UI thread.
//
// The values are the controller's own view. The host's setParamNormalized moves them
// and the editor, never the sound: the sound takes a value only from a point of a later
// process call, at its sample offset, which is where the host puts played-back
// automation. Writing the instrument here as well would apply that automation a second
// time at whatever moment the UI thread gets to it, and make renders depend on timing.
// Two things do write the instrument from here, as the VST 2.4 build does: the user's
// own edits in the editor (heard at once; the host sends them back in the next process
// call, where they change nothing more), and a program selection.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "core/instrument_observer.h"
#include "editor/edited_instance.h"
#include "params/parameter_table.h"
#include "vst3/abi/vst3.h"
#include "vst3/parameter_map.h"

class EditorBase;
class Instrument;

namespace quindle_vst3 {

// The instrument's observer. Its calls come on the thread that made the change, in
// process the audio thread, where nothing may reach the editor's window system, the
// handler or the host: it only notes that every value may be different (a program or a
// state loaded), for the controller to catch up on the UI thread.
class ValueReplacementFlag : public InstrumentObserver {
 public:
  void parameterChanged(std::int32_t, float) override {}
  void programLoaded() override { replaced.store(true, std::memory_order_release); }
  void stateLoaded() override { replaced.store(true, std::memory_order_release); }
  // True once after each replacement.
  bool take() { return replaced.exchange(false, std::memory_order_acq_rel); }

 private:
  std::atomic<bool> replaced{false};
};

class ControllerSide : public EditedInstance {
 public:
  explicit ControllerSide(Instrument& instrument);
  ~ControllerSide() override;
  ControllerSide(const ControllerSide&) = delete;
  ControllerSide& operator=(const ControllerSide&) = delete;

  // The observer to hand to the instrument.
  InstrumentObserver& observer() { return replacement; }

  // IEditController::getParamNormalized: the controller's value; 0 for an unknown ID.
  double value(vst3::ParamID id);
  // IEditController::setParamNormalized. The program selector selects its program (when
  // it is not the current one) and asks the host to re-read every value.
  vst3::tresult setFromHost(vst3::ParamID id, double value);
  // After the instrument loaded a state or a program: every value is read from it again
  // and the editors follow. No handler call.
  void syncFromInstrument();

  // IEditController::setComponentHandler and terminate (null): the handler is kept with
  // a reference; open gestures end with the handler they began with.
  void setHandler(vst3::IComponentHandler* handler);

  // The editors of the open views, kept in step with the values.
  void addEditor(EditorBase* editor);
  void removeEditor(EditorBase* editor);

  // EditedInstance, for the editor's controls (UI thread).
  float getParameter(std::int32_t index) override;
  void setParameter(std::int32_t index, float value) override;
  // The instrument takes the value through the parameter path, the controller's value
  // follows and the host hears of it with performEdit. An edit outside a gesture is
  // bracketed by beginEdit and endEdit of its own, so the host records it either way.
  void automateParameter(std::int32_t index, float value) override;
  void beginEdit(std::int32_t index) override;
  void endEdit(std::int32_t index) override;

 private:
  // Catches up with a program or state the audio side loaded; true when it did.
  bool catchUp();
  void restart(vst3::int32 flags);
  bool takeEdit(std::int32_t index, float value);
  void showValue(std::int32_t index, float value);
  void refreshEditors();

  Instrument& instrument;
  ValueReplacementFlag replacement;
  double values[kParameterIdCount];
  bool gestureOpen[PARAMETER_COUNT];
  vst3::IComponentHandler* handler;
  std::vector<EditorBase*> editors;
};

}  // namespace quindle_vst3
