// The bundle loaded the way LV2 hosts load it, through lilv, and instances of it run with
// a MIDI sequence of the test's making.
#pragma once

#include <gtest/gtest.h>
#include <lilv/lilv.h>
#include <lv2/urid/urid.h>

#include <cstdint>
#include <string>
#include <vector>

namespace lv2test {

// URIs to numbers, as a host's urid:map does.
class UridMap {
 public:
  UridMap();
  LV2_URID map(const char* uri);
  LV2_URID_Map* feature() { return &lv2Map; }

 private:
  static LV2_URID mapUri(LV2_URID_Map_Handle handle, const char* uri);
  std::vector<std::string> uris;
  LV2_URID_Map lv2Map;
};

struct TimedMidi {
  std::int64_t frame;
  std::vector<std::uint8_t> bytes;
};

// A running instance: controls at the plug-in's defaults, MIDI written into an atom
// sequence per block, both outputs captured.
class Lv2Runner {
 public:
  Lv2Runner(const LilvPlugin* plugin, UridMap& map, double rate);
  ~Lv2Runner();
  bool ok() const { return instance != nullptr; }
  float& control(std::uint32_t port) { return controls[port]; }
  // Runs one block; returns the left output (the right one is checked to be its copy).
  std::vector<float> run(std::uint32_t frames, const std::vector<TimedMidi>& midi = {});
  // The unit the next sequences are stamped with (atom:frameTime at first).
  void setSequenceUnit(LV2_URID unit) { sequenceUnit = unit; }
  // The raw sequence buffer, for tests that damage it.
  std::vector<std::uint64_t>& sequenceBuffer() { return sequence; }
  void runRaw(std::uint32_t frames);
  const std::vector<float>& right() const { return rightOut; }

 private:
  LilvInstance* instance;
  std::vector<float> controls;
  std::vector<std::uint64_t> sequence;  // 8-aligned storage of the atom sequence
  std::vector<float> leftOut;
  std::vector<float> rightOut;
  LV2_URID midiEvent;
  LV2_URID sequenceType;
  LV2_URID sequenceUnit;
};

class BundleTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  static LilvNode* uri(const char* text);
  static LilvWorld* world;
  static const LilvPlugin* plugin;
  static UridMap* urids;
};

}  // namespace lv2test
