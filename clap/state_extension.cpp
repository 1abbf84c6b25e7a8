// The state extension: the instrument's versioned state (the current program and the
// whole bank, names included) through the host's streams, which may move any number of
// bytes per call. A blob of another size or version, cut short or holding a value that is
// not a finite number is refused with nothing changed.
#include <cstdint>

#include "clap/clap_instance.h"
#include "clap/extensions.h"

namespace {

// Room for one byte more than a state, to tell a longer blob from a state.
constexpr std::size_t kReadCapacity = Instrument::kStateSize + 1;

// Writes all of `data`; false on an error, or a stream that takes nothing or claims more
// than it was given.
bool writeAll(const clap_ostream_t* stream, const std::uint8_t* data, std::size_t size) {
  if (stream == nullptr || stream->write == nullptr) return false;
  std::size_t done = 0;
  while (done < size) {
    const std::int64_t written = stream->write(stream, data + done, size - done);
    if (written <= 0 || static_cast<std::uint64_t>(written) > size - done) return false;
    done += static_cast<std::size_t>(written);
  }
  return true;
}

// Reads until the end of the data or until `capacity` bytes are in; the bytes read, or
// -1 on an error (a stream that claims more than it was asked for is one).
std::int64_t readAll(const clap_istream_t* stream, std::uint8_t* data, std::size_t capacity) {
  if (stream == nullptr || stream->read == nullptr) return -1;
  std::size_t done = 0;
  while (done < capacity) {
    const std::int64_t read = stream->read(stream, data + done, capacity - done);
    if (read == 0) break;
    if (read < 0 || static_cast<std::uint64_t>(read) > capacity - done) return -1;
    done += static_cast<std::size_t>(read);
  }
  return static_cast<std::int64_t>(done);
}

// Host, main thread, possibly while the audio thread processes.
bool CLAP_ABI stateSave(const clap_plugin_t* plugin, const clap_ostream_t* stream) {
  ClapInstance* instance = ClapInstance::of(plugin);
  return instance != nullptr && instance->saveState(stream);
}

// Host, main thread, possibly while the audio thread processes.
bool CLAP_ABI stateLoad(const clap_plugin_t* plugin, const clap_istream_t* stream) {
  ClapInstance* instance = ClapInstance::of(plugin);
  return instance != nullptr && instance->loadState(stream);
}

}  // namespace

const clap_plugin_state_t quindleclap::kStateExtension = {stateSave, stateLoad};

bool ClapInstance::saveState(const clap_ostream_t* stream) {
  std::uint8_t image[Instrument::kStateSize];
  bankGuard.enter();
  const std::size_t size = instrument.saveState(image, sizeof(image));
  bankGuard.leave();
  return size == sizeof(image) && writeAll(stream, image, size);
}

bool ClapInstance::loadState(const clap_istream_t* stream) {
  // The whole blob is read before anything changes.
  std::uint8_t image[kReadCapacity];
  const std::int64_t size = readAll(stream, image, sizeof(image));
  if (size < 0) return false;
  bankGuard.enter();
  const bool loaded = instrument.loadState(image, static_cast<std::size_t>(size));
  bankGuard.leave();
  return loaded;
}
