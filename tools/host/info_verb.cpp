// quindle-host info PLUGIN: what a host learns about the plug-in through its interface.
#include <cstdio>
#include <string>

#include "tools/host/plugin_formats.h"
#include "tools/host/printable_text.h"
#include "tools/host/verb_support.h"

namespace verbs {
namespace {

constexpr const char* kVerb = "info";

// Texts come from the plug-in: they are shown escaped, never raw.
void printLine(const char* label, const std::string& text) {
  std::printf("%-15s %s\n", label, printabletext::escaped(text).c_str());
}

void printIdentity(HostedPlugin& plugin, const std::string& path) {
  printLine("module", path);
  printLine("format", pluginformats::name(plugin.format()));
  for (const InfoLine& line : plugin.identity()) printLine(line.label.c_str(), line.text);
  printLine("parameters", std::to_string(plugin.parameterCount()));
  const std::int32_t current = plugin.currentProgram();
  std::string programs = std::to_string(plugin.programCount());
  if (current >= 0) programs += ", current " + std::to_string(current) + " \"" + plugin.programName(current) + "\"";
  printLine("programs", programs);
}

void printParameters(HostedPlugin& plugin) {
  std::printf("\nparameter  %-10s %-10s %-10s value\n", "name", "label", "display");
  for (std::int32_t i = 0; i < plugin.parameterCount(); ++i) {
    std::printf("%9d  %-10s %-10s %-10s %.9g\n", static_cast<int>(i),
                printabletext::escaped(plugin.parameterName(i)).c_str(),
                printabletext::escaped(plugin.parameterLabel(i)).c_str(),
                printabletext::escaped(plugin.parameterDisplay(i)).c_str(),
                static_cast<double>(plugin.parameter(i)));
  }
}

// Each program's values are read by selecting it, as a host browsing programs would; the
// program that was current (if the format knows one) is selected again afterwards.
bool printPrograms(HostedPlugin& plugin, std::string& error) {
  const std::int32_t current = plugin.currentProgram();
  std::printf("\nprogram  %-24s values (parameter 0 first)\n", "name");
  for (std::int32_t p = 0; p < plugin.programCount(); ++p) {
    const std::string name = printabletext::escaped(plugin.programName(p));
    if (!plugin.selectProgram(p, error)) return false;
    std::string values;
    for (std::int32_t i = 0; i < plugin.parameterCount(); ++i) {
      char value[32];
      std::snprintf(value, sizeof value, "%s%.9g", i == 0 ? "" : " ", static_cast<double>(plugin.parameter(i)));
      values += value;
    }
    std::printf("%7d  %-24s %s\n", static_cast<int>(p), name.c_str(), values.c_str());
  }
  return current < 0 || plugin.selectProgram(current, error);
}

}  // namespace

int info(const Arguments& arguments) {
  CommandLine line;
  HostSession session;
  const int prepared = openPrepared(kVerb, arguments, {}, 1, line, session);
  if (prepared != kSuccess) return prepared;
  printIdentity(*session.plugin, line.positionals()[0]);
  printParameters(*session.plugin);
  std::string error;
  if (!printPrograms(*session.plugin, error)) return failure(kVerb, error);
  return kSuccess;
}

}  // namespace verbs
