// The LV2 editor as an LV2 host meets it: found through lilv in the bundle as an X11 UI,
// its shared object loaded, instantiated inside a host window with the host's features,
// told of port values, driven by the idle interface, and edited with the pointer
// (XTest): the host receives port writes, bracketed by touch gestures.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <lilv/lilv.h>
#include <lv2/ui/ui.h>

#include <cstring>
#include <string>
#include <vector>

#include "lv2/lv2_ports.h"
#include "params/program_bank.h"
#include "tests/lv2/lilv_fixture.h"
#include "x11_display.h"

namespace {

using editor_test::Pixels;
using editor_test::TestDisplay;

constexpr std::uint32_t kFloatProtocol = 0;

// What the UI tells its host, in order.
struct HostSide {
  std::vector<std::string> events;
  std::vector<float> written = std::vector<float>(lv2ports::kMidiIn, -1.0f);
  int width = 0;
  int height = 0;

  static void write(LV2UI_Controller controller, uint32_t port, uint32_t size, uint32_t protocol, const void* buffer) {
    auto* host = static_cast<HostSide*>(controller);
    if (protocol != kFloatProtocol || size != sizeof(float) || port >= lv2ports::kMidiIn) {
      host->events.push_back("bad write");
      return;
    }
    std::memcpy(&host->written[port], buffer, sizeof(float));
    host->events.push_back("write " + std::to_string(port));
  }
  static void touch(LV2UI_Feature_Handle handle, uint32_t port, bool grabbed) {
    static_cast<HostSide*>(handle)->events.push_back((grabbed ? "grab " : "let go ") + std::to_string(port));
  }
  static int resize(LV2UI_Feature_Handle handle, int w, int h) {
    static_cast<HostSide*>(handle)->width = w;
    static_cast<HostSide*>(handle)->height = h;
    return 0;
  }
};

class Lv2UiTest : public lv2test::BundleTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(display().ok()) << "no X display";
    ASSERT_NE(plugin, nullptr);
    LilvUIs* uis = lilv_plugin_get_uis(plugin);
    ASSERT_EQ(lilv_uis_size(uis), 1u);
    const LilvUI* ui = lilv_uis_get(uis, lilv_uis_begin(uis));
    uiUri = lilv_node_as_uri(lilv_ui_get_uri(ui));
    LilvNode* x11 = uri(LV2_UI__X11UI);
    isX11 = lilv_ui_is_a(ui, x11);
    lilv_node_free(x11);
    char* path = lilv_file_uri_parse(lilv_node_as_uri(lilv_ui_get_binary_uri(ui)), nullptr);
    binary = path;
    lilv_free(path);
    lilv_uis_free(uis);
    library = dlopen(binary.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto entry = reinterpret_cast<LV2UI_DescriptorFunction>(dlsym(library, "lv2ui_descriptor"));
    ASSERT_NE(entry, nullptr);
    descriptor = entry(0);
    ASSERT_NE(descriptor, nullptr);
    EXPECT_EQ(entry(1), nullptr);
    parent = display().createWindow();
  }
  void TearDown() override {
    display().releaseIfHeld();
    if (handle != nullptr) descriptor->cleanup(handle);
    display().destroyWindow(parent);
    if (library != nullptr) dlclose(library);
  }

  static TestDisplay& display() { return TestDisplay::get(); }

  // Instantiates with the parent, the idle feature, touch and resize; the widget comes back.
  bool instantiate(bool withTouch = true) {
    touchFeature = {&host, HostSide::touch};
    resizeFeature = {&host, HostSide::resize};
    const LV2_Feature parentFeature = {LV2_UI__parent, editor_test::windowPointer(parent)};
    const LV2_Feature idleFeature = {LV2_UI__idleInterface, nullptr};
    const LV2_Feature touchOffer = {LV2_UI__touch, &touchFeature};
    const LV2_Feature resizeOffer = {LV2_UI__resize, &resizeFeature};
    const LV2_Feature mapFeature = {LV2_URID__map, urids->feature()};
    const LV2_Feature* features[] = {&parentFeature, &idleFeature, &resizeOffer, &mapFeature,
                                     withTouch ? &touchOffer : nullptr, nullptr};
    handle = descriptor->instantiate(descriptor, lv2ports::kPluginUri, QUINDLE_LV2_BUNDLE, HostSide::write, &host,
                                     &widget, features);
    return handle != nullptr;
  }

  int idle() {
    const auto* interface = static_cast<const LV2UI_Idle_Interface*>(descriptor->extension_data(LV2_UI__idleInterface));
    return interface->idle(handle);
  }

  // Idles until `done` holds; lastIdle keeps what the latest idle call answered.
  template <typename Condition>
  bool idleUntil(Condition done) {
    return editor_test::turnUntil([this] { lastIdle = idle(); }, done);
  }

  void sendPort(std::uint32_t port, float value) { descriptor->port_event(handle, port, sizeof value, kFloatProtocol, &value); }

  bool shows(const float values[]) {
    const editor_test::Artwork& art = artwork();
    const Pixels expected = editor_test::composeEditor(art, values);
    const auto window = static_cast<xcb_window_t>(reinterpret_cast<std::uintptr_t>(widget));
    return idleUntil([&] {
      return editor_test::windowDifferences(display().capture(window), expected) == 0;
    });
  }

  static const editor_test::Artwork& artwork() {
    static const editor_test::Artwork art = editor_test::loadArtworkFiles(QUINDLE_RESOURCE_DIR);
    return art;
  }

  std::string uiUri;
  bool isX11 = false;
  std::string binary;
  void* library = nullptr;
  const LV2UI_Descriptor* descriptor = nullptr;
  xcb_window_t parent = 0;
  HostSide host;
  LV2UI_Touch touchFeature = {};
  LV2UI_Resize resizeFeature = {};
  LV2UI_Handle handle = nullptr;
  LV2UI_Widget widget = nullptr;
  int lastIdle = 0;
};

TEST_F(Lv2UiTest, TheBundleDescribesAnX11UiInItsOwnObjectThatOpensInTheHostsWindow) {
  EXPECT_EQ(uiUri, lv2ports::kUiUri);
  EXPECT_TRUE(isX11);
  EXPECT_EQ(binary.substr(binary.rfind('/') + 1), lv2ports::kUiBinaryName);
  EXPECT_STREQ(descriptor->URI, lv2ports::kUiUri);
  EXPECT_NE(descriptor->extension_data(LV2_UI__idleInterface), nullptr);
  EXPECT_EQ(descriptor->extension_data(LV2_UI__showInterface), nullptr);

  ASSERT_TRUE(instantiate());
  const std::vector<xcb_window_t> children = display().childrenOf(parent);
  ASSERT_EQ(children.size(), 1u);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(widget), children[0]);
  EXPECT_EQ(host.width, editor_test::kWidth);
  EXPECT_EQ(host.height, editor_test::kHeight);
  // Until the host tells of the ports, the description's defaults.
  EXPECT_TRUE(shows(kFactoryPrograms[0].values));

  // The host tells of every port (a preset of program 3 loaded).
  for (std::uint32_t port = 0; port < lv2ports::kMidiIn; ++port) sendPort(port, kFactoryPrograms[3].values[port]);
  EXPECT_TRUE(shows(kFactoryPrograms[3].values));
  EXPECT_TRUE(host.events.empty()) << "the host's own values were written back";

  // Not a parameter's value: ignored.
  const float nan = std::numeric_limits<float>::quiet_NaN();
  descriptor->port_event(handle, 2, sizeof nan, kFloatProtocol, &nan);
  descriptor->port_event(handle, 2, 8, kFloatProtocol, &nan);
  descriptor->port_event(handle, 2, sizeof nan, 7, &nan);
  descriptor->port_event(handle, lv2ports::kMidiIn, sizeof nan, kFloatProtocol, &nan);
  descriptor->port_event(handle, 2, sizeof nan, kFloatProtocol, nullptr);
  EXPECT_TRUE(shows(kFactoryPrograms[3].values));
  EXPECT_EQ(idle(), 0);
}

TEST_F(Lv2UiTest, EditsReachTheHostAsPortWritesInsideTouchGestures) {
  ASSERT_TRUE(instantiate());
  sendPort(12, 0.5f);
  sendPort(0, 0.0f);
  display().sync();
  idle();
  display().pointerTo(631, 45);  // MASTER VOLUME
  display().press();
  display().pointerTo(631, 35);
  display().pointerTo(631, 25);
  display().release();
  display().pointerTo(44, 44);  // ATTACK BRIGHT
  display().press();
  display().release();
  EXPECT_TRUE(idleUntil([&] { return host.events.size() >= 7; }));
  EXPECT_EQ(host.events, (std::vector<std::string>{"grab 12", "write 12", "write 12", "let go 12", "grab 0",
                                                   "write 0", "let go 0"}));
  EXPECT_FLOAT_EQ(host.written[12], 0.6f);
  EXPECT_EQ(host.written[0], 1.0f);
  // The host echoes the writes back: nothing more is written.
  sendPort(12, host.written[12]);
  sendPort(0, 1.0f);
  idle();
  EXPECT_EQ(host.events.size(), 7u);
}

TEST_F(Lv2UiTest, WithoutTouchTheWritesStillComeAndWithoutAParentThereIsNoUi) {
  ASSERT_TRUE(instantiate(false));
  sendPort(0, 0.0f);
  display().pointerTo(44, 44);
  display().press();
  display().release();
  EXPECT_TRUE(idleUntil([&] { return !host.events.empty(); }));
  EXPECT_EQ(host.events, std::vector<std::string>{"write 0"});

  LV2UI_Widget none = nullptr;
  const LV2_Feature* noFeatures[] = {nullptr};
  EXPECT_EQ(descriptor->instantiate(descriptor, lv2ports::kPluginUri, QUINDLE_LV2_BUNDLE, HostSide::write, &host, &none,
                                    noFeatures),
            nullptr);
  const LV2_Feature parentFeature = {LV2_UI__parent, editor_test::windowPointer(parent)};
  const LV2_Feature* withParent[] = {&parentFeature, nullptr};
  EXPECT_EQ(descriptor->instantiate(descriptor, "urn:someone:else", QUINDLE_LV2_BUNDLE, HostSide::write, &host, &none,
                                    withParent),
            nullptr);
  EXPECT_EQ(none, nullptr);
}

TEST_F(Lv2UiTest, IdleAsksToCloseOnceTheHostsWindowIsGone) {
  ASSERT_TRUE(instantiate());
  EXPECT_EQ(idle(), 0);
  display().destroyWindow(parent);
  parent = display().createWindow();  // for TearDown
  EXPECT_TRUE(idleUntil([&] { return lastIdle == 1; }));
  descriptor->cleanup(handle);
  handle = nullptr;
}

}  // namespace
