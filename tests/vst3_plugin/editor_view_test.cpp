// The editor as the bundle's view on Windows: opened in the host's window with real
// window messages, its knob drags reported to the host as edits in gestures and heard at
// once, host automation moving the knob, and the view's references dropped on close.
#include <cstring>

#include "editor_harness.h"
#include "tests/vst3_plugin/bundle_fixture.h"

namespace {

using namespace vst3;
using vst3host::HandlerCall;

// The MASTER DECAY knob (parameter 8), a point well inside it.
constexpr auto kKnob = static_cast<ParamID>(editor_test::kKnobParameter);
using editor_test::kKnobLeft;
using editor_test::kKnobTop;
using editor_test::kKnobX;
using editor_test::kKnobY;

class RecordingFrame final : public vst3host::HostObject<IPlugFrame> {
 public:
  tresult PLUGIN_API resizeView(IPlugView*, ViewRect*) override { return kResultFalse; }
};

class Vst3EditorView : public BundleTest {
 protected:
  void SetUp() override {
    BundleTest::SetUp();
    instance = makeInstance();
    ASSERT_NE(instance, nullptr);
    view = instance->controller().createView(ViewType::kEditor);
    ASSERT_NE(view, nullptr);
  }
  void TearDown() override {
    if (view != nullptr) {
      EXPECT_EQ(view->release(), 0u);
    }
    EXPECT_EQ(frame.referenceCount(), 1u);
  }

  std::unique_ptr<Vst3Instance> instance;
  IPlugView* view = nullptr;
  RecordingFrame frame;
};

TEST_F(Vst3EditorView, TellsItsSizeAndOpensOnlyInAWindowsWindow) {
  ViewRect size{};
  ASSERT_EQ(view->getSize(&size), kResultOk);  // before any window exists
  EXPECT_EQ(size.right - size.left, editor_test::kWidth);
  EXPECT_EQ(size.bottom - size.top, editor_test::kHeight);
  EXPECT_EQ(view->canResize(), kResultFalse);
  EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeHWND), kResultTrue);
  EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultFalse);
  EXPECT_EQ(view->attached(editor_test::hostWindow(), kPlatformTypeX11EmbedWindowID), kInvalidArgument);
  EXPECT_EQ(view->attached(nullptr, kPlatformTypeHWND), kInvalidArgument);
  ViewRect asked{10, 10, 2000, 20};
  EXPECT_EQ(view->checkSizeConstraint(&asked), kResultOk);
  EXPECT_EQ(asked.right, 10 + editor_test::kWidth);
  EXPECT_EQ(asked.bottom, 10 + editor_test::kHeight);
  EXPECT_EQ(view->getSize(nullptr), kInvalidArgument);
}

TEST_F(Vst3EditorView, DragsAreHeardAndReportedAndAutomationMovesTheKnob) {
  ASSERT_EQ(view->setFrame(&frame), kResultOk);
  ASSERT_EQ(view->attached(editor_test::hostWindow(), kPlatformTypeHWND), kResultOk);
  HWND child = FindWindowExA(editor_test::hostWindow(), nullptr, "VelkorGui", nullptr);
  ASSERT_NE(child, nullptr);

  instance->controller().setParamNormalized(kKnob, 0.5);  // where the knob starts
  editor_test::press(child, kKnobX, kKnobY);
  editor_test::moveTo(child, kKnobX, kKnobY - 10);
  editor_test::moveTo(child, kKnobX, kKnobY - 20);
  editor_test::release(child, kKnobX, kKnobY - 20);
  std::vector<HandlerCall> edits = instance->handler().calls;
  ASSERT_FALSE(edits.empty());
  // Every change is a performEdit inside a begin/end pair of its parameter.
  bool open = false;
  double last = -1.0;
  for (const HandlerCall& call : edits) {
    EXPECT_EQ(call.id, kKnob);
    EXPECT_EQ(open, call.kind != HandlerCall::kBeginEdit);
    if (call.kind == HandlerCall::kPerformEdit) last = call.value;
    if (call.kind != HandlerCall::kPerformEdit) open = call.kind == HandlerCall::kBeginEdit;
  }
  EXPECT_FALSE(open);
  EXPECT_FLOAT_EQ(static_cast<float>(last), 0.6f);
  EXPECT_EQ(instance->controller().getParamNormalized(kKnob), last);
  // The sound has it already: a state saved now holds it.
  std::vector<std::uint8_t> state, ignored;
  ASSERT_TRUE(instance->saveState(state, ignored));
  float held = 0.0f;
  std::memcpy(&held, state.data() + 12 + 24 + kKnob * 4, sizeof held);
  EXPECT_EQ(static_cast<double>(held), last);

  // Played-back automation reaches the controller on the UI thread; the knob follows.
  const editor_test::Artwork art = editor_test::loadArtwork(GetModuleHandleA("Quindle.vst3"));
  ASSERT_TRUE(art.complete);
  instance->controller().setParamNormalized(kKnob, 0.9);
  editor_test::pumpMessages();
  float values[editor_test::kParameterCount];
  for (int i = 0; i < editor_test::kParameterCount; ++i) {
    values[i] = static_cast<float>(instance->controller().getParamNormalized(static_cast<ParamID>(i)));
  }
  const editor_test::Pixels shown = editor_test::captureWindow(child);
  EXPECT_EQ(editor_test::differencesInDisc(shown, editor_test::composeEditor(art, values), art, kKnobLeft, kKnobTop), 0);
  EXPECT_EQ(instance->handler().calls.size(), edits.size());  // automation is not reported back

  EXPECT_EQ(view->setFrame(nullptr), kResultOk);
  EXPECT_EQ(view->removed(), kResultOk);
  EXPECT_FALSE(IsWindow(child));
}

}  // namespace
