// quindle-host: a command-line plug-in host for Quindle (and other instruments) in every
// format it is built in: VST 2.4 modules, LV2 bundles (native builds), and the formats
// plugin_formats.h lists.
//
// The verb table below is the whole command set. To add a verb:
//   1. write tools/host/<name>_verb.cpp with `int verbs::<name>(const Arguments&)`
//      (and add that file to quindle-host in tools/host/CMakeLists.txt),
//   2. declare the function in verbs.h,
//   3. add one line to kVerbs: {"name", "ARGUMENTS", "what it does", verbs::<name>}.
#include <cstdio>
#include <string>

#include "tools/host/verbs.h"

namespace {

struct Verb {
  const char* name;
  const char* arguments;
  const char* summary;
  int (*run)(const verbs::Arguments& arguments);
};

const Verb kVerbs[] = {
    {"info", "PLUGIN [--preset FILE] [--program N] [--set I=V,...]",
     "identity, parameters and programs of the plug-in", verbs::info},
    {"render",
     "PLUGIN IN OUT.wav [--preset FILE] [--program N] [--set I=V,...] [--rate HZ] [--block N]\n"
     "         [--tail SECONDS] [--format f32|s16] [--progress]",
     "play a MIDI file or text event list through the plug-in into a stereo WAV file", verbs::render},
    {"save-bank", "MODULE OUT.fxb [--preset FILE] [--program N] [--set I=V,...]",
     "write the module's whole bank to a bank file (VST 2.4)", verbs::saveBank},
    {"save-program", "MODULE OUT.fxp [--preset FILE] [--program N] [--set I=V,...]",
     "write the module's current program to a program file (VST 2.4)", verbs::saveProgram},
    {"load-preset", "MODULE FILE", "load a .fxp or .fxb into the module and show the result (VST 2.4)",
     verbs::loadPreset},
    {"screenshot", "MODULE OUT.png [--preset FILE] [--program N] [--set I=V,...]",
     "open the module's editor in a window and save what it shows as a PNG (VST 2.4)",
     verbs::screenshot},
};

void printUsage(std::FILE* to) {
  std::fprintf(to, "usage: quindle-host VERB ARGUMENTS\n\n");
  for (const Verb& verb : kVerbs) {
    std::fprintf(to, "  %s %s\n      %s\n", verb.name, verb.arguments, verb.summary);
  }
  std::fprintf(to,
               "\nPLUGIN is a VST 2.4 module (Quindle.so, Quindle.dll) or an LV2 bundle (Quindle.lv2, native\n"
               "builds only); a path ending in .vst3 or .clap names a VST 3 bundle or a CLAP file. MODULE is a\n"
               "VST 2.4 module: --preset (.fxp, .fxb) is for VST 2.4 modules only. --program N selects factory\n"
               "program or preset N; --set I=V sets parameter I (from 0, in the plug-in's order) to V (0..1).\n"
               "IN is a Standard MIDI File (type 0 or 1) or a text event list, one event a line:\n"
               "'<seconds> on <note> <velocity>', '<seconds> off <note>', '<seconds> bend <0..16383>',\n"
               "'<seconds> cc <controller> <value>'; '#' starts a comment.\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "help") {
    printUsage(argc < 2 ? stderr : stdout);
    return argc < 2 ? verbs::kUsageError : verbs::kSuccess;
  }
  const std::string name = argv[1];
  const verbs::Arguments arguments(argv + 2, argv + argc);
  for (const Verb& verb : kVerbs) {
    if (name == verb.name) return verb.run(arguments);
  }
  std::fprintf(stderr, "quindle-host: unknown verb '%s'\n\n", name.c_str());
  printUsage(stderr);
  return verbs::kUsageError;
}
