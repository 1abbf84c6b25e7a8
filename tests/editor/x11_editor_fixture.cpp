#include "x11_editor_fixture.h"

#include "editor/gui_control.h"

namespace editor_test {

const Artwork& X11EditorTest::art() {
  static const Artwork artwork = loadArtworkFiles(QUINDLE_RESOURCE_DIR);
  return artwork;
}

void X11EditorTest::SetUp() {
  ASSERT_TRUE(display().ok()) << "no X display";
  ASSERT_TRUE(art().complete) << "the bitmaps cannot be read from " << QUINDLE_RESOURCE_DIR;
  plugin = createSynthPlugin(hostcallback::answer);
  ASSERT_NE(plugin, nullptr);
  effect = plugin->getAEffect();
  editor = static_cast<X11Editor*>(plugin->getEditor());
  ASSERT_NE(editor, nullptr);
  ASSERT_TRUE(openEditor(display().hostWindow()));
  hostcallback::clear();
}

void X11EditorTest::TearDown() {
  display().releaseIfHeld();
  if (effect != nullptr) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  display().sync();
  effect = nullptr;
  plugin = nullptr;
  editor = nullptr;
  child = 0;
}

VstIntPtr X11EditorTest::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr) {
  return effect->dispatcher(effect, opcode, index, value, ptr, 0.0f);
}

void X11EditorTest::setParameter(VstInt32 index, float value) { effect->setParameter(effect, index, value); }

float X11EditorTest::getParameter(VstInt32 index) { return effect->getParameter(effect, index); }

bool X11EditorTest::openEditor(xcb_window_t parent) {
  const bool opened = dispatch(effEditOpen, 0, 0, windowPointer(parent)) == 1;
  child = editor->getWindow();
  if (opened) pump();  // mapped and exposed: painted
  return opened && child != 0;
}

void X11EditorTest::closeEditor() {
  dispatch(effEditClose);
  child = 0;
  display().sync();
}

void X11EditorTest::pump() {
  display().sync();
  editor->synchronize();
  dispatch(effEditIdle);
}

Pixels X11EditorTest::shown() {
  editor->synchronize();
  return display().capture(child);
}

std::vector<float> X11EditorTest::parameterValues() {
  std::vector<float> values;
  for (VstInt32 i = 0; i < kParameterCount; ++i) values.push_back(getParameter(i));
  return values;
}

Pixels X11EditorTest::expectedNow() { return composeEditor(art(), parameterValues().data()); }

GuiControl* X11EditorTest::controlFor(VstInt32 parameter) {
  for (std::size_t i = 0; i < editor->getControlCount(); ++i) {
    if (editor->getControl(i)->getParameterIndex() == parameter) return editor->getControl(i);
  }
  ADD_FAILURE() << "no control for parameter " << parameter;
  return nullptr;
}

std::vector<HostCall> X11EditorTest::automation() {
  std::vector<HostCall> automated;
  for (const HostCall& call : hostcallback::calls()) {
    if (call.opcode == audioMasterAutomate) automated.push_back(call);
  }
  return automated;
}

void X11EditorTest::pressAt(int x, int y) {
  display().pointerTo(x, y);
  display().press();
  pump();
}

void X11EditorTest::moveTo(int x, int y) {
  display().pointerTo(x, y);
  pump();
}

void X11EditorTest::releaseAt(int x, int y) {
  display().pointerTo(x, y);
  display().release();
  pump();
}

void X11EditorTest::clickAt(int x, int y) {
  pressAt(x, y);
  releaseAt(x, y);
}

}  // namespace editor_test
