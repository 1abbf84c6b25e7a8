#include "tools/host/plugin_formats.h"

#include <cctype>
#include <filesystem>
#include <system_error>

namespace pluginformats {
namespace {

using Opener = std::unique_ptr<HostedPlugin> (*)(const std::string& path, std::string& error);

// VST 2.4, VST 3 and CLAP are in every build. LV2 needs lilv: a build that compiles its
// backend defines QUINDLE_HOST_LV2 (see tools/host/CMakeLists.txt); without it the
// format is known but refused.
#ifdef QUINDLE_HOST_LV2
constexpr Opener kLv2Opener = openLv2;
#else
constexpr Opener kLv2Opener = nullptr;
#endif

struct Format {
  PluginFormat format;
  const char* name;
  const char* kindOfPath;
  const char* extension;  // "" for the format of everything else
  Opener open;
};

// Searched in order: the extensions first, VST 2.4 (no extension of its own) last.
const Format kFormats[] = {
    {PluginFormat::kLv2, "LV2", "an LV2 bundle", ".lv2", kLv2Opener},
    {PluginFormat::kVst3, "VST 3", "a VST 3 bundle", ".vst3", openVst3},
    {PluginFormat::kClap, "CLAP", "a CLAP file", ".clap", openClap},
    {PluginFormat::kVst2, "VST 2.4", "a VST 2.4 module", "", openVst2},
};

const Format& entry(PluginFormat format) {
  for (const Format& candidate : kFormats) {
    if (candidate.format == format) return candidate;
  }
  return kFormats[sizeof kFormats / sizeof kFormats[0] - 1];
}

bool endsWithIgnoringCase(const std::string& text, const std::string& end) {
  if (end.empty() || text.size() < end.size()) return false;
  const std::size_t start = text.size() - end.size();
  for (std::size_t i = 0; i < end.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[start + i])) != end[i]) return false;
  }
  return true;
}

}  // namespace

PluginFormat detect(const std::string& path) {
  std::string trimmed = path;
  while (trimmed.size() > 1 && (trimmed.back() == '/' || trimmed.back() == '\\')) trimmed.pop_back();
  for (const Format& format : kFormats) {
    if (endsWithIgnoringCase(trimmed, format.extension)) return format.format;
  }
  std::error_code ignored;
  return std::filesystem::is_directory(trimmed, ignored) ? PluginFormat::kLv2 : PluginFormat::kVst2;
}

const char* name(PluginFormat format) { return entry(format).name; }

const char* kindOfPath(PluginFormat format) { return entry(format).kindOfPath; }

std::unique_ptr<HostedPlugin> open(const std::string& path, std::string& error) {
  const Format& format = entry(detect(path));
  if (format.open == nullptr) {
    error = path + " is " + format.kindOfPath + ", and this build of quindle-host has no " + format.name +
            " backend";
    return nullptr;
  }
  return format.open(path, error);
}

}  // namespace pluginformats
