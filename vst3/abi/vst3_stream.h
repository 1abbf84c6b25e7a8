// The byte stream through which the host passes state (component and controller state,
// preset data).
#pragma once

#include "vst3/abi/vst3_unknown.h"

namespace vst3 {

// Host object. A read may succeed with fewer bytes than asked (check the count); reading
// starts at the current position, not at 0. The out pointers may be null.
class IBStream : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0xC3BF6EA2, 0x30994752, 0x9B6BF990, 0x1EE33E9B);

  enum IStreamSeekMode : int32 {
    kIBSeekSet = 0,  // from the start
    kIBSeekCur = 1,  // from the current position
    kIBSeekEnd = 2,  // from the end
  };

  virtual tresult PLUGIN_API read(void* buffer, int32 numBytes, int32* numBytesRead) = 0;         // slot 3
  virtual tresult PLUGIN_API write(void* buffer, int32 numBytes, int32* numBytesWritten) = 0;     // slot 4
  virtual tresult PLUGIN_API seek(int64 pos, int32 mode, int64* result) = 0;                      // slot 5
  virtual tresult PLUGIN_API tell(int64* pos) = 0;                                                // slot 6

 protected:
  ~IBStream() = default;
};

// The raw ID bytes on this platform.
#if QUINDLE_VST3_WINDOWS
static_assert(uidHasBytes(IBStream::iid, "A26EBFC3993052479B6BF9901EE33E9B"), "IBStream IID");
#else
static_assert(uidHasBytes(IBStream::iid, "C3BF6EA2309947529B6BF9901EE33E9B"), "IBStream IID");
#endif

}  // namespace vst3
