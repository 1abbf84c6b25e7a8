// Writes 8-bit RGB pictures as PNG files (the screenshot verb's output).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pngfile {

// `rgb` holds width x height pixels, three bytes each, top row first. False with a
// reason when the size does not match or the file cannot be written.
bool write(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb, std::string& error);

}  // namespace pngfile
