// Subnormal numbers are flushed to zero for the duration of an audio call. A voice held
// at sustain level 0, or a low-pass tail dying away, would otherwise produce subnormal
// floats that make the processor take its slow path on every step. The host's setting
// is restored when the call returns.
#pragma once

#include <cstdint>

class DenormalGuard {
 public:
  // Host's audio thread, at the start of processReplacing.
  DenormalGuard();
  // Restores the control word the host had.
  ~DenormalGuard();
  DenormalGuard(const DenormalGuard&) = delete;
  DenormalGuard& operator=(const DenormalGuard&) = delete;

  // The control bits this guard sets on this processor (0 where there are none).
  static std::uint32_t flushBits();

 private:
  std::uint32_t saved;
};
