// The CLAP binary interface: ids of optional extensions whose tables these declarations
// do not define. A host asked for one answers null, and so does a plug-in; a table is to
// be declared (with its layout checks) before either side offers it.
#pragma once

inline constexpr char CLAP_EXT_LOG[] = "clap.log";
inline constexpr char CLAP_EXT_THREAD_CHECK[] = "clap.thread-check";
inline constexpr char CLAP_EXT_RENDER[] = "clap.render";
inline constexpr char CLAP_EXT_VOICE_INFO[] = "clap.voice-info";
inline constexpr char CLAP_EXT_NOTE_NAME[] = "clap.note-name";
inline constexpr char CLAP_EXT_STATE_CONTEXT[] = "clap.state-context/2";
inline constexpr char CLAP_EXT_REMOTE_CONTROLS[] = "clap.remote-controls/2";
inline constexpr char CLAP_EXT_REMOTE_CONTROLS_COMPAT[] = "clap.remote-controls.draft/2";
