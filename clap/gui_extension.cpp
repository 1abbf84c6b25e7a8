// The gui extension: the instance's editor embedded in a window of the host's, a child
// window of the size the editor has (it cannot be resized or scaled). Windows builds
// embed the Win32 editor ("win32"); builds without an editor offer no gui extension.
#include <cstring>

#include "clap/clap_instance.h"
#include "clap/extensions.h"
#include "editor/editor_base.h"

namespace {

#ifdef _WIN32
constexpr bool kHasEditor = true;
constexpr const char* kEditorApi = CLAP_WINDOW_API_WIN32;
void* windowHandle(const clap_window_t& window) { return window.win32; }
bool isEditorApi(const char* api, bool floating) {
  return api != nullptr && !floating && std::strcmp(api, kEditorApi) == 0;
}
#else
constexpr bool kHasEditor = false;
constexpr const char* kEditorApi = "";
void* windowHandle(const clap_window_t&) { return nullptr; }
bool isEditorApi(const char*, bool) { return false; }
#endif

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

// Host, main thread: embedded only.
bool CLAP_ABI guiIsApiSupported(const clap_plugin_t*, const char* api, bool isFloating) {
  return isEditorApi(api, isFloating);
}

// Host, main thread.
bool CLAP_ABI guiPreferredApi(const clap_plugin_t*, const char** api, bool* isFloating) {
  if (!kHasEditor || api == nullptr || isFloating == nullptr) return false;
  *api = kEditorApi;
  *isFloating = false;
  return true;
}

// Host, main thread: the editor is made, its controls showing the live values; its window
// comes with set_parent.
bool CLAP_ABI guiCreate(const clap_plugin_t* plugin, const char* api, bool isFloating) {
  ClapInstance* instance = ClapInstance::of(plugin);
  if (instance == nullptr || !isEditorApi(api, isFloating) || instance->editorSlot() != nullptr) return false;
  EditorBase* editor = createPluginEditor(instance);
  if (editor == nullptr) return false;
  editor->refreshAllControls();
  instance->editorSlot() = editor;
  return true;
}

// Host, main thread: the window goes, then the editor.
void CLAP_ABI guiDestroy(const clap_plugin_t* plugin) {
  ClapInstance* instance = ClapInstance::of(plugin);
  if (instance == nullptr || instance->editorSlot() == nullptr) return;
  EditorBase* editor = instance->editorSlot();
  instance->editorSlot() = nullptr;
  instance->editorParent() = nullptr;
  editor->close();
  delete editor;
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
  if (parent == nullptr || !instance->editorSlot()->open(parent)) return false;
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
  EditorBase* editor = instance->editorSlot();
  return editor->isOpen() || editor->open(instance->editorParent());
}

// Host, main thread: the window closes; the editor and its controls stay.
bool CLAP_ABI guiHide(const clap_plugin_t* plugin) {
  EditorBase* editor = editorOf(plugin);
  if (editor == nullptr) return false;
  editor->close();
  return true;
}

const clap_plugin_gui_t kGui = {
    guiIsApiSupported, guiPreferredApi, guiCreate,        guiDestroy,   guiSetScale,
    guiGetSize,        guiCanResize,    guiResizeHints,   guiAdjustSize, guiSetSize,
    guiSetParent,      guiSetTransient, guiSuggestTitle,  guiShow,      guiHide,
};

}  // namespace

const clap_plugin_gui_t* quindleclap::guiExtension() { return kHasEditor ? &kGui : nullptr; }
