// Programs and state images of the instrument. The live values belong to the engine; the
// bank keeps the stored programs, and the current program's record takes the live values
// when the program is left or a state image is requested.
#include <cstring>

#include "core/instrument.h"
#include "engine/synth_engine.h"
#include "engine/voice.h"

void state_image::writeUint32(std::uint8_t* at, std::uint32_t value) {
  for (std::size_t i = 0; i < sizeof(value); ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t state_image::readUint32(const std::uint8_t* at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < sizeof(value); ++i) value |= static_cast<std::uint32_t>(at[i]) << (8 * i);
  return value;
}

std::int32_t Instrument::currentProgram() const { return program.load(std::memory_order_relaxed); }

void Instrument::saveCurrentProgram() {
  ProgramRecord& record = programs->record(currentProgram());
  const std::atomic<float>* live = synth->liveParameters();
  for (std::int32_t i = 0; i < programs->parameterCount; ++i) record.values[i] = live[i].load(std::memory_order_relaxed);
}

void Instrument::loadCurrentProgram() {
  const ProgramRecord& record = programs->record(currentProgram());
  std::atomic<float>* live = synth->liveParameters();
  for (std::int32_t i = 0; i < programs->parameterCount; ++i) live[i].store(record.values[i], std::memory_order_relaxed);
}

// Every value came from a stored record: the voices re-derive all their envelopes.
void Instrument::allValuesReplaced() {
  loadCurrentProgram();
  synth->updateVoices(ALL_ENVELOPES);
}

bool Instrument::selectProgram(std::int32_t number) {
  if (!programs->isProgram(number)) return false;
  saveCurrentProgram();
  program.store(number, std::memory_order_relaxed);
  allValuesReplaced();
  if (InstrumentObserver* listener = currentObserver()) listener->programLoaded();
  return true;
}

void Instrument::renameProgram(const char* text) { programs->rename(currentProgram(), text); }

bool Instrument::programName(std::int32_t number, char (&out)[kProgramNameCapacity]) const {
  if (!programs->isProgram(number)) return false;
  std::memcpy(out, programs->record(number).name, kProgramNameSize);
  out[kProgramNameSize] = '\0';
  return true;
}

std::int32_t Instrument::bankChunk(void** data) {
  if (data == nullptr) return 0;
  saveCurrentProgram();
  *data = programs->storage();
  return programs->storageSize();
}

std::int32_t Instrument::programChunk(void** data) {
  if (data == nullptr) return 0;
  saveCurrentProgram();
  static_assert(sizeof(std::atomic<float>) == sizeof(float), "live values double as the program chunk");
  *data = synth->liveParameters();
  return kProgramChunkSize;
}

std::int32_t Instrument::loadChunk(const void* data, std::int32_t byteSize, bool isProgram) {
  const bool programImage = isProgram && byteSize == kProgramChunkSize;
  const bool bankImage = !programImage && byteSize == programs->storageSize();
  if (data == nullptr || !(programImage || bankImage) || !chunkValuesAreFinite(data, byteSize)) return 0;
  if (programImage) {
    std::memcpy(programs->record(currentProgram()).values, data, kProgramChunkSize);
  } else {
    std::memcpy(programs->storage(), data, static_cast<std::size_t>(byteSize));
  }
  allValuesReplaced();
  if (InstrumentObserver* listener = currentObserver()) listener->stateLoaded();
  return byteSize;
}

std::size_t Instrument::saveState(std::uint8_t* out, std::size_t capacity) {
  if (out == nullptr || capacity < kStateSize) return 0;
  saveCurrentProgram();
  std::memcpy(out, state_image::kMagic, state_image::kMagicSize);
  state_image::writeUint32(out + state_image::kVersionOffset, state_image::kVersion);
  state_image::writeUint32(out + state_image::kProgramOffset, static_cast<std::uint32_t>(currentProgram()));
  std::memcpy(out + state_image::kBankOffset, programs->storage(), static_cast<std::size_t>(kBankChunkSize));
  return kStateSize;
}

bool Instrument::loadState(const void* data, std::size_t size) {
  if (data == nullptr || size != kStateSize) return false;
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  if (std::memcmp(bytes, state_image::kMagic, state_image::kMagicSize) != 0) return false;
  if (state_image::readUint32(bytes + state_image::kVersionOffset) != state_image::kVersion) return false;
  const auto stored = static_cast<std::int32_t>(state_image::readUint32(bytes + state_image::kProgramOffset));
  const std::uint8_t* bank = bytes + state_image::kBankOffset;
  if (!programs->isProgram(stored) || !chunkValuesAreFinite(bank, kBankChunkSize)) return false;
  std::memcpy(programs->storage(), bank, static_cast<std::size_t>(kBankChunkSize));
  program.store(stored, std::memory_order_relaxed);
  allValuesReplaced();
  if (InstrumentObserver* listener = currentObserver()) listener->stateLoaded();
  return true;
}
