// The module's factory: the vendor, the one class (the instrument, category "Audio
// Module Class", sub-category "Instrument|Synth") and the creation of its objects.
#pragma once

#include "vst3/abi/vst3.h"

namespace quindle_vst3 {

// The one factory of the module, for GetPluginFactory. It lives as long as the module;
// its references are counted for the host's sake but never end it.
vst3::IPluginFactory3& pluginFactory();

}  // namespace quindle_vst3
