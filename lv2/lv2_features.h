// The features a host hands to an LV2 plug-in or its user interface: a list of URI and
// data pairs ending in null.
#pragma once

#include <lv2/core/lv2.h>

#include <cstring>

namespace lv2features {

// The data of the feature `uri`, or null where the host offers it without data or not at
// all (a null list included).
inline const void* find(const LV2_Feature* const* features, const char* uri) {
  if (features == nullptr) return nullptr;
  for (const LV2_Feature* const* feature = features; *feature != nullptr; ++feature) {
    if ((*feature)->URI != nullptr && std::strcmp((*feature)->URI, uri) == 0) return (*feature)->data;
  }
  return nullptr;
}

}  // namespace lv2features
