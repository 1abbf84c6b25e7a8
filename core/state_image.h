// The instrument's saved state for formats whose hosts keep one opaque block: a header
// (magic, version, current program) followed by the bank image, all eight programs with
// their names and values. Integers are little-endian; the bank image is the bank chunk.
// Later releases read this version and refuse what they do not know; this release
// refuses every other version.
#pragma once

#include <cstddef>
#include <cstdint>

#include "params/program_bank.h"

namespace state_image {

constexpr std::uint8_t kMagic[] = {'Q', 'N', 'D', 'S'};
constexpr std::size_t kMagicSize = sizeof(kMagic);
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kVersionOffset = kMagicSize;
constexpr std::size_t kProgramOffset = kVersionOffset + sizeof(std::uint32_t);
constexpr std::size_t kBankOffset = kProgramOffset + sizeof(std::int32_t);
constexpr std::size_t kSize = kBankOffset + static_cast<std::size_t>(kBankChunkSize);  // 620

void writeUint32(std::uint8_t* at, std::uint32_t value);
std::uint32_t readUint32(const std::uint8_t* at);

}  // namespace state_image
