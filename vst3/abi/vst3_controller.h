// The edit controller: the parameters as the host and the editor see them, and the
// host's handler through which edits travel back. Every call here is on the UI thread.
#pragma once

#include <cstddef>

#include "vst3/abi/vst3_unknown.h"

namespace vst3 {

class IBStream;
class IPlugView;

// Plug-in parameter IDs are 0..0x7FFFFFFF; this one means "no parameter".
constexpr ParamID kNoParamId = 0xFFFFFFFF;

struct ParameterInfo {
  enum ParameterFlags : int32 {
    kNoFlags = 0,
    kCanAutomate = 1 << 0,
    kIsReadOnly = 1 << 1,
    kIsWrapAround = 1 << 2,
    kIsList = 1 << 3,
    kIsHidden = 1 << 4,
    kIsProgramChange = 1 << 15,  // never together with kCanAutomate
    kIsBypass = 1 << 16,
  };

  ParamID id;
  String128 title;
  String128 shortTitle;
  String128 units;
  int32 stepCount;  // 0 continuous, n for n + 1 states
  ParamValue defaultNormalizedValue;
  UnitID unitId;
  int32 flags;  // ParameterFlags
};

// IComponentHandler::restartComponent flags.
enum RestartFlags : int32 {
  kReloadComponent = 1 << 0,
  kIoChanged = 1 << 1,
  kParamValuesChanged = 1 << 2,
  kLatencyChanged = 1 << 3,
  kParamTitlesChanged = 1 << 4,
  kMidiCCAssignmentChanged = 1 << 5,
  kNoteExpressionChanged = 1 << 6,
  kIoTitlesChanged = 1 << 7,
  kPrefetchableSupportChanged = 1 << 8,
  kRoutingInfoChanged = 1 << 9,
  kKeyswitchChanged = 1 << 10,
  kParamIDMappingChanged = 1 << 11,
};

enum KnobModes : KnobMode { kCircularMode = 0, kRelativCircularMode = 1, kLinearMode = 2 };

// The name createView knows.
namespace ViewType {
constexpr const char8* kEditor = "editor";
}  // namespace ViewType

// Host object, called by the plug-in on the UI thread only (never from `process`). Edits
// reach the audio side only as parameter changes of a later `process`.
class IComponentHandler : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x93A0BEA3, 0x0BD045DB, 0x8E890B0C, 0xC1E46AC6);

  virtual tresult PLUGIN_API beginEdit(ParamID id) = 0;                               // slot 3
  virtual tresult PLUGIN_API performEdit(ParamID id, ParamValue valueNormalized) = 0;  // slot 4
  virtual tresult PLUGIN_API endEdit(ParamID id) = 0;                                 // slot 5
  // Slot 6. RestartFlags; a host may answer kNotImplemented to flags it does not support.
  virtual tresult PLUGIN_API restartComponent(int32 flags) = 0;

 protected:
  ~IComponentHandler() = default;
};

// Host object, optional: query the handler for it.
class IComponentHandler2 : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0xF040B4B3, 0xA36045EC, 0xABCDC045, 0xB4D5A2CC);

  virtual tresult PLUGIN_API setDirty(TBool state) = 0;              // slot 3
  virtual tresult PLUGIN_API requestOpenEditor(FIDString name) = 0;  // slot 4
  virtual tresult PLUGIN_API startGroupEdit() = 0;                   // slot 5
  virtual tresult PLUGIN_API finishGroupEdit() = 0;                  // slot 6

 protected:
  ~IComponentHandler2() = default;
};

class IEditController : public IPluginBase {
 public:
  static constexpr Uid iid = makeUid(0xDCD7BBE3, 0x7742448D, 0xA874AACC, 0x979C759E);

  // Slot 5. The component's state bytes: sync the parameters, call no handler.
  virtual tresult PLUGIN_API setComponentState(IBStream* state) = 0;
  // Slots 6 and 7: the controller's own state. The same C++ signatures as IComponent's
  // slots 12 and 13; see vst3_state_slots.h to implement both in one object.
  virtual tresult PLUGIN_API setState(IBStream* state) = 0;
  virtual tresult PLUGIN_API getState(IBStream* state) = 0;
  virtual int32 PLUGIN_API getParameterCount() = 0;                                 // slot 8
  virtual tresult PLUGIN_API getParameterInfo(int32 paramIndex, ParameterInfo& info) = 0;  // slot 9
  // Slot 10. A terminated text for any value 0..1.
  virtual tresult PLUGIN_API getParamStringByValue(ParamID id, ParamValue valueNormalized, String128 string) = 0;
  // Slot 11.
  virtual tresult PLUGIN_API getParamValueByString(ParamID id, TChar* string, ParamValue& valueNormalized) = 0;
  virtual ParamValue PLUGIN_API normalizedParamToPlain(ParamID id, ParamValue valueNormalized) = 0;  // slot 12
  virtual ParamValue PLUGIN_API plainParamToNormalized(ParamID id, ParamValue plainValue) = 0;       // slot 13
  virtual ParamValue PLUGIN_API getParamNormalized(ParamID id) = 0;                                  // slot 14
  // Slot 15. Updates the model and the editor only; never calls the handler.
  virtual tresult PLUGIN_API setParamNormalized(ParamID id, ParamValue value) = 0;
  // Slot 16. Keep it with addRef; release it in terminate.
  virtual tresult PLUGIN_API setComponentHandler(IComponentHandler* handler) = 0;
  // Slot 17. A new view with count 1 for ViewType::kEditor, else null.
  virtual IPlugView* PLUGIN_API createView(FIDString name) = 0;

 protected:
  ~IEditController() = default;
};

// Optional.
class IEditController2 : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x7F4EFE59, 0xF3204967, 0xAC27A3AE, 0xAFB63038);

  virtual tresult PLUGIN_API setKnobMode(KnobMode mode) = 0;     // slot 3
  virtual tresult PLUGIN_API openHelp(TBool onlyCheck) = 0;      // slot 4
  virtual tresult PLUGIN_API openAboutBox(TBool onlyCheck) = 0;  // slot 5

 protected:
  ~IEditController2() = default;
};

// Layout, identical on the three targets.
static_assert(sizeof(ParameterInfo) == 792 && alignof(ParameterInfo) == 8, "ParameterInfo");
static_assert(offsetof(ParameterInfo, id) == 0 && offsetof(ParameterInfo, title) == 4, "ParameterInfo");
static_assert(offsetof(ParameterInfo, shortTitle) == 260 && offsetof(ParameterInfo, units) == 516, "ParameterInfo");
static_assert(offsetof(ParameterInfo, stepCount) == 772 && offsetof(ParameterInfo, defaultNormalizedValue) == 776,
              "ParameterInfo");
static_assert(offsetof(ParameterInfo, unitId) == 784 && offsetof(ParameterInfo, flags) == 788, "ParameterInfo");

// The raw ID bytes on this platform.
#if QUINDLE_VST3_WINDOWS
static_assert(uidHasBytes(IComponentHandler::iid, "A3BEA093D00BDB458E890B0CC1E46AC6"), "IComponentHandler IID");
static_assert(uidHasBytes(IComponentHandler2::iid, "B3B440F060A3EC45ABCDC045B4D5A2CC"), "IComponentHandler2 IID");
static_assert(uidHasBytes(IEditController::iid, "E3BBD7DC42778D44A874AACC979C759E"), "IEditController IID");
static_assert(uidHasBytes(IEditController2::iid, "59FE4E7F20F36749AC27A3AEAFB63038"), "IEditController2 IID");
#else
static_assert(uidHasBytes(IComponentHandler::iid, "93A0BEA30BD045DB8E890B0CC1E46AC6"), "IComponentHandler IID");
static_assert(uidHasBytes(IComponentHandler2::iid, "F040B4B3A36045ECABCDC045B4D5A2CC"), "IComponentHandler2 IID");
static_assert(uidHasBytes(IEditController::iid, "DCD7BBE37742448DA874AACC979C759E"), "IEditController IID");
static_assert(uidHasBytes(IEditController2::iid, "7F4EFE59F3204967AC27A3AEAFB63038"), "IEditController2 IID");
#endif

}  // namespace vst3
