// The gui extension: the instance's editor embedded in a window of the host's, a child
// window of the size the editor has (it cannot be resized or scaled). Windows builds
// embed the Win32 editor ("win32"), whose window the system's messages drive; Linux
// builds the X11 editor ("x11"), whose window the host's main-thread loop drives through
// the timer and descriptor watch the instance registers while the window is open.
#include <cstdint>
#include <cstring>

#include "clap/clap_instance.h"
#include "clap/extensions.h"
#include "editor/editor_base.h"
#include "editor/editor_event_pump.h"

namespace {

#ifdef _WIN32
constexpr const char* kEditorApi = CLAP_WINDOW_API_WIN32;
void* windowHandle(const clap_window_t& window) { return window.win32; }
bool hostCanDrive(ClapInstance&) { return true; }
#else
constexpr const char* kEditorApi = CLAP_WINDOW_API_X11;
// The X11 editor takes its parent's window id in the pointer's value.
void* windowHandle(const clap_window_t& window) {
  return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window.x11));
}
// The X11 editor starts no thread of its own: an event thread would have to share the
// process's X libraries with the host's toolkit. Without the host's timers nothing would
// ever hand its window an event (the window would show, but never draw a change nor
// answer the mouse), so a host without timer-support gets no editor: create refuses.
//
// is_api_supported still says "x11" to such a host: hosts ask it of instances whose host
// record offers no extension at all, and keep the answer. Qtractor's scanner does, and
// Qtractor 0.9.31 makes such an instance of a plug-in before the one it plays (which gets
// timer-support); answering false there leaves the editor out of that host for good.
bool hostCanDrive(ClapInstance& instance) { return instance.editorLoop().canDrive(); }
#endif

// Embedded only, in the build's window API.
bool isEditorApi(const char* api, bool floating) {
  return api != nullptr && !floating && std::strcmp(api, kEditorApi) == 0;
}

EditorBase* editorOf(const clap_plugin_t* plugin) {
  ClapInstance* instance = ClapInstance::of(plugin);
  return instance != nullptr ? instance->editorSlot() : nullptr;
}

// The editor's fixed size in physical pixels.
bool editorSize(EditorBase* editor, std::uint32_t& width, std::uint32_t& height) {
  ERect* rect = nullptr;
  if (editor == nullptr || !editor->getRect(&rect) || rect == nullptr) return false;
  width = static_cast<std::uint32_t>(rect->right - rect->left);
  height = static_cast<std::uint32_t>(rect->bottom - rect->top);
  return true;
}

// The editor's window opened in `parent` and handed to the host's loop (where the editor
// needs one); false, and closed, when either fails.
bool openWindow(ClapInstance& instance, void* parent) {
  EditorBase* editor = instance.editorSlot();
  // Opening again replaces the window, and with it the descriptor to watch.
  instance.editorLoop().stop();
  if (!editor->open(parent)) return false;
  EditorEventPump* pump = editor->eventPump();
  if (pump != nullptr && !instance.editorLoop().start(*pump)) {
    editor->close();
    return false;
  }
  return true;
}

// Host, main thread: embedded only.
bool CLAP_ABI guiIsApiSupported(const clap_plugin_t*, const char* api, bool isFloating) {
  return isEditorApi(api, isFloating);
}

// Host, main thread.
bool CLAP_ABI guiPreferredApi(const clap_plugin_t*, const char** api, bool* isFloating) {
  if (api == nullptr || isFloating == nullptr) return false;
  *api = kEditorApi;
  *isFloating = false;
  return true;
}

// Host, main thread: the editor is made, its controls showing the live values; its window
// comes with set_parent. Refused where the host cannot drive the window.
bool CLAP_ABI guiCreate(const clap_plugin_t* plugin, const char* api, bool isFloating) {
  ClapInstance* instance = ClapInstance::of(plugin);
  if (instance == nullptr || !isEditorApi(api, isFloating) || !hostCanDrive(*instance) ||
      instance->editorSlot() != nullptr) {
    return false;
  }
  EditorBase* editor = createPluginEditor(instance);
  if (editor == nullptr) return false;
  editor->refreshAllControls();
  instance->editorSlot() = editor;
  return true;
}

// Host, main thread: the host's timer and watch go, then the window, then the editor.
void CLAP_ABI guiDestroy(const clap_plugin_t* plugin) {
  if (ClapInstance* instance = ClapInstance::of(plugin)) instance->destroyEditor();
}

// Host, main thread: the editor draws in physical pixels at one size only.
bool CLAP_ABI guiSetScale(const clap_plugin_t*, double) { return false; }

// Host, main thread, after create.
bool CLAP_ABI guiGetSize(const clap_plugin_t* plugin, uint32_t* width, uint32_t* height) {
  std::uint32_t w = 0;
  std::uint32_t h = 0;
  if (width == nullptr || height == nullptr || !editorSize(editorOf(plugin), w, h)) return false;
  *width = w;
  *height = h;
  return true;
}

// Host, main thread.
bool CLAP_ABI guiCanResize(const clap_plugin_t*) { return false; }
bool CLAP_ABI guiResizeHints(const clap_plugin_t*, clap_gui_resize_hints_t*) { return false; }
bool CLAP_ABI guiAdjustSize(const clap_plugin_t*, uint32_t*, uint32_t*) { return false; }

// Host, main thread: only the editor's own size is accepted.
bool CLAP_ABI guiSetSize(const clap_plugin_t* plugin, uint32_t width, uint32_t height) {
  std::uint32_t w = 0;
  std::uint32_t h = 0;
  return editorSize(editorOf(plugin), w, h) && w == width && h == height;
}

// Host, main thread: the editor's window opens as a child of `window`.
bool CLAP_ABI guiSetParent(const clap_plugin_t* plugin, const clap_window_t* window) {
  ClapInstance* instance = ClapInstance::of(plugin);
  if (instance == nullptr || instance->editorSlot() == nullptr || window == nullptr) return false;
  if (!isEditorApi(window->api, false)) return false;
  void* parent = windowHandle(*window);
  if (parent == nullptr || !openWindow(*instance, parent)) return false;
  instance->editorParent() = parent;
  return true;
}

// Host, main thread: floating windows are not offered.
bool CLAP_ABI guiSetTransient(const clap_plugin_t*, const clap_window_t*) { return false; }
void CLAP_ABI guiSuggestTitle(const clap_plugin_t*, const char*) {}

// Host, main thread: a hidden editor's window opens again in the same parent.
bool CLAP_ABI guiShow(const clap_plugin_t* plugin) {
  ClapInstance* instance = ClapInstance::of(plugin);
  if (instance == nullptr || instance->editorSlot() == nullptr || instance->editorParent() == nullptr) return false;
  return instance->editorSlot()->isOpen() || openWindow(*instance, instance->editorParent());
}

// Host, main thread: the host's timer and watch stop and the window closes; the editor
// and its controls stay.
bool CLAP_ABI guiHide(const clap_plugin_t* plugin) {
  ClapInstance* instance = ClapInstance::of(plugin);
  if (instance == nullptr || instance->editorSlot() == nullptr) return false;
  instance->editorLoop().stop();
  instance->editorSlot()->close();
  return true;
}

const clap_plugin_gui_t kGui = {
    guiIsApiSupported, guiPreferredApi, guiCreate,        guiDestroy,   guiSetScale,
    guiGetSize,        guiCanResize,    guiResizeHints,   guiAdjustSize, guiSetSize,
    guiSetParent,      guiSetTransient, guiSuggestTitle,  guiShow,      guiHide,
};

}  // namespace

const clap_plugin_gui_t* quindleclap::guiExtension() { return &kGui; }
