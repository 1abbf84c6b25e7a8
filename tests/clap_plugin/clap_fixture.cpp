#include "tests/clap_plugin/clap_fixture.h"

#include <cstring>
#include <string>

namespace claptest {

ClapModule* ClapModuleTest::module = nullptr;

void ClapModuleTest::SetUpTestSuite() {
  std::string error;
  module = ClapModule::load(QUINDLE_CLAP_FILE, error).release();
  ASSERT_NE(module, nullptr) << error;
}

void ClapModuleTest::TearDownTestSuite() {
  delete module;
  module = nullptr;
}

std::unique_ptr<Instance> ClapModuleTest::create(ClapHost& owner) {
  auto instance = std::make_unique<Instance>(*module, owner);
  return instance->valid() ? std::move(instance) : nullptr;
}

Instance::Instance(const ClapModule& module, ClapHost& owner) : host(owner) {
  const clap_plugin_t* made = module.factory().create_plugin(&module.factory(), host.record(), kPluginId);
  if (made == nullptr) return;
  if (!made->init(made)) {
    made->destroy(made);
    return;
  }
  plugin = made;
  params = static_cast<const clap_plugin_params_t*>(plugin->get_extension(plugin, CLAP_EXT_PARAMS));
  state = static_cast<const clap_plugin_state_t*>(plugin->get_extension(plugin, CLAP_EXT_STATE));
  audioPorts = static_cast<const clap_plugin_audio_ports_t*>(plugin->get_extension(plugin, CLAP_EXT_AUDIO_PORTS));
  notePorts = static_cast<const clap_plugin_note_ports_t*>(plugin->get_extension(plugin, CLAP_EXT_NOTE_PORTS));
}

Instance::~Instance() {
  if (plugin == nullptr) return;
  deactivate();
  plugin->destroy(plugin);
}

bool Instance::activate(double rate) {
  if (!plugin->activate(plugin, rate, 1, kMaxFrames)) return false;
  active = plugin->start_processing(plugin);
  return active;
}

void Instance::deactivate() {
  if (!active) return;
  plugin->stop_processing(plugin);
  plugin->deactivate(plugin);
  active = false;
}

clap_process_status Instance::process(const ClapInputEvents& in, std::uint32_t frames, std::vector<float>& left,
                                      std::vector<float>& right, ClapOutputEvents* out) {
  constexpr float kMarker = 7.0f;
  left.assign(frames, kMarker);
  right.assign(frames, kMarker);
  float* channels[] = {left.data(), right.data()};
  clap_audio_buffer_t output = {channels, nullptr, 2, 0, ~std::uint64_t{0}};
  ClapOutputEvents ignored;
  clap_process_t block = {};
  block.steady_time = -1;
  block.frames_count = frames;
  block.audio_outputs = &output;
  block.audio_outputs_count = 1;
  block.in_events = in.list();
  block.out_events = (out != nullptr ? out : &ignored)->list();
  const clap_process_status status = plugin->process(plugin, &block);
  EXPECT_EQ(output.constant_mask, 0u);
  return status;
}

double Instance::value(clap_id id) const {
  double read = -1.0;
  EXPECT_TRUE(params->get_value(plugin, id, &read)) << id;
  return read;
}

std::vector<std::uint8_t> Instance::save(std::size_t piece) const {
  MemoryOutStream out(piece);
  EXPECT_TRUE(state->save(plugin, &out.stream));
  return out.bytes;
}

bool Instance::load(const std::vector<std::uint8_t>& bytes, std::size_t piece) const {
  MemoryInStream in(bytes, piece);
  return state->load(plugin, &in.stream);
}

}  // namespace claptest
