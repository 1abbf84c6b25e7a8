// The verbs of quindle-host. Each verb lives in its own <name>_verb.cpp and is listed in
// the table at the top of main.cpp; a verb gets the arguments that follow its name and
// returns the program's exit code.
#pragma once

#include <string>
#include <vector>

namespace verbs {

constexpr int kSuccess = 0;
constexpr int kFailure = 1;     // the work could not be done (a file, the module, the data)
constexpr int kUsageError = 2;  // the command line was wrong

using Arguments = std::vector<std::string>;

int info(const Arguments& arguments);
int render(const Arguments& arguments);
int saveBank(const Arguments& arguments);
int saveProgram(const Arguments& arguments);
int loadPreset(const Arguments& arguments);
int screenshot(const Arguments& arguments);

// Reporting helpers shared by the verbs: "quindle-host <verb>: <message>" on stderr.
int usageError(const char* verb, const std::string& message);
int failure(const char* verb, const std::string& message);

}  // namespace verbs
