// The extension tables the plug-in answers get_extension with, one file each.
#pragma once

#include "clap/abi/clap.h"

namespace quindleclap {

extern const clap_plugin_params_t kParamsExtension;      // params_extension.cpp
extern const clap_plugin_state_t kStateExtension;        // state_extension.cpp
extern const clap_plugin_audio_ports_t kAudioPorts;      // ports_extension.cpp
extern const clap_plugin_note_ports_t kNotePorts;        // ports_extension.cpp
// The gui table, null where the build has no editor (gui_extension.cpp).
const clap_plugin_gui_t* guiExtension();
// The callbacks of the host's timers and descriptor watches, which drive the X11 editor
// (editor_run_loop.cpp; offered by Linux builds).
extern const clap_plugin_timer_support_t kTimerSupport;
extern const clap_plugin_posix_fd_support_t kPosixFdSupport;

}  // namespace quindleclap
