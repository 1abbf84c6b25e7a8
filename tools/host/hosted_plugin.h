// What quindle-host needs from a plug-in of any format (VST 2.4, LV2, VST 3, CLAP): its
// identity, its parameters with values 0..1 set between blocks, its programs, and an
// offline process cycle: prepare, one block at a time with that block's MIDI, stop.
// One backend per format implements this class in its own file (vst2_plugin.cpp,
// lv2_plugin.cpp, ...); plugin_formats.cpp tells the formats apart and opens them. The
// verbs and the offline renderer see only this interface.
//
// Every call comes from the host's one thread, in this order: parameter and program
// calls while no processing is prepared, then prepare, process per block, stop; after
// stop the plug-in may be prepared again. Parameter and program calls between blocks
// (after prepare) take effect from the next block on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class PluginInstance;

// The formats the host tells apart by path.
enum class PluginFormat { kVst2, kLv2, kVst3, kClap };

// One line of `info` about the plug-in: a label and its text ("vendor", "Velkor").
struct InfoLine {
  std::string label;
  std::string text;
};

// One MIDI channel message inside a block.
struct MidiMessage {
  static constexpr std::size_t kMaxSize = 3;
  std::int32_t frame = 0;  // offset inside the block, 0 .. frames - 1
  std::uint8_t size = 0;   // 1 .. kMaxSize
  std::uint8_t bytes[kMaxSize] = {};
};

// What processing is prepared for; no block is longer or carries more messages.
struct ProcessSetup {
  std::int32_t sampleRate = 0;
  std::int32_t maxBlockFrames = 0;
  std::size_t maxMessagesPerBlock = 0;
};

class HostedPlugin {
 public:
  virtual ~HostedPlugin() = default;
  HostedPlugin(const HostedPlugin&) = delete;
  HostedPlugin& operator=(const HostedPlugin&) = delete;

  virtual PluginFormat format() const = 0;
  // The plug-in's name, vendor and version under its format's own terms, then whatever
  // else the format tells about it; printed by `info` as they come.
  virtual std::vector<InfoLine> identity() = 0;

  // Parameters are numbered 0 .. parameterCount() - 1 in the plug-in's own order.
  virtual std::int32_t parameterCount() = 0;
  virtual std::string parameterName(std::int32_t index) = 0;
  // The unit and the text of the current value, as the plug-in shows them ("" if none).
  virtual std::string parameterLabel(std::int32_t index) = 0;
  virtual std::string parameterDisplay(std::int32_t index) = 0;
  // The value normalised to 0..1 (0 outside the range of indices).
  virtual float parameter(std::int32_t index) = 0;
  // `index` is checked by the caller; the value goes to the plug-in as it is.
  virtual void setParameter(std::int32_t index, float value) = 0;

  // Programs (factory programs, presets) are numbered 0 .. programCount() - 1.
  virtual std::int32_t programCount() = 0;
  virtual std::string programName(std::int32_t program) = 0;
  // The program last selected, -1 when the format does not know one.
  virtual std::int32_t currentProgram() = 0;
  // `program` is checked by the caller. False with a reason when the plug-in refuses.
  virtual bool selectProgram(std::int32_t program, std::string& error) = 0;

  // Switches processing on for the setup; false with a reason (nothing to stop then).
  virtual bool prepare(const ProcessSetup& setup, std::string& error) = 0;
  // One block: the messages (in time order, frames inside the block) go in, `frames`
  // samples of the two output channels come out into `left` and `right`.
  virtual bool process(const MidiMessage* messages, std::size_t count, float* left, float* right,
                       std::int32_t frames, std::string& error) = 0;
  // Switches processing off again after a successful prepare.
  virtual void stop() = 0;

  // The VST 2.4 instance behind the plug-in, for what only that format has (.fxp and
  // .fxb presets, the editor); null for every other format.
  virtual PluginInstance* vst2Instance() { return nullptr; }

 protected:
  HostedPlugin() = default;
};
