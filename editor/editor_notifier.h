// Keeps an editor's controls in step with the instrument: the instrument's observer for
// every format whose editor lives in the same process. One parameter moves its controls
// and draws them at once; a program change refreshes every control and draws them; a
// loaded chunk or state refreshes every control, drawn at the next redraw or paint.
// The editor is looked up at each change, in the slot where its owner keeps it.
#pragma once

#include "core/instrument_observer.h"
#include "editor/editor_base.h"

class EditorNotifier : public InstrumentObserver {
 public:
  explicit EditorNotifier(EditorBase* const& editorSlot) : editor(editorSlot) {}

  void parameterChanged(std::int32_t index, float value) override {
    if (EditorBase* view = editor) {
      view->parameterChanged(index, value);
      view->redrawDirty();
    }
  }
  void programLoaded() override {
    if (EditorBase* view = editor) {
      view->refreshAllControls();
      view->redrawDirty();
    }
  }
  void stateLoaded() override {
    if (EditorBase* view = editor) view->refreshAllControls();
  }

 private:
  EditorBase* const& editor;
};
