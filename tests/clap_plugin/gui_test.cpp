// The editor through the gui extension (Windows builds): embedded as a child of a host
// window, fixed in size, hidden and shown again, and the user's drags and clicks reported
// to the host as gestures around their values in the next flush.
#include <cstring>

#include "editor/editor_layout.h"
#include "editor_harness.h"
#include "params/program_bank.h"
#include "tests/clap_plugin/clap_fixture.h"

namespace claptest {
namespace {

constexpr std::uint32_t kEditorWidth = 785;
constexpr std::uint32_t kEditorHeight = 82;

// The editor's window among the host window's children, or null.
HWND editorWindow(HWND parent) {
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[64] = {};
    GetClassNameA(child, name, sizeof(name));
    if (std::strcmp(name, "VelkorGui") == 0) return child;
  }
  return nullptr;
}

// The centre of the control bound to `parameter`.
POINT controlCentre(std::int32_t parameter) {
  for (const editor_layout::ControlPlace& place : editor_layout::kControls) {
    if (place.parameterIndex != parameter) continue;
    const bool knob = place.kind == editor_layout::CONTROL_KNOB;
    return POINT{place.left + (knob ? editor_layout::kKnobSize : editor_test::kSwitchWidth) / 2,
                 place.top + (knob ? editor_layout::kKnobSize : editor_test::kSwitchHeight) / 2};
  }
  return POINT{0, 0};
}

class ClapGui : public ClapModuleTest {
 protected:
  void SetUp() override {
    ClapModuleTest::SetUp();
    instance = create(host);
    ASSERT_NE(instance, nullptr);
    gui = static_cast<const clap_plugin_gui_t*>(instance->plugin->get_extension(instance->plugin, CLAP_EXT_GUI));
    ASSERT_NE(gui, nullptr);
  }
  void TearDown() override {
    if (gui != nullptr && instance != nullptr) gui->destroy(instance->plugin);
    editor_test::pumpMessages();
  }
  // The editor made and embedded in the host window, as hosts usually do it.
  bool openEditor() {
    clap_window_t window = {CLAP_WINDOW_API_WIN32, {nullptr}};
    window.win32 = editor_test::hostWindow();
    return gui->create(instance->plugin, CLAP_WINDOW_API_WIN32, false) && gui->set_parent(instance->plugin, &window);
  }
  // What the host hears in its next flush.
  std::vector<ClapOutputEvents::Event> flushed() {
    ClapOutputEvents out;
    instance->params->flush(instance->plugin, nullptr, out.list());
    return out.events;
  }
  std::unique_ptr<Instance> instance;
  const clap_plugin_gui_t* gui = nullptr;
};

TEST_F(ClapGui, TheWin32EditorEmbeddedAtItsOneSizeHiddenAndShown) {
  const clap_plugin_t* plugin = instance->plugin;
  EXPECT_TRUE(gui->is_api_supported(plugin, CLAP_WINDOW_API_WIN32, false));
  EXPECT_FALSE(gui->is_api_supported(plugin, CLAP_WINDOW_API_WIN32, true)) << "embedded only";
  EXPECT_FALSE(gui->is_api_supported(plugin, CLAP_WINDOW_API_X11, false));
  EXPECT_FALSE(gui->create(plugin, CLAP_WINDOW_API_X11, false));
  ASSERT_TRUE(gui->create(plugin, CLAP_WINDOW_API_WIN32, false));
  EXPECT_FALSE(gui->create(plugin, CLAP_WINDOW_API_WIN32, false)) << "one editor at a time";
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  ASSERT_TRUE(gui->get_size(plugin, &width, &height));
  EXPECT_EQ(width, kEditorWidth);
  EXPECT_EQ(height, kEditorHeight);
  EXPECT_FALSE(gui->set_size(plugin, kEditorWidth + 1, kEditorHeight)) << "one size only";

  clap_window_t window = {CLAP_WINDOW_API_WIN32, {nullptr}};
  EXPECT_FALSE(gui->set_parent(plugin, &window)) << "no window";
  EXPECT_FALSE(gui->show(plugin)) << "no parent yet";
  window.win32 = editor_test::hostWindow();
  ASSERT_TRUE(gui->set_parent(plugin, &window));
  ASSERT_TRUE(gui->show(plugin));
  HWND child = editorWindow(editor_test::hostWindow());
  ASSERT_NE(child, nullptr);
  EXPECT_NE(GetWindowLongA(child, GWL_STYLE) & WS_CHILD, 0);
  ASSERT_TRUE(gui->hide(plugin));
  EXPECT_EQ(editorWindow(editor_test::hostWindow()), nullptr);
  ASSERT_TRUE(gui->show(plugin));
  EXPECT_NE(editorWindow(editor_test::hostWindow()), nullptr);
  gui->destroy(plugin);
  EXPECT_EQ(editorWindow(editor_test::hostWindow()), nullptr);
}

TEST_F(ClapGui, EditsReachTheHostAsGesturesAroundTheirValues) {
  const clap_plugin_t* plugin = instance->plugin;
  ASSERT_TRUE(openEditor());
  HWND child = editorWindow(editor_test::hostWindow());
  ASSERT_NE(child, nullptr);

  // A drag of VOLUME upwards.
  const double before = instance->value(PARAM_VOLUME);
  const POINT knob = controlCentre(PARAM_VOLUME);
  editor_test::press(child, knob.x, knob.y);
  editor_test::moveTo(child, knob.x, knob.y - 10);
  editor_test::moveTo(child, knob.x, knob.y - 20);
  EXPECT_GT(host.flushRequests(), 0);
  std::vector<ClapOutputEvents::Event> events = flushed();
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(events.front().type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
  EXPECT_EQ(events.front().param, static_cast<clap_id>(PARAM_VOLUME));
  EXPECT_EQ(events.back().type, CLAP_EVENT_PARAM_VALUE) << "the gesture goes on across flushes";
  editor_test::release(child, knob.x, knob.y - 20);
  const std::vector<ClapOutputEvents::Event> ending = flushed();
  ASSERT_EQ(ending.size(), 1u);
  EXPECT_EQ(ending.front().type, CLAP_EVENT_PARAM_GESTURE_END);
  EXPECT_EQ(events.back().value, instance->value(PARAM_VOLUME)) << "the host hears the live value";
  EXPECT_NEAR(instance->value(PARAM_VOLUME) - before, 0.1, 0.01);

  // A click on the ATTACK BRIGHT switch: one gesture holding its new value.
  const POINT lamp = controlCentre(PARAM_ATTACK_MODE);
  editor_test::click(child, lamp.x, lamp.y);
  events = flushed();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
  EXPECT_EQ(events[1].type, CLAP_EVENT_PARAM_VALUE);
  EXPECT_EQ(events[1].value, instance->value(PARAM_ATTACK_MODE));
  EXPECT_EQ(events[2].type, CLAP_EVENT_PARAM_GESTURE_END);
  for (const ClapOutputEvents::Event& event : events) EXPECT_EQ(event.param, static_cast<clap_id>(PARAM_ATTACK_MODE));

  // A gesture cut short by the host closing the editor still ends.
  editor_test::press(child, knob.x, knob.y);
  gui->destroy(plugin);
  events = flushed();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
  EXPECT_EQ(events[1].type, CLAP_EVENT_PARAM_GESTURE_END);
}

TEST_F(ClapGui, TheEditorFollowsChangesFromTheAudioThreadOnTheMainThread) {
  const clap_plugin_t* plugin = instance->plugin;
  ASSERT_TRUE(openEditor());
  ASSERT_TRUE(instance->activate());
  ClapInputEvents program;
  program.midi(0, 0xC0, 7, 0);
  std::vector<float> left, right;
  instance->process(program, 64, left, right);
  EXPECT_TRUE(host.runCallback(plugin));
  EXPECT_EQ(host.rescanFlags(), CLAP_PARAM_RESCAN_VALUES);
  editor_test::pumpMessages();
  // The editor shows the program's values: dragging from there reports from there.
  HWND child = editorWindow(editor_test::hostWindow());
  ASSERT_NE(child, nullptr);
  const POINT knob = controlCentre(PARAM_TONE_LEVEL);
  editor_test::press(child, knob.x, knob.y);
  editor_test::moveTo(child, knob.x, knob.y + 40);
  editor_test::release(child, knob.x, knob.y + 40);
  const std::vector<ClapOutputEvents::Event> events = flushed();
  ASSERT_GE(events.size(), 3u);
  EXPECT_NEAR(events[events.size() - 2].value, kFactoryPrograms[7].values[PARAM_TONE_LEVEL] - 0.2, 0.01);
}

}  // namespace
}  // namespace claptest
