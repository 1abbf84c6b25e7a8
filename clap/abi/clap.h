// The whole CLAP binary interface as this project declares it: the core records and
// every extension it uses.
//
// For a module: define the entry record as
//   extern "C" CLAP_EXPORT const clap_plugin_entry_t clap_entry = {CLAP_VERSION, ...};
// On Linux build with -fvisibility=hidden and a version script that keeps only
// clap_entry global; on Windows link with -static so that the DLL imports system DLLs
// only. For a host: look up clapabi::kEntrySymbol as data, refuse a version that
// clapabi::versionIsCompatible refuses, and ask for every extension (any may be missing).
// For both: reach input events by index, skip those clapabi::readableCoreEvent refuses,
// and set an output event's header size to its record's sizeof.
#pragma once

#include "clap/abi/clap_entry.h"
#include "clap/abi/clap_events.h"
#include "clap/abi/clap_ext_audio_ports.h"
#include "clap/abi/clap_ext_gui.h"
#include "clap/abi/clap_ext_latency.h"
#include "clap/abi/clap_ext_note_ports.h"
#include "clap/abi/clap_ext_optional.h"
#include "clap/abi/clap_ext_params.h"
#include "clap/abi/clap_ext_posix_fd_support.h"
#include "clap/abi/clap_ext_preset_load.h"
#include "clap/abi/clap_ext_state.h"
#include "clap/abi/clap_ext_tail.h"
#include "clap/abi/clap_ext_timer_support.h"
#include "clap/abi/clap_plugin.h"
#include "clap/abi/clap_preset_discovery.h"
#include "clap/abi/clap_process.h"
#include "clap/abi/clap_stream.h"
#include "clap/abi/clap_types.h"
