// quindle-host info MODULE: what a host learns about the module through the interface.
#include <cstdio>
#include <string>

#include "tools/host/fx_preset.h"
#include "tools/host/verb_support.h"

namespace verbs {
namespace {

constexpr const char* kVerb = "info";

struct FlagName {
  VstInt32 bit;
  const char* name;
};

const FlagName kFlagNames[] = {
    {effFlagsHasEditor, "HasEditor"},
    {effFlagsHasClip, "HasClip"},
    {effFlagsHasVu, "HasVu"},
    {effFlagsCanMono, "CanMono"},
    {effFlagsCanReplacing, "CanReplacing"},
    {effFlagsProgramChunks, "ProgramChunks"},
    {effFlagsIsSynth, "IsSynth"},
    {effFlagsNoSoundInStop, "NoSoundInStop"},
    {effFlagsExtIsAsync, "ExtIsAsync"},
    {effFlagsExtHasBuffer, "ExtHasBuffer"},
    {effFlagsCanDoubleReplacing, "CanDoubleReplacing"},
};

const char* const kCategoryNames[] = {"unknown",     "effect",  "synth",    "analysis",
                                      "mastering",   "spatialiser", "room effect", "surround",
                                      "restoration", "offline", "shell",    "generator"};

std::string flagNames(VstInt32 flags) {
  std::string names;
  VstInt32 known = 0;
  for (const FlagName& flag : kFlagNames) {
    known |= flag.bit;
    if ((flags & flag.bit) != 0) names += std::string(names.empty() ? "" : " ") + flag.name;
  }
  if ((flags & ~known) != 0) names += std::string(names.empty() ? "" : " ") + "(unknown bits)";
  return names.empty() ? "none" : names;
}

const char* categoryName(VstIntPtr category) {
  const auto count = static_cast<VstIntPtr>(sizeof kCategoryNames / sizeof kCategoryNames[0]);
  return category >= 0 && category < count ? kCategoryNames[category] : "not a known category";
}

void printIdentity(PluginInstance& instance, const std::string& path) {
  const AEffect& effect = instance.effect();
  const VstIntPtr category = instance.dispatch(effGetPlugCategory);
  std::printf("module          %s\n", path.c_str());
  std::printf("effect name     %s\n", instance.printableText(effGetEffectName).c_str());
  std::printf("product         %s\n", instance.printableText(effGetProductString).c_str());
  std::printf("vendor          %s\n", instance.printableText(effGetVendorString).c_str());
  std::printf("vendor version  %ld\n", static_cast<long>(instance.dispatch(effGetVendorVersion)));
  std::printf("VST version     %ld\n", static_cast<long>(instance.dispatch(effGetVstVersion)));
  std::printf("unique ID       '%s' (0x%08X)\n", fxpreset::fourCharText(effect.uniqueID).c_str(),
              static_cast<unsigned>(effect.uniqueID));
  std::printf("version         %d\n", static_cast<int>(effect.version));
  std::printf("flags           0x%08X %s\n", static_cast<unsigned>(effect.flags), flagNames(effect.flags).c_str());
  std::printf("category        %ld (%s)\n", static_cast<long>(category), categoryName(category));
  std::printf("inputs          %d\n", static_cast<int>(effect.numInputs));
  std::printf("outputs         %d\n", static_cast<int>(effect.numOutputs));
  std::printf("initial delay   %d\n", static_cast<int>(effect.initialDelay));
  std::printf("parameters      %d\n", static_cast<int>(effect.numParams));
  std::printf("programs        %d, current %d \"%s\"\n", static_cast<int>(effect.numPrograms),
              static_cast<int>(instance.currentProgram()), instance.printableText(effGetProgramName).c_str());
}

void printParameters(PluginInstance& instance) {
  std::printf("\nparameter  %-10s %-10s %-10s value\n", "name", "label", "display");
  for (VstInt32 i = 0; i < instance.effect().numParams; ++i) {
    std::printf("%9d  %-10s %-10s %-10s %.9g\n", static_cast<int>(i),
                instance.printableText(effGetParamName, i).c_str(), instance.printableText(effGetParamLabel, i).c_str(),
                instance.printableText(effGetParamDisplay, i).c_str(), static_cast<double>(instance.getParameter(i)));
  }
}

// Each program's values are read by selecting it, as a host browsing programs would; the
// program that was current is selected again afterwards.
void printPrograms(PluginInstance& instance) {
  const VstInt32 current = instance.currentProgram();
  std::printf("\nprogram  %-24s values (parameter 0 first)\n", "name");
  for (VstInt32 p = 0; p < instance.effect().numPrograms; ++p) {
    const std::string name = instance.printableText(effGetProgramNameIndexed, p, -1);
    instance.selectProgram(p);
    std::string values;
    for (VstInt32 i = 0; i < instance.effect().numParams; ++i) {
      char value[32];
      std::snprintf(value, sizeof value, "%s%.9g", i == 0 ? "" : " ", static_cast<double>(instance.getParameter(i)));
      values += value;
    }
    std::printf("%7d  %-24s %s\n", static_cast<int>(p), name.c_str(), values.c_str());
  }
  instance.selectProgram(current);
}

}  // namespace

int info(const Arguments& arguments) {
  CommandLine line;
  HostSession session;
  const int prepared = openPrepared(kVerb, arguments, {}, 1, line, session);
  if (prepared != kSuccess) return prepared;
  printIdentity(*session.instance, line.positionals()[0]);
  printParameters(*session.instance);
  printPrograms(*session.instance);
  return kSuccess;
}

}  // namespace verbs
