// Parameter changes as they travel with each block: one queue per changed parameter,
// holding points of a piecewise-linear curve.
#pragma once

#include "vst3/abi/vst3_unknown.h"

namespace vst3 {

// The changes of one parameter within a block. Points come sorted by sampleOffset
// (0..numSamples-1); the curve starts at the value held before the block and holds after
// the last point, so the last point is the value at the block's end.
class IParamValueQueue : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x01263A18, 0xED074F6F, 0x98C9D356, 0x4686F9BA);

  virtual ParamID PLUGIN_API getParameterId() = 0;                                              // slot 3
  virtual int32 PLUGIN_API getPointCount() = 0;                                                 // slot 4
  virtual tresult PLUGIN_API getPoint(int32 index, int32& sampleOffset, ParamValue& value) = 0;  // slot 5
  virtual tresult PLUGIN_API addPoint(int32 sampleOffset, ParamValue value, int32& index) = 0;   // slot 6

 protected:
  ~IParamValueQueue() = default;
};

// Audio thread, inside `process` (a flush included). Each changed ParamID appears once;
// unchanged parameters have no queue.
class IParameterChanges : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0xA4779663, 0x0BB64A56, 0xB44384A8, 0x466FEB9D);

  virtual int32 PLUGIN_API getParameterCount() = 0;                                // slot 3
  virtual IParamValueQueue* PLUGIN_API getParameterData(int32 index) = 0;          // slot 4
  virtual IParamValueQueue* PLUGIN_API addParameterData(const ParamID& id, int32& index) = 0;  // slot 5

 protected:
  ~IParameterChanges() = default;
};

// The raw ID bytes on this platform.
#if QUINDLE_VST3_WINDOWS
static_assert(uidHasBytes(IParameterChanges::iid, "639677A4B60B564AB44384A8466FEB9D"), "IParameterChanges IID");
static_assert(uidHasBytes(IParamValueQueue::iid, "183A260107ED6F4F98C9D3564686F9BA"), "IParamValueQueue IID");
#else
static_assert(uidHasBytes(IParameterChanges::iid, "A47796630BB64A56B44384A8466FEB9D"), "IParameterChanges IID");
static_assert(uidHasBytes(IParamValueQueue::iid, "01263A18ED074F6F98C9D3564686F9BA"), "IParamValueQueue IID");
#endif

}  // namespace vst3
