// The module as a host first meets it: the entry record and its init count, the factory
// and what it refuses, the descriptor, the extensions offered, the ports, activation.
#include <limits>
#include <string>

#include "tests/clap_plugin/clap_fixture.h"

namespace claptest {
namespace {

using ClapEntry = ClapModuleTest;

TEST_F(ClapEntry, OneDescriptorAndAFactoryThatRefusesWhatItDoesNotMake) {
  const clap_plugin_factory_t& factory = module->factory();
  ASSERT_EQ(factory.get_plugin_count(&factory), 1u);
  EXPECT_EQ(factory.get_plugin_descriptor(&factory, 1), nullptr);
  const clap_plugin_descriptor_t* descriptor = factory.get_plugin_descriptor(&factory, 0);
  ASSERT_NE(descriptor, nullptr);
  EXPECT_TRUE(clapabi::versionIsCompatible(descriptor->clap_version));
  EXPECT_STREQ(descriptor->id, kPluginId);
  EXPECT_STREQ(descriptor->name, "Quindle");
  EXPECT_STREQ(descriptor->vendor, "Velkor");
  EXPECT_STREQ(descriptor->version, QUINDLE_VERSION_TEXT);
  std::string features;
  for (const char* const* f = descriptor->features; *f != nullptr; ++f) features += std::string(*f) + " ";
  EXPECT_EQ(features, "instrument synthesizer stereo ");

  EXPECT_EQ(factory.create_plugin(&factory, host.record(), "com.velkor.other"), nullptr);
  EXPECT_EQ(factory.create_plugin(&factory, nullptr, kPluginId), nullptr);
  clap_host_t development = *host.record();
  development.clap_version = {0, 9, 0};
  EXPECT_EQ(factory.create_plugin(&factory, &development, kPluginId), nullptr);
  const clap_plugin_t* plugin = factory.create_plugin(&factory, host.record(), kPluginId);
  ASSERT_NE(plugin, nullptr);
  EXPECT_EQ(host.callbackRequests() + host.rescans() + host.flushRequests(), 0) << "creation calls nothing";
  plugin->destroy(plugin);
}

TEST_F(ClapEntry, InitIsCountedAndTheLastDeinitEndsTheFactory) {
  const clap_plugin_entry_t& entry = module->entry();
  ASSERT_TRUE(entry.init(module->path().c_str()));
  entry.deinit();
  EXPECT_NE(entry.get_factory(CLAP_PLUGIN_FACTORY_ID), nullptr) << "one init is still open";
  entry.deinit();
  EXPECT_EQ(entry.get_factory(CLAP_PLUGIN_FACTORY_ID), nullptr);
  EXPECT_EQ(module->factory().create_plugin(&module->factory(), host.record(), kPluginId), nullptr);
  ASSERT_TRUE(entry.init(module->path().c_str()));
}

TEST_F(ClapEntry, ExtensionsPortsAndActivation) {
  auto instance = create(host);
  ASSERT_NE(instance, nullptr);
  const clap_plugin_t* plugin = instance->plugin;
  ASSERT_TRUE(instance->params && instance->state && instance->audioPorts && instance->notePorts);
  const auto* gui = static_cast<const clap_plugin_gui_t*>(plugin->get_extension(plugin, CLAP_EXT_GUI));
  ASSERT_NE(gui, nullptr);
#ifdef _WIN32
  EXPECT_TRUE(gui->is_api_supported(plugin, CLAP_WINDOW_API_WIN32, false));
  EXPECT_EQ(plugin->get_extension(plugin, CLAP_EXT_TIMER_SUPPORT), nullptr);
  EXPECT_EQ(plugin->get_extension(plugin, CLAP_EXT_POSIX_FD_SUPPORT), nullptr);
#else
  // The X11 editor is there; it needs the host's timers to be made (tests/clap_plugin/gui_x11_test.cpp).
  EXPECT_TRUE(gui->is_api_supported(plugin, CLAP_WINDOW_API_X11, false));
  EXPECT_NE(plugin->get_extension(plugin, CLAP_EXT_TIMER_SUPPORT), nullptr);
  EXPECT_NE(plugin->get_extension(plugin, CLAP_EXT_POSIX_FD_SUPPORT), nullptr);
#endif
  for (const char* id : {CLAP_EXT_LATENCY, CLAP_EXT_TAIL, CLAP_EXT_PRESET_LOAD, "clap.params.x", ""}) {
    EXPECT_EQ(plugin->get_extension(plugin, id), nullptr) << id;
  }
  EXPECT_EQ(plugin->get_extension(plugin, nullptr), nullptr);

  EXPECT_EQ(instance->audioPorts->count(plugin, true), 0u);
  ASSERT_EQ(instance->audioPorts->count(plugin, false), 1u);
  clap_audio_port_info_t audio;
  ASSERT_TRUE(instance->audioPorts->get(plugin, 0, false, &audio));
  EXPECT_EQ(audio.flags, CLAP_AUDIO_PORT_IS_MAIN);
  EXPECT_EQ(audio.channel_count, 2u);
  EXPECT_STREQ(audio.port_type, CLAP_PORT_STEREO);
  EXPECT_FALSE(instance->audioPorts->get(plugin, 1, false, &audio));
  EXPECT_EQ(instance->notePorts->count(plugin, false), 0u);
  ASSERT_EQ(instance->notePorts->count(plugin, true), 1u);
  clap_note_port_info_t notes;
  ASSERT_TRUE(instance->notePorts->get(plugin, 0, true, &notes));
  EXPECT_EQ(notes.supported_dialects, CLAP_NOTE_DIALECT_CLAP | CLAP_NOTE_DIALECT_MIDI);
  EXPECT_EQ(notes.preferred_dialect, CLAP_NOTE_DIALECT_MIDI);
  EXPECT_FALSE(instance->notePorts->get(plugin, 0, false, &notes));

  for (double rate : {0.0, -44100.0, 1e300, std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_FALSE(plugin->activate(plugin, rate, 1, kMaxFrames)) << rate;
  }
  ASSERT_TRUE(plugin->activate(plugin, 48000.0, 1, kMaxFrames));
  EXPECT_FALSE(plugin->activate(plugin, 48000.0, 1, kMaxFrames)) << "already active";
  // Destroyed while active (by the fixture): cleaned up all the same.
}

TEST_F(ClapEntry, WorksWithAHostWithoutExtensions) {
  ClapHost bare(false);
  auto instance = create(bare);
  ASSERT_NE(instance, nullptr);
  ASSERT_TRUE(instance->activate());
  ClapInputEvents events;
  events.midi(0, 0xC0, 3, 0);
  events.note(CLAP_EVENT_NOTE_ON, 10, 60, 0.5);
  std::vector<float> left, right;
  EXPECT_EQ(instance->process(events, 256, left, right), CLAP_PROCESS_CONTINUE);
  EXPECT_TRUE(bare.runCallback(instance->plugin));
  EXPECT_EQ(bare.rescans(), 0);
}

}  // namespace
}  // namespace claptest
