// The editor as a host meets it: Quindle.dll loaded from disk, instances made through
// VSTPluginMain, the editor opened through the dispatcher, its bitmaps and window class
// taken from the module itself.
#include "editor_harness.h"

namespace editor_test {
namespace {

using EntryPoint = AEffect*(VSTCALLBACK*)(audioMasterCallback);
constexpr const char* kClassName = "VelkorGui";

class ModuleTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    module = LoadLibraryA("Quindle.dll");
    if (module != nullptr) entry = reinterpret_cast<EntryPoint>(reinterpret_cast<void (*)()>(GetProcAddress(module, "VSTPluginMain")));
  }
  static void TearDownTestSuite() {
    if (module != nullptr) FreeLibrary(module);
    module = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(module, nullptr) << "Quindle.dll not found next to the test";
    ASSERT_NE(entry, nullptr);
    clearAutomateCalls();
  }

  static AEffect* create() { return entry(recordingHost); }
  static VstIntPtr dispatch(AEffect* effect, VstInt32 opcode, VstIntPtr value = 0, void* ptr = nullptr) {
    return effect->dispatcher(effect, opcode, 0, value, ptr, 0.0f);
  }
  static bool classRegistered() {
    WNDCLASSA info;
    return GetClassInfoA(module, kClassName, &info) != 0;
  }
  // The editor's window: the one child of the host window.
  static HWND editorWindow(HWND parent) { return FindWindowExA(parent, nullptr, kClassName, nullptr); }

  static HMODULE module;
  static EntryPoint entry;
};

HMODULE ModuleTest::module = nullptr;
EntryPoint ModuleTest::entry = nullptr;

TEST_F(ModuleTest, EditorOpensInTheHostsWindowShowingTheModulesArtwork) {
  AEffect* effect = create();
  ASSERT_NE(effect, nullptr);
  EXPECT_NE(effect->flags & effFlagsHasEditor, 0);
  ASSERT_EQ(dispatch(effect, effEditOpen, 0, hostWindow()), 1);
  HWND window = editorWindow(hostWindow());
  ASSERT_NE(window, nullptr);
  UpdateWindow(window);
  pumpMessages();

  const Artwork art = loadArtwork(module);
  ASSERT_TRUE(art.complete);
  float values[kParameterCount];
  for (int i = 0; i < kParameterCount; ++i) values[i] = effect->getParameter(effect, i);
  EXPECT_EQ(windowDifferences(captureWindow(window), composeEditor(art, values)), 0);

  // A drag on the MASTER VOLUME knob reaches the host as automation of parameter 12.
  const float volume = values[12];
  press(window, 631, 45);
  moveTo(window, 631, 35);
  release(window, 631, 35);
  const std::vector<AutomateCall> calls = automateCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].index, 12);
  EXPECT_FLOAT_EQ(calls[0].value, volume + 0.05f);
  EXPECT_EQ(calls[0].heldByInstance, calls[0].value);

  dispatch(effect, effEditClose);
  EXPECT_FALSE(IsWindow(window));
  dispatch(effect, effClose);
}

TEST_F(ModuleTest, WindowClassBelongsToTheModuleAndLastInstanceUnregistersIt) {
  AEffect* first = create();
  AEffect* second = create();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(classRegistered());
  dispatch(first, effClose);
  EXPECT_TRUE(classRegistered());
  ASSERT_EQ(dispatch(second, effEditOpen, 0, hostWindow()), 1);
  EXPECT_NE(editorWindow(hostWindow()), nullptr);
  dispatch(second, effClose);
  pumpMessages();
  EXPECT_EQ(editorWindow(hostWindow()), nullptr);
  EXPECT_FALSE(classRegistered());
}

}  // namespace
}  // namespace editor_test
