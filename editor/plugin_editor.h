// The synthesiser's editor on Windows: the background picture with its three captioned
// panels, two BRIGHT switches and eleven knobs, each bound to one parameter, drawn from
// the module's bitmap resources.
#pragma once

#include "editor/window_editor.h"

class PluginEditor : public WindowEditor {
 public:
  // The instance's construction, any host thread: loads the bitmaps and creates the
  // controls. Throws std::bad_alloc when storage runs out, leaving nothing behind.
  explicit PluginEditor(EditedInstance* owner);
  // The instance's destruction (effClose).
  ~PluginEditor() override;

  // The loaded bitmap of a resource number, for the controls' drawing.
  HBITMAP bitmapFor(BitmapId id) const override;

 private:
  void releaseBitmaps();

  HBITMAP backgroundImage;
  HBITMAP switchImage;
  HBITMAP knobStripImage;
  HBITMAP knobMaskImage;
};
