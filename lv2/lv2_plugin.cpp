// The LV2 plug-in: its descriptor and the calls an LV2 host makes, translated onto the
// format-neutral instrument. Control ports carry the live values (the host keeps them in
// songs and presets), the MIDI input feeds the one intake at each event's frame.
#include <cstdint>
#include <new>

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/midi/midi.h>
#include <lv2/urid/urid.h>

#include "core/block_renderer.h"
#include "core/instrument.h"
#include "lv2/lv2_features.h"
#include "lv2/lv2_midi_input.h"
#include "lv2/lv2_ports.h"

namespace {

const LV2_URID_Map* findUridMap(const LV2_Feature* const* features) {
  return static_cast<const LV2_URID_Map*>(lv2features::find(features, LV2_URID__map));
}

class Lv2Instrument {
 public:
  Lv2Instrument(LV2_URID midiEventType, LV2_URID beatTimeUnit)
      : controls(), midiIn(nullptr), left(nullptr), right(nullptr), midiEvent(midiEventType), beatTime(beatTimeUnit) {}

  bool setSampleRate(double rate) { return instrument.setSampleRate(static_cast<float>(rate)); }

  void connect(std::uint32_t port, void* data) {
    if (port < lv2ports::kMidiIn) {
      controls[port] = static_cast<const float*>(data);
    } else if (port == lv2ports::kMidiIn) {
      midiIn = static_cast<const LV2_Atom_Sequence*>(data);
    } else if (port == lv2ports::kOutLeft) {
      left = static_cast<float*>(data);
    } else if (port == lv2ports::kOutRight) {
      right = static_cast<float*>(data);
    }
  }

  void activate() { instrument.activate(); }
  void deactivate() { instrument.deactivate(); }

  // The control ports are compared with the live values once per block; the ones that
  // differ take the parameter path. MIDI then plays at its frames.
  void run(std::uint32_t sampleCount) {
    for (std::int32_t index = 0; index < PARAMETER_COUNT; ++index) {
      if (controls[index] != nullptr) instrument.setParameter(index, *controls[index]);
    }
    BlockRenderer block(instrument, left, right, BlockRenderer::framesOf(sampleCount));
    lv2midi::forEachMidiEvent(midiIn, midiEvent, beatTime,
                              [&block](const std::uint8_t* bytes, std::size_t size, std::int32_t frame) {
                                block.midi(bytes, size, frame);
                              });
    block.finish();
  }

 private:
  Instrument instrument;
  const float* controls[PARAMETER_COUNT];
  const LV2_Atom_Sequence* midiIn;
  float* left;
  float* right;
  LV2_URID midiEvent;
  LV2_URID beatTime;
};

Lv2Instrument* instanceOf(LV2_Handle handle) { return static_cast<Lv2Instrument*>(handle); }

// Host, any non-audio thread: a new instance for `rate`; null without urid:map, for a
// rate the instrument cannot run at, or without memory.
LV2_Handle instantiate(const LV2_Descriptor*, double rate, const char*, const LV2_Feature* const* features) {
  const LV2_URID_Map* map = findUridMap(features);
  if (map == nullptr || map->map == nullptr) return nullptr;
  try {
    auto* plugin = new Lv2Instrument(map->map(map->handle, LV2_MIDI__MidiEvent), map->map(map->handle, LV2_ATOM__beatTime));
    if (!plugin->setSampleRate(rate)) {
      delete plugin;
      return nullptr;
    }
    return plugin;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

// Host, any time outside run (also on the audio thread between runs).
void connectPort(LV2_Handle handle, uint32_t port, void* data) { instanceOf(handle)->connect(port, data); }

// Host, before the first run and after deactivate, not on the audio thread while it runs.
void activate(LV2_Handle handle) { instanceOf(handle)->activate(); }

// Host's audio thread, once per block.
void run(LV2_Handle handle, uint32_t sampleCount) { instanceOf(handle)->run(sampleCount); }

// Host, after the last run of an activation.
void deactivate(LV2_Handle handle) { instanceOf(handle)->deactivate(); }

// Host, at the end of the instance.
void cleanup(LV2_Handle handle) { delete instanceOf(handle); }

// Host, any thread: the plug-in offers no extension interface.
const void* extensionData(const char*) { return nullptr; }

const LV2_Descriptor kDescriptor = {
    lv2ports::kPluginUri, instantiate, connectPort, activate, run, deactivate, cleanup, extensionData,
};

}  // namespace

// Host, when it loads the shared object: the one plug-in of the bundle.
LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
  return index == 0 ? &kDescriptor : nullptr;
}
