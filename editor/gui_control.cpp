#include "editor/gui_control.h"

#include "editor/edited_instance.h"
#include "editor/editor_base.h"

GuiControl::GuiControl(std::int32_t controlLeft, std::int32_t controlTop, std::int32_t controlWidth,
                       std::int32_t controlHeight, float initialValue)
    : left(controlLeft),
      top(controlTop),
      width(controlWidth),
      height(controlHeight),
      value(initialValue),
      parameterIndex(0),
      ownerEditor(nullptr),
      automate(false),
      dirty(true),
      hover(false),
      pressed(false),
      roundBackdrop(false),
      backdropVisible(false) {}

GuiControl::~GuiControl() = default;

void GuiControl::onMouseDown(std::int32_t, std::int32_t, std::int32_t) {}
void GuiControl::onClick(std::int32_t, std::int32_t, std::int32_t) {}
void GuiControl::onMouseEnter(std::int32_t, std::int32_t) {}
void GuiControl::onMouseLeave(std::int32_t, std::int32_t) {}
void GuiControl::onMouseRelease(std::int32_t, std::int32_t) {}
void GuiControl::onMouseDrag(std::int32_t, std::int32_t) {}
void GuiControl::onWheel(std::int32_t) {}
void GuiControl::draw(ControlCanvas&, PixelColor, PixelColor) {}

void GuiControl::bind(EditorBase* owner, std::int32_t parameter, bool reportAsAutomation) {
  ownerEditor = owner;
  parameterIndex = parameter;
  automate = reportAsAutomation;
}

void GuiControl::paintIfDirty(ControlCanvas& canvas, PixelColor outline, PixelColor fill) {
  if (!dirty.exchange(false, std::memory_order_relaxed)) return;
  if (backdropVisible) {
    if (roundBackdrop) {
      canvas.fillEllipse(getRect(), outline, fill);
    } else {
      canvas.fillRectangle(getRect(), fill);
    }
  }
  draw(canvas, outline, fill);
}

namespace {

EditedInstance* instanceOf(EditorBase* editor) { return editor != nullptr ? editor->getEffect() : nullptr; }

}  // namespace

void GuiControl::reportValue(float reported) {
  EditedInstance* instance = instanceOf(ownerEditor);
  if (instance == nullptr) return;
  if (automate) {
    instance->automateParameter(parameterIndex, reported);
  } else {
    instance->setParameter(parameterIndex, reported);
  }
}

void GuiControl::beginGesture() {
  if (EditedInstance* instance = instanceOf(ownerEditor)) instance->beginEdit(parameterIndex);
}

void GuiControl::endGesture() {
  if (EditedInstance* instance = instanceOf(ownerEditor)) instance->endEdit(parameterIndex);
}
