// The host side of the callback a plug-in calls: answers like a VST 2.4 host and keeps a
// record of every call, so that tools can report and tests can check what was sent.
#pragma once

#include <cstddef>
#include <vector>

#include "shell/vst_abi.h"

struct HostCall {
  AEffect* effect;
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  void* ptr;
  float opt;
  // For audioMasterAutomate: the plug-in's own getParameter(index) at the moment of the
  // call, which shows whether the instance already held the value it reported.
  float parameterDuringCall;
};

namespace hostcallback {

constexpr VstIntPtr kHostVersion = 2400;

// The callback to hand to VSTPluginMain. Thread-safe: plug-ins may call from any thread.
VstIntPtr VSTCALLBACK answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                             float opt);

// What audioMasterVersion answers (2400 unless a test wants a host that refuses).
void setVersionAnswer(VstIntPtr version);
std::vector<HostCall> calls();
std::size_t countOf(VstInt32 opcode);
void clear();

}  // namespace hostcallback
