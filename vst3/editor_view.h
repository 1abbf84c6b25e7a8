// The editor as a VST 3 view: the build's editor (the Win32 editor on Windows, the X11
// editor on Linux, driven by the host's run loop) opened as a child of the host's
// window, editing the controller side.
#pragma once

#include "vst3/abi/vst3.h"

namespace quindle_vst3 {

class ControllerSide;

// IEditController::createView ("editor"), UI thread: a new view with a count of 1 that
// keeps `owner` referenced while it lives; null when the editor cannot be made.
vst3::IPlugView* createEditorView(vst3::FUnknown& owner, ControllerSide& controller);

}  // namespace quindle_vst3
