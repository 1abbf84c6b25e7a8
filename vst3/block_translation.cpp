#include "vst3/block_translation.h"

#include <cmath>
#include <cstdint>

#include "core/block_renderer.h"
#include "core/instrument.h"
#include "engine/midi_bytes.h"
#include "vst3/parameter_map.h"
#include "vst3/plugin_identity.h"

namespace quindle_vst3 {
namespace {

using vst3::int32;

constexpr int32 kEventBus = 0;
constexpr int32 kMessageSize = 3;

// The points of one parameter's queue, read one at a time; points the queue will not
// give are skipped.
struct PointCursor {
  vst3::IParamValueQueue* queue;
  vst3::ParamID id;
  int32 count;
  int32 next;
  int32 offset;
  double value;

  bool load() {
    for (; next < count; ++next) {
      if (queue->getPoint(next, offset, value) == vst3::kResultOk) return true;
    }
    return false;
  }
};

// The queues of the parameters this plug-in has, one per ID (a repeated ID keeps its
// first queue), in the host's order: hosts add a queue when its parameter first changes,
// so at one offset the changes apply in the order they were made.
class ParameterPoints {
 public:
  explicit ParameterPoints(vst3::IParameterChanges* changes) : used(0) {
    if (changes == nullptr) return;
    bool seen[kParameterIdCount] = {};
    const int32 queues = changes->getParameterCount();
    for (int32 i = 0; i < queues && used < kParameterIdCount; ++i) {
      vst3::IParamValueQueue* queue = changes->getParameterData(i);
      if (queue == nullptr) continue;
      const vst3::ParamID id = queue->getParameterId();
      if (!isKnownParameter(id) || seen[id]) continue;
      seen[id] = true;
      PointCursor cursor{queue, id, queue->getPointCount(), 0, 0, 0.0};
      if (!cursor.load()) continue;
      cursors[used++] = cursor;
    }
  }

  // The pending point with the smallest offset (the first such queue on a tie), or null.
  PointCursor* earliest() {
    PointCursor* found = nullptr;
    for (int32 i = 0; i < used; ++i) {
      PointCursor& cursor = cursors[i];
      if (cursor.next < cursor.count && (found == nullptr || cursor.offset < found->offset)) found = &cursor;
    }
    return found;
  }

  static void advance(PointCursor& cursor) {
    ++cursor.next;
    cursor.load();
  }

 private:
  PointCursor cursors[kParameterIdCount];
  int32 used;
};

// The block's note events as MIDI messages, in list order.
class NoteMessages {
 public:
  explicit NoteMessages(vst3::IEventList* events)
      : list(events), count(events != nullptr ? events->getEventCount() : 0), next(0), offset(0), bytes() {
    load();
  }

  bool pending() const { return next < count; }
  int32 sampleOffset() const { return offset; }
  const std::uint8_t* message() const { return bytes; }
  void advance() {
    ++next;
    load();
  }

 private:
  void load() {
    for (; next < count; ++next) {
      vst3::Event event{};
      if (list->getEvent(next, event) == vst3::kResultOk && midiFromEvent(event, bytes)) {
        offset = event.sampleOffset;
        return;
      }
    }
  }

  vst3::IEventList* list;
  int32 count;
  int32 next;
  int32 offset;
  std::uint8_t bytes[kMessageSize];
};

void applyPoint(BlockRenderer& block, const Instrument& instrument, const PointCursor& point) {
  if (!std::isfinite(point.value)) return;
  const double value = clampNormalized(point.value);
  if (isInstrumentParameter(point.id)) {
    block.parameter(static_cast<std::int32_t>(point.id), static_cast<float>(value), point.offset);
  } else if (point.id == kProgramParameter) {
    const int32 program = programFromNormalized(value);
    if (program != instrument.currentProgram()) block.program(program, point.offset);
  } else if (point.id == kPitchBendParameter) {
    const int32 position = bendFromNormalized(value);
    const std::uint8_t bend[] = {midi_bytes::kPitchBend, static_cast<std::uint8_t>(position & midi_bytes::kDataMask),
                                 static_cast<std::uint8_t>(position >> midi_bytes::kDataBits)};
    block.midi(bend, sizeof bend, point.offset);
  } else if (point.id == kAllNotesOffParameter) {
    const std::uint8_t silence[] = {midi_bytes::kControlChange, midi_bytes::kAllNotesOff, dataValueFromNormalized(value)};
    block.midi(silence, sizeof silence, point.offset);
  }
}

bool isSilent(const float* samples, int32 frames) {
  for (int32 i = 0; i < frames; ++i) {
    if (samples[i] != 0.0f) return false;
  }
  return true;
}

}  // namespace

bool midiFromEvent(const vst3::Event& event, std::uint8_t (&bytes)[3]) {
  if (event.busIndex != kEventBus) return false;
  std::int32_t channel = 0;
  std::int32_t pitch = 0;
  if (event.type == vst3::Event::kNoteOnEvent) {
    channel = event.noteOn.channel;
    pitch = event.noteOn.pitch;
    bytes[0] = midi_bytes::kNoteOn;
    bytes[2] = velocityFromNormalized(event.noteOn.velocity);
  } else if (event.type == vst3::Event::kNoteOffEvent) {
    channel = event.noteOff.channel;
    pitch = event.noteOff.pitch;
    bytes[0] = midi_bytes::kNoteOff;
    bytes[2] = dataValueFromNormalized(static_cast<double>(event.noteOff.velocity));
  } else {
    return false;
  }
  if (channel < 0 || channel >= midi_bytes::kChannels || pitch < 0 || pitch >= midi_bytes::kNotes) return false;
  bytes[0] = static_cast<std::uint8_t>(bytes[0] | channel);
  bytes[1] = static_cast<std::uint8_t>(pitch);
  return true;
}

vst3::tresult processBlock(Instrument& instrument, vst3::ProcessData& data) {
  if (data.numSamples < 0 || data.symbolicSampleSize != vst3::kSample32) return vst3::kInvalidArgument;
  // The main output's two channels; a flush has none.
  vst3::AudioBusBuffers* output = data.numOutputs > 0 ? data.outputs : nullptr;
  float* left = nullptr;
  float* right = nullptr;
  if (output != nullptr && output->numChannels > 0 && output->channelBuffers32 != nullptr) {
    left = output->channelBuffers32[0];
    right = output->numChannels > 1 ? output->channelBuffers32[1] : nullptr;
  }

  BlockRenderer block(instrument, left, right, data.numSamples);
  ParameterPoints points(data.inputParameterChanges);
  NoteMessages notes(data.inputEvents);
  for (;;) {
    PointCursor* point = points.earliest();
    if (point != nullptr && (!notes.pending() || point->offset <= notes.sampleOffset())) {
      applyPoint(block, instrument, *point);
      ParameterPoints::advance(*point);
    } else if (notes.pending()) {
      block.midi(notes.message(), kMessageSize, notes.sampleOffset());
      notes.advance();
    } else {
      break;
    }
  }
  block.finish();

  // Bit n of the flags is channel n: all set when the block is silence.
  const int32 frames = block.renderedFrames();
  if (frames > 0) {
    const int32 channels = output->numChannels < kOutputChannels ? output->numChannels : kOutputChannels;
    output->silenceFlags = isSilent(block.rendered(), frames) ? (vst3::uint64{1} << channels) - 1 : 0;
  }
  return vst3::kResultOk;
}

}  // namespace quindle_vst3
