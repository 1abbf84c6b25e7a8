// What every verb does before its own work: read its options, check its positional
// arguments, load the module, open an instance and apply the shared setup options.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tools/host/command_line.h"
#include "tools/host/host_session.h"
#include "tools/host/verbs.h"

namespace verbs {

// The first positional argument is the module. Returns kSuccess with `session` open and
// prepared, or the exit code the verb returns after the message has been printed.
int openPrepared(const char* verb, const Arguments& arguments, const std::vector<OptionSpec>& ownOptions,
                 std::size_t positionalCount, CommandLine& line, HostSession& session);

// A text the module answers, escaped for the terminal: a program name, for one, may come
// from a user's preset file.
std::string shownText(PluginInstance& instance, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0);

}  // namespace verbs
