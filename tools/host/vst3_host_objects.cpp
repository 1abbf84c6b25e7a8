#include "tools/host/vst3_host_objects.h"

#include <algorithm>
#include <cstring>

#include "vst3/text_fields.h"

namespace vst3host {

using namespace vst3;

namespace {

constexpr const char* kHostName = "quindle-host";

}  // namespace

tresult PLUGIN_API HostApplication::getName(String128 name) {
  if (name == nullptr) return kInvalidArgument;
  quindle_vst3::copyToString128(name, kHostName);
  return kResultOk;
}

tresult PLUGIN_API HostApplication::createInstance(TUID, TUID, void** obj) {
  if (obj != nullptr) *obj = nullptr;
  return kNotImplemented;
}

int32 MemoryStream::limited(int32 numBytes) const {
  return chunkLimit > 0 && numBytes > chunkLimit ? chunkLimit : numBytes;
}

tresult PLUGIN_API MemoryStream::read(void* buffer, int32 numBytes, int32* numBytesRead) {
  if (numBytesRead != nullptr) *numBytesRead = 0;
  if (buffer == nullptr || numBytes < 0) return kInvalidArgument;
  const std::size_t left = bytes.size() - position;
  const std::size_t count = std::min<std::size_t>(left, static_cast<std::size_t>(limited(numBytes)));
  if (count > 0) std::memcpy(buffer, bytes.data() + position, count);
  position += count;
  if (numBytesRead != nullptr) *numBytesRead = static_cast<int32>(count);
  return kResultOk;
}

tresult PLUGIN_API MemoryStream::write(void* buffer, int32 numBytes, int32* numBytesWritten) {
  if (numBytesWritten != nullptr) *numBytesWritten = 0;
  if (buffer == nullptr || numBytes < 0) return kInvalidArgument;
  const auto count = static_cast<std::size_t>(limited(numBytes));
  if (bytes.size() < position + count) bytes.resize(position + count);
  std::memcpy(bytes.data() + position, buffer, count);
  position += count;
  if (numBytesWritten != nullptr) *numBytesWritten = static_cast<int32>(count);
  return kResultOk;
}

tresult PLUGIN_API MemoryStream::seek(int64 pos, int32 mode, int64* result) {
  int64 base = 0;
  if (mode == IBStream::kIBSeekCur) base = static_cast<int64>(position);
  if (mode == IBStream::kIBSeekEnd) base = static_cast<int64>(bytes.size());
  const int64 target = base + pos;
  if (mode < IBStream::kIBSeekSet || mode > IBStream::kIBSeekEnd || target < 0) return kInvalidArgument;
  position = std::min<std::size_t>(static_cast<std::size_t>(target), bytes.size());
  if (result != nullptr) *result = static_cast<int64>(position);
  return kResultOk;
}

tresult PLUGIN_API MemoryStream::tell(int64* pos) {
  if (pos == nullptr) return kInvalidArgument;
  *pos = static_cast<int64>(position);
  return kResultOk;
}

int32 PLUGIN_API EventList::getEventCount() { return static_cast<int32>(events.size()); }

tresult PLUGIN_API EventList::getEvent(int32 index, Event& e) {
  if (index < 0 || index >= getEventCount()) return kInvalidArgument;
  e = events[static_cast<std::size_t>(index)];
  return kResultOk;
}

tresult PLUGIN_API EventList::addEvent(Event& e) {
  events.push_back(e);
  return kResultOk;
}

int32 PLUGIN_API ParamValueQueue::getPointCount() { return static_cast<int32>(points.size()); }

tresult PLUGIN_API ParamValueQueue::getPoint(int32 index, int32& sampleOffset, ParamValue& value) {
  if (index < 0 || index >= getPointCount()) return kInvalidArgument;
  sampleOffset = points[static_cast<std::size_t>(index)].offset;
  value = points[static_cast<std::size_t>(index)].value;
  return kResultOk;
}

tresult PLUGIN_API ParamValueQueue::addPoint(int32 sampleOffset, ParamValue value, int32& index) {
  index = getPointCount();
  points.push_back({sampleOffset, value});
  return kResultOk;
}

int32 PLUGIN_API ParameterChanges::getParameterCount() { return static_cast<int32>(used); }

IParamValueQueue* PLUGIN_API ParameterChanges::getParameterData(int32 index) {
  if (index < 0 || index >= getParameterCount()) return nullptr;
  return &queues[static_cast<std::size_t>(index)];
}

IParamValueQueue* PLUGIN_API ParameterChanges::addParameterData(const ParamID& id, int32& index) {
  for (std::size_t i = 0; i < used; ++i) {
    if (queues[i].getParameterId() == id) {
      index = static_cast<int32>(i);
      return &queues[i];
    }
  }
  if (used < queues.size()) {
    queues[used].reuse(id);
  } else {
    queues.emplace_back(id);
  }
  index = static_cast<int32>(used);
  return &queues[used++];
}

void ParameterChanges::add(ParamID id, int32 offset, ParamValue value) {
  int32 index = 0;
  int32 point = 0;
  addParameterData(id, index)->addPoint(offset, value, point);
}

tresult PLUGIN_API ComponentHandler::beginEdit(ParamID id) {
  calls.push_back({HandlerCall::kBeginEdit, id, 0.0, 0});
  return kResultOk;
}

tresult PLUGIN_API ComponentHandler::performEdit(ParamID id, ParamValue valueNormalized) {
  calls.push_back({HandlerCall::kPerformEdit, id, valueNormalized, 0});
  return kResultOk;
}

tresult PLUGIN_API ComponentHandler::endEdit(ParamID id) {
  calls.push_back({HandlerCall::kEndEdit, id, 0.0, 0});
  return kResultOk;
}

tresult PLUGIN_API ComponentHandler::restartComponent(int32 flags) {
  calls.push_back({HandlerCall::kRestart, kNoParamId, 0.0, flags});
  if (onRestart) onRestart(flags);
  return kResultOk;
}

}  // namespace vst3host
