#include "tests/fuzz/event_list.h"

#include <cstddef>
#include <cstring>

namespace {

// A system-exclusive event: the common event head, then the message's size and address.
struct SysexEventRecord {
  VstInt32 type;
  VstInt32 byteSize;
  VstInt32 deltaFrames;
  VstInt32 flags;
  VstInt32 dumpBytes;
  VstIntPtr reserved1;
  char* sysexDump;
  VstIntPtr reserved2;
};

constexpr std::uint8_t kStatuses[] = {0x80, 0x90, 0xB0, 0xE0, 0xA0, 0xC0, 0xD0, 0xF0, 0xF8, 0xFF};
constexpr std::uint8_t kControllers[] = {123, 126, 120, 121, 64, 1, 7};
constexpr std::int32_t kMaxDumpBytes = 64;

enum EntryKind { kMidiEntry, kSysexEntry, kOtherTypeEntry, kMissingEntry };
constexpr EntryKind kEntryKinds[] = {kMidiEntry, kMidiEntry, kMidiEntry,      kMidiEntry,
                                     kMidiEntry, kSysexEntry, kOtherTypeEntry, kMissingEntry};

std::int32_t decodeOffset(FuzzInput& in, std::int32_t blockFrames) {
  if (in.byte() % 8 == 0) return in.anyInt32();
  return static_cast<std::int32_t>(in.inRange(0, blockFrames > 0 ? blockFrames : 0));
}

std::uint8_t decodeData(FuzzInput& in) { return in.byte() % 4 == 0 ? in.byte() : in.byte() & 0x7F; }

VstMidiEvent midiEvent(std::int32_t offset, std::uint8_t status, std::uint8_t first, std::uint8_t second) {
  VstMidiEvent event{};
  event.type = kVstMidiType;
  event.byteSize = static_cast<VstInt32>(sizeof event);
  event.deltaFrames = offset;
  event.midiData[0] = static_cast<char>(status);
  event.midiData[1] = static_cast<char>(first);
  event.midiData[2] = static_cast<char>(second);
  return event;
}

}  // namespace

void EventList::clear() {
  records.clear();
  pointers.clear();
  dumps.clear();
  overrideCount = false;
}

std::vector<std::uint8_t>& EventList::newRecord(std::size_t size) {
  records.push_back(std::unique_ptr<std::vector<std::uint8_t>>(new std::vector<std::uint8_t>(size, 0)));
  pointers.push_back(reinterpret_cast<VstEvent*>(records.back()->data()));
  return *records.back();
}

void EventList::addMidi(std::int32_t offset, std::uint8_t status, std::uint8_t first, std::uint8_t second) {
  addMidiRecord(midiEvent(offset, status, first, second));
}

void EventList::addMidiRecord(const VstMidiEvent& event) {
  std::memcpy(newRecord(sizeof event).data(), &event, sizeof event);
}

void EventList::decode(FuzzInput& in, std::int32_t blockFrames) {
  clear();
  const std::uint8_t sizeClass = in.byte();
  std::int32_t count = sizeClass % 16 < 12 ? sizeClass % 8 : static_cast<std::int32_t>(in.inRange(0, kMaxDecodedEvents));
  if (sizeClass == 0xFF) {  // a negative count: the list holds nothing to read
    countOverride = in.flag() ? -1 : INT32_MIN;
    overrideCount = true;
    count = 0;
  }
  for (std::int32_t i = 0; i < count && !in.empty(); ++i) {
    switch (in.pick(kEntryKinds)) {
      case kMidiEntry: {
        std::uint8_t status = in.pick(kStatuses);
        if (status < 0xF0) status |= in.byte() & 0x0F;
        const std::int32_t offset = decodeOffset(in, blockFrames);
        const std::uint8_t first = status >= 0xB0 && status < 0xC0 && in.flag() ? in.pick(kControllers) : decodeData(in);
        VstMidiEvent event = midiEvent(offset, status, first, decodeData(in));
        if (in.byte() % 8 == 0) {  // the fields a plug-in has no business trusting
          event.byteSize = in.anyInt32();
          event.flags = in.anyInt32();
          event.noteLength = in.anyInt32();
          event.midiData[3] = static_cast<char>(in.byte());
        }
        addMidiRecord(event);
        break;
      }
      case kSysexEntry: {
        const auto length = static_cast<std::int32_t>(in.inRange(0, kMaxDumpBytes));
        dumps.push_back(std::unique_ptr<std::vector<std::uint8_t>>(
            new std::vector<std::uint8_t>(in.bytes(static_cast<std::size_t>(length)))));
        SysexEventRecord sysex{};
        sysex.type = kVstSysExType;
        sysex.byteSize = static_cast<VstInt32>(sizeof sysex);
        sysex.deltaFrames = decodeOffset(in, blockFrames);
        sysex.dumpBytes = static_cast<VstInt32>(dumps.back()->size());
        sysex.sysexDump = reinterpret_cast<char*>(dumps.back()->data());
        std::memcpy(newRecord(sizeof sysex).data(), &sysex, sizeof sysex);
        break;
      }
      case kOtherTypeEntry: {
        std::vector<std::uint8_t>& record = newRecord(sizeof(VstEvent));
        const VstInt32 type = in.anyInt32();
        std::memcpy(record.data(), &type, sizeof type);
        for (std::size_t b = sizeof type; b < record.size(); ++b) record[b] = in.byte();
        break;
      }
      case kMissingEntry:
        pointers.push_back(nullptr);
        break;
    }
  }
}

VstEvents* EventList::events() {
  // The header with exactly its pointers; never shorter than the record declares.
  const std::size_t needed = offsetof(VstEvents, events) + pointers.size() * sizeof(VstEvent*);
  header.assign(needed > sizeof(VstEvents) ? needed : sizeof(VstEvents), 0);
  auto* list = reinterpret_cast<VstEvents*>(header.data());
  list->numEvents = overrideCount ? countOverride : static_cast<VstInt32>(pointers.size());
  if (!pointers.empty()) {
    std::memcpy(header.data() + offsetof(VstEvents, events), pointers.data(), pointers.size() * sizeof(VstEvent*));
  }
  return list;
}
