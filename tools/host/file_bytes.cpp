#include "tools/host/file_bytes.h"

#include <cstdio>

namespace filebytes {

bool read(const std::string& path, std::vector<std::uint8_t>& out, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    error = "cannot open " + path;
    return false;
  }
  std::vector<std::uint8_t> bytes;
  std::uint8_t buffer[65536];
  bool tooLarge = false;
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    if (bytes.size() + got > kMaxInputFileSize) {
      tooLarge = true;
      break;
    }
    bytes.insert(bytes.end(), buffer, buffer + got);
  }
  const bool readError = std::ferror(file) != 0;
  std::fclose(file);
  if (tooLarge) {
    error = path + " is larger than " + std::to_string(kMaxInputFileSize) + " bytes";
    return false;
  }
  if (readError) {
    error = "cannot read " + path;
    return false;
  }
  out.swap(bytes);
  return true;
}

bool write(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    error = "cannot create " + path;
    return false;
  }
  const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    error = "cannot write " + path;
    std::remove(path.c_str());
    return false;
  }
  return true;
}

}  // namespace filebytes
