// A real plug-in instance, linked into the test, whose X11 editor opens in a host window
// of the test's display: every test starts with a fresh instance, its editor open and
// painted, and nothing recorded by the host callback yet. Pointer input goes through the
// server (XTest); pump() then lets the editor handle what the server sent it.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "editor/x11_editor.h"
#include "shell/synth_plugin.h"
#include "tools/host/host_callback.h"
#include "x11_display.h"

namespace editor_test {

class X11EditorTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  static TestDisplay& display() { return TestDisplay::get(); }
  static const Artwork& art();

  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr);
  void setParameter(VstInt32 index, float value);
  float getParameter(VstInt32 index);
  bool openEditor(xcb_window_t parent);
  void closeEditor();
  // Everything sent to the server so far has reached the editor and been handled.
  void pump();
  // What the editor's window shows once the server has carried out its drawing.
  Pixels shown();
  std::vector<float> parameterValues();
  Pixels expectedNow();
  GuiControl* controlFor(VstInt32 parameter);
  // The audioMasterAutomate calls since the last clear.
  static std::vector<HostCall> automation();

  // The left button pressed at (x, y), moved, released: each step pumped.
  void pressAt(int x, int y);
  void moveTo(int x, int y);
  void releaseAt(int x, int y);
  void clickAt(int x, int y);

  SynthPlugin* plugin = nullptr;
  AEffect* effect = nullptr;
  X11Editor* editor = nullptr;
  xcb_window_t child = 0;
};

}  // namespace editor_test
