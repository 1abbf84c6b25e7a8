// The LV2 plug-in's editor: the X11 editor embedded in the host's window (ui:parent),
// driven by the host's idle calls (ui:idleInterface). It edits the plug-in through the
// host: a change the user makes is a write to the parameter's control port, bracketed by
// ui:touch where the host offers it; the host tells it of port values with port_event.
#include <lv2/core/lv2.h>
#include <lv2/ui/ui.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>

#include "editor/edited_instance.h"
#include "editor/editor_layout.h"
#include "editor/x11_editor.h"
#include "lv2/lv2_features.h"
#include "lv2/lv2_ports.h"
#include "params/program_bank.h"

namespace {

// Port protocol 0: a control port's value, one float.
constexpr std::uint32_t kFloatProtocol = 0;

// The plug-in as the editor sees it from the UI's side: the port values the host last
// told of, and the host's write function for the user's changes.
class Lv2EditedPlugin : public EditedInstance {
 public:
  Lv2EditedPlugin(LV2UI_Write_Function write, LV2UI_Controller controller, const LV2UI_Touch* touch)
      : writePort(write), hostController(controller), touchFeature(touch), editor(this) {
    // The description's defaults until the host tells of the ports' values.
    for (std::int32_t index = 0; index < PARAMETER_COUNT; ++index) {
      values[index].store(kFactoryPrograms[0].values[index], std::memory_order_relaxed);
    }
    editor.refreshAllControls();
  }

  X11Editor& view() { return editor; }

  float getParameter(std::int32_t index) override {
    return isParameterIndex(index) ? values[index].load(std::memory_order_relaxed) : 0.0f;
  }
  // The user's change, UI thread: the port takes it through the host.
  void setParameter(std::int32_t index, float value) override {
    if (!isParameterIndex(index)) return;
    values[index].store(value, std::memory_order_relaxed);
    if (writePort != nullptr) writePort(hostController, static_cast<std::uint32_t>(index), sizeof value, kFloatProtocol, &value);
  }
  void automateParameter(std::int32_t index, float value) override { setParameter(index, value); }
  void beginEdit(std::int32_t index) override { touch(index, true); }
  void endEdit(std::int32_t index) override { touch(index, false); }

  // A port's value from the host. Anything but a parameter's float is not ours.
  void portEvent(std::uint32_t port, std::uint32_t size, std::uint32_t format, const void* buffer) {
    if (port >= lv2ports::kMidiIn || format != kFloatProtocol || size != sizeof(float) || buffer == nullptr) return;
    float value;
    std::memcpy(&value, buffer, sizeof value);
    if (!std::isfinite(value)) return;
    const auto index = static_cast<std::int32_t>(port);
    values[index].store(value, std::memory_order_relaxed);
    editor.parameterChanged(index, value);
    editor.redrawDirty();
  }

 private:
  void touch(std::int32_t index, bool grabbed) {
    if (touchFeature != nullptr && touchFeature->touch != nullptr && isParameterIndex(index)) {
      touchFeature->touch(touchFeature->handle, static_cast<std::uint32_t>(index), grabbed);
    }
  }

  LV2UI_Write_Function writePort;
  LV2UI_Controller hostController;
  const LV2UI_Touch* touchFeature;
  std::atomic<float> values[PARAMETER_COUNT];
  X11Editor editor;
};

Lv2EditedPlugin* uiOf(LV2UI_Handle handle) { return static_cast<Lv2EditedPlugin*>(handle); }

// Host, UI thread: the editor opened in the host's window, its id handed back as the
// widget. Null for another plug-in, without a parent window, without a display.
LV2UI_Handle instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*, LV2UI_Write_Function write,
                         LV2UI_Controller controller, LV2UI_Widget* widget, const LV2_Feature* const* features) {
  if (pluginUri == nullptr || std::strcmp(pluginUri, lv2ports::kPluginUri) != 0 || widget == nullptr) return nullptr;
  void* parent = const_cast<void*>(lv2features::find(features, LV2_UI__parent));
  const auto* touch = static_cast<const LV2UI_Touch*>(lv2features::find(features, LV2_UI__touch));
  const auto* resize = static_cast<const LV2UI_Resize*>(lv2features::find(features, LV2_UI__resize));
  if (parent == nullptr) return nullptr;
  Lv2EditedPlugin* ui = nullptr;
  try {
    ui = new Lv2EditedPlugin(write, controller, touch);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  if (!ui->view().open(parent)) {
    delete ui;
    return nullptr;
  }
  if (resize != nullptr && resize->ui_resize != nullptr) {
    resize->ui_resize(resize->handle, editor_layout::kWidth, editor_layout::kHeight);
  }
  *widget = reinterpret_cast<LV2UI_Widget>(static_cast<std::uintptr_t>(ui->view().getWindow()));
  return ui;
}

// Host, UI thread, at the end: the window goes with the editor.
void cleanup(LV2UI_Handle handle) { delete uiOf(handle); }

// Host, UI thread: a control port's value (the plug-in's, or a preset's, or automation).
void portEvent(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
  uiOf(handle)->portEvent(port, size, format, buffer);
}

// Host, UI thread, regularly: the window's events and redraws. Non-zero asks the host to
// close the UI: its window went with the host's.
int idle(LV2UI_Handle handle) {
  X11Editor& editor = uiOf(handle)->view();
  editor.idle();
  return editor.isWindowGone() ? 1 : 0;
}

const LV2UI_Idle_Interface kIdleInterface = {idle};

// Host, any thread.
const void* extensionData(const char* uri) {
  if (uri != nullptr && std::strcmp(uri, LV2_UI__idleInterface) == 0) return &kIdleInterface;
  return nullptr;
}

const LV2UI_Descriptor kDescriptor = {lv2ports::kUiUri, instantiate, cleanup, portEvent, extensionData};

}  // namespace

// Host, when it loads the UI's shared object: its one user interface.
LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) { return index == 0 ? &kDescriptor : nullptr; }
