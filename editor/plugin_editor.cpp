#include "editor/plugin_editor.h"

#include <memory>
#include <new>
#include <utility>

#include "editor/editor_layout.h"
#include "editor/gui_knob.h"
#include "editor/gui_switch.h"

namespace {

HBITMAP loadBitmap(HINSTANCE module, int id) { return LoadBitmapA(module, MAKEINTRESOURCEA(id)); }

void deleteBitmap(HBITMAP& bitmap) {
  if (bitmap != nullptr) DeleteObject(bitmap);
  bitmap = nullptr;
}

}  // namespace

PluginEditor::PluginEditor(EditedInstance* owner)
    : WindowEditor(owner, editor_layout::kWidth, editor_layout::kHeight),
      backgroundImage(loadBitmap(getModuleInstance(), editor_layout::kBackgroundId)),
      switchImage(loadBitmap(getModuleInstance(), editor_layout::kSwitchId)),
      knobStripImage(loadBitmap(getModuleInstance(), editor_layout::kKnobStripId)),
      knobMaskImage(loadBitmap(getModuleInstance(), editor_layout::kKnobMaskId)) {
  setBackground(backgroundImage);
  try {
    createControls();
  } catch (...) {
    releaseBitmaps();
    throw;
  }
}

PluginEditor::~PluginEditor() {
  // The window goes before the bitmaps it paints with.
  close();
  releaseBitmaps();
}

void PluginEditor::releaseBitmaps() {
  setBackground(nullptr);
  deleteBitmap(backgroundImage);
  deleteBitmap(switchImage);
  deleteBitmap(knobStripImage);
  deleteBitmap(knobMaskImage);
}

// A bitmap that failed to load leaves out the controls drawn from it; the rest work.
void PluginEditor::createControls() {
  const bool haveSwitches = switchImage != nullptr;
  const bool haveKnobs = knobStripImage != nullptr && knobMaskImage != nullptr;
  for (const editor_layout::ControlPlace& place : editor_layout::kControls) {
    std::unique_ptr<GuiControl> control;
    if (place.kind == editor_layout::CONTROL_SWITCH && haveSwitches) {
      control.reset(new GuiSwitch(place.left, place.top, switchImage));
    } else if (place.kind == editor_layout::CONTROL_KNOB && haveKnobs) {
      control.reset(new GuiKnob(place.left, place.top, editor_layout::kKnobSize, editor_layout::kKnobSize,
                                editor_layout::kKnobSnapRadius, editor_layout::kKnobSnapValue, knobStripImage,
                                knobMaskImage, editor_layout::kKnobSize, editor_layout::kKnobFrameCount));
    }
    if (!control) continue;
    control->bind(this, place.parameterIndex, true);
    addControl(std::move(control));
  }
}

// Called by the instance's construction, on whichever host thread creates it.
EditorBase* createPluginEditor(EditedInstance* owner) {
  try {
    return new PluginEditor(owner);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
