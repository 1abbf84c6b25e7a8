// The synthesiser's thirteen controls, made from the layout table for either window
// back-end. A bitmap that is missing leaves out the controls drawn from it.
#pragma once

#include "editor/control_set.h"

class EditorBase;

namespace editor_layout {

struct ArtworkPresent {
  bool switchImage;
  bool knobStrip;
  bool knobMask;
};

// Appends the switches (when their image is there) and the knobs (when both the strip
// and the mask are), in layout order, each bound to its parameter and reporting as
// automation through `owner`. Throws std::bad_alloc when storage runs out.
void addControls(ControlSet& controls, EditorBase* owner, const ArtworkPresent& artwork);

}  // namespace editor_layout
