// The host's byte streams, read and written whole: a stream may take or give fewer bytes
// than asked in one call, so both loop until done, the stream ends or it fails.
#pragma once

#include <cstddef>
#include <cstdint>

#include "vst3/abi/vst3.h"

namespace quindle_vst3 {

// Reads from the current position until `capacity` bytes are in `buffer` or the stream
// gives no more; answers the count. Ask for one byte more than a block may have to tell
// a block that is too long.
std::size_t readStream(vst3::IBStream& stream, std::uint8_t* buffer, std::size_t capacity);

// Writes all `size` bytes at the current position; false when the stream takes no more.
bool writeStream(vst3::IBStream& stream, const std::uint8_t* bytes, std::size_t size);

}  // namespace quindle_vst3
