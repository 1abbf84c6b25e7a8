#include "editor_fixture.h"

#include "editor/gui_control.h"
#include "shell/module_handle.h"

namespace editor_test {

const Artwork& EditorTest::art() {
  static const Artwork artwork = loadArtwork(GetModuleHandleA(nullptr));
  return artwork;
}

void EditorTest::SetUp() {
  // The editor registers its class and finds its bitmaps through the module handle: here
  // the test program itself, which carries the module's resources.
  moduleHandle = GetModuleHandleA(nullptr);
  ASSERT_TRUE(art().complete) << "the test program carries no editor bitmaps";
  clearAutomateCalls();
  plugin = createSynthPlugin(recordingHost);
  ASSERT_NE(plugin, nullptr);
  effect = plugin->getAEffect();
  editor = static_cast<PluginEditor*>(plugin->getEditor());
  ASSERT_NE(editor, nullptr);
  ASSERT_TRUE(openEditor());
  settle();
  clearAutomateCalls();
}

void EditorTest::TearDown() {
  if (effect != nullptr) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  pumpMessages();
  effect = nullptr;
  plugin = nullptr;
  editor = nullptr;
  child = nullptr;
}

VstIntPtr EditorTest::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr) {
  return effect->dispatcher(effect, opcode, index, value, ptr, 0.0f);
}

void EditorTest::setParameter(VstInt32 index, float value) { effect->setParameter(effect, index, value); }

float EditorTest::getParameter(VstInt32 index) { return effect->getParameter(effect, index); }

bool EditorTest::openEditor() {
  const bool opened = dispatch(effEditOpen, 0, 0, hostWindow()) == 1;
  child = editor->getWindow();
  return opened && child != nullptr;
}

void EditorTest::closeEditor() {
  dispatch(effEditClose);
  child = nullptr;
  pumpMessages();
}

void EditorTest::settle() {
  if (child != nullptr) UpdateWindow(child);
  pumpMessages();
}

std::vector<float> EditorTest::parameterValues() {
  std::vector<float> values;
  for (VstInt32 i = 0; i < kParameterCount; ++i) values.push_back(getParameter(i));
  return values;
}

Pixels EditorTest::expectedNow() { return composeEditor(art(), parameterValues().data()); }

GuiControl* EditorTest::controlFor(VstInt32 parameter) {
  for (std::size_t i = 0; i < editor->getControlCount(); ++i) {
    if (editor->getControl(i)->getParameterIndex() == parameter) return editor->getControl(i);
  }
  ADD_FAILURE() << "no control for parameter " << parameter;
  return nullptr;
}

}  // namespace editor_test
