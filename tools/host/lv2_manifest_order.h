// The order in which a bundle's manifest names its presets. A description in RDF keeps
// no order, and lilv hands a plug-in's presets out in an order of its own; the manifest
// as written lists them in the order the plug-in numbers its programs. Reading the file
// once more, statement by statement, gives that order back.
#pragma once

#include <string>
#include <vector>

namespace lv2manifest {

// The URIs of the subjects the Turtle file at `path` declares `a pset:Preset`, in the
// order they first appear (relative URIs resolved against the file). Empty when the file
// cannot be read; what was read before an error in the file stays.
std::vector<std::string> presetOrder(const std::string& path);

}  // namespace lv2manifest
