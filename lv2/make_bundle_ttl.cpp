// Writes the LV2 bundle's description from the parameter table and the factory programs,
// so that the bundle and the instrument have one source of truth:
//   make_bundle_ttl BUNDLE_DIR  ->  manifest.ttl, quindle.ttl, presets.ttl
// Run by the build after the plug-in's shared object is linked.
#include <cstdio>
#include <string>

#include "lv2/lv2_ports.h"
#include "params/parameter_table.h"
#include "params/parameter_text.h"
#include "params/program_bank.h"

namespace {

constexpr const char* kPrefixes =
    "@prefix atom: <http://lv2plug.in/ns/ext/atom#> .\n"
    "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
    "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
    "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix midi: <http://lv2plug.in/ns/ext/midi#> .\n"
    "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
    "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
    "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
    "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n\n";
constexpr const char* kManifestFile = "manifest.ttl";
constexpr const char* kPluginFile = "quindle.ttl";
constexpr const char* kPresetsFile = "presets.ttl";
constexpr const char* kPluginName = "Quindle";
constexpr const char* kMaintainer = "Velkor";
constexpr const char* kLicense = "https://spdx.org/licenses/MIT";
constexpr float kRangeLow = 0.0f;
constexpr float kRangeHigh = 1.0f;

// A float as Turtle reads it back to the same float: nine significant digits and
// always a decimal point or exponent (a bare "1" would be an integer).
std::string number(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
  std::string out = text;
  if (out.find_first_of(".e") == std::string::npos) out += ".0";
  return out;
}

// A Turtle string literal; program names may hold any bytes the bank holds.
std::string literal(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string programName(std::int32_t program) {
  const char* name = kFactoryPrograms[program].name;
  std::string out;
  for (std::int32_t i = 0; i < kProgramNameSize && name[i] != '\0'; ++i) out += name[i];
  return out;
}

std::string manifest() {
  std::string t = kPrefixes;
  t += "<" + std::string(lv2ports::kPluginUri) + ">\n    a lv2:Plugin ;\n    lv2:binary <" + lv2ports::kBinaryName +
       "> ;\n    rdfs:seeAlso <" + kPluginFile + "> .\n";
  t += "\n<" + std::string(lv2ports::kUiUri) + ">\n    a ui:X11UI ;\n    ui:binary <" + lv2ports::kUiBinaryName +
       "> ;\n    rdfs:seeAlso <" + kPluginFile + "> .\n";
  for (std::int32_t program = 0; program < kProgramCount; ++program) {
    t += "\n<" + lv2ports::presetUri(program) + ">\n    a pset:Preset ;\n    lv2:appliesTo <" + lv2ports::kPluginUri +
         "> ;\n    rdfs:label " + literal(programName(program)) + " ;\n    rdfs:seeAlso <" + kPresetsFile + "> .\n";
  }
  return t;
}

std::string controlPort(std::int32_t index) {
  const float start = kFactoryPrograms[0].values[index];
  std::string t = "        a lv2:InputPort , lv2:ControlPort ;\n";
  t += "        lv2:index " + std::to_string(index) + " ;\n";
  t += "        lv2:symbol \"" + lv2ports::controlSymbol(index) + "\" ;\n";
  t += "        lv2:name " + literal(parameterName(index)) + " ;\n";
  t += "        lv2:default " + number(start) + " ;\n";
  t += "        lv2:minimum " + number(kRangeLow) + " ;\n";
  t += "        lv2:maximum " + number(kRangeHigh);
  switch (parameterKind(index)) {
    case PARAMETER_SWITCH:
      // Labels for the two positions; no toggle property, which would call every value
      // above zero "on" where the instrument switches at one half.
      t += " ;\n        lv2:scalePoint [ rdfs:label \"" + std::string(kSwitchOnText) + "\" ; rdf:value " +
           number(kSwitchOnValue) + " ] , [ rdfs:label \"" + kSwitchOffText + "\" ; rdf:value " +
           number(kSwitchOffValue) + " ]";
      break;
    case PARAMETER_SECONDS:
      t += " ;\n        units:unit units:s";
      break;
    default:
      break;
  }
  return t;
}

std::string plugin() {
  std::string t = kPrefixes;
  t += "<" + std::string(lv2ports::kPluginUri) + ">\n    a lv2:Plugin , lv2:InstrumentPlugin , doap:Project ;\n";
  t += "    doap:name \"" + std::string(kPluginName) + "\" ;\n";
  t += "    doap:license <" + std::string(kLicense) + "> ;\n";
  t += "    doap:maintainer [ foaf:name \"" + std::string(kMaintainer) + "\" ] ;\n";
  t += "    lv2:minorVersion " + std::to_string(QUINDLE_VERSION_MINOR) + " ;\n";
  t += "    lv2:microVersion " + std::to_string(QUINDLE_VERSION_PATCH) + " ;\n";
  t += "    lv2:requiredFeature urid:map ;\n    lv2:optionalFeature lv2:hardRTCapable ;\n";
  t += "    ui:ui <" + std::string(lv2ports::kUiUri) + "> ;\n";
  t += "    lv2:port [\n";
  for (std::int32_t index = 0; index < PARAMETER_COUNT; ++index) t += controlPort(index) + "\n    ] , [\n";
  t += "        a lv2:InputPort , atom:AtomPort ;\n        atom:bufferType atom:Sequence ;\n"
       "        atom:supports midi:MidiEvent ;\n        lv2:designation lv2:control ;\n";
  t += "        lv2:index " + std::to_string(lv2ports::kMidiIn) + " ;\n        lv2:symbol \"" + lv2ports::kMidiInSymbol +
       "\" ;\n        lv2:name \"MIDI In\"\n    ] , [\n";
  t += "        a lv2:OutputPort , lv2:AudioPort ;\n        lv2:index " + std::to_string(lv2ports::kOutLeft) +
       " ;\n        lv2:symbol \"" + lv2ports::kOutLeftSymbol + "\" ;\n        lv2:name \"Left\"\n    ] , [\n";
  t += "        a lv2:OutputPort , lv2:AudioPort ;\n        lv2:index " + std::to_string(lv2ports::kOutRight) +
       " ;\n        lv2:symbol \"" + lv2ports::kOutRightSymbol + "\" ;\n        lv2:name \"Right\"\n    ] .\n";
  // The editor embeds in the host's window and lives on the host's idle calls.
  t += "\n<" + std::string(lv2ports::kUiUri) + ">\n    a ui:X11UI ;\n";
  t += "    lv2:requiredFeature ui:idleInterface , ui:parent ;\n";
  t += "    lv2:optionalFeature ui:touch , ui:resize ;\n";
  t += "    lv2:extensionData ui:idleInterface .\n";
  return t;
}

std::string presets() {
  std::string t = kPrefixes;
  for (std::int32_t program = 0; program < kProgramCount; ++program) {
    t += "<" + lv2ports::presetUri(program) + ">\n    a pset:Preset ;\n    lv2:appliesTo <" + lv2ports::kPluginUri +
         "> ;\n    rdfs:label " + literal(programName(program)) + " ;\n    lv2:port";
    for (std::int32_t index = 0; index < PARAMETER_COUNT; ++index) {
      t += std::string(index == 0 ? " [\n" : " , [\n") + "        lv2:symbol \"" + lv2ports::controlSymbol(index) +
           "\" ;\n        pset:value " + number(kFactoryPrograms[program].values[index]) + "\n    ]";
    }
    t += " .\n\n";
  }
  return t;
}

bool writeFile(const std::string& path, const std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_bundle_ttl BUNDLE_DIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  if (!writeFile(dir + "/" + kManifestFile, manifest()) || !writeFile(dir + "/" + kPluginFile, plugin()) ||
      !writeFile(dir + "/" + kPresetsFile, presets())) {
    std::fprintf(stderr, "make_bundle_ttl: cannot write into %s\n", dir.c_str());
    return 1;
  }
  return 0;
}
