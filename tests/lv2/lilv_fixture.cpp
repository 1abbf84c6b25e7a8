#include "tests/lv2/lilv_fixture.h"

#include <lv2/atom/atom.h>
#include <lv2/atom/util.h>
#include <lv2/midi/midi.h>

#include <cstring>

#include "lv2/lv2_ports.h"

namespace lv2test {

namespace {
constexpr std::size_t kSequenceWords = 4096;
constexpr std::uint32_t kMaxFrames = 8192;
}  // namespace

UridMap::UridMap() : lv2Map{this, &UridMap::mapUri} {}

LV2_URID UridMap::map(const char* uri) {
  for (std::size_t i = 0; i < uris.size(); ++i) {
    if (uris[i] == uri) return static_cast<LV2_URID>(i + 1);
  }
  uris.push_back(uri);
  return static_cast<LV2_URID>(uris.size());
}

LV2_URID UridMap::mapUri(LV2_URID_Map_Handle handle, const char* uri) { return static_cast<UridMap*>(handle)->map(uri); }

Lv2Runner::Lv2Runner(const LilvPlugin* plugin, UridMap& map, double rate)
    : instance(nullptr),
      controls(lv2ports::kMidiIn),
      sequence(kSequenceWords),
      leftOut(kMaxFrames),
      rightOut(kMaxFrames),
      midiEvent(map.map(LV2_MIDI__MidiEvent)),
      sequenceType(map.map(LV2_ATOM__Sequence)),
      sequenceUnit(map.map(LV2_ATOM__frameTime)) {
  const LV2_Feature mapFeature = {LV2_URID__map, map.feature()};
  const LV2_Feature* features[] = {&mapFeature, nullptr};
  instance = lilv_plugin_instantiate(plugin, rate, features);
  if (instance == nullptr) return;
  for (std::uint32_t port = 0; port < lv2ports::kMidiIn; ++port) {
    const LilvPort* described = lilv_plugin_get_port_by_index(plugin, port);
    LilvNode* defaultValue = nullptr;
    lilv_port_get_range(plugin, described, &defaultValue, nullptr, nullptr);
    controls[port] = lilv_node_as_float(defaultValue);
    lilv_node_free(defaultValue);
    lilv_instance_connect_port(instance, port, &controls[port]);
  }
  lilv_instance_connect_port(instance, lv2ports::kMidiIn, sequence.data());
  lilv_instance_connect_port(instance, lv2ports::kOutLeft, leftOut.data());
  lilv_instance_connect_port(instance, lv2ports::kOutRight, rightOut.data());
  lilv_instance_activate(instance);
}

Lv2Runner::~Lv2Runner() {
  if (instance == nullptr) return;
  lilv_instance_deactivate(instance);
  lilv_instance_free(instance);
}

std::vector<float> Lv2Runner::run(std::uint32_t frames, const std::vector<TimedMidi>& midi) {
  auto* seq = reinterpret_cast<LV2_Atom_Sequence*>(sequence.data());
  seq->atom.type = sequenceType;
  seq->atom.size = sizeof(LV2_Atom_Sequence_Body);
  seq->body.unit = sequenceUnit;
  seq->body.pad = 0;
  for (const TimedMidi& m : midi) {
    LV2_Atom_Event* event = lv2_atom_sequence_end(&seq->body, seq->atom.size);
    event->time.frames = m.frame;
    event->body.type = midiEvent;
    event->body.size = static_cast<std::uint32_t>(m.bytes.size());
    std::memcpy(event + 1, m.bytes.data(), m.bytes.size());
    seq->atom.size += static_cast<std::uint32_t>(sizeof(LV2_Atom_Event) + lv2_atom_pad_size(event->body.size));
  }
  runRaw(frames);
  return std::vector<float>(leftOut.begin(), leftOut.begin() + frames);
}

void Lv2Runner::runRaw(std::uint32_t frames) { lilv_instance_run(instance, frames); }

LilvWorld* BundleTest::world = nullptr;
const LilvPlugin* BundleTest::plugin = nullptr;
UridMap* BundleTest::urids = nullptr;

void BundleTest::SetUpTestSuite() {
  world = lilv_world_new();
  LilvNode* bundle = lilv_new_file_uri(world, nullptr, QUINDLE_LV2_BUNDLE);
  lilv_world_load_bundle(world, bundle);
  lilv_node_free(bundle);
  LilvNode* id = uri(lv2ports::kPluginUri);
  plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), id);
  lilv_node_free(id);
  urids = new UridMap();
}

void BundleTest::TearDownTestSuite() {
  delete urids;
  lilv_world_free(world);
}

LilvNode* BundleTest::uri(const char* text) { return lilv_new_uri(world, text); }

}  // namespace lv2test
