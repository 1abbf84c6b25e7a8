// Moves presets between files and a running instance through the binary interface:
// opaque chunks with effGetChunk / effSetChunk (index 0 for the bank, 1 for the current
// program), parameter lists with getParameter / setParameter and effSetProgram.
// Loading checks the whole file against the instance first (plug-in ID, counts, chunk
// sizes); a file that does not fit is refused before the plug-in is called at all.
#pragma once

#include <string>

#include "tools/host/fx_preset.h"
#include "tools/host/plugin_instance.h"

namespace presettransfer {

constexpr VstInt32 kBankChunkIndex = 0;
constexpr VstInt32 kProgramChunkIndex = 1;
// The largest name effSetProgramName may receive: the file's whole name field.
constexpr std::size_t kProgramNameBufferSize = fxpreset::kNameSize + 1;

// The whole bank ('FBCh' version 2 with the current program when the instance keeps its
// state in chunks, otherwise 'FxBk' with one 'FxCk' record per program).
bool captureBank(PluginInstance& instance, fxpreset::FxBank& out, std::string& error);
// The current program ('FPCh' or 'FxCk'), named after it.
bool captureProgram(PluginInstance& instance, fxpreset::FxProgram& out, std::string& error);

// Whether the file fits the instance (plug-in ID, counts, chunk sizes); only reads from
// the instance (effGetChunk tells the sizes of its own chunks).
bool check(PluginInstance& instance, const fxpreset::FxFile& file, std::string& error);

// A bank replaces every program and then selects the bank's current program (version 2);
// a program replaces the current program's values and name.
bool apply(PluginInstance& instance, const fxpreset::FxFile& file, std::string& error);

}  // namespace presettransfer
