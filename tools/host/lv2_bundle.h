// What an LV2 bundle's description says about its one plug-in, read through lilv: the
// ports by index with their kinds, the control inputs (the plug-in's parameters, in port
// order) with their ranges, defaults, units and scale points, and the presets with the
// port values each sets, in the order the manifest names them (the order of the
// plug-in's programs). Reading it loads no plug-in code; Lv2Plugin runs the plug-in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "lilv/lilv.h"
#include "tools/host/hosted_plugin.h"
#include "tools/host/lv2_urid_map.h"

struct Lv2Port {
  // kLeftOpen: a port of a kind this host does not know, marked lv2:connectionOptional.
  enum class Kind { kControlIn, kControlOut, kAudioIn, kAudioOut, kCvIn, kCvOut, kMidiIn, kAtomIn, kAtomOut,
                    kLeftOpen };
  std::uint32_t index = 0;
  Kind kind = Kind::kLeftOpen;
  std::string symbol;
};

// A control input: one parameter. Values are the port's own (plain); the host's 0..1
// maps linearly onto minimum..maximum.
struct Lv2Control {
  std::uint32_t port = 0;
  std::string symbol;
  std::string name;
  std::string unit;  // the unit's symbol, "" without one
  float minimum = 0.0f;
  float maximum = 1.0f;
  float initial = 0.0f;  // lv2:default, else the minimum
  std::vector<std::pair<float, std::string>> scalePoints;
};

struct Lv2Preset {
  std::string uri;
  std::string label;
  std::vector<std::pair<std::size_t, float>> values;  // control number, plain value
  std::string fault;  // why the preset cannot be applied, "" when it can
};

class Lv2Bundle {
 public:
  // Loads the bundle folder at `path` (its manifest and what it refers to) and reads its
  // one plug-in. Null with a reason when the folder holds no bundle, the bundle does not
  // hold exactly one valid plug-in, the plug-in needs a feature `map` cannot stand in
  // for, or it has a port of a kind this host does not know that it must connect.
  static std::unique_ptr<Lv2Bundle> load(const std::string& path, Lv2UridMap& map, std::string& error);
  ~Lv2Bundle();
  Lv2Bundle(const Lv2Bundle&) = delete;
  Lv2Bundle& operator=(const Lv2Bundle&) = delete;

  const LilvPlugin* plugin() const { return described; }
  const std::vector<Lv2Port>& ports() const { return portList; }
  const std::vector<Lv2Control>& controls() const { return controlList; }
  const std::vector<Lv2Preset>& presets() const { return presetList; }
  // Name, vendor and version, then URI, bundle, binary, features and ports.
  std::vector<InfoLine> identity() const;

 private:
  Lv2Bundle(LilvWorld* world, std::string folder);
  bool readFeatures(std::string& error);
  bool readPorts(std::string& error);
  void readPresets(Lv2UridMap& map);
  std::string text(const LilvNode* subject, const char* predicate) const;

  LilvWorld* world;
  std::string folder;
  const LilvPlugin* described = nullptr;
  std::vector<Lv2Port> portList;
  std::vector<Lv2Control> controlList;
  std::vector<Lv2Preset> presetList;
  std::vector<std::string> requiredFeatures;
};
