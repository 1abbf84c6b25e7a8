// One plug-in instance created through a loaded module's entry point, driven only through
// its AEffect record and dispatcher. Creation checks the record and sends effOpen; the
// destructor sends effClose, after which the record is gone.
#pragma once

#include <memory>
#include <string>

#include "shell/vst_abi.h"
#include "tools/host/plugin_module.h"

class PluginInstance {
 public:
  // Room the host gives every text request; plug-ins are asked for far less (8 to 64
  // characters), the rest catches one that writes past its bound.
  static constexpr std::size_t kTextBufferSize = 256;

  // Null with a reason when the module gives no instance or a record without the magic.
  static std::unique_ptr<PluginInstance> create(const PluginModule& module, std::string& error);
  ~PluginInstance();
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  AEffect& effect() { return *record; }
  const AEffect& effect() const { return *record; }

  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);
  // A text request (effGetEffectName, effGetParamName, ...) into a zeroed buffer.
  std::string text(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0);

  float getParameter(VstInt32 index);
  void setParameter(VstInt32 index, float value);
  VstInt32 currentProgram();
  void selectProgram(VstInt32 program);

 private:
  explicit PluginInstance(AEffect* effect) : record(effect) {}

  AEffect* record;
};
