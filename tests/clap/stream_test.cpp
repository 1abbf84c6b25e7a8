// State bytes through the declared stream tables, as a host's streams hand them over: in
// short pieces, with 64-bit sizes and results, through the interface's calling convention.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <vector>

#include "clap/abi/clap_stream.h"

namespace {

#ifdef _WIN32
// An x86 caller pops the arguments; a callee-pops convention would not be the same type.
static_assert(std::is_same_v<decltype(clap_istream_t::read),
                             int64_t(__cdecl*)(const clap_istream_t*, void*, uint64_t)>,
              "read is a cdecl function");
static_assert(std::is_same_v<decltype(clap_ostream_t::write),
                             int64_t(__cdecl*)(const clap_ostream_t*, const void*, uint64_t)>,
              "write is a cdecl function");
#endif

constexpr uint64_t kWritePiece = 5;
constexpr uint64_t kReadPiece = 3;
constexpr int64_t kStreamError = -1;

// The host's side: a byte store that takes and gives a few bytes per call.
struct HostBytes {
  std::vector<unsigned char> bytes;
  size_t readPosition = 0;
  bool failing = false;
  uint64_t largestRequest = 0;
};

// Plug-in, inside state.save.
int64_t CLAP_ABI hostWrite(const clap_ostream_t* stream, const void* buffer, uint64_t size) {
  auto* store = static_cast<HostBytes*>(stream->ctx);
  if (store->failing) return kStreamError;
  store->largestRequest = std::max(store->largestRequest, size);
  const uint64_t taken = std::min(size, kWritePiece);
  const auto* from = static_cast<const unsigned char*>(buffer);
  store->bytes.insert(store->bytes.end(), from, from + taken);
  return static_cast<int64_t>(taken);
}

// Plug-in, inside state.load.
int64_t CLAP_ABI hostRead(const clap_istream_t* stream, void* buffer, uint64_t size) {
  auto* store = static_cast<HostBytes*>(stream->ctx);
  if (store->failing) return kStreamError;
  store->largestRequest = std::max(store->largestRequest, size);
  const uint64_t left = store->bytes.size() - store->readPosition;
  const uint64_t given = std::min({size, kReadPiece, left});
  std::memcpy(buffer, store->bytes.data() + store->readPosition, static_cast<size_t>(given));
  store->readPosition += static_cast<size_t>(given);
  return static_cast<int64_t>(given);
}

// The plug-in's side: loops until everything moved, 0 from write counting as failure.
bool writeAll(const clap_ostream_t* stream, const unsigned char* data, uint64_t size) {
  while (size > 0) {
    const int64_t written = stream->write(stream, data, size);
    if (written <= 0 || static_cast<uint64_t>(written) > size) return false;
    data += written;
    size -= static_cast<uint64_t>(written);
  }
  return true;
}

// Reads until the end of the data into `out` (at most `capacity` bytes); -1 on error.
int64_t readToEnd(const clap_istream_t* stream, unsigned char* out, uint64_t capacity) {
  uint64_t total = 0;
  while (total < capacity) {
    const int64_t got = stream->read(stream, out + total, capacity - total);
    if (got < 0) return kStreamError;
    if (got == 0) break;
    total += static_cast<uint64_t>(got);
  }
  return static_cast<int64_t>(total);
}

TEST(ClapStreams, BytesPassInShortPiecesBothWays) {
  const unsigned char state[] = "QNDL\x01\x00 thirteen values follow";
  HostBytes store;
  const clap_ostream_t out = {&store, hostWrite};
  ASSERT_TRUE(writeAll(&out, state, sizeof(state)));
  ASSERT_EQ(store.bytes.size(), sizeof(state));
  EXPECT_EQ(store.largestRequest, sizeof(state));

  const clap_istream_t in = {&store, hostRead};
  unsigned char loaded[64] = {};
  EXPECT_EQ(readToEnd(&in, loaded, sizeof(loaded)), static_cast<int64_t>(sizeof(state)));
  EXPECT_EQ(std::memcmp(loaded, state, sizeof(state)), 0);
  EXPECT_EQ(in.read(&in, loaded, sizeof(loaded)), 0) << "end of data stays 0";
}

TEST(ClapStreams, SixtyFourBitSizesAndErrorsArriveWhole) {
  HostBytes store;
  store.bytes = {1, 2, 3, 4};
  const clap_istream_t in = {&store, hostRead};
  // A size above 4 GiB: on x86 its upper half travels as a separate stack word.
  const uint64_t hugeRequest = (uint64_t{1} << 32) + 2;
  unsigned char piece[kReadPiece] = {};
  EXPECT_EQ(in.read(&in, piece, hugeRequest), static_cast<int64_t>(kReadPiece));
  EXPECT_EQ(store.largestRequest, hugeRequest);

  store.failing = true;
  EXPECT_EQ(in.read(&in, piece, 1), kStreamError);
  EXPECT_EQ(readToEnd(&in, piece, sizeof(piece)), kStreamError);
  const clap_ostream_t out = {&store, hostWrite};
  EXPECT_FALSE(writeAll(&out, piece, sizeof(piece)));
}

}  // namespace
