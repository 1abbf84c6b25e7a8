// A loaded module with one open instance, prepared by the options every verb shares:
//   --preset FILE     load an .fxp or .fxb (checked against the module before use)
//   --program N       select program N
//   --set I=V[,I=V]   set parameter I to V (0..1) through setParameter
// They are applied in this order: a bank file first, so that --program picks from the
// loaded bank; --program before a program file, so that the file fills the chosen
// program; --set last, as edits on top.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tools/host/command_line.h"
#include "tools/host/plugin_instance.h"
#include "tools/host/plugin_module.h"

struct InstanceSetup {
  std::string presetPath;
  bool selectsProgram = false;
  VstInt32 program = 0;
  std::vector<std::pair<VstInt32, float>> parameterValues;
};

struct HostSession {
  // Declared in this order so that the instance is closed before its module is unloaded.
  std::unique_ptr<PluginModule> module;
  std::unique_ptr<PluginInstance> instance;
};

namespace hostsession {

// The options above, for a verb's option list.
std::vector<OptionSpec> setupOptions();
bool readSetup(const CommandLine& line, InstanceSetup& setup, std::string& error);

bool open(const std::string& modulePath, HostSession& session, std::string& error);
// Checks everything (the preset file, the program number, the parameter indices) before
// the first call that changes the instance.
bool applySetup(PluginInstance& instance, const InstanceSetup& setup, std::string& error);

}  // namespace hostsession
