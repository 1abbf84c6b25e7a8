// MIDI intake: the host's event list for the coming block becomes engine calls.
#pragma once

#include "engine/synth_engine.h"
#include "shell/vst_abi.h"

// effProcessEvents, host's audio thread, before the block is rendered: note on, note off,
// pitch bend and the all-notes-off controllers (123, 126) on every channel; everything
// else is skipped. Always answers 1, also for a missing list or missing entries.
VstInt32 processMidiEvents(SynthEngine& engine, const VstEvents* events);
