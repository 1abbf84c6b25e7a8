// The editor's view and the host's frame around it, and on Linux the host's run loop,
// which drives the view's X connection and timers (the plug-in runs no event thread).
#pragma once

#include <cstddef>

#include "vst3/abi/vst3_unknown.h"

namespace vst3 {

// Platform types of IPlugView::attached's parent.
constexpr FIDString kPlatformTypeHWND = "HWND";                           // Windows: the parent HWND
constexpr FIDString kPlatformTypeX11EmbedWindowID = "X11EmbedWindowID";  // Linux: the X11 Window ID itself
constexpr FIDString kPlatformTypeNSView = "NSView";
constexpr FIDString kPlatformTypeHIView = "HIView";
constexpr FIDString kPlatformTypeUIView = "UIView";

// In pixels on Windows and Linux.
struct ViewRect {
  int32 left;
  int32 top;
  int32 right;
  int32 bottom;
};

using ScaleFactor = float;

class IPlugFrame;

// Plug-in object, made by IEditController::createView; UI thread. The host's usual order:
// getSize, canResize, isPlatformTypeSupported, setFrame, attached; then setFrame (null),
// removed, the final release. Accept the frame after attached too.
class IPlugView : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x5BC32507, 0xD06049EA, 0xA6151B52, 0x2B755B29);

  // Slot 3. kResultTrue for this platform's type, else kResultFalse.
  virtual tresult PLUGIN_API isPlatformTypeSupported(FIDString type) = 0;
  virtual tresult PLUGIN_API attached(void* parent, FIDString type) = 0;  // slot 4: open the window
  virtual tresult PLUGIN_API removed() = 0;                               // slot 5: close it
  virtual tresult PLUGIN_API onWheel(float distance) = 0;                 // slot 6
  // Slots 7 and 8. kResultTrue only if handled.
  virtual tresult PLUGIN_API onKeyDown(char16 key, int16 keyCode, int16 modifiers) = 0;
  virtual tresult PLUGIN_API onKeyUp(char16 key, int16 keyCode, int16 modifiers) = 0;
  virtual tresult PLUGIN_API getSize(ViewRect* size) = 0;  // slot 9: works before attached
  // Slot 10. The only place to resize the native window.
  virtual tresult PLUGIN_API onSize(ViewRect* newSize) = 0;
  virtual tresult PLUGIN_API onFocus(TBool state) = 0;  // slot 11
  // Slot 12. Keep the frame with addRef; null releases it.
  virtual tresult PLUGIN_API setFrame(IPlugFrame* frame) = 0;
  virtual tresult PLUGIN_API canResize() = 0;  // slot 13: kResultTrue or kResultFalse
  // Slot 14. Adjusts `rect` in place.
  virtual tresult PLUGIN_API checkSizeConstraint(ViewRect* rect) = 0;

 protected:
  ~IPlugView() = default;
};

// Host object, UI thread. The host answers with IPlugView::onSize.
class IPlugFrame : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x367FAF01, 0xAFA94693, 0x8D4DA2A0, 0xED0882A3);

  virtual tresult PLUGIN_API resizeView(IPlugView* view, ViewRect* newSize) = 0;  // slot 3

 protected:
  ~IPlugFrame() = default;
};

// Plug-in object, optional, on the view. UI thread.
class IPlugViewContentScaleSupport : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x65ED9690, 0x8AC44525, 0x8AADEF7A, 0x72EA703F);

  virtual tresult PLUGIN_API setContentScaleFactor(ScaleFactor factor) = 0;  // slot 3

 protected:
  ~IPlugViewContentScaleSupport() = default;
};

namespace Linux {

using TimerInterval = uint64;  // milliseconds

// Plug-in object, registered with IRunLoop; the host calls it on the UI thread when `fd`
// is readable. Needs a real reference count and must live while registered.
class IEventHandler : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x561E65C9, 0x13A0496F, 0x813A2C35, 0x654D7983);

  virtual void PLUGIN_API onFDIsSet(int fd) = 0;  // slot 3

 protected:
  ~IEventHandler() = default;
};

// Plug-in object, registered with IRunLoop; called on the UI thread. The same lifetime
// rules as IEventHandler.
class ITimerHandler : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x10BDD94F, 0x41424774, 0x821FAD8F, 0xECA72CA9);

  virtual void PLUGIN_API onTimer() = 0;  // slot 3

 protected:
  ~ITimerHandler() = default;
};

// Host object: query it from the IPlugFrame (or the factory's host context). UI thread;
// unregister every handler before closing the display.
class IRunLoop : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x18C35366, 0x97764F1A, 0x9C5B8385, 0x7A871389);

  virtual tresult PLUGIN_API registerEventHandler(IEventHandler* handler, int fd) = 0;        // slot 3
  virtual tresult PLUGIN_API unregisterEventHandler(IEventHandler* handler) = 0;              // slot 4
  virtual tresult PLUGIN_API registerTimer(ITimerHandler* handler, TimerInterval milliseconds) = 0;  // slot 5
  virtual tresult PLUGIN_API unregisterTimer(ITimerHandler* handler) = 0;                     // slot 6

 protected:
  ~IRunLoop() = default;
};

}  // namespace Linux

// Layout, identical on the three targets.
static_assert(sizeof(ViewRect) == 16 && alignof(ViewRect) == 4, "ViewRect");
static_assert(offsetof(ViewRect, left) == 0 && offsetof(ViewRect, top) == 4, "ViewRect");
static_assert(offsetof(ViewRect, right) == 8 && offsetof(ViewRect, bottom) == 12, "ViewRect");

// The raw ID bytes on this platform.
#if QUINDLE_VST3_WINDOWS
static_assert(uidHasBytes(IPlugView::iid, "0725C35B60D0EA49A6151B522B755B29"), "IPlugView IID");
static_assert(uidHasBytes(IPlugFrame::iid, "01AF7F36A9AF93468D4DA2A0ED0882A3"), "IPlugFrame IID");
static_assert(uidHasBytes(IPlugViewContentScaleSupport::iid, "9096ED65C48A25458AADEF7A72EA703F"),
              "IPlugViewContentScaleSupport IID");
static_assert(uidHasBytes(Linux::IRunLoop::iid, "6653C31876971A4F9C5B83857A871389"), "IRunLoop IID");
static_assert(uidHasBytes(Linux::IEventHandler::iid, "C9651E56A0136F49813A2C35654D7983"), "IEventHandler IID");
static_assert(uidHasBytes(Linux::ITimerHandler::iid, "4FD9BD1042417447821FAD8FECA72CA9"), "ITimerHandler IID");
#else
static_assert(uidHasBytes(IPlugView::iid, "5BC32507D06049EAA6151B522B755B29"), "IPlugView IID");
static_assert(uidHasBytes(IPlugFrame::iid, "367FAF01AFA946938D4DA2A0ED0882A3"), "IPlugFrame IID");
static_assert(uidHasBytes(IPlugViewContentScaleSupport::iid, "65ED96908AC445258AADEF7A72EA703F"),
              "IPlugViewContentScaleSupport IID");
static_assert(uidHasBytes(Linux::IRunLoop::iid, "18C3536697764F1A9C5B83857A871389"), "IRunLoop IID");
static_assert(uidHasBytes(Linux::IEventHandler::iid, "561E65C913A0496F813A2C35654D7983"), "IEventHandler IID");
static_assert(uidHasBytes(Linux::ITimerHandler::iid, "10BDD94F41424774821FAD8FECA72CA9"), "ITimerHandler IID");
#endif

}  // namespace vst3
