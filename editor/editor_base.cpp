#include "editor/editor_base.h"

EditorBase::EditorBase(EditedInstance* owner) : effect(owner), parentWindow(nullptr) {}

EditorBase::~EditorBase() = default;

EditedInstance* EditorBase::getEffect() { return effect; }

bool EditorBase::getRect(ERect** rect) {
  if (rect != nullptr) *rect = nullptr;
  return false;
}

bool EditorBase::open(void* parent) {
  parentWindow = parent;
  return false;
}

void EditorBase::close() { parentWindow = nullptr; }

bool EditorBase::isOpen() { return parentWindow != nullptr; }

void EditorBase::idle() {}

bool EditorBase::keyDown(VstKeyCode&) { return false; }

bool EditorBase::keyUp(VstKeyCode&) { return false; }

bool EditorBase::spareHook(VstInt32) { return false; }

bool EditorBase::setKnobMode(VstInt32) { return false; }

void EditorBase::parameterChanged(VstInt32, float) {}

void EditorBase::refreshAllControls() {}

void EditorBase::redrawDirty() {}

EditorEventPump* EditorBase::eventPump() { return nullptr; }
