// What the LV2 backend reads from a bundle's description before any plug-in code runs,
// on small bundles written here: what it refuses and why, the kinds of ports, presets in
// the manifest's order and presets it cannot apply; and the atom buffer the MIDI goes in.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "lv2/atom/util.h"
#include "tools/host/lv2_atom_buffer.h"
#include "tools/host/lv2_bundle.h"

namespace {

const char* const kPrefixes =
    "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
    "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix atom: <http://lv2plug.in/ns/ext/atom#> .\n"
    "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n";

// A plug-in <urn:test:p> with the given extra statements and ports; its binary is never
// loaded here.
std::string plugin(const std::string& statements, const std::string& ports) {
  return std::string("<urn:test:p> a lv2:Plugin ; lv2:binary <none.so> ; doap:name \"P\" ;\n") + statements +
         " lv2:port " + ports + " .\n";
}

const char* const kAudioOut =
    "[ a lv2:OutputPort , lv2:AudioPort ; lv2:index 0 ; lv2:symbol \"out\" ; lv2:name \"Out\" ]";
const char* const kControl =
    " , [ a lv2:InputPort , lv2:ControlPort ; lv2:index 1 ; lv2:symbol \"gain\" ; lv2:name \"Gain\" ;"
    " lv2:default 2.0 ; lv2:minimum 0.0 ; lv2:maximum 4.0 ]";

std::string preset(const std::string& uri, const std::string& label, const std::string& symbol) {
  return "<" + uri + "> a pset:Preset ; lv2:appliesTo <urn:test:p> ; rdfs:label \"" + label +
         "\" ; lv2:port [ lv2:symbol \"" + symbol + "\" ; pset:value 1.5 ] .\n";
}

// Writes the manifest into a fresh folder below the working directory.
std::string writeBundle(const std::string& name, const std::string& manifest) {
  const std::string folder = "lv2_description_test_" + name + ".lv2";
  mkdir(folder.c_str(), 0755);
  std::ofstream(folder + "/manifest.ttl") << kPrefixes << manifest;
  return folder;
}

std::unique_ptr<Lv2Bundle> load(const std::string& folder, Lv2UridMap& map, std::string& error) {
  std::unique_ptr<Lv2Bundle> bundle = Lv2Bundle::load(folder, map, error);
  std::remove((folder + "/manifest.ttl").c_str());
  rmdir(folder.c_str());
  return bundle;
}

TEST(Lv2Description, BundlesThisHostCannotRunAreRefusedWithTheReason) {
  const struct {
    const char* name;
    std::string manifest;
    const char* reason;
  } cases[] = {
      {"feature", plugin("lv2:requiredFeature <urn:test:unknown-feature> ;", kAudioOut), "urn:test:unknown-feature"},
      {"port", plugin("", std::string(kAudioOut) + " , [ a lv2:InputPort , <urn:test:Kind> ; lv2:index 1 ;"
                                                   " lv2:symbol \"odd\" ; lv2:name \"Odd\" ]"),
       "port 1 'odd'"},
      {"two", plugin("", kAudioOut) + "<urn:test:q> a lv2:Plugin ; lv2:binary <none.so> ; doap:name \"Q\" ; lv2:port " +
                  kAudioOut + " .\n",
       "2 plug-ins"},
  };
  for (const auto& c : cases) {
    Lv2UridMap map;
    std::string error;
    EXPECT_EQ(load(writeBundle(c.name, c.manifest), map, error), nullptr) << c.name;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.name << ": " << error;
  }
}

TEST(Lv2Description, PortsOfAKindLeftOpenAreAcceptedWhenOptional) {
  Lv2UridMap map;
  std::string error;
  const std::string ports = std::string(kAudioOut) + kControl +
                            " , [ a lv2:InputPort , <urn:test:Kind> , lv2:Port ; lv2:index 2 ; lv2:symbol \"odd\" ;"
                            " lv2:name \"Odd\" ; lv2:portProperty lv2:connectionOptional ]";
  const auto bundle = load(writeBundle("optional", plugin("lv2:requiredFeature urid:map ;", ports)), map, error);
  ASSERT_NE(bundle, nullptr) << error;
  ASSERT_EQ(bundle->ports().size(), 3u);
  EXPECT_EQ(bundle->ports()[0].kind, Lv2Port::Kind::kAudioOut);
  EXPECT_EQ(bundle->ports()[1].kind, Lv2Port::Kind::kControlIn);
  EXPECT_EQ(bundle->ports()[2].kind, Lv2Port::Kind::kLeftOpen);
  ASSERT_EQ(bundle->controls().size(), 1u);
  EXPECT_EQ(bundle->controls()[0].port, 1u);
  EXPECT_EQ(bundle->controls()[0].maximum, 4.0f);
  EXPECT_EQ(bundle->controls()[0].initial, 2.0f);
}

// Listed z, m, a in the manifest: that order, not the order of the URIs; a preset that
// sets a port the plug-in lacks is kept with its fault, not applied halfway.
TEST(Lv2Description, PresetsComeInTheManifestsOrderAndFaultsAreKept) {
  Lv2UridMap map;
  std::string error;
  const std::string manifest = plugin("", std::string(kAudioOut) + kControl) + preset("urn:test:z", "Zed", "gain") +
                               preset("urn:test:m", "Em", "missing") + preset("urn:test:a", "Ay", "gain");
  const auto bundle = load(writeBundle("presets", manifest), map, error);
  ASSERT_NE(bundle, nullptr) << error;
  const auto& presets = bundle->presets();
  ASSERT_EQ(presets.size(), 3u);
  EXPECT_EQ(presets[0].label, "Zed");
  EXPECT_EQ(presets[1].label, "Em");
  EXPECT_EQ(presets[2].label, "Ay");
  EXPECT_TRUE(presets[0].fault.empty()) << presets[0].fault;
  ASSERT_EQ(presets[0].values.size(), 1u);
  EXPECT_EQ(presets[0].values[0].first, 0u);
  EXPECT_EQ(presets[0].values[0].second, 1.5f);
  EXPECT_NE(presets[1].fault.find("'missing'"), std::string::npos) << presets[1].fault;
}

TEST(Lv2AtomBuffer, HoldsTheReservedEventsWithTheirFramesAndNoMore) {
  constexpr LV2_URID kSequence = 7;
  constexpr LV2_URID kMidi = 9;
  Lv2AtomBuffer buffer;
  ASSERT_TRUE(buffer.reserve(2, 3, kSequence));
  const std::uint8_t noteOn[3] = {0x90, 60, 100};
  const std::uint8_t bend[3] = {0xE0, 0, 64};
  EXPECT_TRUE(buffer.append(5, kMidi, noteOn, 3));
  EXPECT_TRUE(buffer.append(17, kMidi, bend, 3));
  EXPECT_FALSE(buffer.append(18, kMidi, bend, 3));

  const auto* sequence = static_cast<const LV2_Atom_Sequence*>(buffer.data());
  EXPECT_EQ(sequence->atom.type, kSequence);
  std::int64_t frames[2] = {};
  int count = 0;
  LV2_ATOM_SEQUENCE_FOREACH (sequence, event) {
    ASSERT_LT(count, 2);
    EXPECT_EQ(event->body.type, kMidi);
    EXPECT_EQ(event->body.size, 3u);
    EXPECT_EQ(static_cast<const std::uint8_t*>(LV2_ATOM_BODY_CONST(&event->body))[0], count == 0 ? 0x90 : 0xE0);
    frames[count++] = event->time.frames;
  }
  EXPECT_EQ(count, 2);
  EXPECT_EQ(frames[0], 5);
  EXPECT_EQ(frames[1], 17);

  buffer.clear();
  EXPECT_EQ(sequence->atom.size, sizeof(LV2_Atom_Sequence_Body));
  EXPECT_FALSE(buffer.reserve(std::size_t{1} << 31, 3, kSequence));  // beyond an atom's 32-bit size
}

}  // namespace
