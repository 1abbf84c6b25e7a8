// The LV2 bundle as hosts see it: its description and presets against the parameter table
// and the factory programs, and instances run through lilv against the instrument core.
#include <gtest/gtest.h>
#include <lilv/lilv.h>
#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/midi/midi.h>
#include <lv2/presets/presets.h>
#include <lv2/urid/urid.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "core/instrument.h"
#include "lv2/lv2_ports.h"
#include "params/parameter_table.h"
#include "params/program_bank.h"
#include "tests/lv2/lilv_fixture.h"

namespace {

using lv2test::BundleTest;
using lv2test::Lv2Runner;
using lv2test::TimedMidi;

constexpr double kRate = 48000.0;

std::string text(const LilvNode* node) { return node != nullptr ? lilv_node_as_string(node) : ""; }

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST_F(BundleTest, DescriptionFollowsTheParameterTable) {
  ASSERT_NE(plugin, nullptr);
  LilvNode* name = lilv_plugin_get_name(plugin);
  EXPECT_EQ(text(name), "Quindle");
  lilv_node_free(name);
  LilvNode* type = uri("http://www.w3.org/1999/02/22-rdf-syntax-ns#type");
  LilvNode* instrument = uri(LV2_CORE__InstrumentPlugin);
  EXPECT_TRUE(lilv_world_ask(world, lilv_plugin_get_uri(plugin), type, instrument));
  lilv_node_free(type);
  lilv_node_free(instrument);
  LilvNode* map = uri(LV2_URID__map);
  LilvNode* realTime = uri(LV2_CORE__hardRTCapable);
  LilvNodes* required = lilv_plugin_get_required_features(plugin);
  LilvNodes* optional = lilv_plugin_get_optional_features(plugin);
  EXPECT_TRUE(lilv_nodes_contains(required, map));
  EXPECT_TRUE(lilv_nodes_contains(optional, realTime));
  lilv_nodes_free(required);
  lilv_nodes_free(optional);
  lilv_node_free(map);
  lilv_node_free(realTime);

  ASSERT_EQ(lilv_plugin_get_num_ports(plugin), lv2ports::kPortCount);
  LilvNode* input = uri(LV2_CORE__InputPort);
  LilvNode* output = uri(LV2_CORE__OutputPort);
  LilvNode* control = uri(LV2_CORE__ControlPort);
  LilvNode* audio = uri(LV2_CORE__AudioPort);
  LilvNode* midiEvent = uri(LV2_MIDI__MidiEvent);
  for (std::int32_t index = 0; index < PARAMETER_COUNT; ++index) {
    const LilvPort* port = lilv_plugin_get_port_by_index(plugin, static_cast<std::uint32_t>(index));
    EXPECT_TRUE(lilv_port_is_a(plugin, port, input) && lilv_port_is_a(plugin, port, control));
    LilvNode* portName = lilv_port_get_name(plugin, port);
    EXPECT_EQ(text(portName), parameterName(index));
    lilv_node_free(portName);
    EXPECT_EQ(text(lilv_port_get_symbol(plugin, port)), lv2ports::controlSymbol(index));
    LilvNode *start = nullptr, *low = nullptr, *high = nullptr;
    lilv_port_get_range(plugin, port, &start, &low, &high);
    EXPECT_TRUE(sameBits(lilv_node_as_float(start), kFactoryPrograms[0].values[index])) << index;
    EXPECT_EQ(lilv_node_as_float(low), 0.0f);
    EXPECT_EQ(lilv_node_as_float(high), 1.0f);
    lilv_node_free(start);
    lilv_node_free(low);
    lilv_node_free(high);
  }
  // Symbols read well in a song file.
  EXPECT_EQ(lv2ports::controlSymbol(PARAM_ATTACK_MODE), "a_mode");
  EXPECT_EQ(lv2ports::controlSymbol(PARAM_AMP_DECAY), "sustain");
  const LilvPort* midiIn = lilv_plugin_get_port_by_index(plugin, lv2ports::kMidiIn);
  EXPECT_TRUE(lilv_port_is_a(plugin, midiIn, input));
  EXPECT_TRUE(lilv_port_supports_event(plugin, midiIn, midiEvent));
  for (std::uint32_t out : {lv2ports::kOutLeft, lv2ports::kOutRight}) {
    const LilvPort* port = lilv_plugin_get_port_by_index(plugin, out);
    EXPECT_TRUE(lilv_port_is_a(plugin, port, output) && lilv_port_is_a(plugin, port, audio));
  }
  for (LilvNode* node : {input, output, control, audio, midiEvent}) lilv_node_free(node);
}

struct PortValues {
  const LilvPlugin* plugin;
  float values[PARAMETER_COUNT];
  std::int32_t count;
};

void takePortValue(const char* symbol, void* data, const void* value, std::uint32_t size, std::uint32_t) {
  auto* into = static_cast<PortValues*>(data);
  for (std::int32_t index = 0; index < PARAMETER_COUNT; ++index) {
    if (lv2ports::controlSymbol(index) != symbol || size != sizeof(float)) continue;
    std::memcpy(&into->values[index], value, sizeof(float));
    ++into->count;
  }
}

TEST_F(BundleTest, PresetsAreTheEightFactoryPrograms) {
  LilvNode* presetClass = uri(LV2_PRESETS__Preset);
  LilvNodes* presets = lilv_plugin_get_related(plugin, presetClass);
  EXPECT_EQ(lilv_nodes_size(presets), static_cast<unsigned>(kProgramCount));
  std::int32_t found = 0;
  LILV_FOREACH (nodes, i, presets) {
    const LilvNode* preset = lilv_nodes_get(presets, i);
    lilv_world_load_resource(world, preset);
    LilvState* state = lilv_state_new_from_world(world, urids->feature(), preset);
    ASSERT_NE(state, nullptr);
    for (std::int32_t program = 0; program < kProgramCount; ++program) {
      if (lv2ports::presetUri(program) != text(preset)) continue;
      ++found;
      EXPECT_EQ(std::string(lilv_state_get_label(state)), std::string(kFactoryPrograms[program].name));
      PortValues values{plugin, {}, 0};
      lilv_state_emit_port_values(state, takePortValue, &values);
      EXPECT_EQ(values.count, PARAMETER_COUNT);
      for (std::int32_t index = 0; index < PARAMETER_COUNT; ++index) {
        EXPECT_TRUE(sameBits(values.values[index], kFactoryPrograms[program].values[index])) << program << " " << index;
      }
    }
    lilv_state_free(state);
  }
  EXPECT_EQ(found, kProgramCount);
  lilv_nodes_free(presets);
  lilv_node_free(presetClass);
}

std::vector<TimedMidi> chord(std::int32_t block) {
  std::vector<TimedMidi> midi;
  for (std::int32_t i = 0; i < 5; ++i) {
    const auto note = static_cast<std::uint8_t>(45 + (block * 5 + i * 7) % 40);
    midi.push_back({i * 41, {0x90, note, static_cast<std::uint8_t>(20 + i * 25)}});
    midi.push_back({i * 41 + 23, {0x80, static_cast<std::uint8_t>(note - 10), 0}});
  }
  midi.push_back({180, {0xE0, 0x10, static_cast<std::uint8_t>(block * 17 % 128)}});
  return midi;
}

TEST_F(BundleTest, InstancesSoundAsTheInstrumentCoreDoes) {
  Lv2Runner lv2(plugin, *urids, kRate);
  ASSERT_TRUE(lv2.ok());
  Instrument core;
  core.setSampleRate(static_cast<float>(kRate));
  core.activate();
  for (std::int32_t block = 0; block < 30; ++block) {
    const std::uint32_t frames = block % 3 == 0 ? 1000 : 256;  // blocks of varying length
    const std::vector<TimedMidi> midi = chord(block);
    if (block == 12) {
      lv2.control(PARAM_TONE_LEVEL) = 0.8f;  // taken at the start of the block
      core.setParameter(PARAM_TONE_LEVEL, 0.8f);
    }
    const std::vector<float> left = lv2.run(frames, midi);
    for (const TimedMidi& m : midi) core.receiveMidi(m.bytes.data(), m.bytes.size(), static_cast<std::int32_t>(m.frame));
    std::vector<float> expected(frames);
    core.render(expected.data(), nullptr, static_cast<std::int32_t>(frames));
    ASSERT_EQ(left, expected) << "block " << block;
    ASSERT_TRUE(std::equal(left.begin(), left.end(), lv2.right().begin()));
  }
}

TEST_F(BundleTest, RefusedValuesAndDamagedSequencesAreHarmless) {
  Lv2Runner lv2(plugin, *urids, kRate);
  ASSERT_TRUE(lv2.ok());
  lv2.run(64, {{0, {0x90, 60, 127}}});
  lv2.control(PARAM_VOLUME) = std::numeric_limits<float>::quiet_NaN();  // not a value: refused
  const std::vector<float> sounding = lv2.run(64);
  EXPECT_NE(sounding.back(), 0.0f);
  lv2.run(0);
  // An event that claims more bytes than the sequence holds ends the walk.
  auto* seq = reinterpret_cast<LV2_Atom_Sequence*>(lv2.sequenceBuffer().data());
  lv2.run(64, {{3, {0x90, 64, 100}}, {5, {0x90, 67, 100}}});
  auto* second = reinterpret_cast<LV2_Atom_Event*>(reinterpret_cast<std::uint8_t*>(&seq->body) +
                                                   sizeof(LV2_Atom_Sequence_Body) + sizeof(LV2_Atom_Event) + 8);
  second->body.size = 0xFFFFFFF0u;
  lv2.runRaw(64);
  seq->atom.size = 3;  // shorter than the sequence header
  lv2.runRaw(64);
  lv2.control(PARAM_VOLUME) = 0.0f;  // a real change takes the parameter path
  const std::vector<float> muted = lv2.run(256);
  EXPECT_LT(std::fabs(muted.back()), 1e-6f);  // only the low-pass tail was left
}

// Some hosts leave the sequence's unit undefined (Ardour 7 does at times): only a
// sequence in beats is not read in frames.
TEST_F(BundleTest, EventTimesAreFramesUnlessTheSequenceSaysBeats) {
  const std::vector<TimedMidi> note = {{300, {0x90, 72, 100}}};
  std::vector<std::vector<float>> renders;
  for (const char* unit : {LV2_ATOM__frameTime, "urn:quindle-test:no-unit", LV2_ATOM__beatTime}) {
    Lv2Runner lv2(plugin, *urids, kRate);
    ASSERT_TRUE(lv2.ok());
    lv2.setSequenceUnit(urids->map(unit));
    renders.push_back(lv2.run(512, note));
  }
  EXPECT_EQ(renders[1], renders[0]);
  EXPECT_EQ(renders[0][299], 0.0f);
  EXPECT_NE(renders[2][299], 0.0f);  // beats: the note starts with the block
}

TEST_F(BundleTest, InstantiationNeedsTheUridMapAndARealRate) {
  EXPECT_EQ(lilv_plugin_instantiate(plugin, kRate, nullptr), nullptr);
  const LV2_Feature mapFeature = {LV2_URID__map, urids->feature()};
  const LV2_Feature* features[] = {&mapFeature, nullptr};
  for (double rate : {0.0, -44100.0, std::numeric_limits<double>::infinity(), 1e300}) {
    EXPECT_EQ(lilv_plugin_instantiate(plugin, rate, features), nullptr) << rate;
  }
}

}  // namespace
