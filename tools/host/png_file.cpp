#include "tools/host/png_file.h"

// The one place stb_image_write's implementation is compiled (Debian's libstb-dev, found
// as a system header, so its own code is not held to this project's warnings).
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace pngfile {

namespace {

constexpr int kChannels = 3;

}  // namespace

bool write(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb, std::string& error) {
  if (width <= 0 || height <= 0 ||
      rgb.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * kChannels) {
    error = "no picture to write";
    return false;
  }
  if (stbi_write_png(path.c_str(), width, height, kChannels, rgb.data(), width * kChannels) == 0) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace pngfile
