// The LV2 plug-in's identity and ports, shared by the plug-in and the generator of its
// bundle description. The URIs are stored in every song that uses the plug-in: never
// change them.
#pragma once

#include <cstdint>
#include <string>

#include "params/parameter_table.h"

namespace lv2ports {

constexpr const char* kPluginUri = "urn:velkor:quindle";
constexpr const char* kPresetUriPrefix = "urn:velkor:quindle:preset:";
constexpr const char* kBinaryName = "Quindle.so";
// The editor: an X11 user interface in a shared object of its own, so that the plug-in's
// object never loads a window system library.
constexpr const char* kUiUri = "urn:velkor:quindle:ui";
constexpr const char* kUiBinaryName = "QuindleUI.so";

// Ports 0..12 are the parameters in parameter order (port index = parameter index),
// then the MIDI input and the two audio outputs (both carry the same signal).
constexpr std::uint32_t kFirstControl = 0;
constexpr std::uint32_t kMidiIn = PARAMETER_COUNT;
constexpr std::uint32_t kOutLeft = kMidiIn + 1;
constexpr std::uint32_t kOutRight = kOutLeft + 1;
constexpr std::uint32_t kPortCount = kOutRight + 1;

constexpr const char* kMidiInSymbol = "midi_in";
constexpr const char* kOutLeftSymbol = "out_left";
constexpr const char* kOutRightSymbol = "out_right";

// A name as a song file stores it: lower case, every run of other characters one
// `separator` ("A Mode" -> "a_mode" with '_', "FM Classic 1" -> "fm-classic-1" with '-').
std::string slug(const char* name, char separator);

// The symbol of parameter `index`'s control port.
std::string controlSymbol(std::int32_t index);
// The URI of factory program `program`'s preset.
std::string presetUri(std::int32_t program);

}  // namespace lv2ports
