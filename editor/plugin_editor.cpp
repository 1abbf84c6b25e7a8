#include "editor/plugin_editor.h"

#include <new>

#include "editor/editor_layout.h"
#include "editor/layout_controls.h"

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
    // A bitmap that failed to load leaves out the controls drawn from it; the rest work.
    editor_layout::addControls(controlSet(), this,
                               {switchImage != nullptr, knobStripImage != nullptr, knobMaskImage != nullptr});
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

HBITMAP PluginEditor::bitmapFor(BitmapId id) const {
  switch (id) {
    case editor_layout::kBackgroundId: return backgroundImage;
    case editor_layout::kSwitchId: return switchImage;
    case editor_layout::kKnobStripId: return knobStripImage;
    case editor_layout::kKnobMaskId: return knobMaskImage;
    default: return nullptr;
  }
}

void PluginEditor::releaseBitmaps() {
  setBackground(nullptr);
  deleteBitmap(backgroundImage);
  deleteBitmap(switchImage);
  deleteBitmap(knobStripImage);
  deleteBitmap(knobMaskImage);
}

// Called by the instance's construction, on whichever host thread creates it.
EditorBase* createPluginEditor(EditedInstance* owner) {
  try {
    return new PluginEditor(owner);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
