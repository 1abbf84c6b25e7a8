// The X11 editor as a Linux VST 2.4 host meets it: Quindle.so loaded from disk, instances
// made through VSTPluginMain, the editor opened with the host's window id in the pointer
// and driven by effEditIdle alone, its picture from the bitmaps compiled into the module.
#include "tests/support/loaded_module_test.h"
#include "x11_display.h"

namespace editor_test {
namespace {

using X11ModuleTest = LoadedModuleTest;

VstIntPtr dispatch(AEffect* effect, VstInt32 opcode, void* ptr = nullptr) {
  return effect->dispatcher(effect, opcode, 0, 0, ptr, 0.0f);
}

// Idle calls, as a host makes them, until `done` or the rounds run out.
template <typename Condition>
bool idleUntil(AEffect* effect, Condition done) {
  return turnUntil([effect] { dispatch(effect, effEditIdle); }, done);
}

TEST_F(X11ModuleTest, EditorOpensInTheHostsWindowAndReportsADragAsAutomation) {
  TestDisplay& display = TestDisplay::get();
  ASSERT_TRUE(display.ok()) << "no X display";
  const Artwork art = loadArtworkFiles(QUINDLE_RESOURCE_DIR);
  ASSERT_TRUE(art.complete);
  AEffect* effect = module->instantiate(hostcallback::answer);
  ASSERT_NE(effect, nullptr);
  EXPECT_NE(effect->flags & effFlagsHasEditor, 0);
  const xcb_window_t parent = display.createWindow();
  ASSERT_EQ(dispatch(effect, effEditOpen, windowPointer(parent)), 1);
  const std::vector<xcb_window_t> children = display.childrenOf(parent);
  ASSERT_EQ(children.size(), 1u);
  const xcb_window_t window = children[0];

  float values[kParameterCount];
  for (int i = 0; i < kParameterCount; ++i) values[i] = effect->getParameter(effect, i);
  const Pixels expected = composeEditor(art, values);
  EXPECT_TRUE(idleUntil(effect, [&] { return windowDifferences(display.capture(window), expected) == 0; }))
      << "the window never showed the composed picture";

  // A drag on the MASTER VOLUME knob reaches the host as automation of parameter 12.
  hostcallback::clear();
  display.pointerTo(631, 45);
  display.press();
  display.pointerTo(631, 35);
  display.release();
  EXPECT_TRUE(idleUntil(effect, [] { return hostcallback::countOf(audioMasterAutomate) == 1; }));
  const std::vector<HostCall> calls = hostcallback::calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].index, 12);
  EXPECT_FLOAT_EQ(calls[0].opt, values[12] + 0.05f);
  EXPECT_EQ(calls[0].parameterDuringCall, calls[0].opt);
  values[12] = calls[0].opt;
  const Pixels turned = composeEditor(art, values);
  EXPECT_TRUE(idleUntil(effect, [&] { return windowDifferences(display.capture(window), turned) == 0; }));

  dispatch(effect, effEditClose);
  display.sync();
  EXPECT_TRUE(display.childrenOf(parent).empty());
  dispatch(effect, effClose);
  display.destroyWindow(parent);
}

}  // namespace
}  // namespace editor_test
