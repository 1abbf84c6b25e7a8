#include "tools/host/lv2_bundle.h"

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "lv2/atom/atom.h"
#include "lv2/core/lv2.h"
#include "lv2/midi/midi.h"
#include "lv2/presets/presets.h"
#include "lv2/units/units.h"
#include "lv2/urid/urid.h"
#include "tools/host/lv2_manifest_order.h"

namespace {

constexpr const char* kRdfsLabel = "http://www.w3.org/2000/01/rdf-schema#label";
constexpr const char* kManifestFile = "manifest.ttl";

// The features a plug-in may require: the one this host gives, and those that ask
// nothing of an offline host that never processes in place.
const char* const kSupportedFeatures[] = {LV2_URID__map, LV2_CORE__isLive, LV2_CORE__inPlaceBroken,
                                          LV2_CORE__hardRTCapable};

// How `info` names the ports of each kind other than the parameters.
struct PortKindLabel {
  Lv2Port::Kind kind;
  const char* label;
};
const PortKindLabel kPortKindLabels[] = {
    {Lv2Port::Kind::kMidiIn, "MIDI input"},     {Lv2Port::Kind::kAudioIn, "audio inputs"},
    {Lv2Port::Kind::kAudioOut, "audio outputs"}, {Lv2Port::Kind::kCvIn, "CV inputs"},
    {Lv2Port::Kind::kCvOut, "CV outputs"},       {Lv2Port::Kind::kAtomIn, "atom inputs"},
    {Lv2Port::Kind::kAtomOut, "atom outputs"},   {Lv2Port::Kind::kControlOut, "control outputs"},
};

struct NodeFree {
  void operator()(LilvNode* node) const { lilv_node_free(node); }
};
struct NodesFree {
  void operator()(LilvNodes* nodes) const { lilv_nodes_free(nodes); }
};
struct StateFree {
  void operator()(LilvState* state) const { lilv_state_free(state); }
};
using Node = std::unique_ptr<LilvNode, NodeFree>;
using Nodes = std::unique_ptr<LilvNodes, NodesFree>;

Node uriNode(LilvWorld* world, const char* uri) { return Node(lilv_new_uri(world, uri)); }

std::string nodeText(const LilvNode* node) {
  const char* text = node != nullptr ? lilv_node_as_string(node) : nullptr;
  return text != nullptr ? text : "";
}

bool isDirectory(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The unit's own symbol ("s", "dB") when the description gives one, else the last part
// of its URI.
std::string unitSymbol(LilvWorld* world, const LilvPlugin* plugin, const LilvPort* port) {
  Node unitPredicate = uriNode(world, LV2_UNITS__unit);
  Node unit(lilv_port_get(plugin, port, unitPredicate.get()));
  if (unit == nullptr || !lilv_node_is_uri(unit.get())) return "";
  Node symbolPredicate = uriNode(world, LV2_UNITS__symbol);
  Node symbol(lilv_world_get(world, unit.get(), symbolPredicate.get(), nullptr));
  if (symbol != nullptr) return nodeText(symbol.get());
  const std::string uri = nodeText(unit.get());
  const std::size_t cut = uri.find_last_of("#/");
  return cut == std::string::npos ? uri : uri.substr(cut + 1);
}

// Collects one preset's port values as lilv hands them out.
struct PresetReader {
  Lv2Preset* preset;
  const std::vector<Lv2Control>* controls;
  LV2_URID floatType;
  LV2_URID doubleType;
  LV2_URID intType;
  LV2_URID longType;
  LV2_URID boolType;

  bool number(const void* value, std::uint32_t size, std::uint32_t type, float& out) const {
    if (type == floatType && size == sizeof(float)) {
      out = *static_cast<const float*>(value);
    } else if (type == doubleType && size == sizeof(double)) {
      out = static_cast<float>(*static_cast<const double*>(value));
    } else if ((type == intType || type == boolType) && size == sizeof(std::int32_t)) {
      out = static_cast<float>(*static_cast<const std::int32_t*>(value));
    } else if (type == longType && size == sizeof(std::int64_t)) {
      out = static_cast<float>(*static_cast<const std::int64_t*>(value));
    } else {
      return false;
    }
    return std::isfinite(out);
  }

  static void take(const char* symbol, void* self, const void* value, std::uint32_t size, std::uint32_t type) {
    auto& reader = *static_cast<PresetReader*>(self);
    Lv2Preset& preset = *reader.preset;
    if (!preset.fault.empty()) return;
    const std::string name = symbol != nullptr ? symbol : "";
    float number = 0.0f;
    if (value == nullptr || !reader.number(value, size, type, number)) {
      preset.fault = "preset \"" + preset.label + "\" gives port '" + name + "' a value that is not a number";
      return;
    }
    for (std::size_t i = 0; i < reader.controls->size(); ++i) {
      if ((*reader.controls)[i].symbol == name) {
        preset.values.emplace_back(i, number);
        return;
      }
    }
    preset.fault = "preset \"" + preset.label + "\" sets port '" + name + "', which is no control input";
  }
};

}  // namespace

std::unique_ptr<Lv2Bundle> Lv2Bundle::load(const std::string& path, Lv2UridMap& map, std::string& error) {
  char resolved[PATH_MAX];
  if (!isDirectory(path) || realpath(path.c_str(), resolved) == nullptr) {
    error = "cannot open the LV2 bundle " + path + ": no such folder";
    return nullptr;
  }
  const std::string folder = resolved;
  if (!isFile(folder + "/" + kManifestFile)) {
    error = path + " holds no " + kManifestFile + ": not an LV2 bundle";
    return nullptr;
  }
  LilvWorld* world = lilv_world_new();
  if (world == nullptr) {
    error = "lilv could not start";
    return nullptr;
  }
  std::unique_ptr<Lv2Bundle> bundle(new Lv2Bundle(world, folder));
  Node bundleUri(lilv_new_file_uri(world, nullptr, (folder + "/").c_str()));
  lilv_world_load_bundle(world, bundleUri.get());

  const LilvPlugins* plugins = lilv_world_get_all_plugins(world);
  const unsigned count = lilv_plugins_size(plugins);
  if (count != 1) {
    error = path + " describes " + std::to_string(count) + " plug-ins; quindle-host takes a bundle with one";
    return nullptr;
  }
  bundle->described = lilv_plugins_get(plugins, lilv_plugins_begin(plugins));
  if (!lilv_plugin_verify(bundle->described)) {
    error = path + ": the plug-in's description is incomplete (lilv does not verify it)";
    return nullptr;
  }
  if (!bundle->readFeatures(error) || !bundle->readPorts(error)) {
    error = path + ": " + error;
    return nullptr;
  }
  bundle->readPresets(map);
  return bundle;
}

Lv2Bundle::Lv2Bundle(LilvWorld* lilvWorld, std::string bundleFolder)
    : world(lilvWorld), folder(std::move(bundleFolder)) {}

Lv2Bundle::~Lv2Bundle() { lilv_world_free(world); }

bool Lv2Bundle::readFeatures(std::string& error) {
  Nodes required(lilv_plugin_get_required_features(described));
  LILV_FOREACH (nodes, i, required.get()) {
    const std::string feature = nodeText(lilv_nodes_get(required.get(), i));
    bool supported = false;
    for (const char* known : kSupportedFeatures) supported = supported || feature == known;
    if (!supported) {
      error = "the plug-in requires the feature " + feature + ", which quindle-host does not offer";
      return false;
    }
    requiredFeatures.push_back(feature);
  }
  return true;
}

bool Lv2Bundle::readPorts(std::string& error) {
  const Node input = uriNode(world, LV2_CORE__InputPort);
  const Node output = uriNode(world, LV2_CORE__OutputPort);
  const Node control = uriNode(world, LV2_CORE__ControlPort);
  const Node audio = uriNode(world, LV2_CORE__AudioPort);
  const Node cv = uriNode(world, LV2_CORE__CVPort);
  const Node atom = uriNode(world, LV2_ATOM__AtomPort);
  const Node midiEvent = uriNode(world, LV2_MIDI__MidiEvent);
  const Node optional = uriNode(world, LV2_CORE__connectionOptional);

  const std::uint32_t count = lilv_plugin_get_num_ports(described);
  std::vector<float> minimum(count), maximum(count), initial(count);
  lilv_plugin_get_port_ranges_float(described, minimum.data(), maximum.data(), initial.data());
  bool hasMidiIn = false;
  for (std::uint32_t index = 0; index < count; ++index) {
    const LilvPort* port = lilv_plugin_get_port_by_index(described, index);
    const auto is = [&](const Node& kind) { return lilv_port_is_a(described, port, kind.get()); };
    Lv2Port entry;
    entry.index = index;
    entry.symbol = nodeText(lilv_port_get_symbol(described, port));
    const bool in = is(input);
    const bool out = is(output);
    using Kind = Lv2Port::Kind;
    if (in == out) {
      entry.kind = Kind::kLeftOpen;
    } else if (is(control)) {
      entry.kind = in ? Kind::kControlIn : Kind::kControlOut;
    } else if (is(audio)) {
      entry.kind = in ? Kind::kAudioIn : Kind::kAudioOut;
    } else if (is(cv)) {
      entry.kind = in ? Kind::kCvIn : Kind::kCvOut;
    } else if (is(atom)) {
      const bool midi = in && !hasMidiIn && lilv_port_supports_event(described, port, midiEvent.get());
      hasMidiIn = hasMidiIn || midi;
      entry.kind = midi ? Kind::kMidiIn : in ? Kind::kAtomIn : Kind::kAtomOut;
    }
    if (entry.kind == Kind::kLeftOpen && !lilv_port_has_property(described, port, optional.get())) {
      error = "port " + std::to_string(index) + " '" + entry.symbol + "' is of a kind quindle-host cannot connect";
      return false;
    }
    if (entry.kind == Kind::kControlIn) {
      Lv2Control parameter;
      parameter.port = index;
      parameter.symbol = entry.symbol;
      Node name(lilv_port_get_name(described, port));
      parameter.name = nodeText(name.get());
      parameter.unit = unitSymbol(world, described, port);
      if (std::isfinite(minimum[index]) && std::isfinite(maximum[index]) && maximum[index] > minimum[index]) {
        parameter.minimum = minimum[index];
        parameter.maximum = maximum[index];
      }
      parameter.initial = std::isfinite(initial[index]) ? initial[index] : parameter.minimum;
      LilvScalePoints* points = lilv_port_get_scale_points(described, port);
      LILV_FOREACH (scale_points, i, points) {
        const LilvScalePoint* point = lilv_scale_points_get(points, i);
        parameter.scalePoints.emplace_back(lilv_node_as_float(lilv_scale_point_get_value(point)),
                                           nodeText(lilv_scale_point_get_label(point)));
      }
      lilv_scale_points_free(points);
      controlList.push_back(parameter);
    }
    portList.push_back(entry);
  }
  return true;
}

void Lv2Bundle::readPresets(Lv2UridMap& map) {
  const Node presetClass = uriNode(world, LV2_PRESETS__Preset);
  Nodes related(lilv_plugin_get_related(described, presetClass.get()));
  PresetReader reader{nullptr,
                      &controlList,
                      map.map(LV2_ATOM__Float),
                      map.map(LV2_ATOM__Double),
                      map.map(LV2_ATOM__Int),
                      map.map(LV2_ATOM__Long),
                      map.map(LV2_ATOM__Bool)};
  LILV_FOREACH (nodes, i, related.get()) {
    const LilvNode* uri = lilv_nodes_get(related.get(), i);
    lilv_world_load_resource(world, uri);
    Lv2Preset preset;
    preset.uri = nodeText(uri);
    preset.label = text(uri, kRdfsLabel);
    if (preset.label.empty()) preset.label = preset.uri;
    std::unique_ptr<LilvState, StateFree> state(lilv_state_new_from_world(world, map.feature(), uri));
    if (state == nullptr) {
      preset.fault = "lilv could not read preset \"" + preset.label + "\"";
    } else {
      reader.preset = &preset;
      lilv_state_emit_port_values(state.get(), &PresetReader::take, &reader);
    }
    presetList.push_back(preset);
  }
  // The manifest's order first; presets it does not name follow in the order of their URIs.
  const std::vector<std::string> order = lv2manifest::presetOrder(folder + "/" + kManifestFile);
  const auto rank = [&order](const Lv2Preset& preset) {
    return std::make_pair(std::find(order.begin(), order.end(), preset.uri) - order.begin(), preset.uri);
  };
  std::sort(presetList.begin(), presetList.end(),
            [&rank](const Lv2Preset& a, const Lv2Preset& b) { return rank(a) < rank(b); });
}

std::string Lv2Bundle::text(const LilvNode* subject, const char* predicate) const {
  const Node property = uriNode(world, predicate);
  const Node value(lilv_world_get(world, subject, property.get(), nullptr));
  return nodeText(value.get());
}

std::vector<InfoLine> Lv2Bundle::identity() const {
  const LilvNode* uri = lilv_plugin_get_uri(described);
  const Node name(lilv_plugin_get_name(described));
  const Node author(lilv_plugin_get_author_name(described));
  const std::string minor = text(uri, LV2_CORE__minorVersion);
  const std::string micro = text(uri, LV2_CORE__microVersion);
  char* binary = lilv_file_uri_parse(nodeText(lilv_plugin_get_library_uri(described)).c_str(), nullptr);
  const std::string binaryPath = binary != nullptr ? binary : "";
  lilv_free(binary);

  std::string features;
  for (const std::string& feature : requiredFeatures) features += (features.empty() ? "" : " ") + feature;
  std::vector<InfoLine> lines = {
      {"name", nodeText(name.get())},
      {"vendor", nodeText(author.get())},
      {"version", minor.empty() || micro.empty() ? "(not given)" : minor + "." + micro},
      {"URI", nodeText(uri)},
      {"bundle", folder},
      {"binary", binaryPath},
      {"requires", features.empty() ? "nothing" : features},
      {"ports", std::to_string(portList.size()) + " (" + std::to_string(controlList.size()) + " control inputs)"},
  };
  for (const PortKindLabel& kind : kPortKindLabels) {
    std::string ports;
    for (const Lv2Port& port : portList) {
      if (port.kind == kind.kind) ports += (ports.empty() ? "" : ", ") + std::to_string(port.index) + " " + port.symbol;
    }
    if (!ports.empty()) lines.push_back({kind.label, ports});
  }
  return lines;
}
