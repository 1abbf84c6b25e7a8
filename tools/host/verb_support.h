// What every verb does before its own work: read its options, check its positional
// arguments, open the plug-in and apply the shared setup options.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tools/host/command_line.h"
#include "tools/host/host_session.h"
#include "tools/host/verbs.h"

namespace verbs {

// Which plug-ins a verb works with.
enum class Formats { kAny, kVst2Only };

// The first positional argument is the plug-in. A verb for VST 2.4 modules only, or
// --preset, refuses another format by its path before anything is loaded. Returns
// kSuccess with `session` open and prepared, or the exit code the verb returns after the
// message has been printed.
int openPrepared(const char* verb, const Arguments& arguments, const std::vector<OptionSpec>& ownOptions,
                 std::size_t positionalCount, CommandLine& line, HostSession& session,
                 Formats formats = Formats::kAny);

}  // namespace verbs
