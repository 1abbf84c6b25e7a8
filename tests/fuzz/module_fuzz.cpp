// Fuzz target: the module as a host drives it. The input is decoded into a sequence of
// calls through the AEffect record: dispatcher opcodes with any index, value and opt and
// with pointers into guarded buffers of the sizes the interface promises, event lists
// with any MIDI bytes and offsets, processReplacing with any frame count, setParameter
// with any float, chunks of any size and bytes, suspend and resume, rate and block
// changes. After every call the instance's record and identity answers are unchanged and
// every rendered sample is finite; at the end, with every note released and all sound
// off, the output is exact silence.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tests/fuzz/event_list.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/fuzz/fuzz_instance.h"
#include "tests/fuzz/guarded_buffer.h"

namespace {

// What the pointer argument of an opcode is.
enum PointerKind {
  kNoPointer,      // unused: null or a buffer that must stay untouched
  kTextOut,        // a text buffer of bound + 1 bytes the plug-in may fill
  kTextIn,         // a terminated text the plug-in reads
  kRectSlot,       // ERect**: the plug-in may store an address
  kChunkSlot,      // void**: effGetChunk stores the chunk's address
  kChunkIn,        // effSetChunk: value bytes at ptr
  kEventsIn,       // effProcessEvents: a VstEvents list
  kSpeakerSlots,   // effGetSpeakerArrangement: value and ptr are both pointer slots
  kSpeakerInputs,  // effSetSpeakerArrangement: value and ptr are both records to read
};

struct OpcodeShape {
  VstInt32 opcode;
  PointerKind pointer;
  std::size_t bound;  // for kTextOut
};

// Opcodes whose pointer argument means something; every other opcode gets kNoPointer.
const OpcodeShape kShapes[] = {
    {effSetProgramName, kTextIn, 0},         {effGetProgramName, kTextOut, 24},
    {effGetParamLabel, kTextOut, 8},         {effGetParamDisplay, kTextOut, 8},
    {effGetParamName, kTextOut, 8},          {effEditGetRect, kRectSlot, 0},
    {effGetChunk, kChunkSlot, 0},            {effSetChunk, kChunkIn, 0},
    {effProcessEvents, kEventsIn, 0},        {effString2Parameter, kTextIn, 0},
    {effGetProgramNameIndexed, kTextOut, 24}, {effSetSpeakerArrangement, kSpeakerInputs, 0},
    {effGetEffectName, kTextOut, 32},        {effGetErrorText, kTextOut, 256},
    {effGetVendorString, kTextOut, 64},      {effGetProductString, kTextOut, 64},
    {effCanDo, kTextIn, 0},                  {effGetSpeakerArrangement, kSpeakerSlots, 0},
    {effShellGetNextPlugin, kTextOut, 32},
};

// Opcodes outside the interface's range.
const VstInt32 kForeignOpcodes[] = {-1, 80, 81, 99, 100, 255, 1000, INT32_MIN, INT32_MAX};

constexpr std::int32_t kMaxFrames = 2048;
constexpr std::int32_t kBlockSizes[] = {32, 64, 128, 256, 512, 1024, 2048};
constexpr float kSampleRates[] = {44100.0f, 48000.0f, 88200.0f, 96000.0f, 22050.0f, 8000.0f, 192000.0f};
constexpr std::size_t kChunkSizes[] = {FuzzInstance::kProgramChunkSize, FuzzInstance::kBankChunkSize};
constexpr std::size_t kMaxChunkBytes = 1024;
constexpr std::size_t kMaxTextBytes = 64;
// Bytes of an unused pointer's buffer, and of a record the plug-in may only read.
constexpr std::size_t kUntouchedBytes = 64;
constexpr int kMaxCalls = 256;

PointerKind shapeOf(VstInt32 opcode, std::size_t& bound) {
  for (const OpcodeShape& shape : kShapes) {
    if (shape.opcode == opcode) {
      bound = shape.bound;
      return shape.pointer;
    }
  }
  return kNoPointer;
}

class ModuleDriver {
 public:
  explicit ModuleDriver(FuzzInput& input) : in(input) {}

  void run() {
    using Call = void (ModuleDriver::*)();
    static const Call kCalls[] = {
        &ModuleDriver::anyOpcode,   &ModuleDriver::anyOpcode,     &ModuleDriver::setParameter,
        &ModuleDriver::getParameter, &ModuleDriver::events,       &ModuleDriver::events,
        &ModuleDriver::process,     &ModuleDriver::process,       &ModuleDriver::process,
        &ModuleDriver::mains,       &ModuleDriver::sampleRate,    &ModuleDriver::blockSize,
        &ModuleDriver::program,     &ModuleDriver::setChunk,      &ModuleDriver::chunkRoundTrip,
        &ModuleDriver::otherEntries, &ModuleDriver::startStop,
    };
    for (int calls = 0; calls < kMaxCalls && !in.empty(); ++calls) {
      (this->*in.pick(kCalls))();
      instance.checkUnchanged(lastCall.c_str());
    }
    instance.checkFallsSilent();
  }

 private:
  // Any opcode with any numbers; the pointer is what the opcode takes, in a guarded buffer.
  void anyOpcode() {
    const std::uint8_t choice = in.byte();
    VstInt32 opcode = choice < 200 ? choice % 80 : in.pick(kForeignOpcodes);
    if (opcode == effClose) opcode = effOpen;  // the instance lives to the end of the run
    const VstInt32 index = in.anyInt32();
    VstIntPtr value = in.anyIntPtr();
    const float opt = in.anyFloat();
    lastCall = "dispatcher opcode " + std::to_string(opcode);
    std::size_t bound = 0;
    switch (shapeOf(opcode, bound)) {
      case kNoPointer: {
        GuardedBuffer untouched(kUntouchedBytes, in.byte());
        const std::vector<std::uint8_t> before = untouched.contents();
        instance.dispatch(opcode, index, value, in.flag() ? untouched.data() : nullptr, opt);
        FUZZ_CHECK(untouched.contents() == before && untouched.guardIntact(),
                   "opcode " + std::to_string(opcode) + " wrote through a pointer it does not take");
        break;
      }
      case kTextOut: {
        const std::uint8_t fill = in.byte();
        GuardedBuffer text(bound + 1, fill);
        const std::vector<std::uint8_t> before = text.contents();
        instance.dispatch(opcode, index, value, text.data(), opt);
        FUZZ_CHECK(text.guardIntact(), "opcode " + std::to_string(opcode) + " wrote past its text bound");
        FUZZ_CHECK(text.contents() == before || text.holdsTerminator(),
                   "opcode " + std::to_string(opcode) + " left its text unterminated");
        break;
      }
      case kTextIn: {
        GuardedBuffer text(terminatedText());
        instance.dispatch(opcode, index, value, text.data(), opt);
        FUZZ_CHECK(text.guardIntact(), "opcode " + std::to_string(opcode) + " wrote past a text it reads");
        break;
      }
      case kRectSlot:
      case kChunkSlot:
        pointerSlot(opcode, index, value, opt);
        break;
      case kChunkIn:
        chunkIn(index, opt);
        break;
      case kEventsIn:
        list.decode(in, blockFrames);
        instance.dispatch(opcode, index, value, list.events(), opt);
        break;
      case kSpeakerSlots: {
        void* slots[2] = {&slots, &slots};  // any non-null address; the plug-in writes null
        instance.dispatch(opcode, index, reinterpret_cast<VstIntPtr>(&slots[0]), &slots[1], opt);
        FUZZ_CHECK(slots[0] == nullptr && slots[1] == nullptr, "effGetSpeakerArrangement left its slots set");
        break;
      }
      case kSpeakerInputs: {
        GuardedBuffer input(kUntouchedBytes, in.byte());
        GuardedBuffer output(kUntouchedBytes, in.byte());
        const std::vector<std::uint8_t> before = input.contents();
        const std::vector<std::uint8_t> outputBefore = output.contents();
        value = in.flag() ? reinterpret_cast<VstIntPtr>(input.data()) : 0;
        instance.dispatch(opcode, index, value, in.flag() ? output.data() : nullptr, opt);
        FUZZ_CHECK(input.contents() == before && output.contents() == outputBefore && input.guardIntact() &&
                       output.guardIntact(),
                   "effSetSpeakerArrangement wrote into the host's records");
        break;
      }
    }
  }

  std::vector<std::uint8_t> terminatedText() {
    std::vector<std::uint8_t> text = in.bytes(static_cast<std::size_t>(in.inRange(0, kMaxTextBytes)));
    text.push_back(0);
    return text;
  }

  void pointerSlot(VstInt32 opcode, VstInt32 index, VstIntPtr value, float opt) {
    void* slot = nullptr;
    const VstIntPtr answer = instance.dispatch(opcode, index, value, in.flag() ? &slot : nullptr, opt);
    if (opcode == effGetChunk && slot != nullptr) {
      FUZZ_CHECK(answer == static_cast<VstIntPtr>(FuzzInstance::kProgramChunkSize) ||
                     answer == static_cast<VstIntPtr>(FuzzInstance::kBankChunkSize),
                 "effGetChunk answered " + std::to_string(answer));
      // Every byte of the chunk is readable where it was handed out, and a second request
      // hands out the same bytes.
      const auto* bytes = static_cast<const std::uint8_t*>(slot);
      const std::vector<std::uint8_t> handedOut(bytes, bytes + answer);
      FUZZ_CHECK(handedOut == instance.chunk(answer == static_cast<VstIntPtr>(FuzzInstance::kProgramChunkSize)),
                 "two chunk requests in a row differ");
    }
  }

  // effSetChunk with a buffer of exactly `value` bytes, or a size no chunk can have.
  void chunkIn(VstInt32 index, float opt) {
    lastCall = "effSetChunk";
    const std::uint8_t sizeClass = in.byte();
    std::size_t size = sizeClass % 4 == 0 ? static_cast<std::size_t>(in.inRange(0, kMaxChunkBytes))
                                          : in.pick(kChunkSizes);
    std::vector<std::uint8_t> bytes = in.bytes(size);
    bytes.resize(size, 0);
    GuardedBuffer chunk(bytes);
    VstIntPtr value = static_cast<VstIntPtr>(size);
    if (sizeClass % 16 == 1) {
      // A size past the buffer that no chunk can have: negative, or beyond 32 bits.
      static const std::int64_t kImpossible[] = {-1, -52, -608, INT64_MIN, 0x100000034LL, 0x100000260LL};
      value = static_cast<VstIntPtr>(in.pick(kImpossible));
    }
    const VstIntPtr answer = instance.dispatch(effSetChunk, index, value, in.byte() != 0 ? chunk.data() : nullptr, opt);
    FUZZ_CHECK(answer == 0 || answer == value, "effSetChunk answered " + std::to_string(answer));
    FUZZ_CHECK(chunk.contents() == bytes && chunk.guardIntact(), "effSetChunk wrote into the host's chunk");
  }

  void setParameter() {
    lastCall = "setParameter";
    const VstInt32 index = in.byte() % 4 == 0 ? in.anyInt32() : static_cast<VstInt32>(in.inRange(0, 12));
    const float value = in.anyFloat();
    const auto before = instance.parameters();
    instance.effect().setParameter(&instance.effect(), index, value);
    const auto after = instance.parameters();
    for (std::int32_t i = 0; i < FuzzInstance::kParameterCount; ++i) {
      const bool target = i == index && std::isfinite(value);
      FUZZ_CHECK(target ? after[i] == value : std::memcmp(&after[i], &before[i], sizeof(float)) == 0,
                 "setParameter(" + std::to_string(index) + ", " + std::to_string(value) + ") left parameter " +
                     std::to_string(i) + " at " + std::to_string(after[i]));
    }
  }

  void getParameter() {
    lastCall = "getParameter";
    const VstInt32 index = in.anyInt32();
    const float value = instance.effect().getParameter(&instance.effect(), index);
    FUZZ_CHECK(std::isfinite(value), "getParameter(" + std::to_string(index) + ") is not finite");
    FUZZ_CHECK(index >= 0 && index < FuzzInstance::kParameterCount ? true : value == 0.0f,
               "getParameter outside the table answered " + std::to_string(value));
  }

  void events() {
    lastCall = "effProcessEvents";
    list.decode(in, blockFrames);
    instance.sendEvents(list);
  }

  void process() {
    lastCall = "processReplacing";
    std::int32_t frames = 0;
    switch (in.byte() % 8) {
      case 0: frames = static_cast<std::int32_t>(in.inRange(0, 16)); break;
      case 1: frames = in.flag() ? -1 : INT32_MIN; break;
      case 2: frames = static_cast<std::int32_t>(in.inRange(1, kMaxFrames)); break;
      default: frames = blockFrames; break;
    }
    instance.process(frames, in.byte() == 0xFF);
  }

  void mains() {
    lastCall = "effMainsChanged";
    instance.mainsChanged(in.flag() ? in.anyIntPtr() : (in.flag() ? 1 : 0));
  }

  void sampleRate() {
    lastCall = "effSetSampleRate";
    instance.dispatch(effSetSampleRate, 0, 0, nullptr, in.flag() ? in.pick(kSampleRates) : in.anyFloat());
  }

  void blockSize() {
    lastCall = "effSetBlockSize";
    const VstIntPtr size = in.flag() ? in.pick(kBlockSizes) : in.anyIntPtr();
    instance.dispatch(effSetBlockSize, 0, size);
    // The blocks that follow keep to a size the host's buffers can have.
    if (size > 0 && size <= kMaxFrames) blockFrames = static_cast<std::int32_t>(size);
  }

  void program() {
    lastCall = "effSetProgram";
    const VstIntPtr before = instance.dispatch(effGetProgram);
    const VstIntPtr number = in.flag() ? static_cast<VstIntPtr>(in.inRange(0, 7)) : in.anyIntPtr();
    instance.dispatch(effSetProgram, 0, number);
    const VstIntPtr after = instance.dispatch(effGetProgram);
    FUZZ_CHECK(after == (number >= 0 && number < 8 ? number : before),
               "effSetProgram " + std::to_string(number) + " left program " + std::to_string(after));
  }

  void setChunk() { chunkIn(in.flag() ? 0 : in.anyInt32(), 0.0f); }

  // A chunk taken and given back changes nothing, also when the host hands back the very
  // memory the instance gave out instead of a copy.
  void chunkRoundTrip() {
    lastCall = "a chunk round trip";
    const bool program = in.flag();
    const bool inPlace = in.flag();
    const std::vector<std::uint8_t> taken = instance.chunk(program);
    const auto before = instance.parameters();
    GuardedBuffer copy(taken);
    void* own = nullptr;
    instance.dispatch(effGetChunk, program ? 1 : 0, 0, &own);
    const VstIntPtr answer = instance.dispatch(effSetChunk, program ? 1 : 0, static_cast<VstIntPtr>(taken.size()),
                                               inPlace ? own : copy.data());
    FUZZ_CHECK(answer == static_cast<VstIntPtr>(taken.size()), "a chunk the instance gave out was refused");
    FUZZ_CHECK(instance.chunk(program) == taken && instance.parameters() == before,
               "giving back the instance's own chunk changed it");
  }

  // The accumulating and double-precision entries: not offered, they touch nothing.
  void otherEntries() {
    lastCall = "process or processDoubleReplacing";
    const std::int32_t frames = static_cast<std::int32_t>(in.inRange(0, 64));
    std::vector<float> floats(static_cast<std::size_t>(frames) + 1, 0.25f);
    std::vector<double> doubles(static_cast<std::size_t>(frames) + 1, 0.25);
    float* floatOutputs[2] = {floats.data(), floats.data()};
    double* doubleOutputs[2] = {doubles.data(), doubles.data()};
    AEffect& effect = instance.effect();
    if (in.flag()) {
      effect.process(&effect, nullptr, floatOutputs, frames);
    } else {
      effect.processDoubleReplacing(&effect, nullptr, doubleOutputs, frames);
    }
    for (std::size_t i = 0; i < floats.size(); ++i) {
      FUZZ_CHECK(floats[i] == 0.25f && doubles[i] == 0.25, "an entry that is not offered wrote audio");
    }
  }

  void startStop() {
    lastCall = "effStartProcess or effStopProcess";
    instance.dispatch(in.flag() ? effStartProcess : effStopProcess);
  }

  FuzzInput& in;
  FuzzInstance instance;
  EventList list;
  std::int32_t blockFrames = 1024;
  std::string lastCall = "nothing";
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  ModuleDriver driver(input);
  driver.run();
  return 0;
}
