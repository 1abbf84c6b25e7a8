// The objects a VST 3 host hands to a plug-in: the application context, byte streams
// for state, the block's event list and parameter changes, and a component handler that
// records what the plug-in reports. The host owns them; their reference counts are kept
// for the plug-in's sake, and a test can read them to find a plug-in that keeps a
// reference it should have dropped.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "vst3/abi/vst3.h"

namespace vst3host {

// `object`'s interface `Interface` with a reference for the caller, or null (a null
// object included).
template <typename Interface>
Interface* queryFrom(vst3::FUnknown* object) {
  void* found = nullptr;
  if (object == nullptr || object->queryInterface(Interface::iid.bytes, &found) != vst3::kResultOk) return nullptr;
  return static_cast<Interface*>(found);
}

// FUnknown for a host object of one interface; never deletes itself.
template <typename Interface>
class HostObject : public Interface {
 public:
  vst3::tresult PLUGIN_API queryInterface(const vst3::TUID interfaceId, void** obj) override {
    if (obj == nullptr) return vst3::kInvalidArgument;
    *obj = nullptr;
    if (!vst3::sameUid(interfaceId, vst3::FUnknown::iid) && !vst3::sameUid(interfaceId, Interface::iid)) {
      return vst3::kNoInterface;
    }
    addRef();
    *obj = static_cast<Interface*>(this);
    return vst3::kResultOk;
  }
  vst3::uint32 PLUGIN_API addRef() override { return ++references; }
  vst3::uint32 PLUGIN_API release() override { return --references; }
  // 1 while only the host holds the object.
  vst3::uint32 referenceCount() const { return references; }

 protected:
  HostObject() = default;
  ~HostObject() = default;

 private:
  std::atomic<vst3::uint32> references{1};
};

// The initialize context.
class HostApplication final : public HostObject<vst3::IHostApplication> {
 public:
  vst3::tresult PLUGIN_API getName(vst3::String128 name) override;
  // The host makes no objects for plug-ins.
  vst3::tresult PLUGIN_API createInstance(vst3::TUID, vst3::TUID, void** obj) override;
};

// A stream over bytes in memory. `chunkLimit` makes every read and write move at most
// that many bytes, as some hosts' streams do.
class MemoryStream final : public HostObject<vst3::IBStream> {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::vector<std::uint8_t> contents) : bytes(std::move(contents)) {}

  vst3::tresult PLUGIN_API read(void* buffer, vst3::int32 numBytes, vst3::int32* numBytesRead) override;
  vst3::tresult PLUGIN_API write(void* buffer, vst3::int32 numBytes, vst3::int32* numBytesWritten) override;
  vst3::tresult PLUGIN_API seek(vst3::int64 pos, vst3::int32 mode, vst3::int64* result) override;
  vst3::tresult PLUGIN_API tell(vst3::int64* pos) override;

  const std::vector<std::uint8_t>& contents() const { return bytes; }
  void rewind() { position = 0; }
  void setChunkLimit(vst3::int32 limit) { chunkLimit = limit; }

 private:
  vst3::int32 limited(vst3::int32 numBytes) const;

  std::vector<std::uint8_t> bytes;
  std::size_t position = 0;
  vst3::int32 chunkLimit = 0;  // 0: no limit
};

// The block's events, in the order added (hosts add them sorted by offset).
class EventList final : public HostObject<vst3::IEventList> {
 public:
  vst3::int32 PLUGIN_API getEventCount() override;
  vst3::tresult PLUGIN_API getEvent(vst3::int32 index, vst3::Event& e) override;
  vst3::tresult PLUGIN_API addEvent(vst3::Event& e) override;
  void clear() { events.clear(); }
  void reserve(std::size_t count) { events.reserve(count); }

 private:
  std::vector<vst3::Event> events;
};

class ParamValueQueue final : public HostObject<vst3::IParamValueQueue> {
 public:
  explicit ParamValueQueue(vst3::ParamID parameter) : id(parameter) {}
  // Empty again, for `parameter`; the points' storage stays.
  void reuse(vst3::ParamID parameter) {
    id = parameter;
    points.clear();
  }
  vst3::ParamID PLUGIN_API getParameterId() override { return id; }
  vst3::int32 PLUGIN_API getPointCount() override;
  vst3::tresult PLUGIN_API getPoint(vst3::int32 index, vst3::int32& sampleOffset, vst3::ParamValue& value) override;
  vst3::tresult PLUGIN_API addPoint(vst3::int32 sampleOffset, vst3::ParamValue value, vst3::int32& index) override;

 private:
  struct Point {
    vst3::int32 offset;
    vst3::ParamValue value;
  };
  vst3::ParamID id;
  std::vector<Point> points;
};

// One queue per parameter, points in the order added. Emptied queues are reused, so a
// render allocates only for a block with more queues or points than any before.
class ParameterChanges final : public HostObject<vst3::IParameterChanges> {
 public:
  vst3::int32 PLUGIN_API getParameterCount() override;
  vst3::IParamValueQueue* PLUGIN_API getParameterData(vst3::int32 index) override;
  vst3::IParamValueQueue* PLUGIN_API addParameterData(const vst3::ParamID& id, vst3::int32& index) override;
  // A point of `id`'s queue.
  void add(vst3::ParamID id, vst3::int32 offset, vst3::ParamValue value);
  void clear() { used = 0; }
  bool empty() const { return used == 0; }

 private:
  std::deque<ParamValueQueue> queues;  // stable addresses while queues are added
  std::size_t used = 0;                // the first `used` queues hold this block's changes
};

// What the plug-in told the handler, in order.
struct HandlerCall {
  enum Kind { kBeginEdit, kPerformEdit, kEndEdit, kRestart };
  Kind kind;
  vst3::ParamID id;
  vst3::ParamValue value;
  vst3::int32 flags;
};

class ComponentHandler final : public HostObject<vst3::IComponentHandler> {
 public:
  vst3::tresult PLUGIN_API beginEdit(vst3::ParamID id) override;
  vst3::tresult PLUGIN_API performEdit(vst3::ParamID id, vst3::ParamValue valueNormalized) override;
  vst3::tresult PLUGIN_API endEdit(vst3::ParamID id) override;
  vst3::tresult PLUGIN_API restartComponent(vst3::int32 flags) override;

  std::vector<HandlerCall> calls;
  // Run inside restartComponent, as a host re-reads values there.
  std::function<void(vst3::int32 flags)> onRestart;
};

}  // namespace vst3host
