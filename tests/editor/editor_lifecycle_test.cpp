// The editor's window over the instance's life: the rectangle given to the host, the
// shared window class and its reference count, opening twice, a window that cannot be
// created, missing bitmaps, and open/close cycles that leave no GDI object behind.
#include "editor/gui_control.h"
#include "editor/window_editor.h"
#include "editor_fixture.h"
#include "shell/module_handle.h"

namespace editor_test {
namespace {

constexpr int kCycles = 100;
constexpr std::uint32_t kPlainFill = 0x969696;

using LifecycleTest = EditorTest;

bool classRegistered(HINSTANCE module) {
  WNDCLASSA info;
  return GetClassInfoA(module, WindowEditor::kClassName, &info) != 0;
}

BOOL CALLBACK countWindow(HWND, LPARAM counter) {
  ++*reinterpret_cast<int*>(counter);
  return TRUE;
}

int childWindowsOf(HWND parent) {
  int count = 0;
  EnumChildWindows(parent, countWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

TEST_F(LifecycleTest, RectangleIsTheEditorsSizeOpenOrNot) {
  closeEditor();
  for (int pass = 0; pass < 2; ++pass) {
    ERect* rect = nullptr;
    EXPECT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, kHeight);
    EXPECT_EQ(rect->right, kWidth);
    ASSERT_TRUE(openEditor());
  }
  RECT client;
  GetClientRect(child, &client);
  EXPECT_EQ(client.right, kWidth);
  EXPECT_EQ(client.bottom, kHeight);
  EXPECT_EQ(GetParent(child), hostWindow());
  EXPECT_EQ(GetWindowLongA(child, GWL_STYLE) & (WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE);
  EXPECT_EQ(GetClassLongA(child, GCL_STYLE) & CS_DBLCLKS, 0u);
}

TEST_F(LifecycleTest, InstancesShareTheClassAndTheLastOneUnregistersIt) {
  HINSTANCE module = GetModuleHandleA(nullptr);
  const std::int32_t before = WindowEditor::getInstanceCount();
  SynthPlugin* second = createSynthPlugin(recordingHost);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(WindowEditor::getInstanceCount(), before + 1);
  AEffect* secondEffect = second->getAEffect();
  ASSERT_EQ(secondEffect->dispatcher(secondEffect, effEditOpen, 0, 0, hostWindow(), 0.0f), 1);

  // Closing the first instance leaves the class to the second, whose editor still works.
  dispatch(effClose);
  effect = nullptr;
  pumpMessages();
  EXPECT_TRUE(classRegistered(module));
  EXPECT_EQ(WindowEditor::getInstanceCount(), before);
  HWND secondChild = static_cast<PluginEditor*>(second->getEditor())->getWindow();
  ASSERT_NE(secondChild, nullptr);
  secondEffect->setParameter(secondEffect, 0, 0.0f);
  click(secondChild, 44, 44);
  EXPECT_EQ(secondEffect->getParameter(secondEffect, 0), 1.0f);

  secondEffect->dispatcher(secondEffect, effClose, 0, 0, nullptr, 0.0f);
  pumpMessages();
  EXPECT_EQ(WindowEditor::getInstanceCount(), before - 1);
  EXPECT_FALSE(classRegistered(module));

  // A new instance registers it again.
  SynthPlugin* third = createSynthPlugin(recordingHost);
  ASSERT_NE(third, nullptr);
  EXPECT_TRUE(classRegistered(module));
  third->getAEffect()->dispatcher(third->getAEffect(), effClose, 0, 0, nullptr, 0.0f);
}

TEST_F(LifecycleTest, OpeningAnOpenEditorReplacesItsWindow) {
  HWND first = child;
  ASSERT_TRUE(openEditor());
  EXPECT_NE(child, first);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(childWindowsOf(hostWindow()), 1);
  settle();
  EXPECT_EQ(windowDifferences(captureWindow(child), expectedNow()), 0);
}

TEST_F(LifecycleTest, WindowThatCannotBeCreatedLeavesTheEditorClosed) {
  closeEditor();
  HWND stale = createPlainChild();
  ASSERT_NE(stale, nullptr);
  DestroyWindow(stale);
  EXPECT_EQ(dispatch(effEditOpen, 0, 0, stale), 0);
  EXPECT_FALSE(editor->isOpen());
  EXPECT_EQ(editor->getWindow(), nullptr);
  setParameter(8, 0.9f);  // a parameter change while closed draws nothing and is kept
  EXPECT_EQ(controlFor(8)->getValue(), 0.9f);
  ASSERT_TRUE(openEditor());
  settle();
  EXPECT_EQ(windowDifferences(captureWindow(child), expectedNow()), 0);
}

TEST_F(LifecycleTest, ClosingTheInstanceWithTheEditorOpenDestroysTheWindow) {
  HWND window = child;
  dispatch(effClose);
  effect = nullptr;
  pumpMessages();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(childWindowsOf(hostWindow()), 0);
}

TEST_F(LifecycleTest, EditorWithoutItsBitmapsFillsTheWindowAndHasNoControls) {
  // A module without the bitmaps: the system library carries none of them.
  void* const own = moduleHandle;
  moduleHandle = GetModuleHandleA("kernel32.dll");
  SynthPlugin* bare = createSynthPlugin(recordingHost);
  moduleHandle = own;
  ASSERT_NE(bare, nullptr);
  AEffect* bareEffect = bare->getAEffect();
  auto* bareEditor = static_cast<PluginEditor*>(bare->getEditor());
  ASSERT_NE(bareEditor, nullptr);
  EXPECT_EQ(bareEditor->getControlCount(), 0u);
  closeEditor();
  ASSERT_EQ(bareEffect->dispatcher(bareEffect, effEditOpen, 0, 0, hostWindow(), 0.0f), 1);
  HWND bareWindow = bareEditor->getWindow();
  UpdateWindow(bareWindow);
  pumpMessages();
  const Pixels pixels = captureWindow(bareWindow);
  EXPECT_EQ(windowDifferences(pixels, Pixels(pixels.size(), kPlainFill)), 0);
  click(bareWindow, 44, 44);  // nothing to hit
  bareEffect->setParameter(bareEffect, 8, 0.3f);
  EXPECT_EQ(bareEffect->getParameter(bareEffect, 8), 0.3f);
  bareEffect->dispatcher(bareEffect, effClose, 0, 0, nullptr, 0.0f);
  pumpMessages();
}

TEST_F(LifecycleTest, OpenCloseCyclesLeaveNoGdiObjectsBehind) {
  // One cycle first, so that whatever the system keeps for the class is in place.
  auto cycle = [this](int round) {
    closeEditor();
    ASSERT_TRUE(openEditor());
    settle();
    setParameter(8, static_cast<float>(round % 10) / 10.0f);
    setParameter(0, static_cast<float>(round % 2));
    press(child, 440, 45);
    moveTo(child, 440, 45 - round % 30);
    release(child, 440, 45 - round % 30);
    click(child, 44, 44);
    closeEditor();
  };
  cycle(0);
  const GdiCount before = countGdiObjects();
  for (int round = 1; round <= kCycles; ++round) cycle(round);
  const GdiCount after = countGdiObjects();
  EXPECT_EQ(after.reported, before.reported);
  EXPECT_EQ(after.room, before.room) << (before.room - after.room) << " GDI objects left behind";
  EXPECT_GT(before.room, 1000);
}

}  // namespace
}  // namespace editor_test
