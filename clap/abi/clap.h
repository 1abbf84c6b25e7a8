// The whole CLAP binary interface as this project declares it: the core records and
// every extension it uses.
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
