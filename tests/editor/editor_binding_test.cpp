// Values travelling from the instance to the controls: parameter changes from the host
// (on the window's thread and on another), program changes and chunk loads, checked on
// the window's pixels against pictures composed from the module's bitmaps.
#include <thread>

#include "editor/gui_control.h"
#include "editor/window_editor.h"
#include "editor_fixture.h"

namespace editor_test {
namespace {

using BindingTest = EditorTest;

// Messages of the editor's own redraw request waiting in this thread's queue.
int queuedRedrawRequests(HWND window) {
  int count = 0;
  MSG message;
  while (PeekMessageA(&message, window, WindowEditor::kRedrawMessage, WindowEditor::kRedrawMessage, PM_REMOVE)) {
    DispatchMessageA(&message);
    ++count;
  }
  return count;
}

TEST_F(BindingTest, OpenWindowShowsTheCurrentValuesOverTheBackground) {
  EXPECT_EQ(windowDifferences(captureWindow(child), expectedNow()), 0);
}

TEST_F(BindingTest, HostParameterTurnsItsKnobAtOnceWithoutTellingTheHost) {
  const Pixels before = captureWindow(child);
  setParameter(kKnobParameter, 0.25f);  // frame 15
  const Pixels after = captureWindow(child);  // nothing pumped: drawn inside the call
  EXPECT_GT(knobDifferences(before, after), 0);
  EXPECT_EQ(knobDifferences(after, expectedNow()), 0);
  // Only that knob changed on the screen.
  EXPECT_EQ(differences(before, after, 0, 0, kKnobLeft, kHeight), 0);
  EXPECT_EQ(differences(before, after, kKnobLeft + kKnobSize, 0, kWidth - kKnobLeft - kKnobSize, kHeight), 0);
  EXPECT_TRUE(automateCalls().empty());
}

TEST_F(BindingTest, ValueWithinTheToleranceChangesTheParameterButNotTheControl) {
  setParameter(kKnobParameter, 0.25f);
  GuiControl* knob = controlFor(kKnobParameter);
  setParameter(kKnobParameter, 0.25f + 0.00005f);
  EXPECT_EQ(getParameter(kKnobParameter), 0.25f + 0.00005f);
  EXPECT_EQ(knob->getValue(), 0.25f);
  setParameter(kKnobParameter, 0.2502f);
  EXPECT_EQ(knob->getValue(), 0.2502f);
}

TEST_F(BindingTest, KnobClampsPushedValuesAndRedrawsOnlyWhenItsFrameChanges) {
  GuiControl* knob = controlFor(kKnobParameter);
  setParameter(kKnobParameter, 1.7f);
  EXPECT_EQ(knob->getValue(), 1.0f);
  setParameter(kKnobParameter, -0.2f);
  EXPECT_EQ(knob->getValue(), 0.0f);
  EXPECT_EQ(knobDifferences(captureWindow(child), expectedNow()), 0);

  // The same value again, or one inside the same frame: the knob is not drawn again.
  overpaint(child, kKnobLeft, kKnobTop, kKnobSize, kKnobSize);
  editor->parameterChanged(kKnobParameter, 0.0f);
  editor->redrawDirty();
  setParameter(kKnobParameter, 0.01f);  // frame 0 still
  EXPECT_TRUE(regionIsOverpainted(captureWindow(child), kKnobLeft, kKnobTop, kKnobSize, kKnobSize));
  setParameter(kKnobParameter, 0.02f);  // frame 1: drawn in place through the mask
  const Pixels redrawn = captureWindow(child);
  EXPECT_EQ(differencesInDisc(redrawn, expectedNow(), art(), kKnobLeft, kKnobTop), 0);
  EXPECT_TRUE(regionIsOverpainted(redrawn, kKnobLeft, kKnobTop, 3, 3)) << "the corner outside the disc was drawn";
  EXPECT_TRUE(automateCalls().empty());
}

TEST_F(BindingTest, SwitchSetAboveTheMiddleShowsItsSecondImageAndClicksBackToZero) {
  setParameter(kSwitchParameter, 0.0f);
  const Pixels off = captureWindow(child);
  setParameter(kSwitchParameter, 0.7f);
  const Pixels on = captureWindow(child);
  EXPECT_GT(differences(off, on, kSwitchLeft, kSwitchTop, kSwitchWidth, kSwitchHeight), 0);
  EXPECT_EQ(differences(on, expectedNow(), kSwitchLeft, kSwitchTop, kSwitchWidth, kSwitchHeight), 0);
  EXPECT_EQ(controlFor(kSwitchParameter)->getValue(), 0.7f);
  click(child, kSwitchX, kSwitchY);
  const std::vector<AutomateCall> calls = automateCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].index, kSwitchParameter);
  EXPECT_EQ(calls[0].value, 0.0f);
  EXPECT_EQ(calls[0].heldByInstance, 0.0f);
}

TEST_F(BindingTest, ProgramChangeMovesEveryControlAtOnce) {
  const Pixels program0 = captureWindow(child);
  dispatch(effSetProgram, 0, 3);
  const Pixels program3 = captureWindow(child);
  EXPECT_GT(windowDifferences(program0, program3), 0);
  EXPECT_EQ(windowDifferences(program3, expectedNow()), 0);
  for (std::size_t i = 0; i < editor->getControlCount(); ++i) {
    GuiControl* control = editor->getControl(i);
    EXPECT_EQ(control->getValue(), getParameter(control->getParameterIndex())) << "control " << i;
  }
  EXPECT_TRUE(automateCalls().empty());
}

TEST_F(BindingTest, ProgramChangedWhileClosedIsShownWhenTheEditorOpensAgain) {
  closeEditor();
  dispatch(effSetProgram, 0, 5);
  for (std::size_t i = 0; i < editor->getControlCount(); ++i) {
    GuiControl* control = editor->getControl(i);
    EXPECT_EQ(control->getValue(), getParameter(control->getParameterIndex())) << "control " << i;
  }
  ASSERT_TRUE(openEditor());
  settle();
  EXPECT_EQ(windowDifferences(captureWindow(child), expectedNow()), 0);
}

TEST_F(BindingTest, ChunkLoadUpdatesTheControlsAndTheWindowCatchesUp) {
  float chunk[kParameterCount];
  for (int i = 0; i < kParameterCount; ++i) chunk[i] = 0.05f + 0.07f * static_cast<float>(i);
  chunk[kSwitchParameter] = 1.0f;
  ASSERT_EQ(dispatch(effSetChunk, 1, kProgramChunkSize, chunk), kProgramChunkSize);
  for (std::size_t i = 0; i < editor->getControlCount(); ++i) {
    GuiControl* control = editor->getControl(i);
    EXPECT_EQ(control->getValue(), chunk[control->getParameterIndex()]) << "control " << i;
  }
  settle();
  EXPECT_EQ(windowDifferences(captureWindow(child), composeEditor(art(), chunk)), 0);
  EXPECT_TRUE(automateCalls().empty());
}

TEST_F(BindingTest, ParameterSetOnAnotherThreadIsDrawnByTheWindowsThread) {
  setParameter(kKnobParameter, 0.25f);
  const Pixels before = captureWindow(child);
  DWORD setterThread = 0;
  std::thread setter([&] {
    setterThread = GetCurrentThreadId();
    for (int step = 1; step <= 50; ++step) effect->setParameter(effect, kKnobParameter, 0.25f + 0.01f * step);
  });
  setter.join();
  EXPECT_NE(setterThread, GetCurrentThreadId());
  // The control holds the value, but nothing was drawn on the setter's thread.
  EXPECT_EQ(controlFor(kKnobParameter)->getValue(), getParameter(kKnobParameter));
  EXPECT_TRUE(controlFor(kKnobParameter)->isDirty());
  EXPECT_EQ(knobDifferences(captureWindow(child), before), 0);
  // Fifty changes ask for one redraw, which the window's thread carries out.
  EXPECT_EQ(queuedRedrawRequests(child), 1);
  EXPECT_FALSE(controlFor(kKnobParameter)->isDirty());
  EXPECT_EQ(knobDifferences(captureWindow(child), expectedNow()), 0);

  // Requests keep coming after the first one has been served.
  std::thread again([&] { effect->setParameter(effect, kKnobParameter, 0.1f); });
  again.join();
  settle();
  EXPECT_EQ(knobDifferences(captureWindow(child), expectedNow()), 0);
}

TEST_F(BindingTest, ProgramChangeOnAnotherThreadIsDrawnByTheWindowsThread) {
  const Pixels program0 = captureWindow(child);
  std::thread setter([&] { effect->dispatcher(effect, effSetProgram, 0, 2, nullptr, 0.0f); });
  setter.join();
  EXPECT_EQ(windowDifferences(captureWindow(child), program0), 0);
  settle();
  EXPECT_EQ(windowDifferences(captureWindow(child), expectedNow()), 0);
}

TEST_F(BindingTest, RepaintDrawsTheBackgroundAndEveryControl) {
  setParameter(kKnobParameter, 0.6f);
  overpaint(child, 0, 0, kWidth, kHeight);
  InvalidateRect(child, nullptr, FALSE);
  settle();
  EXPECT_EQ(windowDifferences(captureWindow(child), expectedNow()), 0);
}

}  // namespace
}  // namespace editor_test
