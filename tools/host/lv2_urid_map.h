// The urid:map feature quindle-host hands to LV2 plug-ins: every URI a plug-in (or the
// host itself) asks for gets a number from 1 upwards that stays the same for the map's
// life. Called on the host's one thread (instantiate, the presets, run).
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "lv2/urid/urid.h"

class Lv2UridMap {
 public:
  Lv2UridMap();
  Lv2UridMap(const Lv2UridMap&) = delete;
  Lv2UridMap& operator=(const Lv2UridMap&) = delete;

  // 0 (the answer for "no number") for a null URI.
  LV2_URID map(const char* uri);
  // The feature's data, for LV2_Feature and lilv; it points back to this object.
  LV2_URID_Map* feature() { return &handle; }

 private:
  static LV2_URID mapThrough(LV2_URID_Map_Handle self, const char* uri);

  LV2_URID_Map handle;
  std::unordered_map<std::string, LV2_URID> numbers;
};
