// The format-neutral instrument: the engine, the bank of eight programs and the current
// program, the one parameter path, program selection and renaming, the state images with
// their refusal rules, the scratch area of processing and the one MIDI intake. Every
// plug-in format (VST 2.4, LV2, VST 3, CLAP) is a thin translation of its interface onto
// this class; none holds a second copy of this logic.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/instrument_observer.h"
#include "core/state_image.h"
#include "params/parameter_table.h"
#include "params/program_bank.h"

class SynthEngine;

class Instrument {
 public:
  static constexpr std::int32_t kParameterCount = PARAMETER_COUNT;
  static constexpr std::int32_t kPrograms = kProgramCount;
  static constexpr float kDefaultSampleRate = 44100.0f;
  static constexpr std::size_t kStateSize = state_image::kSize;
  // Room for a program name with its terminator.
  static constexpr std::size_t kProgramNameCapacity = kProgramNameSize + 1;

  // Any host thread (instance creation): the factory programs, program 0 current, every
  // voice configured for 44100 Hz. Throws std::bad_alloc when storage is unavailable.
  Instrument();
  ~Instrument();
  Instrument(const Instrument&) = delete;
  Instrument& operator=(const Instrument&) = delete;

  // The adapter's thread that creates or ends its editor; null for none.
  void setObserver(InstrumentObserver* observer);

  // --- The parameter path (any thread) ---
  // Stores the value unless it equals the live one (IEEE equality), tells the voices and
  // the observer. An index outside 0..12 or a value that is not a finite number is
  // refused. True when the live value changed.
  bool setParameter(std::int32_t index, float value);
  // Whether setParameter would change something.
  bool changesParameter(std::int32_t index, float value) const;
  // The live value; 0 for an index outside 0..12.
  float getParameter(std::int32_t index) const;

  // --- Programs (any thread) ---
  std::int32_t currentProgram() const;
  // The live values go into the current program's record, the chosen program's values
  // become live, every voice re-derives its envelopes. False (nothing changes) outside 0..7.
  bool selectProgram(std::int32_t number);
  // Replaces the current program's name: zero-filled, at most 24 characters.
  void renameProgram(const char* text);
  // The name of program `number` with a terminator; false (out untouched) outside 0..7.
  bool programName(std::int32_t number, char (&out)[kProgramNameCapacity]) const;

  // --- The chunks VST 2.4 hosts keep, read in place (any thread) ---
  // The live values go into the current program's record first. The address stays valid
  // for the instrument's life. Answer: the size (608 or 52), or 0 without a slot.
  std::int32_t bankChunk(void** data);
  std::int32_t programChunk(void** data);
  // Recognised by size alone: a 52-byte chunk with the program flag replaces the current
  // program's values, 608 bytes the whole bank. Anything else, no data, or a value that
  // is not a finite number: refused (0), nothing changes. Answer: the bytes taken.
  std::int32_t loadChunk(const void* data, std::int32_t byteSize, bool isProgram);

  // --- The versioned state other formats keep (any thread, not the audio thread) ---
  // Writes kStateSize bytes; 0 when `capacity` is too small.
  std::size_t saveState(std::uint8_t* out, std::size_t capacity);
  // Refused (false, nothing changes) unless exactly kStateSize bytes with the magic,
  // version 1, a program 0..7 and finite values.
  bool loadState(const void* data, std::size_t size);

  // --- Processing ---
  // While processing is stopped. A rate that is not a positive finite number is refused.
  bool setSampleRate(float rate);
  float sampleRate() const { return rate; }
  // While processing is stopped: allocates (activate) or releases (deactivate) the
  // engine's work area. Without it every block is silent and queued events wait.
  bool activate();
  void deactivate();
  bool isActive() const { return scratch != nullptr; }
  // Audio thread, after a block: whether a voice still sounds or a note event waits.
  // False means every following block is exact silence until the next MIDI message.
  bool isSounding() const;

  // Audio thread, before the render of the block the offset refers to: one MIDI message.
  void receiveMidi(const std::uint8_t* bytes, std::size_t size, std::int32_t offset);
  // Audio thread: `left` takes the block, `right` (if another buffer) its copy.
  void render(float* left, float* right, std::int32_t frames);
  // Audio thread: adds `frames` samples of every voice into `output`, applying the queued
  // events; the parts of a block a format renders piece by piece (see BlockRenderer).
  void renderSegment(float* output, std::int32_t frames);

  // For the adapters' intake decisions, tests and tools.
  SynthEngine& engine() { return *synth; }
  const SynthEngine& engine() const { return *synth; }
  const ProgramBank& bank() const { return *programs; }

 private:
  void saveCurrentProgram();
  void loadCurrentProgram();
  void allValuesReplaced();
  InstrumentObserver* currentObserver() const { return observer.load(std::memory_order_acquire); }

  std::unique_ptr<ProgramBank> programs;
  std::unique_ptr<SynthEngine> synth;
  std::atomic<std::int32_t> program;
  std::atomic<InstrumentObserver*> observer;
  float rate;
  float* scratch;
};
