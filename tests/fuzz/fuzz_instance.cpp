#include "tests/fuzz/fuzz_instance.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "engine/midi_bytes.h"
#include "tests/fuzz/event_list.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/guarded_buffer.h"

extern "C" AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback host);

namespace {

using namespace midi_bytes;

constexpr VstIntPtr kHostVersion = 2400;
// Text bounds the interface gives hosts: the buffer holds the bound and a terminator.
constexpr std::size_t kEffectNameBound = 32;
constexpr std::size_t kVendorStringBound = 64;
constexpr std::size_t kProductStringBound = 64;
constexpr int kSilentBlocks = 2;

// The instance the callback may hear from (null while none is open).
const AEffect* openRecord = nullptr;

// The host callback: a 2.4 host that answers its version and nothing else. A plug-in may
// call it with its own record, or with none while it is being created.
VstIntPtr VSTCALLBACK hostCallback(AEffect* effect, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  FUZZ_CHECK(effect == nullptr || effect == openRecord, "a callback with a record that is not the instance's");
  FUZZ_CHECK(opcode == audioMasterVersion || opcode == audioMasterWantMidi || opcode == audioMasterUpdateDisplay ||
                 opcode == audioMasterAutomate,
             "an unexpected callback " + std::to_string(opcode));
  return opcode == audioMasterVersion ? kHostVersion : 0;
}

std::uint32_t bitsOf(float value) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

}  // namespace

FuzzInstance::FuzzInstance() : record(VSTPluginMain(hostCallback)) {
  FUZZ_CHECK(record != nullptr && record->magic == kEffectMagic, "VSTPluginMain gave no instance");
  openRecord = record;
  std::memcpy(recordAtStart.data(), record, sizeof(AEffect));
  identityAtStart = identity();
  dispatch(effOpen);
  checkUnchanged("effOpen");
}

FuzzInstance::~FuzzInstance() {
  const VstIntPtr closed = dispatch(effClose);
  openRecord = nullptr;
  FUZZ_CHECK(closed == 1, "effClose answered " + std::to_string(closed));
}

VstIntPtr FuzzInstance::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  if (opcode == effMainsChanged) resumed = value != 0;
  return record->dispatcher(record, opcode, index, value, ptr, opt);
}

bool FuzzInstance::Identity::operator==(const Identity& other) const {
  return effectName == other.effectName && vendor == other.vendor && product == other.product &&
         vendorVersion == other.vendorVersion && vstVersion == other.vstVersion && category == other.category &&
         canDoMidi == other.canDoMidi;
}

std::string FuzzInstance::text(VstInt32 opcode, std::size_t bound) {
  GuardedBuffer buffer(bound + 1, GuardedBuffer::kGuardPattern);
  dispatch(opcode, 0, 0, buffer.data());
  FUZZ_CHECK(buffer.guardIntact(), "text of opcode " + std::to_string(opcode) + " written past its bound");
  FUZZ_CHECK(buffer.holdsTerminator(), "text of opcode " + std::to_string(opcode) + " not terminated");
  return std::string(reinterpret_cast<const char*>(buffer.data()));
}

FuzzInstance::Identity FuzzInstance::identity() {
  char canDo[] = "receiveVstMidiEvent";
  return Identity{text(effGetEffectName, kEffectNameBound),
                  text(effGetVendorString, kVendorStringBound),
                  text(effGetProductString, kProductStringBound),
                  dispatch(effGetVendorVersion),
                  dispatch(effGetVstVersion),
                  dispatch(effGetPlugCategory),
                  dispatch(effCanDo, 0, 0, canDo)};
}

void FuzzInstance::checkUnchanged(const char* after) {
  FUZZ_CHECK(std::memcmp(recordAtStart.data(), record, sizeof(AEffect)) == 0,
             std::string("the AEffect record changed after ") + after);
  FUZZ_CHECK(identity() == identityAtStart, std::string("an identity answer changed after ") + after);
}

void FuzzInstance::resume() { mainsChanged(1); }
void FuzzInstance::suspend() { mainsChanged(0); }

void FuzzInstance::mainsChanged(VstIntPtr value) { dispatch(effMainsChanged, 0, value); }

void FuzzInstance::process(std::int32_t frames, bool sharedOutput) {
  const std::size_t size = frames > 0 ? static_cast<std::size_t>(frames) : 1;
  const float marker = std::nanf("");
  left.assign(size, marker);
  right.assign(size, marker);
  float* outputs[2] = {left.data(), sharedOutput ? left.data() : right.data()};
  record->processReplacing(record, nullptr, outputs, frames);
  if (frames < 1) {
    FUZZ_CHECK(bitsOf(left[0]) == bitsOf(marker) && bitsOf(right[0]) == bitsOf(marker),
               "processReplacing of " + std::to_string(frames) + " frames wrote to the buffers");
    left.clear();
    return;
  }
  for (std::size_t i = 0; i < size; ++i) {
    FUZZ_CHECK(std::isfinite(left[i]), "sample " + std::to_string(i) + " of " + std::to_string(frames) +
                                           " not finite (rendered or left unwritten): " + std::to_string(left[i]));
    FUZZ_CHECK(sharedOutput || bitsOf(left[i]) == bitsOf(right[i]),
               "the channels differ at sample " + std::to_string(i));
  }
  FUZZ_CHECK(resumed || lastBlockSilent(), "sound while not resumed");
}

bool FuzzInstance::lastBlockSilent() const {
  for (const float sample : left) {
    if (bitsOf(sample) != 0) return false;
  }
  return true;
}

void FuzzInstance::sendEvents(EventList& list) {
  const VstIntPtr answer = dispatch(effProcessEvents, 0, 0, list.events());
  FUZZ_CHECK(answer == 1, "effProcessEvents answered " + std::to_string(answer));
}

std::array<float, FuzzInstance::kParameterCount> FuzzInstance::parameters() {
  std::array<float, kParameterCount> values{};
  for (std::int32_t i = 0; i < kParameterCount; ++i) {
    values[i] = record->getParameter(record, i);
    FUZZ_CHECK(std::isfinite(values[i]), "parameter " + std::to_string(i) + " holds a value that is not finite");
  }
  return values;
}

std::vector<std::uint8_t> FuzzInstance::chunk(bool program) {
  void* data = nullptr;
  const VstIntPtr size = dispatch(effGetChunk, program ? 1 : 0, 0, &data);
  FUZZ_CHECK(data != nullptr && static_cast<std::size_t>(size) == (program ? kProgramChunkSize : kBankChunkSize),
             "effGetChunk answered " + std::to_string(size));
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  return std::vector<std::uint8_t>(bytes, bytes + size);
}

void FuzzInstance::releaseEveryNote() {
  EventList list;
  for (int note = 0; note < kNotes; ++note) list.addMidi(0, kNoteOff, static_cast<std::uint8_t>(note), 0);
  sendEvents(list);
}

void FuzzInstance::checkFallsSilent() {
  if (!resumed) resume();
  process(kSettleFrames);  // plays out whatever is still queued
  releaseEveryNote();
  EventList list;
  list.addMidi(0, kControlChange, kMonoModeOn, 0);
  list.addMidi(0, kControlChange, kAllNotesOff, 0);
  sendEvents(list);
  for (int block = 0; block < kSilentBlocks; ++block) {
    process(kSettleFrames);
    FUZZ_CHECK(lastBlockSilent(), "sound after every note was released and all sound turned off");
  }
}
