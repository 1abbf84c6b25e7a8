#include "tools/host/verb_support.h"

#include <cstdio>

namespace verbs {

int usageError(const char* verb, const std::string& message) {
  std::fprintf(stderr, "quindle-host %s: %s\n(see quindle-host --help)\n", verb, message.c_str());
  return kUsageError;
}

int failure(const char* verb, const std::string& message) {
  std::fprintf(stderr, "quindle-host %s: %s\n", verb, message.c_str());
  return kFailure;
}

int openPrepared(const char* verb, const Arguments& arguments, const std::vector<OptionSpec>& ownOptions,
                 std::size_t positionalCount, CommandLine& line, HostSession& session) {
  std::vector<OptionSpec> options = ownOptions;
  const std::vector<OptionSpec> shared = hostsession::setupOptions();
  options.insert(options.end(), shared.begin(), shared.end());
  std::string error;
  if (!line.parse(arguments, options, error)) return usageError(verb, error);
  if (line.positionals().size() != positionalCount) {
    return usageError(verb, "expected " + std::to_string(positionalCount) + " arguments, got " +
                                std::to_string(line.positionals().size()));
  }
  InstanceSetup setup;
  if (!hostsession::readSetup(line, setup, error)) return usageError(verb, error);
  if (!hostsession::open(line.positionals()[0], session, error)) return failure(verb, error);
  if (!hostsession::applySetup(*session.instance, setup, error)) return failure(verb, error);
  return kSuccess;
}

}  // namespace verbs
