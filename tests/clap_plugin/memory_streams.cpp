#include "tests/clap_plugin/memory_streams.h"

#include <cstring>

namespace claptest {

namespace {

// The instance, inside save.
int64_t CLAP_ABI writeSome(const clap_ostream_t* stream, const void* data, uint64_t size) {
  auto* self = static_cast<MemoryOutStream*>(stream->ctx);
  if (self->bytes.size() >= self->failAfter) return -1;
  const std::size_t taken = size < self->piece ? static_cast<std::size_t>(size) : self->piece;
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  self->bytes.insert(self->bytes.end(), bytes, bytes + taken);
  return static_cast<int64_t>(taken);
}

// The instance, inside load.
int64_t CLAP_ABI readSome(const clap_istream_t* stream, void* data, uint64_t size) {
  auto* self = static_cast<MemoryInStream*>(stream->ctx);
  if (self->position >= self->failAt) return -1;
  std::size_t count = self->bytes.size() - self->position;
  if (count > size) count = static_cast<std::size_t>(size);
  if (count > self->piece) count = self->piece;
  if (count > 0) std::memcpy(data, self->bytes.data() + self->position, count);
  self->position += count;
  return static_cast<int64_t>(count);
}

}  // namespace

MemoryOutStream::MemoryOutStream(std::size_t pieceSize, std::size_t failAfterBytes)
    : stream{this, writeSome}, bytes(), piece(pieceSize), failAfter(failAfterBytes) {}

MemoryInStream::MemoryInStream(const std::vector<std::uint8_t>& data, std::size_t pieceSize, std::size_t failAtByte)
    : stream{this, readSome}, bytes(data), piece(pieceSize), failAt(failAtByte) {}

}  // namespace claptest
