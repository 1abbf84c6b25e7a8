// quindle-host: a command-line VST 2.4 host for Quindle (and any VST 2.4 instrument).
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
    {"info", "MODULE [--preset FILE] [--program N] [--set I=V,...]",
     "identity, flags, parameters and programs of the module", verbs::info},
    {"render",
     "MODULE IN OUT.wav [--preset FILE] [--program N] [--set I=V,...] [--rate HZ] [--block N]\n"
     "         [--tail SECONDS] [--format f32|s16] [--progress]",
     "play a MIDI file or text event list through the module into a stereo WAV file", verbs::render},
    {"save-bank", "MODULE OUT.fxb [--preset FILE] [--program N] [--set I=V,...]",
     "write the module's whole bank to a bank file", verbs::saveBank},
    {"save-program", "MODULE OUT.fxp [--preset FILE] [--program N] [--set I=V,...]",
     "write the module's current program to a program file", verbs::saveProgram},
    {"load-preset", "MODULE FILE", "load a .fxp or .fxb into the module and show the result", verbs::loadPreset},
    {"screenshot", "MODULE OUT.png [--preset FILE] [--program N] [--set I=V,...]",
     "open the module's editor in a window and save what it shows as a PNG (Windows builds)", verbs::screenshot},
};

void printUsage(std::FILE* to) {
  std::fprintf(to, "usage: quindle-host VERB ARGUMENTS\n\n");
  for (const Verb& verb : kVerbs) {
    std::fprintf(to, "  %s %s\n      %s\n", verb.name, verb.arguments, verb.summary);
  }
  std::fprintf(to,
               "\nMODULE is a VST 2.4 module (Quindle.so, Quindle.dll). IN is a Standard MIDI File (type 0 or 1)\n"
               "or a text event list, one event a line: '<seconds> on <note> <velocity>', '<seconds> off <note>',\n"
               "'<seconds> bend <0..16383>', '<seconds> cc <controller> <value>'; '#' starts a comment.\n");
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
