// The X11 editor's window over the instance's life: the rectangle, the child window in
// the host's, bad parents and no display, the host's window destroyed first, several
// editors at once, gestures around the reports, and open/close cycles counted on the
// server (X-Resource) and in the process's descriptors.
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "editor/edited_instance.h"
#include "editor/gui_control.h"
#include "x11_editor_fixture.h"

namespace editor_test {
namespace {

constexpr int kCycles = 100;

using X11LifecycleTest = X11EditorTest;

TEST_F(X11LifecycleTest, RectangleIsTheEditorsSizeAndTheWindowAChildOfTheHosts) {
  closeEditor();
  ERect* rect = nullptr;
  EXPECT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, kHeight);
  EXPECT_EQ(rect->right, kWidth);
  EXPECT_NE(effect->flags & effFlagsHasEditor, 0);

  ASSERT_TRUE(openEditor(display().hostWindow()));
  EXPECT_EQ(display().childrenOf(display().hostWindow()), std::vector<xcb_window_t>{child});
  const xcb_rectangle_t place = display().geometryOf(child);
  EXPECT_EQ(place.x, 0);
  EXPECT_EQ(place.y, 0);
  EXPECT_EQ(place.width, kWidth);
  EXPECT_EQ(place.height, kHeight);
  EXPECT_NE(editor->eventPump(), nullptr);
  EXPECT_GE(editor->pumpDescriptor(), 0);

  // Opening an open editor replaces its window (the new connection may reuse the id).
  ASSERT_TRUE(openEditor(display().hostWindow()));
  EXPECT_EQ(display().childrenOf(display().hostWindow()), std::vector<xcb_window_t>{child});
  closeEditor();
  EXPECT_TRUE(display().childrenOf(display().hostWindow()).empty());
  EXPECT_EQ(editor->pumpDescriptor(), EditorEventPump::kNoDescriptor);
}

TEST_F(X11LifecycleTest, ParentsThatAreNoWindowAndAMissingDisplayLeaveTheEditorClosed) {
  closeEditor();
  const xcb_window_t stale = display().createWindow();
  display().destroyWindow(stale);
  const int descriptors = openDescriptors();
  EXPECT_EQ(dispatch(effEditOpen, 0, 0, windowPointer(stale)), 0);
  EXPECT_EQ(dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t{1} << 40)), 0);
  EXPECT_FALSE(editor->isOpen());
  EXPECT_EQ(editor->getWindow(), 0u);
  dispatch(effEditIdle);

  const std::string display = std::getenv("DISPLAY");
  setenv("DISPLAY", ":4711", 1);  // no server there
  EXPECT_EQ(dispatch(effEditOpen, 0, 0, windowPointer(this->display().hostWindow())), 0);
  setenv("DISPLAY", display.c_str(), 1);
  EXPECT_EQ(openDescriptors(), descriptors) << "a failed open left a connection behind";

  setParameter(8, 0.9f);  // kept while closed, shown once open
  ASSERT_TRUE(openEditor(this->display().hostWindow()));
  EXPECT_EQ(windowDifferences(shown(), expectedNow()), 0);
}

TEST_F(X11LifecycleTest, TheHostsWindowDestroyedFirstLeavesNoErrorAndNoClient) {
  closeEditor();
  const std::vector<std::uint32_t> before = display().clients();
  const xcb_window_t parent = display().createWindow();
  ASSERT_TRUE(openEditor(parent));
  display().destroyWindow(parent);  // the host forgets to close the editor first
  setParameter(8, 0.1f);            // drawing into a window that is gone
  pump();
  EXPECT_TRUE(editor->isWindowGone());
  EXPECT_TRUE(editor->isOpen());
  closeEditor();
  EXPECT_EQ(editor->getErrorCount(), 0u);
  EXPECT_EQ(display().clients(), before) << "the editor's connection outlived its window";

  // Destroyed and closed at once, before the editor heard of it.
  const xcb_window_t second = display().createWindow();
  ASSERT_TRUE(openEditor(second));
  display().destroyWindow(second);
  closeEditor();
  EXPECT_EQ(editor->getErrorCount(), 0u);
  ASSERT_TRUE(openEditor(display().hostWindow()));
  EXPECT_EQ(windowDifferences(shown(), expectedNow()), 0);
}

TEST_F(X11LifecycleTest, AHostWindowOfAnotherVisualTakesTheEditorAsWell) {
  closeEditor();
  const xcb_window_t parent = display().createAlphaWindow();
  ASSERT_NE(parent, 0u) << "the display offers no 32-bit visual";
  ASSERT_TRUE(openEditor(parent));
  EXPECT_EQ(windowDifferences(shown(), expectedNow()), 0);
  closeEditor();
  EXPECT_EQ(editor->getErrorCount(), 0u);
  display().destroyWindow(parent);
}

TEST_F(X11LifecycleTest, SeveralEditorsOpenAtOnceEachFollowTheirOwnInstance) {
  SynthPlugin* other = createSynthPlugin(hostcallback::answer);
  ASSERT_NE(other, nullptr);
  AEffect* otherEffect = other->getAEffect();
  auto* otherEditor = static_cast<X11Editor*>(other->getEditor());
  const xcb_window_t otherParent = display().createWindow();  // on top of the host window
  ASSERT_EQ(otherEffect->dispatcher(otherEffect, effEditOpen, 0, 0, windowPointer(otherParent), 0.0f), 1);
  display().sync();
  otherEditor->synchronize();
  otherEffect->dispatcher(otherEffect, effEditIdle, 0, 0, nullptr, 0.0f);

  setParameter(0, 0.0f);
  otherEffect->setParameter(otherEffect, 0, 0.0f);
  display().pointerTo(kSwitchX, kSwitchY);  // over the upper editor
  display().press();
  display().release();
  display().sync();
  otherEditor->synchronize();
  otherEffect->dispatcher(otherEffect, effEditIdle, 0, 0, nullptr, 0.0f);
  pump();
  EXPECT_EQ(otherEffect->getParameter(otherEffect, 0), 1.0f);
  EXPECT_EQ(getParameter(0), 0.0f);
  otherEditor->synchronize();
  const Pixels upper = display().capture(otherEditor->getWindow());
  float values[kParameterCount];
  for (int i = 0; i < kParameterCount; ++i) values[i] = otherEffect->getParameter(otherEffect, i);
  EXPECT_EQ(windowDifferences(upper, composeEditor(art(), values)), 0);

  otherEffect->dispatcher(otherEffect, effClose, 0, 0, nullptr, 0.0f);  // closes its editor
  display().sync();
  EXPECT_TRUE(display().childrenOf(otherParent).empty());
  display().destroyWindow(otherParent);
  pump();  // uncovered: exposed
  setParameter(0, 1.0f);
  EXPECT_EQ(windowDifferences(shown(), expectedNow()), 0);
}

TEST_F(X11LifecycleTest, OpenCloseCyclesLeaveNoXResourcesAndNoConnectionsBehind) {
  closeEditor();
  const std::vector<std::uint32_t> before = display().clients();
  const int descriptors = openDescriptors();
  ASSERT_TRUE(openEditor(display().hostWindow()));
  const std::uint32_t client = TestDisplay::newClient(before, display().clients());
  ASSERT_NE(client, 0u);
  const int resourcesOpen = display().resourcesOf(client);
  EXPECT_GT(resourcesOpen, 0);
  // Drawing, dragging and exposing create nothing that stays on the server.
  for (int round = 0; round < 20; ++round) {
    setParameter(8, static_cast<float>(round % 10) / 10.0f);
    pressAt(kKnobX, kKnobY);
    moveTo(kKnobX, kKnobY - round);
    releaseAt(kKnobX, kKnobY - round);
    clickAt(kSwitchX, kSwitchY);
    display().expose(child);
    pump();
  }
  EXPECT_EQ(display().resourcesOf(client), resourcesOpen);
  RecordProperty("x_resources_of_an_open_editor", resourcesOpen);

  for (int round = 1; round <= kCycles; ++round) {
    closeEditor();
    ASSERT_TRUE(openEditor(display().hostWindow()));
    setParameter(8, static_cast<float>(round % 10) / 10.0f);
    clickAt(kSwitchX, kSwitchY);
  }
  EXPECT_EQ(editor->getErrorCount(), 0u);
  closeEditor();
  EXPECT_EQ(display().clients(), before);
  EXPECT_EQ(openDescriptors(), descriptors);
}

// An instance of some gesture-recording format: what the controls tell it, in order.
class GestureRecorder : public EditedInstance {
 public:
  float getParameter(std::int32_t index) override { return values[index]; }
  void setParameter(std::int32_t index, float value) override { values[index] = value; }
  void automateParameter(std::int32_t index, float value) override {
    values[index] = value;
    events.push_back("automate " + std::to_string(index));
  }
  void beginEdit(std::int32_t index) override { events.push_back("begin " + std::to_string(index)); }
  void endEdit(std::int32_t index) override { events.push_back("end " + std::to_string(index)); }

  float values[kParameterCount] = {};
  std::vector<std::string> events;
};

TEST_F(X11LifecycleTest, GesturesBracketTheReportsOfADragAndAClick) {
  closeEditor();
  GestureRecorder recorder;
  recorder.values[8] = 0.5f;
  X11Editor gestureEditor(&recorder);
  gestureEditor.refreshAllControls();
  ASSERT_TRUE(gestureEditor.open(windowPointer(display().hostWindow())));
  auto pumpIt = [&] {
    display().sync();
    gestureEditor.synchronize();
    gestureEditor.idle();
  };
  pumpIt();
  display().pointerTo(kKnobX, kKnobY);
  display().press();
  display().pointerTo(kKnobX, kKnobY - 10);
  display().pointerTo(kKnobX, kKnobY - 20);
  display().release();
  display().pointerTo(kSwitchX, kSwitchY);
  display().press();
  display().release();
  pumpIt();
  // A drag cut short by the close still ends its gesture.
  display().pointerTo(kKnobX, kKnobY);
  display().press();
  display().pointerTo(kKnobX, kKnobY - 5);
  pumpIt();
  gestureEditor.close();
  display().release();
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"begin 8", "automate 8", "automate 8", "end 8", "begin 0",
                                                       "automate 0", "end 0", "begin 8", "automate 8", "end 8"}));
  EXPECT_EQ(recorder.values[0], 1.0f);
  EXPECT_FLOAT_EQ(recorder.values[8], 0.625f);
}

}  // namespace
}  // namespace editor_test
