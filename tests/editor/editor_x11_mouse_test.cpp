// The X11 editor driven by the pointer through the server (XTest): knob drags inside and
// outside the window, switch clicks, hover and the pointer kept by a drag, observed
// through the instance's parameters, the automation the host receives and the pixels.
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <cstdlib>

#include "editor/gui_control.h"
#include "x11_editor_fixture.h"

namespace editor_test {
namespace {

using X11MouseTest = X11EditorTest;

int switchDifferences(const Pixels& actual, const Pixels& expected) {
  return differences(actual, expected, kSwitchLeft, kSwitchTop, kSwitchWidth, kSwitchHeight);
}

TEST_F(X11MouseTest, KnobFollowsVerticalMovementOnlyAndReportsEveryStep) {
  setParameter(kKnobParameter, 0.5f);
  pressAt(kKnobX, kKnobY);
  EXPECT_EQ(editor->getCapturedControl(), controlFor(kKnobParameter));
  moveTo(kKnobX + 30, kKnobY - 10);  // ten pixels up; sideways does nothing
  EXPECT_FLOAT_EQ(getParameter(kKnobParameter), 0.55f);
  moveTo(kKnobX - 200, kKnobY - 10);
  EXPECT_FLOAT_EQ(getParameter(kKnobParameter), 0.55f);
  moveTo(kKnobX, kKnobY + 4);  // fourteen down
  EXPECT_FLOAT_EQ(getParameter(kKnobParameter), 0.48f);
  releaseAt(kKnobX, kKnobY + 4);
  EXPECT_EQ(editor->getCapturedControl(), nullptr);

  const std::vector<HostCall> calls = automation();
  ASSERT_EQ(calls.size(), 2u);
  for (const HostCall& call : calls) {
    EXPECT_EQ(call.index, kKnobParameter);
    EXPECT_EQ(call.parameterDuringCall, call.opt) << "the host heard of a value the instance did not hold yet";
  }
  EXPECT_FLOAT_EQ(calls[0].opt, 0.55f);
  EXPECT_FLOAT_EQ(calls[1].opt, 0.48f);
  EXPECT_EQ(windowDifferences(shown(), expectedNow()), 0);
}

TEST_F(X11MouseTest, KnobFollowsThePointerOutsideTheWindowAndClampsAtBothEnds) {
  setParameter(kKnobParameter, 0.5f);
  pressAt(kKnobX, kKnobY);
  moveTo(kKnobX, kKnobY - 300);  // far above the window: negative coordinates
  EXPECT_EQ(getParameter(kKnobParameter), 1.0f);
  moveTo(kKnobX, kKnobY - 299);
  EXPECT_EQ(getParameter(kKnobParameter), 1.0f - 0.005f);
  moveTo(kKnobX, kKnobY + 400);  // far below it
  EXPECT_EQ(getParameter(kKnobParameter), 0.0f);
  moveTo(kKnobX, kKnobY + 399);
  EXPECT_FLOAT_EQ(getParameter(kKnobParameter), 0.005f);
  moveTo(-150, kKnobY + 374);  // left of the window, 25 up
  EXPECT_FLOAT_EQ(getParameter(kKnobParameter), 0.13f);
  releaseAt(-150, kKnobY + 374);
  EXPECT_FALSE(controlFor(kKnobParameter)->isPressed());
  EXPECT_EQ(editor->getCapturedControl(), nullptr);
}

TEST_F(X11MouseTest, KnobJustBelowTheTopShowsTheLastFrameAndComesBack) {
  setParameter(kKnobParameter, 0.998f);
  pressAt(kKnobX, kKnobY);
  moveTo(kKnobX, kKnobY - 1);
  EXPECT_EQ(getParameter(kKnobParameter), 1.0f);
  const Pixels top = expectedNow();
  EXPECT_EQ(differences(shown(), top, kKnobLeft, kKnobTop, kKnobSize, kKnobSize), 0);
  moveTo(kKnobX, kKnobY);
  EXPECT_FLOAT_EQ(getParameter(kKnobParameter), 0.995f);
  const Pixels below = expectedNow();
  EXPECT_GT(differences(top, below, kKnobLeft, kKnobTop, kKnobSize, kKnobSize), 0) << "frames 63 and 62 look alike";
  EXPECT_EQ(differences(shown(), below, kKnobLeft, kKnobTop, kKnobSize, kKnobSize), 0);
  releaseAt(kKnobX, kKnobY);
}

TEST_F(X11MouseTest, SwitchClickFlipsBelowAndAboveTheMiddleAndLeavesTheMiddleAlone) {
  setParameter(kSwitchParameter, 0.3f);
  EXPECT_EQ(switchDifferences(shown(), expectedNow()), 0);
  clickAt(kSwitchX, kSwitchY);
  EXPECT_EQ(getParameter(kSwitchParameter), 1.0f);
  EXPECT_EQ(switchDifferences(shown(), expectedNow()), 0);
  setParameter(kSwitchParameter, 0.7f);
  clickAt(kSwitchX, kSwitchY);
  EXPECT_EQ(getParameter(kSwitchParameter), 0.0f);
  EXPECT_EQ(switchDifferences(shown(), expectedNow()), 0);
  const std::vector<HostCall> calls = automation();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].opt, 1.0f);
  EXPECT_EQ(calls[1].opt, 0.0f);

  // Exactly one half: nothing changes, but the switch is drawn again.
  setParameter(kSwitchParameter, 0.5f);
  hostcallback::clear();
  display().overpaint(child, kSwitchLeft, kSwitchTop, kSwitchWidth, kSwitchHeight);
  clickAt(kSwitchX, kSwitchY);
  EXPECT_EQ(getParameter(kSwitchParameter), 0.5f);
  EXPECT_TRUE(automation().empty());
  EXPECT_EQ(switchDifferences(shown(), expectedNow()), 0);
}

TEST_F(X11MouseTest, ReleaseOverASwitchClicksItOnlyWhenNoOtherControlHoldsThePointer) {
  setParameter(kSwitchParameter, 0.0f);
  pressAt(kBackgroundX, kBackgroundY);
  EXPECT_EQ(editor->getCapturedControl(), nullptr);
  releaseAt(kSwitchX, kSwitchY);
  EXPECT_EQ(getParameter(kSwitchParameter), 1.0f);

  pressAt(kKnobX, kSwitchY);  // level with the switch: the knob sees no vertical movement
  releaseAt(kSwitchX, kSwitchY);
  EXPECT_EQ(getParameter(kSwitchParameter), 1.0f);
  EXPECT_FALSE(controlFor(kKnobParameter)->isPressed());
  // Nothing but the one click reached the host.
  EXPECT_EQ(automation().size(), 1u);
}

TEST_F(X11MouseTest, HoverLeavesOnOneMoveAndEntersOnTheNextAndADragEntersNothingElse) {
  GuiControl* toggle = controlFor(kSwitchParameter);
  GuiControl* knob = controlFor(kKnobParameter);
  moveTo(kSwitchX, kSwitchY);
  EXPECT_EQ(editor->getHoverControl(), toggle);
  moveTo(kKnobX, kKnobY);
  EXPECT_EQ(editor->getHoverControl(), nullptr);
  moveTo(kKnobX + 1, kKnobY);
  EXPECT_EQ(editor->getHoverControl(), knob);
  moveTo(kBackgroundX, kBackgroundY);
  EXPECT_EQ(editor->getHoverControl(), nullptr);

  pressAt(kKnobX, kKnobY);
  moveTo(kSwitchX, kKnobY);
  moveTo(kSwitchX + 1, kKnobY);
  EXPECT_EQ(editor->getHoverControl(), nullptr);
  EXPECT_FALSE(toggle->isHovered());
  releaseAt(kSwitchX + 1, kKnobY);
  moveTo(kSwitchX + 2, kKnobY);
  EXPECT_EQ(editor->getHoverControl(), toggle);
}

TEST_F(X11MouseTest, WheelTurnsNothing) {
  setParameter(kKnobParameter, 0.5f);
  display().pointerTo(kKnobX, kKnobY);
  for (std::uint8_t button : {4, 5}) {
    xcb_test_fake_input(display().xcb(), XCB_BUTTON_PRESS, button, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_test_fake_input(display().xcb(), XCB_BUTTON_RELEASE, button, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
  }
  pump();
  EXPECT_EQ(getParameter(kKnobParameter), 0.5f);
  EXPECT_TRUE(automation().empty());
}

TEST_F(X11MouseTest, ADragEndsWhenItsReleaseGoesElsewhereOrTheWindowCloses) {
  setParameter(kKnobParameter, 0.5f);
  GuiControl* knob = controlFor(kKnobParameter);
  pressAt(kKnobX, kKnobY);
  EXPECT_TRUE(knob->isPressed());
  // The host hides its window in the middle of the drag: the server lets the pointer go,
  // and the release goes to whatever lies below.
  xcb_unmap_window(display().xcb(), display().hostWindow());
  releaseAt(kKnobX, kKnobY);
  xcb_map_window(display().xcb(), display().hostWindow());
  pump();
  moveTo(kKnobX, kKnobY - 20);  // back over the window, button up: the drag is over
  EXPECT_FALSE(knob->isPressed());
  EXPECT_EQ(editor->getCapturedControl(), nullptr);
  EXPECT_EQ(getParameter(kKnobParameter), 0.5f);

  pressAt(kKnobX, kKnobY);
  closeEditor();
  EXPECT_FALSE(knob->isPressed());
  ASSERT_TRUE(openEditor(display().hostWindow()));
  moveTo(kKnobX, kKnobY - 20);  // the button still held, but the drag is over
  EXPECT_EQ(getParameter(kKnobParameter), 0.5f);
  releaseAt(kKnobX, kKnobY - 20);
  EXPECT_TRUE(automation().empty());
  EXPECT_EQ(editor->getErrorCount(), 0u);
}

}  // namespace
}  // namespace editor_test
