// The editor as the bundle's view on Linux: the X11 editor opened in the host's window
// with its id in the pointer, driven by nothing but the host's run loop (the view is
// registered there as the handler of the window's descriptor and as a timer), a knob
// drag through the X server reported as edits in one gesture, and every registration
// and reference given back on close.
#include <cstdint>

#include "tests/vst3_plugin/bundle_fixture.h"
#include "x11_display.h"

namespace {

using namespace vst3;
using vst3host::HandlerCall;

// The MASTER VOLUME knob (parameter 12), a point well inside it.
constexpr ParamID kKnob = 12;
constexpr int kKnobX = 631, kKnobY = 45;

class RecordingRunLoop final : public vst3host::HostObject<Linux::IRunLoop> {
 public:
  tresult PLUGIN_API registerEventHandler(Linux::IEventHandler* added, int fd) override {
    added->addRef();
    handler = added;
    descriptor = fd;
    return kResultOk;
  }
  tresult PLUGIN_API unregisterEventHandler(Linux::IEventHandler* removed) override {
    if (removed != handler) return kInvalidArgument;
    handler->release();
    handler = nullptr;
    return kResultOk;
  }
  tresult PLUGIN_API registerTimer(Linux::ITimerHandler* added, Linux::TimerInterval milliseconds) override {
    added->addRef();
    timer = added;
    period = milliseconds;
    return kResultOk;
  }
  tresult PLUGIN_API unregisterTimer(Linux::ITimerHandler* removed) override {
    if (removed != timer) return kInvalidArgument;
    timer->release();
    timer = nullptr;
    return kResultOk;
  }
  // One turn of the host's loop: the descriptor (as if readable) and the timer.
  void turn() {
    if (handler != nullptr) handler->onFDIsSet(descriptor);
    if (timer != nullptr) timer->onTimer();
  }

  Linux::IEventHandler* handler = nullptr;
  int descriptor = -1;
  Linux::ITimerHandler* timer = nullptr;
  Linux::TimerInterval period = 0;
};

class FrameWithRunLoop final : public vst3host::HostObject<IPlugFrame> {
 public:
  tresult PLUGIN_API queryInterface(const TUID interfaceId, void** obj) override {
    if (obj == nullptr || !sameUid(interfaceId, Linux::IRunLoop::iid)) {
      return HostObject<IPlugFrame>::queryInterface(interfaceId, obj);
    }
    loop.addRef();
    *obj = static_cast<Linux::IRunLoop*>(&loop);
    return kResultOk;
  }
  tresult PLUGIN_API resizeView(IPlugView*, ViewRect*) override { return kResultFalse; }

  RecordingRunLoop loop;
};

using Vst3X11View = BundleTest;

TEST_F(Vst3X11View, RunsOnTheHostsRunLoopAndReportsADragAsOneGesture) {
  editor_test::TestDisplay& display = editor_test::TestDisplay::get();
  ASSERT_TRUE(display.ok()) << "no X display";
  auto instance = makeInstance();
  ASSERT_NE(instance, nullptr);
  IPlugView* view = instance->controller().createView(ViewType::kEditor);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultTrue);
  EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeHWND), kResultFalse);
  FrameWithRunLoop frame;
  const xcb_window_t parent = display.createWindow();
  ASSERT_EQ(view->attached(editor_test::windowPointer(parent), kPlatformTypeX11EmbedWindowID), kResultOk);
  EXPECT_EQ(frame.loop.handler, nullptr);  // no frame yet: nothing to register with
  ASSERT_EQ(view->setFrame(&frame), kResultOk);
  ASSERT_NE(frame.loop.handler, nullptr);
  EXPECT_GE(frame.loop.descriptor, 0);
  ASSERT_NE(frame.loop.timer, nullptr);
  EXPECT_EQ(frame.loop.period, 30u);
  EXPECT_EQ(display.childrenOf(parent).size(), 1u);

  const double start = instance->controller().getParamNormalized(kKnob);
  display.pointerTo(kKnobX, kKnobY);
  display.press();
  display.pointerTo(kKnobX, kKnobY - 10);
  display.release();
  const auto gestureEnded = [&] {
    const auto& calls = instance->handler().calls;
    return !calls.empty() && calls.back().kind == HandlerCall::kEndEdit;
  };
  ASSERT_TRUE(editor_test::turnUntil([&] { frame.loop.turn(); }, gestureEnded));
  const std::vector<HandlerCall>& calls = instance->handler().calls;
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].kind, HandlerCall::kBeginEdit);
  EXPECT_EQ(calls[1].kind, HandlerCall::kPerformEdit);
  EXPECT_FLOAT_EQ(static_cast<float>(calls[1].value), static_cast<float>(start) + 0.05f);
  EXPECT_EQ(calls[2].kind, HandlerCall::kEndEdit);
  for (const HandlerCall& call : calls) EXPECT_EQ(call.id, kKnob);
  EXPECT_EQ(instance->controller().getParamNormalized(kKnob), calls[1].value);

  ASSERT_EQ(view->removed(), kResultOk);
  EXPECT_EQ(frame.loop.handler, nullptr);
  EXPECT_EQ(frame.loop.timer, nullptr);
  display.sync();
  EXPECT_TRUE(display.childrenOf(parent).empty());
  EXPECT_EQ(view->setFrame(nullptr), kResultOk);
  EXPECT_EQ(view->release(), 0u);
  EXPECT_EQ(frame.referenceCount(), 1u);
  EXPECT_EQ(frame.loop.referenceCount(), 1u);
  display.destroyWindow(parent);
}

}  // namespace
