// Units and program lists: how the controller groups its parameters and names its
// programs, and the host's handler that hears of changes to them.
#pragma once

#include <cstddef>

#include "vst3/abi/vst3_unknown.h"

namespace vst3 {

class IBStream;

constexpr UnitID kRootUnitId = 0;
constexpr UnitID kNoParentUnitId = -1;
constexpr ProgramListID kNoProgramListId = -1;
constexpr int32 kAllProgramInvalid = -1;  // a program index standing for every program of a list

struct UnitInfo {
  UnitID id;
  UnitID parentUnitId;
  String128 name;
  ProgramListID programListId;
};

struct ProgramListInfo {
  ProgramListID id;
  String128 name;
  int32 programCount;
};

// Plug-in object (the controller), UI thread.
class IUnitInfo : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x3D4BD6B5, 0x913A4FD2, 0xA886E768, 0xA5EB92C1);

  virtual int32 PLUGIN_API getUnitCount() = 0;  // slot 3: at least 1, the root
  virtual tresult PLUGIN_API getUnitInfo(int32 unitIndex, UnitInfo& info) = 0;               // slot 4
  virtual int32 PLUGIN_API getProgramListCount() = 0;                                        // slot 5
  virtual tresult PLUGIN_API getProgramListInfo(int32 listIndex, ProgramListInfo& info) = 0;  // slot 6
  // Slot 7.
  virtual tresult PLUGIN_API getProgramName(ProgramListID listId, int32 programIndex, String128 name) = 0;
  // Slot 8. kNotImplemented is a valid answer.
  virtual tresult PLUGIN_API getProgramInfo(ProgramListID listId, int32 programIndex, FIDString attributeId,
                                            String128 attributeValue) = 0;
  // Slot 9. kResultFalse when the programs name no pitches.
  virtual tresult PLUGIN_API hasProgramPitchNames(ProgramListID listId, int32 programIndex) = 0;
  // Slot 10.
  virtual tresult PLUGIN_API getProgramPitchName(ProgramListID listId, int32 programIndex, int16 midiPitch,
                                                 String128 name) = 0;
  virtual UnitID PLUGIN_API getSelectedUnit() = 0;         // slot 11
  virtual tresult PLUGIN_API selectUnit(UnitID unitId) = 0;  // slot 12
  // Slot 13.
  virtual tresult PLUGIN_API getUnitByBus(MediaType type, BusDirection dir, int32 busIndex, int32 channel,
                                          UnitID& unitId) = 0;
  // Slot 14.
  virtual tresult PLUGIN_API setUnitProgramData(int32 listOrUnitId, int32 programIndex, IBStream* data) = 0;

 protected:
  ~IUnitInfo() = default;
};

// Host object, optional: query the component handler for it. UI thread.
class IUnitHandler : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x4B5147F8, 0x4654486B, 0x8DAB30BA, 0x163A3C56);

  virtual tresult PLUGIN_API notifyUnitSelection(UnitID unitId) = 0;                                  // slot 3
  virtual tresult PLUGIN_API notifyProgramListChange(ProgramListID listId, int32 programIndex) = 0;  // slot 4

 protected:
  ~IUnitHandler() = default;
};

// Layouts, identical on the three targets.
static_assert(sizeof(UnitInfo) == 268 && alignof(UnitInfo) == 4, "UnitInfo");
static_assert(offsetof(UnitInfo, id) == 0 && offsetof(UnitInfo, parentUnitId) == 4, "UnitInfo");
static_assert(offsetof(UnitInfo, name) == 8 && offsetof(UnitInfo, programListId) == 264, "UnitInfo");

static_assert(sizeof(ProgramListInfo) == 264 && alignof(ProgramListInfo) == 4, "ProgramListInfo");
static_assert(offsetof(ProgramListInfo, id) == 0 && offsetof(ProgramListInfo, name) == 4, "ProgramListInfo");
static_assert(offsetof(ProgramListInfo, programCount) == 260, "ProgramListInfo");

// The raw ID bytes on this platform.
#if QUINDLE_VST3_WINDOWS
static_assert(uidHasBytes(IUnitInfo::iid, "B5D64B3D3A91D24FA886E768A5EB92C1"), "IUnitInfo IID");
static_assert(uidHasBytes(IUnitHandler::iid, "F847514B54466B488DAB30BA163A3C56"), "IUnitHandler IID");
#else
static_assert(uidHasBytes(IUnitInfo::iid, "3D4BD6B5913A4FD2A886E768A5EB92C1"), "IUnitInfo IID");
static_assert(uidHasBytes(IUnitHandler::iid, "4B5147F84654486B8DAB30BA163A3C56"), "IUnitHandler IID");
#endif

}  // namespace vst3
