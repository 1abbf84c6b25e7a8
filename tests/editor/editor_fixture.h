// A real plug-in instance, linked into the test, whose editor opens in a host window:
// every test starts with a fresh instance, its editor open and painted, and no
// automation recorded yet.
#pragma once

#include "editor/plugin_editor.h"
#include "editor_harness.h"
#include "shell/synth_plugin.h"

namespace editor_test {

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr);
  void setParameter(VstInt32 index, float value);
  float getParameter(VstInt32 index);
  bool openEditor();
  void closeEditor();
  // Paints the window and lets every queued message through.
  void settle();
  std::vector<float> parameterValues();
  Pixels expectedNow();
  // The control bound to `parameter`.
  GuiControl* controlFor(VstInt32 parameter);

  const Artwork& art();
  SynthPlugin* plugin = nullptr;
  AEffect* effect = nullptr;
  PluginEditor* editor = nullptr;
  HWND child = nullptr;
};

}  // namespace editor_test
