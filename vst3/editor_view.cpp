#include "vst3/editor_view.h"

#include <atomic>
#include <cstring>
#include <new>

#include "editor/editor_base.h"
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
class EditorView final : public IPlugView {
 public:
  EditorView(FUnknown& viewOwner, ControllerSide& edited, EditorBase* shownEditor)
      : references(1), owner(viewOwner), controller(edited), editor(shownEditor), frame(nullptr) {
    controller.addEditor(editor);  // may throw, before anything needs undoing
    owner.addRef();
    editor->refreshAllControls();
  }

  tresult PLUGIN_API queryInterface(const TUID interfaceId, void** obj) override {
    if (obj == nullptr) return kInvalidArgument;
    *obj = nullptr;
    if (!sameUid(interfaceId, FUnknown::iid) && !sameUid(interfaceId, IPlugView::iid)) return kNoInterface;
    addRef();
    *obj = static_cast<IPlugView*>(this);
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
  tresult PLUGIN_API attached(void* parent, FIDString type) override {
    if (parent == nullptr || isPlatformTypeSupported(type) != kResultTrue) return kInvalidArgument;
    return editor->open(parent) ? kResultOk : kResultFalse;
  }
  tresult PLUGIN_API removed() override {
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
  tresult PLUGIN_API setFrame(IPlugFrame* newFrame) override {
    if (newFrame != nullptr) newFrame->addRef();
    if (frame != nullptr) frame->release();
    frame = newFrame;
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

  std::atomic<uint32> references;
  FUnknown& owner;
  ControllerSide& controller;
  EditorBase* editor;
  IPlugFrame* frame;
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
