// An open plug-in of any format, prepared by the options every verb shares:
//   --preset FILE     load an .fxp or .fxb (VST 2.4 modules only; checked against the
//                     module before use)
//   --program N       select program N (a factory program, an LV2 bundle's preset N)
//   --set I=V[,I=V]   set parameter I to V (0..1)
// They are applied in this order: a bank file first, so that --program picks from the
// loaded bank; --program before a program file, so that the file fills the chosen
// program; --set last, as edits on top.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tools/host/command_line.h"
#include "tools/host/hosted_plugin.h"
#include "tools/host/plugin_instance.h"

struct InstanceSetup {
  std::string presetPath;
  bool selectsProgram = false;
  std::int32_t program = 0;
  std::vector<std::pair<std::int32_t, float>> parameterValues;
};

struct HostSession {
  std::unique_ptr<HostedPlugin> plugin;
};

namespace hostsession {

// The options above, for a verb's option list.
std::vector<OptionSpec> setupOptions();
bool readSetup(const CommandLine& line, InstanceSetup& setup, std::string& error);

// Whether the setup fits a plug-in of the format (.fxp and .fxb files are VST 2.4's).
bool acceptsSetup(PluginFormat format, const InstanceSetup& setup, std::string& error);
// Opens the plug-in at `path` in the format its path names (see plugin_formats.h).
bool open(const std::string& path, HostSession& session, std::string& error);
// Checks everything (the preset file, the program number, the parameter indices) before
// the first call that changes the plug-in.
bool applySetup(HostedPlugin& plugin, const InstanceSetup& setup, std::string& error);
// The same for a VST 2.4 instance the caller keeps open.
bool applySetup(PluginInstance& instance, const InstanceSetup& setup, std::string& error);

}  // namespace hostsession
