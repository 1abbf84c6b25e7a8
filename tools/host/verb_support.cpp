#include "tools/host/verb_support.h"

#include <cstdio>

#include "tools/host/plugin_formats.h"

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
                 std::size_t positionalCount, CommandLine& line, HostSession& session, Formats formats) {
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
  const std::string& path = line.positionals()[0];
  const PluginFormat format = pluginformats::detect(path);
  if (format != PluginFormat::kVst2 && formats == Formats::kVst2Only) {
    return usageError(verb, std::string(verb) + " works with VST 2.4 modules only, and " + path + " is " +
                                pluginformats::kindOfPath(format));
  }
  if (!hostsession::acceptsSetup(format, setup, error)) return usageError(verb, path + ": " + error);
  if (!hostsession::open(path, session, error)) return failure(verb, error);
  if (!hostsession::applySetup(*session.plugin, setup, error)) return failure(verb, error);
  return kSuccess;
}

}  // namespace verbs
