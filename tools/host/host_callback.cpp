#include "tools/host/host_callback.h"

#include <atomic>
#include <mutex>

namespace hostcallback {
namespace {

std::mutex recordLock;
std::vector<HostCall> record;
std::atomic<VstIntPtr> versionAnswer{kHostVersion};

constexpr VstIntPtr kSampleRateAnswer = 44100;
constexpr VstIntPtr kBlockSizeAnswer = 1024;

}  // namespace

VstIntPtr VSTCALLBACK answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                             float opt) {
  HostCall call{effect, opcode, index, value, ptr, opt, 0.0f};
  if (opcode == audioMasterAutomate && effect != nullptr && effect->getParameter != nullptr) {
    call.parameterDuringCall = effect->getParameter(effect, index);
  }
  {
    std::lock_guard<std::mutex> guard(recordLock);
    record.push_back(call);
  }
  switch (opcode) {
    case audioMasterVersion: return versionAnswer.load();
    case audioMasterCurrentId: return effect != nullptr ? effect->uniqueID : 0;
    case audioMasterGetSampleRate: return kSampleRateAnswer;
    case audioMasterGetBlockSize: return kBlockSizeAnswer;
    case audioMasterUpdateDisplay: return 1;
    default: return 0;
  }
}

void setVersionAnswer(VstIntPtr version) { versionAnswer.store(version); }

std::vector<HostCall> calls() {
  std::lock_guard<std::mutex> guard(recordLock);
  return record;
}

std::size_t countOf(VstInt32 opcode) {
  std::lock_guard<std::mutex> guard(recordLock);
  std::size_t count = 0;
  for (const HostCall& call : record) count += call.opcode == opcode ? 1 : 0;
  return count;
}

void clear() {
  std::lock_guard<std::mutex> guard(recordLock);
  record.clear();
}

}  // namespace hostcallback
