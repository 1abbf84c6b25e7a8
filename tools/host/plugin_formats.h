// The plug-in formats quindle-host knows, told apart by path, and the backend that opens
// each. The table in plugin_formats.cpp is the one place a backend is added:
//   .lv2   an LV2 bundle (a folder)     lv2_plugin.cpp   (native builds only)
//   .vst3  a VST 3 bundle (a folder)    vst3_plugin.cpp
//   .clap  a CLAP file                  clap_plugin.cpp
//   any other folder: an LV2 bundle; any other file: a VST 2.4 module (vst2_plugin.cpp).
// Extensions are compared without regard to case; a trailing slash is ignored.
#pragma once

#include <memory>
#include <string>

#include "tools/host/hosted_plugin.h"

namespace pluginformats {

PluginFormat detect(const std::string& path);

// "VST 2.4", "LV2", "VST 3", "CLAP".
const char* name(PluginFormat format);
// What a path of the format is: "a VST 2.4 module", "an LV2 bundle", ...
const char* kindOfPath(PluginFormat format);

// Opens the plug-in at `path` with its format's backend. Null with a reason when the
// path does not hold a plug-in of that format, the plug-in fails to load, or this build
// has no backend for the format.
std::unique_ptr<HostedPlugin> open(const std::string& path, std::string& error);

// The backends: each opens one plug-in of its format, null with a reason on failure.
// A new backend defines its function in its own file and names it in the table.
std::unique_ptr<HostedPlugin> openVst2(const std::string& path, std::string& error);
std::unique_ptr<HostedPlugin> openLv2(const std::string& path, std::string& error);
std::unique_ptr<HostedPlugin> openVst3(const std::string& path, std::string& error);
std::unique_ptr<HostedPlugin> openClap(const std::string& path, std::string& error);

}  // namespace pluginformats
