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

}  // namespace verbs
