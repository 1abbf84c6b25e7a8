// The VST 2.4 backend: a module loaded through its entry point and one instance of it,
// driven through the AEffect record and the dispatcher only. Processing goes the way a
// host bouncing a track goes: effSetSampleRate, effSetBlockSize, effMainsChanged 1 and
// effStartProcess; per block effProcessEvents with the block's MIDI (when it has any)
// and processReplacing into outputs cleared beforehand; then effStopProcess and
// effMainsChanged 0.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/host/event_block.h"
#include "tools/host/hosted_plugin.h"
#include "tools/host/plugin_instance.h"
#include "tools/host/plugin_module.h"

class Vst2Plugin : public HostedPlugin {
 public:
  // Loads the module and opens an instance that this object owns. Null with a reason
  // when either fails.
  static std::unique_ptr<Vst2Plugin> open(const std::string& path, std::string& error);
  // Drives an instance that the caller keeps open (tests that hold one module for many
  // instances); the instance outlives this object.
  explicit Vst2Plugin(PluginInstance& instance);
  ~Vst2Plugin() override;

  PluginFormat format() const override { return PluginFormat::kVst2; }
  std::vector<InfoLine> identity() override;

  std::int32_t parameterCount() override;
  std::string parameterName(std::int32_t index) override;
  std::string parameterLabel(std::int32_t index) override;
  std::string parameterDisplay(std::int32_t index) override;
  float parameter(std::int32_t index) override;
  void setParameter(std::int32_t index, float value) override;

  std::int32_t programCount() override;
  std::string programName(std::int32_t program) override;
  std::int32_t currentProgram() override;
  bool selectProgram(std::int32_t program, std::string& error) override;

  bool prepare(const ProcessSetup& setup, std::string& error) override;
  bool process(const MidiMessage* messages, std::size_t count, float* left, float* right, std::int32_t frames,
               std::string& error) override;
  void stop() override;

  PluginInstance* vst2Instance() override { return &instance; }

 private:
  Vst2Plugin(std::unique_ptr<PluginModule> module, std::unique_ptr<PluginInstance> instance);

  // Declared in this order so that the instance is closed before its module is unloaded.
  std::unique_ptr<PluginModule> ownedModule;
  std::unique_ptr<PluginInstance> ownedInstance;
  PluginInstance& instance;

  // While prepared: silent inputs (at least two, for plug-ins that read them regardless),
  // the outputs beyond the two the host keeps, and the pointer arrays processReplacing
  // takes.
  std::vector<std::vector<float>> inputBuffers;
  std::vector<std::vector<float>> extraOutputBuffers;
  std::vector<float*> inputs;
  std::vector<float*> outputs;
  std::int32_t preparedFrames = 0;
  EventBlock blockEvents;
};
