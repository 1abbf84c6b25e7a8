// The editor through the gui extension on Linux: the X11 editor embedded in a window of
// the test's display, driven by nothing but the host's loop (its timers and descriptor
// watches), its picture composed from the module's bitmaps, a knob drag through the
// server reported as one gesture in the next process, a value the host sets drawn after
// the main-thread callback, and every registration and X resource given back.
#include <cstdint>
#include <memory>
#include <vector>

#include "tests/clap_plugin/clap_fixture.h"
#include "tests/clap_plugin/loop_host.h"
#include "x11_display.h"

namespace claptest {
namespace {

using editor_test::Pixels;
using editor_test::TestDisplay;

// The MASTER VOLUME knob (parameter 12), a point well inside it; ten pixels up turn it by 0.05.
constexpr clap_id kVolume = 12;
constexpr int kVolumeX = 631, kVolumeY = 45;
constexpr int kDragPixels = 10;
constexpr double kDragStep = 0.05;
constexpr std::uint32_t kBlock = 64;

TestDisplay& display() { return TestDisplay::get(); }

class ClapX11Gui : public ClapModuleTest {
 protected:
  void SetUp() override {
    ClapModuleTest::SetUp();
    ASSERT_TRUE(display().ok()) << "no X display";
    art = editor_test::loadArtworkFiles(QUINDLE_RESOURCE_DIR);
    ASSERT_TRUE(art.complete);
    parent = display().createWindow();
  }
  void TearDown() override {
    display().releaseIfHeld();
    instance.reset();
    if (parent != 0) display().destroyWindow(parent);
  }

  // A host offering `offer`, kept to the end of the test, and an instance on it with its
  // gui table (null without one).
  LoopHost& make(LoopHost::Offer offer = {}) {
    hosts.push_back(std::make_unique<LoopHost>(offer));
    loop = hosts.back().get();
    instance = create(*loop);
    gui = nullptr;
    if (instance != nullptr) {
      gui = static_cast<const clap_plugin_gui_t*>(instance->plugin->get_extension(instance->plugin, CLAP_EXT_GUI));
    }
    return *loop;
  }
  // Made, embedded in the parent and shown, as hosts do it.
  bool openEditor() {
    clap_window_t window = {CLAP_WINDOW_API_X11, {nullptr}};
    window.x11 = parent;
    const clap_plugin_t* plugin = instance->plugin;
    return gui->create(plugin, CLAP_WINDOW_API_X11, false) && gui->set_parent(plugin, &window) && gui->show(plugin);
  }
  // The editor's window inside the parent, or 0.
  xcb_window_t editorWindow() {
    const std::vector<xcb_window_t> children = display().childrenOf(parent);
    return children.size() == 1 ? children[0] : 0;
  }
  // Turns of the host's loop, as time passes, until `done` or the rounds run out.
  template <typename Condition>
  bool turnUntil(Condition done) {
    return editor_test::turnUntil([this] { loop->turn(instance->plugin); }, done);
  }
  // The picture of the instance's values now.
  Pixels expectedNow() {
    float values[editor_test::kParameterCount];
    for (int i = 0; i < editor_test::kParameterCount; ++i) values[i] = static_cast<float>(instance->value(i));
    return editor_test::composeEditor(art, values);
  }
  int differencesFrom(const Pixels& expected) {
    return editor_test::windowDifferences(display().capture(editorWindow()), expected);
  }
  bool showsValuesNow() {
    const Pixels expected = expectedNow();
    return turnUntil([&] { return differencesFrom(expected) == 0; });
  }
  // The VOLUME knob dragged up through the server, until the host was asked to flush the
  // gesture's end (begin, value, end: one request each).
  bool dragVolume() {
    display().pointerTo(kVolumeX, kVolumeY);
    display().press();
    display().pointerTo(kVolumeX, kVolumeY - kDragPixels);
    display().release();
    return turnUntil([&] { return loop->flushRequests() >= 3; });
  }

  editor_test::Artwork art;
  xcb_window_t parent = 0;
  std::vector<std::unique_ptr<LoopHost>> hosts;
  LoopHost* loop = nullptr;
  std::unique_ptr<Instance> instance;
  const clap_plugin_gui_t* gui = nullptr;
};

TEST_F(ClapX11Gui, EmbedsAtItsOneSizeOnTheHostsTimerAndWatchShownAndHidden) {
  LoopHost& owner = make();
  ASSERT_NE(gui, nullptr);
  const clap_plugin_t* plugin = instance->plugin;
  EXPECT_TRUE(gui->is_api_supported(plugin, CLAP_WINDOW_API_X11, false));
  EXPECT_FALSE(gui->is_api_supported(plugin, CLAP_WINDOW_API_X11, true)) << "embedded only";
  EXPECT_FALSE(gui->is_api_supported(plugin, CLAP_WINDOW_API_WIN32, false));
  const char* api = nullptr;
  bool floating = true;
  ASSERT_TRUE(gui->get_preferred_api(plugin, &api, &floating));
  EXPECT_STREQ(api, CLAP_WINDOW_API_X11);
  EXPECT_FALSE(floating);
  EXPECT_FALSE(gui->create(plugin, CLAP_WINDOW_API_X11, true));
  ASSERT_TRUE(gui->create(plugin, CLAP_WINDOW_API_X11, false));
  EXPECT_FALSE(gui->create(plugin, CLAP_WINDOW_API_X11, false)) << "one editor at a time";
  EXPECT_FALSE(gui->set_scale(plugin, 2.0));
  EXPECT_FALSE(gui->can_resize(plugin));
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  ASSERT_TRUE(gui->get_size(plugin, &width, &height));
  EXPECT_EQ(width, static_cast<std::uint32_t>(editor_test::kWidth));
  EXPECT_EQ(height, static_cast<std::uint32_t>(editor_test::kHeight));
  EXPECT_FALSE(gui->set_size(plugin, width, height + 1));

  clap_window_t window = {CLAP_WINDOW_API_X11, {nullptr}};
  EXPECT_FALSE(gui->set_parent(plugin, &window)) << "no window";
  window.api = CLAP_WINDOW_API_WIN32;
  window.x11 = parent;
  EXPECT_FALSE(gui->set_parent(plugin, &window)) << "another API";
  window.api = CLAP_WINDOW_API_X11;
  window.x11 = std::uint64_t{1} << 40;
  EXPECT_FALSE(gui->set_parent(plugin, &window)) << "no X window id";
  EXPECT_TRUE(owner.timers.empty());
  EXPECT_FALSE(gui->show(plugin)) << "no parent yet";

  window.x11 = parent;
  ASSERT_TRUE(gui->set_parent(plugin, &window));
  ASSERT_TRUE(gui->show(plugin));
  const xcb_window_t child = editorWindow();
  ASSERT_NE(child, 0u);
  const xcb_rectangle_t place = display().geometryOf(child);
  EXPECT_EQ(place.x, 0);
  EXPECT_EQ(place.y, 0);
  EXPECT_EQ(place.width, width);
  EXPECT_EQ(place.height, height);
  ASSERT_EQ(owner.timers.size(), 1u);
  EXPECT_EQ(owner.timers.begin()->second, 30u);
  ASSERT_EQ(owner.descriptors.size(), 1u);
  EXPECT_GE(owner.descriptors.begin()->first, 0);
  EXPECT_EQ(owner.descriptors.begin()->second, CLAP_POSIX_FD_READ);
  EXPECT_EQ(owner.timerRegistrations, 1) << "show of a shown editor registers nothing more";
  EXPECT_TRUE(showsValuesNow()) << "the window never showed the composed picture";

  ASSERT_TRUE(gui->hide(plugin));
  EXPECT_TRUE(owner.timers.empty());
  EXPECT_TRUE(owner.descriptors.empty());
  display().sync();
  EXPECT_EQ(editorWindow(), 0u);
  ASSERT_TRUE(gui->show(plugin));
  EXPECT_EQ(owner.timers.size(), 1u);
  EXPECT_EQ(owner.descriptors.size(), 1u);
  EXPECT_TRUE(showsValuesNow()) << "shown again in the same parent";

  // A descriptor the host reports in error is given up; the timer goes on, and hiding
  // unregisters nothing twice. Calls for what the instance never registered do nothing.
  const auto* onFd =
      static_cast<const clap_plugin_posix_fd_support_t*>(plugin->get_extension(plugin, CLAP_EXT_POSIX_FD_SUPPORT));
  const auto* onTimer =
      static_cast<const clap_plugin_timer_support_t*>(plugin->get_extension(plugin, CLAP_EXT_TIMER_SUPPORT));
  ASSERT_TRUE(onFd != nullptr && onTimer != nullptr);
  onTimer->on_timer(plugin, owner.timers.begin()->first + 1);
  onFd->on_fd(plugin, owner.descriptors.begin()->first + 1, CLAP_POSIX_FD_ERROR);
  EXPECT_EQ(owner.descriptors.size(), 1u);
  onFd->on_fd(plugin, owner.descriptors.begin()->first, CLAP_POSIX_FD_READ | CLAP_POSIX_FD_ERROR);
  EXPECT_TRUE(owner.descriptors.empty());
  EXPECT_EQ(owner.timers.size(), 1u);
  ASSERT_TRUE(gui->hide(plugin));
  EXPECT_TRUE(owner.timers.empty());
  EXPECT_EQ(owner.strayUnregistrations, 0);
}

TEST_F(ClapX11Gui, ADragReachesTheHostAsOneGestureInTheNextProcess) {
  LoopHost& owner = make();
  ASSERT_NE(gui, nullptr);
  ASSERT_TRUE(instance->activate());
  ASSERT_TRUE(openEditor());
  ASSERT_TRUE(showsValuesNow());
  const double start = instance->value(kVolume);
  // The watched descriptor brings the pointer's events before any timer is due.
  owner.timersDue = false;
  ASSERT_TRUE(dragVolume());
  owner.timersDue = true;
  ClapInputEvents none;
  ClapOutputEvents out;
  std::vector<float> left, right;
  instance->process(none, kBlock, left, right, &out);
  ASSERT_EQ(out.events.size(), 3u);
  EXPECT_EQ(out.events[0].type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
  EXPECT_EQ(out.events[1].type, CLAP_EVENT_PARAM_VALUE);
  EXPECT_NEAR(out.events[1].value, start + kDragStep, 1e-6);
  EXPECT_EQ(out.events[2].type, CLAP_EVENT_PARAM_GESTURE_END);
  for (const ClapOutputEvents::Event& event : out.events) EXPECT_EQ(event.param, kVolume);
  EXPECT_EQ(instance->value(kVolume), out.events[1].value);
  EXPECT_TRUE(showsValuesNow()) << "the knob is drawn at its new value";
}

TEST_F(ClapX11Gui, TheTimerAloneDrivesTheWindowWhereNoDescriptorIsWatched) {
  LoopHost& owner = make({true, false, true});
  ASSERT_NE(gui, nullptr);
  ASSERT_TRUE(openEditor());
  EXPECT_EQ(owner.timers.size(), 1u);
  EXPECT_EQ(owner.descriptorRegistrations, 0);
  ASSERT_TRUE(showsValuesNow());
  const double start = instance->value(kVolume);
  ASSERT_TRUE(dragVolume());
  ClapOutputEvents out;
  instance->params->flush(instance->plugin, nullptr, out.list());
  ASSERT_EQ(out.events.size(), 3u);
  EXPECT_EQ(out.events[0].type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
  EXPECT_NEAR(out.events[1].value, start + kDragStep, 1e-6);
  EXPECT_EQ(out.events[2].type, CLAP_EVENT_PARAM_GESTURE_END);
}

TEST_F(ClapX11Gui, AValueTheHostSetsInProcessIsDrawnAfterTheMainThreadCallback) {
  LoopHost& owner = make();
  ASSERT_NE(gui, nullptr);
  ASSERT_TRUE(instance->activate());
  ASSERT_TRUE(openEditor());
  ASSERT_TRUE(showsValuesNow());
  const Pixels before = expectedNow();
  const double value = instance->value(editor_test::kKnobParameter) < 0.5 ? 0.9 : 0.1;
  ClapInputEvents change;
  change.parameter(0, editor_test::kKnobParameter, value);
  std::vector<float> left, right;
  instance->process(change, kBlock, left, right);
  EXPECT_GT(owner.callbackRequests(), 0);
  display().sync();
  EXPECT_EQ(differencesFrom(before), 0) << "nothing is drawn from process";
  const Pixels after = expectedNow();
  ASSERT_NE(editor_test::knobDifferences(after, before), 0);
  EXPECT_TRUE(turnUntil([&] { return differencesFrom(after) == 0; }));
}

TEST_F(ClapX11Gui, DestroyUnregistersEverythingAndLeavesNoXResources) {
  const std::vector<std::uint32_t> clients = display().clients();
  const int descriptors = editor_test::openDescriptors();
  LoopHost& owner = make();
  ASSERT_NE(gui, nullptr);
  ASSERT_TRUE(openEditor());
  const std::uint32_t client = TestDisplay::newClient(clients, display().clients());
  ASSERT_NE(client, 0u);
  EXPECT_GT(display().resourcesOf(client), 0);
  ASSERT_TRUE(showsValuesNow());
  for (int cycle = 0; cycle < 10; ++cycle) {
    ASSERT_TRUE(gui->hide(instance->plugin));
    ASSERT_TRUE(gui->show(instance->plugin));
  }
  gui->destroy(instance->plugin);
  EXPECT_TRUE(owner.timers.empty());
  EXPECT_TRUE(owner.descriptors.empty());
  EXPECT_EQ(owner.timerRegistrations, 11);
  EXPECT_EQ(owner.strayUnregistrations, 0);
  display().sync();
  EXPECT_EQ(editorWindow(), 0u);
  EXPECT_EQ(display().clients(), clients);
  EXPECT_EQ(editor_test::openDescriptors(), descriptors);
  owner.turn(instance->plugin);  // a host's late turn finds nothing to call

  // An instance destroyed with its editor shown gives everything back too.
  ASSERT_TRUE(openEditor());
  EXPECT_EQ(owner.timers.size(), 1u);
  instance.reset();
  EXPECT_TRUE(owner.timers.empty());
  EXPECT_TRUE(owner.descriptors.empty());
  EXPECT_EQ(owner.strayUnregistrations, 0);
  display().sync();
  EXPECT_EQ(display().clients(), clients);
  EXPECT_EQ(editor_test::openDescriptors(), descriptors);
}

TEST_F(ClapX11Gui, AHostWithoutTimersGetsNoX11Editor) {
  make({false, true, true});
  ASSERT_NE(gui, nullptr);
  const clap_plugin_t* plugin = instance->plugin;
  // Asked as scanners ask, the plug-in has its API; the editor is not made.
  EXPECT_TRUE(gui->is_api_supported(plugin, CLAP_WINDOW_API_X11, false));
  EXPECT_FALSE(gui->create(plugin, CLAP_WINDOW_API_X11, false));
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  EXPECT_FALSE(gui->get_size(plugin, &width, &height));

  // Timers that refuse to start: the window does not stay open.
  const std::vector<std::uint32_t> clients = display().clients();
  LoopHost& refusing = make({true, true, false});
  ASSERT_NE(gui, nullptr);
  ASSERT_TRUE(gui->create(instance->plugin, CLAP_WINDOW_API_X11, false));
  clap_window_t window = {CLAP_WINDOW_API_X11, {nullptr}};
  window.x11 = parent;
  EXPECT_FALSE(gui->set_parent(instance->plugin, &window));
  EXPECT_EQ(refusing.descriptorRegistrations, 0);
  display().sync();
  EXPECT_EQ(editorWindow(), 0u);
  EXPECT_EQ(display().clients(), clients);
}

}  // namespace
}  // namespace claptest
