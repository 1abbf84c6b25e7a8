#include "tools/host/lv2_urid_map.h"

Lv2UridMap::Lv2UridMap() : handle{this, &Lv2UridMap::mapThrough} {}

LV2_URID Lv2UridMap::map(const char* uri) {
  if (uri == nullptr) return 0;
  const auto found = numbers.find(uri);
  if (found != numbers.end()) return found->second;
  const auto number = static_cast<LV2_URID>(numbers.size() + 1);
  numbers.emplace(uri, number);
  return number;
}

LV2_URID Lv2UridMap::mapThrough(LV2_URID_Map_Handle self, const char* uri) {
  return static_cast<Lv2UridMap*>(self)->map(uri);
}
