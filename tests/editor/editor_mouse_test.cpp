// The editor driven with real window messages: knob drags, switch clicks, the capture,
// hover routing and hit testing, observed through the instance's parameters, the
// automation the host receives and the window's pixels.
#include "editor/gui_control.h"
#include "editor_fixture.h"

namespace editor_test {
namespace {

using MouseTest = EditorTest;

TEST_F(MouseTest, KnobFollowsVerticalMovementOnlyAndReportsEveryStep) {
  setParameter(kKnobParameter, 0.5f);
  press(child, kKnobX, kKnobY);
  EXPECT_EQ(GetCapture(), child);
  moveTo(child, kKnobX + 30, kKnobY - 10);  // ten pixels up, sideways does nothing
  EXPECT_FLOAT_EQ(getParameter(kKnobParameter), 0.55f);
  moveTo(child, kKnobX - 200, kKnobY - 10);
  EXPECT_FLOAT_EQ(getParameter(kKnobParameter), 0.55f);
  moveTo(child, kKnobX, kKnobY + 4);  // fourteen down
  EXPECT_FLOAT_EQ(getParameter(kKnobParameter), 0.48f);
  release(child, kKnobX, kKnobY + 4);
  EXPECT_EQ(GetCapture(), nullptr);

  const std::vector<AutomateCall> calls = automateCalls();
  ASSERT_EQ(calls.size(), 2u);
  for (const AutomateCall& call : calls) {
    EXPECT_EQ(call.index, kKnobParameter);
    EXPECT_EQ(call.heldByInstance, call.value) << "the host heard of a value the instance did not hold yet";
  }
  EXPECT_FLOAT_EQ(calls[0].value, 0.55f);
  EXPECT_FLOAT_EQ(calls[1].value, 0.48f);
}

TEST_F(MouseTest, KnobClampsAtBothEndsAndForgetsMovementBeyondThem) {
  setParameter(kKnobParameter, 0.5f);
  press(child, kKnobX, kKnobY);
  moveTo(child, kKnobX, kKnobY - 300);  // far above the window: negative coordinates
  EXPECT_EQ(getParameter(kKnobParameter), 1.0f);
  moveTo(child, kKnobX, kKnobY - 299);
  EXPECT_EQ(getParameter(kKnobParameter), 1.0f - 0.005f);
  moveTo(child, kKnobX, kKnobY + 400);  // far below it
  EXPECT_EQ(getParameter(kKnobParameter), 0.0f);
  moveTo(child, kKnobX, kKnobY + 399);
  EXPECT_FLOAT_EQ(getParameter(kKnobParameter), 0.005f);
  release(child, kKnobX, kKnobY + 399);
}

TEST_F(MouseTest, MovementBelowTheRangeIsLostNotSaved) {
  setParameter(kKnobParameter, 0.0f);
  press(child, kKnobX, kKnobY);
  moveTo(child, kKnobX, kKnobY + 5);
  EXPECT_EQ(getParameter(kKnobParameter), 0.0f);
  EXPECT_TRUE(automateCalls().empty());
  moveTo(child, kKnobX, kKnobY + 4);  // one pixel up turns it up at once
  EXPECT_FLOAT_EQ(getParameter(kKnobParameter), 0.005f);
  release(child, kKnobX, kKnobY + 4);

  // A step that would change the value by less than a thousandth is not applied.
  setParameter(kKnobParameter, 0.0004f);
  clearAutomateCalls();
  press(child, kKnobX, kKnobY);
  moveTo(child, kKnobX, kKnobY + 1);
  EXPECT_EQ(getParameter(kKnobParameter), 0.0004f);
  EXPECT_TRUE(automateCalls().empty());
  release(child, kKnobX, kKnobY + 1);
}

TEST_F(MouseTest, KnobJustBelowTheTopReachesTheLastFrameAndComesBack) {
  setParameter(kKnobParameter, 0.998f);
  settle();
  press(child, kKnobX, kKnobY);
  moveTo(child, kKnobX, kKnobY - 1);
  EXPECT_EQ(getParameter(kKnobParameter), 1.0f);
  // Drawn inside the mouse message: no painting is needed to see it.
  const Pixels top = expectedNow();
  EXPECT_EQ(differences(captureWindow(child), top, kKnobLeft, kKnobTop, kKnobSize, kKnobSize), 0);
  moveTo(child, kKnobX, kKnobY);
  EXPECT_FLOAT_EQ(getParameter(kKnobParameter), 0.995f);
  const Pixels below = expectedNow();
  EXPECT_GT(differences(top, below, kKnobLeft, kKnobTop, kKnobSize, kKnobSize), 0) << "frames 63 and 62 look alike";
  EXPECT_EQ(differences(captureWindow(child), below, kKnobLeft, kKnobTop, kKnobSize, kKnobSize), 0);
  release(child, kKnobX, kKnobY);
}

TEST_F(MouseTest, DragKeepsTheCaptureOutsideTheKnobAndTheWindow) {
  setParameter(kKnobParameter, 0.5f);
  GuiControl* knob = controlFor(kKnobParameter);
  GuiControl* otherKnob = controlFor(11);
  press(child, kKnobX, kKnobY);
  moveTo(child, kKnobX + 1, kKnobY);
  EXPECT_EQ(editor->getHoverControl(), knob);
  moveTo(child, 584, kKnobY);  // over another knob: no vertical movement, nothing entered
  EXPECT_EQ(getParameter(kKnobParameter), 0.5f);
  EXPECT_EQ(editor->getHoverControl(), nullptr);
  moveTo(child, 585, kKnobY);
  EXPECT_EQ(editor->getHoverControl(), nullptr);
  EXPECT_FALSE(otherKnob->isHovered());
  moveTo(child, -50, kKnobY - 25);  // outside the window, left of and above the knob
  EXPECT_FLOAT_EQ(getParameter(kKnobParameter), 0.625f);
  EXPECT_EQ(GetCapture(), child);
  release(child, -50, kKnobY - 25);
  EXPECT_FALSE(knob->isPressed());
  EXPECT_EQ(editor->getCapturedControl(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(MouseTest, SwitchClickFlipsBelowAndAboveTheMiddleAndLeavesTheMiddleAlone) {
  setParameter(kSwitchParameter, 0.3f);
  settle();
  EXPECT_EQ(differences(captureWindow(child), expectedNow(), kSwitchLeft, kSwitchTop, kSwitchWidth, kSwitchHeight), 0);
  click(child, kSwitchX, kSwitchY);
  EXPECT_EQ(getParameter(kSwitchParameter), 1.0f);
  EXPECT_EQ(differences(captureWindow(child), expectedNow(), kSwitchLeft, kSwitchTop, kSwitchWidth, kSwitchHeight), 0);

  setParameter(kSwitchParameter, 0.7f);
  click(child, kSwitchX, kSwitchY);
  EXPECT_EQ(getParameter(kSwitchParameter), 0.0f);
  EXPECT_EQ(differences(captureWindow(child), expectedNow(), kSwitchLeft, kSwitchTop, kSwitchWidth, kSwitchHeight), 0);

  const std::vector<AutomateCall> calls = automateCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].index, kSwitchParameter);
  EXPECT_EQ(calls[0].value, 1.0f);
  EXPECT_EQ(calls[0].heldByInstance, 1.0f);
  EXPECT_EQ(calls[1].index, kSwitchParameter);
  EXPECT_EQ(calls[1].value, 0.0f);
  EXPECT_EQ(calls[1].heldByInstance, 0.0f);

  // Exactly one half: the click changes nothing but the switch is drawn again.
  setParameter(kSwitchParameter, 0.5f);
  clearAutomateCalls();
  overpaint(child, kSwitchLeft, kSwitchTop, kSwitchWidth, kSwitchHeight);
  click(child, kSwitchX, kSwitchY);
  EXPECT_EQ(getParameter(kSwitchParameter), 0.5f);
  EXPECT_TRUE(automateCalls().empty());
  EXPECT_EQ(differences(captureWindow(child), expectedNow(), kSwitchLeft, kSwitchTop, kSwitchWidth, kSwitchHeight), 0);
}

TEST_F(MouseTest, DoubleClickTogglesTwice) {
  setParameter(kSwitchParameter, 0.0f);
  click(child, kSwitchX, kSwitchY);
  click(child, kSwitchX, kSwitchY);
  EXPECT_EQ(getParameter(kSwitchParameter), 0.0f);
  EXPECT_EQ(automateCalls().size(), 2u);
}

TEST_F(MouseTest, ReleaseOverASwitchClicksItOnlyWhenNoOtherControlHoldsTheCapture) {
  setParameter(kSwitchParameter, 0.0f);
  press(child, kBackgroundX, kBackgroundY);  // the background takes no capture
  EXPECT_EQ(GetCapture(), nullptr);
  release(child, kSwitchX, kSwitchY);
  EXPECT_EQ(getParameter(kSwitchParameter), 1.0f);

  GuiControl* knob = controlFor(kKnobParameter);
  press(child, kKnobX, kKnobY);
  EXPECT_TRUE(knob->isPressed());
  release(child, kSwitchX, kSwitchY);
  EXPECT_EQ(getParameter(kSwitchParameter), 1.0f);
  EXPECT_FALSE(knob->isPressed());
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(MouseTest, HitTestExcludesTheLeftAndTopEdgesAndTheFirstPixelsPastTheControl) {
  GuiControl* toggle = controlFor(kSwitchParameter);
  EXPECT_EQ(editor->hitTest(kSwitchLeft, kSwitchY), nullptr);
  EXPECT_EQ(editor->hitTest(kSwitchLeft + 1, kSwitchY), toggle);
  EXPECT_EQ(editor->hitTest(kSwitchX, kSwitchTop), nullptr);
  EXPECT_EQ(editor->hitTest(kSwitchX, kSwitchTop + 1), toggle);
  EXPECT_EQ(editor->hitTest(kSwitchLeft + kSwitchWidth, kSwitchY), nullptr);
  EXPECT_EQ(editor->hitTest(kSwitchLeft + kSwitchWidth - 1, kSwitchY), toggle);
  EXPECT_EQ(editor->hitTest(kSwitchX, kSwitchTop + kSwitchHeight), nullptr);
  EXPECT_EQ(editor->hitTest(kSwitchX, kSwitchTop + kSwitchHeight - 1), toggle);
  GuiControl* knob = controlFor(kKnobParameter);
  EXPECT_EQ(editor->hitTest(kKnobLeft, kKnobY), nullptr);
  EXPECT_EQ(editor->hitTest(kKnobLeft + 1, kKnobY), knob);
  EXPECT_EQ(editor->hitTest(kKnobX, kKnobTop), nullptr);
  EXPECT_EQ(editor->hitTest(kKnobX, kKnobTop + 1), knob);
  EXPECT_EQ(editor->hitTest(kKnobLeft + kKnobSize, kKnobY), nullptr);
  EXPECT_EQ(editor->hitTest(kKnobX, kKnobTop + kKnobSize - 1), knob);

  // The same through the mouse: a click on the edge pixel does nothing.
  setParameter(kSwitchParameter, 0.0f);
  click(child, kSwitchLeft, kSwitchY);
  click(child, kSwitchX, kSwitchTop);
  EXPECT_EQ(getParameter(kSwitchParameter), 0.0f);
  click(child, kSwitchLeft + 1, kSwitchTop + 1);
  EXPECT_EQ(getParameter(kSwitchParameter), 1.0f);
}

TEST_F(MouseTest, HoverLeavesOnOneMoveAndEntersOnTheNext) {
  GuiControl* toggle = controlFor(kSwitchParameter);
  GuiControl* knob = controlFor(kKnobParameter);
  moveTo(child, kSwitchX, kSwitchY);
  EXPECT_EQ(editor->getHoverControl(), toggle);
  EXPECT_TRUE(toggle->isHovered());
  moveTo(child, kKnobX, kKnobY);  // straight from one control onto another
  EXPECT_EQ(editor->getHoverControl(), nullptr);
  EXPECT_FALSE(toggle->isHovered());
  moveTo(child, kKnobX + 1, kKnobY);
  EXPECT_EQ(editor->getHoverControl(), knob);
  // Leaving the window sends nothing: the knob stays hovered until the pointer is back.
  EXPECT_EQ(editor->getHoverControl(), knob);
  moveTo(child, kBackgroundX, kBackgroundY);
  EXPECT_EQ(editor->getHoverControl(), nullptr);
}

TEST_F(MouseTest, DuringADragOnlyTheCapturedControlIsEntered) {
  setParameter(kSwitchParameter, 0.0f);
  GuiControl* toggle = controlFor(kSwitchParameter);
  press(child, kKnobX, kKnobY);
  moveTo(child, kSwitchX, kKnobY);
  moveTo(child, kSwitchX + 1, kKnobY);
  EXPECT_EQ(editor->getHoverControl(), nullptr);
  EXPECT_FALSE(toggle->isHovered());
  release(child, kSwitchX + 1, kKnobY);
  EXPECT_EQ(getParameter(kSwitchParameter), 0.0f);
  moveTo(child, kSwitchX + 2, kKnobY);
  EXPECT_EQ(editor->getHoverControl(), toggle);
}

TEST_F(MouseTest, WheelTurnsNothing) {
  setParameter(kKnobParameter, 0.5f);
  POINT screen = {kKnobX, kKnobY};
  ClientToScreen(child, &screen);
  for (const short delta : {static_cast<short>(WHEEL_DELTA), static_cast<short>(-WHEEL_DELTA)}) {
    const LPARAM where = MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y));
    EXPECT_EQ(SendMessageA(child, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), where), 0);
  }
  EXPECT_EQ(getParameter(kKnobParameter), 0.5f);
  EXPECT_TRUE(automateCalls().empty());
}

TEST_F(MouseTest, MouseActivationFocusesTheEditorWhichConsumesNoKeys) {
  SetFocus(hostWindow());
  EXPECT_EQ(SendMessageA(child, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(hostWindow()),
                         MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
            0);
  EXPECT_EQ(GetFocus(), child);
  VstKeyCode key = {'a', 0, 0};
  EXPECT_EQ(dispatch(effEditKeyDown, 0, 0, &key), 0);
  EXPECT_EQ(dispatch(effEditKeyUp, 0, 0, &key), 0);
}

TEST_F(MouseTest, ADragEndsWhenTheCaptureIsTakenAwayOrTheWindowCloses) {
  setParameter(kKnobParameter, 0.5f);
  GuiControl* knob = controlFor(kKnobParameter);
  press(child, kKnobX, kKnobY);
  SetCapture(hostWindow());
  EXPECT_FALSE(knob->isPressed());
  EXPECT_EQ(editor->getCapturedControl(), nullptr);
  ReleaseCapture();
  moveTo(child, kKnobX, kKnobY - 20);  // button up: no drag
  EXPECT_EQ(getParameter(kKnobParameter), 0.5f);

  press(child, kKnobX, kKnobY);
  closeEditor();
  EXPECT_FALSE(knob->isPressed());
  ASSERT_TRUE(openEditor());
  moveTo(child, kKnobX, kKnobY - 20);
  EXPECT_EQ(getParameter(kKnobParameter), 0.5f);
  EXPECT_TRUE(automateCalls().empty());
}

}  // namespace
}  // namespace editor_test
