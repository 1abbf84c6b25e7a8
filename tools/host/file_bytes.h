// Whole-file reads and writes for the host's small input and output files (presets,
// MIDI files, event lists), with the reason in a text when they fail.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace filebytes {

// Files larger than this are refused rather than read into memory.
constexpr std::size_t kMaxInputFileSize = 64u * 1024u * 1024u;

bool read(const std::string& path, std::vector<std::uint8_t>& out, std::string& error);
bool write(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error);

}  // namespace filebytes
