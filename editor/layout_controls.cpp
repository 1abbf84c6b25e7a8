#include "editor/layout_controls.h"

#include <memory>
#include <utility>

#include "editor/editor_layout.h"
#include "editor/gui_knob.h"
#include "editor/gui_switch.h"

namespace editor_layout {

void addControls(ControlSet& controls, EditorBase* owner, const ArtworkPresent& artwork) {
  const bool haveKnobs = artwork.knobStrip && artwork.knobMask;
  for (const ControlPlace& place : kControls) {
    std::unique_ptr<GuiControl> control;
    if (place.kind == CONTROL_SWITCH && artwork.switchImage) {
      control.reset(new GuiSwitch(place.left, place.top, kSwitchId));
    } else if (place.kind == CONTROL_KNOB && haveKnobs) {
      control.reset(new GuiKnob(place.left, place.top, kKnobSize, kKnobSize, kKnobSnapRadius, kKnobSnapValue,
                                kKnobStripId, kKnobMaskId, kKnobSize, kKnobFrameCount));
    }
    if (!control) continue;
    control->bind(owner, place.parameterIndex, true);
    controls.add(std::move(control));
  }
}

}  // namespace editor_layout
