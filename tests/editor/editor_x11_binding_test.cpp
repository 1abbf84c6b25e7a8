// Values travelling from the instance to the X11 editor's controls: host parameter
// changes on the UI thread (drawn at once) and on another thread (drawn at the next
// pump), program changes, chunk loads and exposure, checked on the window's pixels
// against pictures composed from the bitmap files.
#include <thread>

#include "editor/gui_control.h"
#include "x11_editor_fixture.h"

namespace editor_test {
namespace {

using X11BindingTest = X11EditorTest;

TEST_F(X11BindingTest, OpenWindowShowsTheCurrentValuesOverTheBackground) {
  const Pixels pixels = shown();
  EXPECT_EQ(windowDifferences(pixels, expectedNow()), 0);
  // Not trivially so: the knobs and switches differ from the bare background.
  EXPECT_GT(windowDifferences(pixels, art().background.pixels), 0);
}

TEST_F(X11BindingTest, HostParameterTurnsItsKnobAtOnceWithoutTellingTheHost) {
  const Pixels before = shown();
  setParameter(kKnobParameter, 0.25f);  // frame 15; no pump: drawn inside the call
  const Pixels after = shown();
  EXPECT_GT(knobDifferences(before, after), 0);
  EXPECT_EQ(knobDifferences(after, expectedNow()), 0);
  EXPECT_EQ(differences(before, after, 0, 0, kKnobLeft, kHeight), 0);
  EXPECT_EQ(differences(before, after, kKnobLeft + kKnobSize, 0, kWidth - kKnobLeft - kKnobSize, kHeight), 0);
  EXPECT_TRUE(automation().empty());

  // Within the tolerance the control keeps its value and its picture.
  setParameter(kKnobParameter, 0.25f + 0.00005f);
  EXPECT_EQ(controlFor(kKnobParameter)->getValue(), 0.25f);
  setParameter(kKnobParameter, 1.7f);
  EXPECT_EQ(controlFor(kKnobParameter)->getValue(), 1.0f);
  EXPECT_EQ(knobDifferences(shown(), expectedNow()), 0);
}

TEST_F(X11BindingTest, ProgramChangeMovesEveryControlAtOnce) {
  const Pixels program0 = shown();
  dispatch(effSetProgram, 0, 3);
  const Pixels program3 = shown();
  EXPECT_GT(windowDifferences(program0, program3), 0);
  EXPECT_EQ(windowDifferences(program3, expectedNow()), 0);
  EXPECT_TRUE(automation().empty());
}

TEST_F(X11BindingTest, ProgramChangedWhileClosedIsShownWhenTheEditorOpensAgain) {
  closeEditor();
  dispatch(effSetProgram, 0, 5);
  ASSERT_TRUE(openEditor(display().hostWindow()));
  EXPECT_EQ(windowDifferences(shown(), expectedNow()), 0);
}

TEST_F(X11BindingTest, ChunkLoadIsShownAtTheNextPump) {
  float chunk[kParameterCount];
  for (int i = 0; i < kParameterCount; ++i) chunk[i] = 0.05f + 0.07f * static_cast<float>(i);
  chunk[0] = 1.0f;
  ASSERT_EQ(dispatch(effSetChunk, 1, kProgramChunkSize, chunk), kProgramChunkSize);
  for (std::size_t i = 0; i < editor->getControlCount(); ++i) {
    EXPECT_EQ(editor->getControl(i)->getValue(), chunk[editor->getControl(i)->getParameterIndex()]) << i;
  }
  pump();
  EXPECT_EQ(windowDifferences(shown(), composeEditor(art(), chunk)), 0);
}

TEST_F(X11BindingTest, ValuesSetOnAnotherThreadAreDrawnByTheUiThreadsNextPump) {
  setParameter(kKnobParameter, 0.25f);
  const Pixels before = shown();
  std::thread setter([&] {
    for (int step = 1; step <= 50; ++step) effect->setParameter(effect, kKnobParameter, 0.25f + 0.01f * step);
  });
  setter.join();
  EXPECT_EQ(controlFor(kKnobParameter)->getValue(), getParameter(kKnobParameter));
  EXPECT_TRUE(controlFor(kKnobParameter)->isDirty());
  EXPECT_EQ(knobDifferences(shown(), before), 0) << "drawn on the setter's thread";
  editor->pumpTimer();
  EXPECT_FALSE(controlFor(kKnobParameter)->isDirty());
  EXPECT_EQ(knobDifferences(shown(), expectedNow()), 0);

  std::thread programs([&] { effect->dispatcher(effect, effSetProgram, 0, 2, nullptr, 0.0f); });
  programs.join();
  pump();
  EXPECT_EQ(windowDifferences(shown(), expectedNow()), 0);
}

TEST_F(X11BindingTest, ExposureRepaintsTheBackgroundAndEveryControl) {
  setParameter(kKnobParameter, 0.6f);
  display().overpaint(child, 0, 0, kWidth, kHeight);
  EXPECT_TRUE(regionIsOverpainted(shown(), 0, 0, kWidth, kHeight));
  display().expose(child);
  pump();
  EXPECT_EQ(windowDifferences(shown(), expectedNow()), 0);
}

}  // namespace
}  // namespace editor_test
