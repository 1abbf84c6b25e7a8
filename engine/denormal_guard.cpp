// The SSE control word: flush-to-zero for results, denormals-are-zero for inputs.
#include "engine/denormal_guard.h"

#if defined(__SSE2__) || defined(__x86_64__) || defined(_M_X64)
#define QUINDLE_HAS_SSE_CONTROL 1
#include <xmmintrin.h>
#else
#define QUINDLE_HAS_SSE_CONTROL 0
#endif

namespace {

#if QUINDLE_HAS_SSE_CONTROL
constexpr std::uint32_t kFlushToZero = 0x8000;       // results that would be subnormal become 0
constexpr std::uint32_t kDenormalsAreZero = 0x0040;  // subnormal inputs count as 0

#if defined(__i386__)
// The earliest SSE2 processors lack denormals-are-zero and fault when it is set; the
// mask the processor saves with FXSAVE says whether it is there. Every 64-bit x86 has it.
std::uint32_t supportedFlushBits() {
  constexpr std::uint32_t kDefaultMask = 0xFFBF;  // what a zero saved mask stands for
  constexpr int kMaskOffset = 28;
  alignas(16) unsigned char area[512] = {};
  __asm__ __volatile__("fxsave %0" : "=m"(area));
  std::uint32_t mask = static_cast<std::uint32_t>(area[kMaskOffset]) |
                       (static_cast<std::uint32_t>(area[kMaskOffset + 1]) << 8) |
                       (static_cast<std::uint32_t>(area[kMaskOffset + 2]) << 16) |
                       (static_cast<std::uint32_t>(area[kMaskOffset + 3]) << 24);
  if (mask == 0) mask = kDefaultMask;
  return (kFlushToZero | kDenormalsAreZero) & mask;
}
#else
std::uint32_t supportedFlushBits() { return kFlushToZero | kDenormalsAreZero; }
#endif

// Found once when the module is loaded, before any audio call.
const std::uint32_t flushBitsOfThisProcessor = supportedFlushBits();
#endif

}  // namespace

std::uint32_t DenormalGuard::flushBits() {
#if QUINDLE_HAS_SSE_CONTROL
  return flushBitsOfThisProcessor;
#else
  return 0;
#endif
}

DenormalGuard::DenormalGuard() : saved(0) {
#if QUINDLE_HAS_SSE_CONTROL
  saved = _mm_getcsr();
  _mm_setcsr(saved | flushBitsOfThisProcessor);
#endif
}

DenormalGuard::~DenormalGuard() {
#if QUINDLE_HAS_SSE_CONTROL
  _mm_setcsr(saved);
#endif
}
