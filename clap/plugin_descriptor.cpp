#include "clap/plugin_descriptor.h"

namespace quindleclap {

namespace {

constexpr const char* kFeatures[] = {
    CLAP_PLUGIN_FEATURE_INSTRUMENT,
    CLAP_PLUGIN_FEATURE_SYNTHESIZER,
    CLAP_PLUGIN_FEATURE_STEREO,
    nullptr,
};

}  // namespace

const clap_plugin_descriptor_t kDescriptor = {
    CLAP_VERSION,
    kPluginId,
    "Quindle",
    "Velkor",
    "",  // url
    "",  // manual url
    "",  // support url
    QUINDLE_VERSION_TEXT,
    "A nine-voice FM synthesiser with eight factory programs",
    kFeatures,
};

}  // namespace quindleclap
