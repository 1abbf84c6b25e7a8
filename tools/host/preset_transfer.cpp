#include "tools/host/preset_transfer.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "tools/host/byte_order.h"

namespace presettransfer {
namespace {

using fxpreset::FxBank;
using fxpreset::FxProgram;

bool usesChunks(const PluginInstance& instance) { return (instance.effect().flags & effFlagsProgramChunks) != 0; }

// Copies the chunk the instance hands out; its memory stays the plug-in's.
bool readChunk(PluginInstance& instance, VstInt32 index, std::vector<std::uint8_t>& out, std::string& error) {
  void* data = nullptr;
  const VstIntPtr size = instance.dispatch(effGetChunk, index, 0, &data);
  if (size <= 0 || data == nullptr) {
    error = "the module gave no chunk for effGetChunk index " + std::to_string(index);
    return false;
  }
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  out.assign(bytes, bytes + size);
  return true;
}

VstIntPtr chunkSize(PluginInstance& instance, VstInt32 index) {
  void* data = nullptr;
  const VstIntPtr size = instance.dispatch(effGetChunk, index, 0, &data);
  return data != nullptr ? size : 0;
}

FxProgram parameterProgram(PluginInstance& instance) {
  const AEffect& effect = instance.effect();
  FxProgram program;
  program.opaque = false;
  program.fxID = effect.uniqueID;
  program.fxVersion = effect.version;
  program.numParams = effect.numParams;
  program.setName(instance.text(effGetProgramName));
  for (VstInt32 i = 0; i < effect.numParams; ++i) {
    program.paramBits.push_back(byteorder::floatBits(instance.getParameter(i)));
  }
  return program;
}

std::string pluginIdText(VstInt32 id) { return "'" + fxpreset::fourCharText(id) + "'"; }

bool checkProgram(PluginInstance& instance, const FxProgram& program, std::string& error) {
  const AEffect& effect = instance.effect();
  if (program.fxID != effect.uniqueID) {
    error = "the preset is for plug-in " + pluginIdText(program.fxID) + ", the module is " +
            pluginIdText(effect.uniqueID);
    return false;
  }
  if (program.opaque) {
    if (!usesChunks(instance)) {
      error = "the preset holds a chunk, the module does not take chunks";
      return false;
    }
    const VstIntPtr expected = chunkSize(instance, kProgramChunkIndex);
    if (static_cast<VstIntPtr>(program.chunk.size()) != expected) {
      error = "the program chunk has " + std::to_string(program.chunk.size()) + " bytes, the module's has " +
              std::to_string(expected);
      return false;
    }
  } else if (program.numParams != effect.numParams) {
    error = "the program has " + std::to_string(program.numParams) + " parameters, the module " +
            std::to_string(effect.numParams);
    return false;
  }
  return true;
}

bool checkBank(PluginInstance& instance, const FxBank& bank, std::string& error) {
  const AEffect& effect = instance.effect();
  if (bank.fxID != effect.uniqueID) {
    error = "the bank is for plug-in " + pluginIdText(bank.fxID) + ", the module is " + pluginIdText(effect.uniqueID);
    return false;
  }
  if (bank.numPrograms != effect.numPrograms) {
    error = "the bank has " + std::to_string(bank.numPrograms) + " programs, the module " +
            std::to_string(effect.numPrograms);
    return false;
  }
  if (bank.version == fxpreset::kBankVersionWithCurrentProgram &&
      (bank.currentProgram < 0 || bank.currentProgram >= effect.numPrograms)) {
    error = "the bank's current program " + std::to_string(bank.currentProgram) + " does not exist";
    return false;
  }
  if (bank.opaque) {
    if (!usesChunks(instance)) {
      error = "the bank holds a chunk, the module does not take chunks";
      return false;
    }
    const VstIntPtr expected = chunkSize(instance, kBankChunkIndex);
    if (static_cast<VstIntPtr>(bank.chunk.size()) != expected) {
      error = "the bank chunk has " + std::to_string(bank.chunk.size()) + " bytes, the module's has " +
              std::to_string(expected);
      return false;
    }
    return true;
  }
  for (std::size_t i = 0; i < bank.programs.size(); ++i) {
    if (!checkProgram(instance, bank.programs[i], error)) {
      error = "program " + std::to_string(i) + " of the bank: " + error;
      return false;
    }
  }
  return true;
}

void applyName(PluginInstance& instance, const FxProgram& program) {
  char name[kProgramNameBufferSize] = {};
  std::memcpy(name, program.name.data(), fxpreset::kNameSize);
  instance.dispatch(effSetProgramName, 0, 0, name);
}

// The program has been checked; only a refusal by the plug-in itself can fail here.
bool applyProgram(PluginInstance& instance, const FxProgram& program, std::string& error) {
  if (program.opaque) {
    std::vector<std::uint8_t> chunk = program.chunk;
    const VstIntPtr taken = instance.dispatch(effSetChunk, kProgramChunkIndex,
                                              static_cast<VstIntPtr>(chunk.size()), chunk.data());
    if (taken == 0) {
      error = "the module refused the program chunk";
      return false;
    }
  } else {
    for (VstInt32 i = 0; i < program.numParams; ++i) instance.setParameter(i, program.param(static_cast<std::size_t>(i)));
  }
  applyName(instance, program);
  return true;
}

bool applyBank(PluginInstance& instance, const FxBank& bank, std::string& error) {
  if (bank.opaque) {
    std::vector<std::uint8_t> chunk = bank.chunk;
    const VstIntPtr taken =
        instance.dispatch(effSetChunk, kBankChunkIndex, static_cast<VstIntPtr>(chunk.size()), chunk.data());
    if (taken == 0) {
      error = "the module refused the bank chunk";
      return false;
    }
  } else {
    for (std::size_t i = 0; i < bank.programs.size(); ++i) {
      instance.selectProgram(static_cast<VstInt32>(i));
      if (!applyProgram(instance, bank.programs[i], error)) return false;
    }
    // Leaving the last program stores its values; the bank's own choice follows.
    instance.selectProgram(0);
  }
  if (bank.version == fxpreset::kBankVersionWithCurrentProgram) instance.selectProgram(bank.currentProgram);
  return true;
}

}  // namespace

bool captureBank(PluginInstance& instance, FxBank& out, std::string& error) {
  const AEffect& effect = instance.effect();
  FxBank bank;
  bank.version = fxpreset::kBankVersionWithCurrentProgram;
  bank.fxID = effect.uniqueID;
  bank.fxVersion = effect.version;
  bank.numPrograms = effect.numPrograms;
  bank.currentProgram = instance.currentProgram();
  bank.reserved.assign(fxpreset::kBankReservedSizeV2, 0);
  bank.opaque = usesChunks(instance);
  if (bank.opaque) {
    if (!readChunk(instance, kBankChunkIndex, bank.chunk, error)) return false;
  } else {
    for (VstInt32 i = 0; i < effect.numPrograms; ++i) {
      instance.selectProgram(i);
      bank.programs.push_back(parameterProgram(instance));
    }
    instance.selectProgram(bank.currentProgram);
  }
  out = std::move(bank);
  return true;
}

bool captureProgram(PluginInstance& instance, FxProgram& out, std::string& error) {
  if (!usesChunks(instance)) {
    out = parameterProgram(instance);
    return true;
  }
  const AEffect& effect = instance.effect();
  FxProgram program;
  program.opaque = true;
  program.fxID = effect.uniqueID;
  program.fxVersion = effect.version;
  program.numParams = effect.numParams;
  program.setName(instance.text(effGetProgramName));
  if (!readChunk(instance, kProgramChunkIndex, program.chunk, error)) return false;
  out = std::move(program);
  return true;
}

bool check(PluginInstance& instance, const fxpreset::FxFile& file, std::string& error) {
  return file.isBank ? checkBank(instance, file.bank, error) : checkProgram(instance, file.program, error);
}

bool apply(PluginInstance& instance, const fxpreset::FxFile& file, std::string& error) {
  if (file.isBank) return checkBank(instance, file.bank, error) && applyBank(instance, file.bank, error);
  return checkProgram(instance, file.program, error) && applyProgram(instance, file.program, error);
}

}  // namespace presettransfer
