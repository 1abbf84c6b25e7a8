// quindle-host save-bank / save-program / load-preset: a VST 2.4 module's state as .fxb
// and .fxp files.
#include <cstdio>
#include <string>

#include "tools/host/fx_preset.h"
#include "tools/host/preset_transfer.h"
#include "tools/host/printable_text.h"
#include "tools/host/verb_support.h"

namespace verbs {
namespace {

constexpr std::size_t kModuleAndFile = 2;

int save(const char* verb, const Arguments& arguments, bool bank) {
  CommandLine line;
  HostSession session;
  const int prepared = openPrepared(verb, arguments, {}, kModuleAndFile, line, session, Formats::kVst2Only);
  if (prepared != kSuccess) return prepared;
  PluginInstance& instance = *session.plugin->vst2Instance();
  std::string error;
  std::vector<std::uint8_t> bytes;
  if (bank) {
    fxpreset::FxBank captured;
    if (!presettransfer::captureBank(instance, captured, error)) return failure(verb, error);
    bytes = fxpreset::serialize(captured);
  } else {
    fxpreset::FxProgram captured;
    if (!presettransfer::captureProgram(instance, captured, error)) return failure(verb, error);
    bytes = fxpreset::serialize(captured);
  }
  if (!fxpreset::writeFile(line.positionals()[1], bytes, error)) return failure(verb, error);
  return kSuccess;
}

const char* contentName(const fxpreset::FxFile& file) {
  if (file.isBank) return file.bank.opaque ? "bank chunk 'FBCh'" : "bank of programs 'FxBk'";
  return file.program.opaque ? "program chunk 'FPCh'" : "program parameters 'FxCk'";
}

}  // namespace

int saveBank(const Arguments& arguments) { return save("save-bank", arguments, true); }

int saveProgram(const Arguments& arguments) { return save("save-program", arguments, false); }

// The file is loaded as --preset would load it; what the instance then holds is shown.
int loadPreset(const Arguments& arguments) {
  constexpr const char* kVerb = "load-preset";
  Arguments withPreset;
  CommandLine line;
  std::string error;
  if (!line.parse(arguments, {}, error)) return usageError(kVerb, error);
  if (line.positionals().size() != kModuleAndFile) return usageError(kVerb, "expected MODULE FILE");
  withPreset = {line.positionals()[0], "--preset", line.positionals()[1]};
  HostSession session;
  const int prepared = openPrepared(kVerb, withPreset, {}, 1, line, session, Formats::kVst2Only);
  if (prepared != kSuccess) return prepared;

  fxpreset::FxFile file;
  if (!fxpreset::readFile(withPreset[2], file, error)) return failure(kVerb, error);
  PluginInstance& instance = *session.plugin->vst2Instance();
  std::printf("loaded %s, plug-in '%s', version %d\n", contentName(file),
              fxpreset::fourCharText(file.isBank ? file.bank.fxID : file.program.fxID).c_str(),
              static_cast<int>(file.isBank ? file.bank.fxVersion : file.program.fxVersion));
  std::printf("current program %d \"%s\"\n", static_cast<int>(instance.currentProgram()),
              printabletext::escaped(instance.text(effGetProgramName)).c_str());
  for (VstInt32 i = 0; i < instance.effect().numParams; ++i) {
    std::printf("%4d  %-10s %.9g\n", static_cast<int>(i), printabletext::escaped(instance.text(effGetParamName, i)).c_str(),
                static_cast<double>(instance.getParameter(i)));
  }
  return kSuccess;
}

}  // namespace verbs
