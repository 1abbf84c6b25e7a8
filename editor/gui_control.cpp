#include "editor/gui_control.h"

#include "editor/window_editor.h"
#include "editor/edited_instance.h"

namespace {

// The pen that outlines a round backdrop.
constexpr int kBackdropPenWidth = 1;

}  // namespace

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
void GuiControl::draw(HDC, COLORREF, COLORREF) {}

void GuiControl::bind(WindowEditor* owner, VstInt32 parameter, bool reportAsAutomation) {
  ownerEditor = owner;
  parameterIndex = parameter;
  automate = reportAsAutomation;
}

void GuiControl::paintIfDirty(HDC dc, COLORREF outline, COLORREF fill) {
  if (!dirty.load(std::memory_order_relaxed)) return;
  if (backdropVisible) {
    HBRUSH brush = CreateSolidBrush(fill);
    if (roundBackdrop) {
      HPEN pen = CreatePen(PS_SOLID, kBackdropPenWidth, outline);
      HGDIOBJ previousPen = SelectObject(dc, pen);
      HGDIOBJ previousBrush = SelectObject(dc, brush);
      Ellipse(dc, left, top, left + width, top + height);
      SelectObject(dc, previousBrush);
      SelectObject(dc, previousPen);
      DeleteObject(pen);
    } else {
      const RECT area = {left, top, left + width, top + height};
      FillRect(dc, &area, brush);
    }
    DeleteObject(brush);
  }
  draw(dc, outline, fill);
  dirty.store(false, std::memory_order_relaxed);
}

void GuiControl::reportValue(float reported) {
  if (ownerEditor == nullptr) return;
  EditedInstance* instance = ownerEditor->getEffect();
  if (instance == nullptr) return;
  if (automate) {
    instance->automateParameter(parameterIndex, reported);
  } else {
    instance->setParameter(parameterIndex, reported);
  }
}

void GuiControl::beginGesture() {
  EditedInstance* instance = ownerEditor != nullptr ? ownerEditor->getEffect() : nullptr;
  if (automate && instance != nullptr) instance->beginEdit(parameterIndex);
}

void GuiControl::endGesture() {
  EditedInstance* instance = ownerEditor != nullptr ? ownerEditor->getEffect() : nullptr;
  if (automate && instance != nullptr) instance->endEdit(parameterIndex);
}
