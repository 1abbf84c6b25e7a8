// Who the VST 3 plug-in is to its hosts: the class ID every saved song refers to, the
// names and the version the factory reports, and the one unit with its program list.
#pragma once

#include "engine/midi_bytes.h"
#include "vst3/abi/vst3.h"

namespace quindle_vst3 {

// The plug-in's class ID, the same four words on every platform (and so the same text,
// 313AD1CA8CA451ABFD5F28A91212A113, in every host's records). Songs store it: never
// change it.
constexpr vst3::Uid kClassId = vst3::makeUid(0x313AD1CA, 0x8CA451AB, 0xFD5F28A9, 0x1212A113);

constexpr const char* kPluginName = "Quindle";
constexpr const char* kVendorName = "Velkor";
constexpr const char* kVendorUrl = "";
constexpr const char* kVendorEmail = "";
constexpr const char* kVersionText = QUINDLE_VERSION_TEXT;

// The root unit holds every parameter and the factory program list.
constexpr vst3::UnitID kRootUnit = vst3::kRootUnitId;
constexpr const char* kRootUnitName = "Quindle";
constexpr vst3::ProgramListID kProgramListId = 1;
constexpr const char* kProgramListName = "Factory";

// The buses: one stereo main output, one event input on 16 channels.
constexpr vst3::int32 kOutputChannels = 2;
constexpr vst3::int32 kEventChannels = midi_bytes::kChannels;
constexpr const char* kOutputBusName = "Output";
constexpr const char* kEventBusName = "MIDI In";

}  // namespace quindle_vst3
