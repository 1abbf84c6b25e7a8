#include "tools/host/plugin_instance.h"

#include <vector>

#include "tools/host/host_callback.h"

std::unique_ptr<PluginInstance> PluginInstance::create(const PluginModule& module, std::string& error) {
  AEffect* effect = module.instantiate(hostcallback::answer);
  if (effect == nullptr) {
    error = module.path() + ": the entry point created no instance";
    return nullptr;
  }
  if (effect->magic != kEffectMagic || effect->dispatcher == nullptr) {
    // Not a record this host can talk to: nothing can be closed through it either.
    error = module.path() + ": the entry point returned a record without the 'VstP' magic";
    return nullptr;
  }
  std::unique_ptr<PluginInstance> instance(new PluginInstance(effect));
  instance->dispatch(effOpen);
  return instance;
}

PluginInstance::~PluginInstance() { dispatch(effClose); }

VstIntPtr PluginInstance::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  return record->dispatcher(record, opcode, index, value, ptr, opt);
}

std::string PluginInstance::text(VstInt32 opcode, VstInt32 index, VstIntPtr value) {
  std::vector<char> buffer(kTextBufferSize, 0);
  dispatch(opcode, index, value, buffer.data());
  buffer.back() = 0;
  return std::string(buffer.data());
}

float PluginInstance::getParameter(VstInt32 index) {
  return record->getParameter != nullptr ? record->getParameter(record, index) : 0.0f;
}

void PluginInstance::setParameter(VstInt32 index, float value) {
  if (record->setParameter != nullptr) record->setParameter(record, index, value);
}

VstInt32 PluginInstance::currentProgram() { return static_cast<VstInt32>(dispatch(effGetProgram)); }

void PluginInstance::selectProgram(VstInt32 program) { dispatch(effSetProgram, 0, program); }
