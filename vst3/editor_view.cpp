#include "vst3/editor_view.h"

#include <atomic>
#include <cstring>
#include <new>

#include "editor/editor_base.h"
#include "editor/editor_event_pump.h"
#include "vst3/controller_side.h"

namespace quindle_vst3 {
namespace {

using namespace vst3;

// The window type the build's editor opens in.
#if QUINDLE_VST3_WINDOWS
constexpr FIDString kPlatformType = kPlatformTypeHWND;
#else
constexpr FIDString kPlatformType = kPlatformTypeX11EmbedWindowID;
#endif

// Every call comes on the host's UI thread. Usual order: getSize, canResize,
// isPlatformTypeSupported, setFrame, attached; then setFrame (null), removed, the last
// release. The frame may also come after attached.
//
// An editor with an event pump (the X11 editor) starts no thread: while its window is
// open and the frame offers the host's run loop, the view is registered there as the
// handler of the window's descriptor and as a timer, and hands both to the pump. The
// Win32 editor has none; its window gets its messages from the system.
class EditorView final : public IPlugView, public Linux::IEventHandler, public Linux::ITimerHandler {
 public:
  EditorView(FUnknown& viewOwner, ControllerSide& edited, EditorBase* shownEditor)
      : references(1), owner(viewOwner), controller(edited), editor(shownEditor), frame(nullptr), runLoop(nullptr) {
    controller.addEditor(editor);  // may throw, before anything needs undoing
    owner.addRef();
    editor->refreshAllControls();
  }

  // Any thread. The view, its descriptor handler and its timer are one object.
  tresult PLUGIN_API queryInterface(const TUID interfaceId, void** obj) override {
    if (obj == nullptr) return kInvalidArgument;
    *obj = nullptr;
    if (sameUid(interfaceId, FUnknown::iid) || sameUid(interfaceId, IPlugView::iid)) {
      *obj = static_cast<IPlugView*>(this);
    } else if (sameUid(interfaceId, Linux::IEventHandler::iid)) {
      *obj = static_cast<Linux::IEventHandler*>(this);
    } else if (sameUid(interfaceId, Linux::ITimerHandler::iid)) {
      *obj = static_cast<Linux::ITimerHandler*>(this);
    } else {
      return kNoInterface;
    }
    addRef();
    return kResultOk;
  }
  uint32 PLUGIN_API addRef() override { return references.fetch_add(1, std::memory_order_relaxed) + 1; }
  uint32 PLUGIN_API release() override {
    const uint32 left = references.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) delete this;
    return left;
  }

  tresult PLUGIN_API isPlatformTypeSupported(FIDString type) override {
    return type != nullptr && std::strcmp(type, kPlatformType) == 0 ? kResultTrue : kResultFalse;
  }
  // `parent` is the host's HWND, or on Linux its X11 window id in the pointer itself.
  tresult PLUGIN_API attached(void* parent, FIDString type) override {
    if (parent == nullptr || isPlatformTypeSupported(type) != kResultTrue) return kInvalidArgument;
    stopPump();
    if (!editor->open(parent)) return kResultFalse;
    startPump();
    return kResultOk;
  }
  tresult PLUGIN_API removed() override {
    stopPump();
    editor->close();
    return kResultOk;
  }
  // Wheel and keys are the host's: the editor takes the wheel from its own window.
  tresult PLUGIN_API onWheel(float) override { return kResultFalse; }
  tresult PLUGIN_API onKeyDown(char16, int16, int16) override { return kResultFalse; }
  tresult PLUGIN_API onKeyUp(char16, int16, int16) override { return kResultFalse; }

  // The editor's fixed size, also before attached.
  tresult PLUGIN_API getSize(ViewRect* size) override {
    if (size == nullptr) return kInvalidArgument;
    return editorSize(*size) ? kResultOk : kResultFalse;
  }
  tresult PLUGIN_API onSize(ViewRect* newSize) override { return newSize != nullptr ? kResultOk : kInvalidArgument; }
  tresult PLUGIN_API onFocus(TBool) override { return kResultOk; }
  // Before or after attached; null before removed. The run loop comes with the frame.
  tresult PLUGIN_API setFrame(IPlugFrame* newFrame) override {
    stopPump();
    if (newFrame != nullptr) newFrame->addRef();
    if (frame != nullptr) frame->release();
    frame = newFrame;
    if (editor->isOpen()) startPump();
    return kResultOk;
  }
  tresult PLUGIN_API canResize() override { return kResultFalse; }
  tresult PLUGIN_API checkSizeConstraint(ViewRect* rect) override {
    if (rect == nullptr) return kInvalidArgument;
    ViewRect size{};
    if (!editorSize(size)) return kResultFalse;
    rect->right = rect->left + size.right;
    rect->bottom = rect->top + size.bottom;
    return kResultOk;
  }

  // The host's run loop, UI thread: the window's descriptor is readable, or the timer ran.
  void PLUGIN_API onFDIsSet(int) override {
    if (EditorEventPump* pump = editor->eventPump()) pump->pumpEvents();
  }
  void PLUGIN_API onTimer() override {
    if (EditorEventPump* pump = editor->eventPump()) pump->pumpTimer();
  }

 private:
  // The last release, after removed: the editor goes before the object it edits.
  ~EditorView() {
    setFrame(nullptr);
    controller.removeEditor(editor);
    delete editor;
    owner.release();
  }

  bool editorSize(ViewRect& size) {
    ERect* rect = nullptr;
    if (!editor->getRect(&rect) || rect == nullptr) return false;
    size = ViewRect{0, 0, rect->right - rect->left, rect->bottom - rect->top};
    return true;
  }

  // Registers with the frame's run loop, where the editor has a pump and the frame a loop.
  void startPump() {
    EditorEventPump* pump = editor->eventPump();
    if (pump == nullptr || frame == nullptr || pump->pumpDescriptor() == EditorEventPump::kNoDescriptor) return;
    void* found = nullptr;
    if (frame->queryInterface(Linux::IRunLoop::iid.bytes, &found) != kResultOk || found == nullptr) return;
    runLoop = static_cast<Linux::IRunLoop*>(found);
    runLoop->registerEventHandler(this, pump->pumpDescriptor());
    runLoop->registerTimer(this, EditorEventPump::kTimerPeriodMs);
  }
  void stopPump() {
    if (runLoop == nullptr) return;
    runLoop->unregisterEventHandler(this);
    runLoop->unregisterTimer(this);
    runLoop->release();
    runLoop = nullptr;
  }

  std::atomic<uint32> references;
  FUnknown& owner;
  ControllerSide& controller;
  EditorBase* editor;
  IPlugFrame* frame;
  Linux::IRunLoop* runLoop;  // while registered there
};

}  // namespace

IPlugView* createEditorView(FUnknown& owner, ControllerSide& controller) {
  EditorBase* editor = createPluginEditor(&controller);
  if (editor == nullptr) return nullptr;
  try {
    return new EditorView(owner, controller, editor);
  } catch (const std::bad_alloc&) {
    delete editor;
    return nullptr;
  }
}

}  // namespace quindle_vst3
