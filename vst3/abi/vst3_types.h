// The VST 3 binary interface's basic types, result codes and calling convention, declared
// from the interface's published facts. Every other header of vst3/abi/ builds on these.
#pragma once

#include <cstdint>

// The three targets this interface is declared for. Windows builds use COM's byte order
// for IDs and COM's HRESULT values; 32-bit Windows also has its own calling convention.
#if defined(_WIN32) && !defined(_WIN64)
#define QUINDLE_VST3_WINDOWS 1
#define QUINDLE_VST3_X86 1
#elif defined(_WIN64)
#define QUINDLE_VST3_WINDOWS 1
#define QUINDLE_VST3_X86 0
#elif defined(__x86_64__) && defined(__linux__)
#define QUINDLE_VST3_WINDOWS 0
#define QUINDLE_VST3_X86 0
#else
#error "VST 3 declarations exist for Linux x86-64, Windows x86-64 and Windows x86 only"
#endif

// Every interface method, on both sides, and the module's GetPluginFactory. On 32-bit
// Windows a member function would otherwise be thiscall (`this` in ECX), which hosts built
// with any compiler do not use for these interfaces.
#if QUINDLE_VST3_X86
#define PLUGIN_API __attribute__((__stdcall__))
#else
#define PLUGIN_API
#endif

namespace vst3 {

using int8 = char;
using uint8 = std::uint8_t;
using int16 = std::int16_t;
using uint16 = std::uint16_t;
using int32 = std::int32_t;
using uint32 = std::uint32_t;
using int64 = std::int64_t;
using uint64 = std::uint64_t;

using TBool = uint8;  // 0 false, anything else true
using tresult = int32;

using char8 = char;
using char16 = char16_t;  // one UTF-16 unit; never wchar_t, which is 4 bytes on Linux
using TChar = char16;
constexpr int32 kString128Length = 128;
using String128 = TChar[kString128Length];  // as a parameter it is a TChar*, zero-terminated inside
using FIDString = const char8*;             // zero-terminated ASCII identifier

constexpr int32 kUidSize = 16;
using TUID = char[kUidSize];  // raw interface or class ID, in the platform's byte order

using ParamID = uint32;  // plug-in IDs 0..0x7FFFFFFF; the upper half belongs to hosts
using ParamValue = double;  // normalised 0..1
using SampleRate = double;
using TQuarterNotes = double;
using Sample32 = float;
using Sample64 = double;
using TSamples = int64;
using TSize = int64;
using SpeakerArrangement = uint64;  // a bit set of Speaker values
using Speaker = uint64;
using MediaType = int32;
using BusDirection = int32;
using BusType = int32;
using IoMode = int32;
using UnitID = int32;
using ProgramListID = int32;
using KnobMode = int32;
using UCoord = int32;
using CtrlNumber = int16;  // extended MIDI controller number (ControllerNumbers)

// Result codes. Success is exactly kResultOk (equal to kResultTrue); kResultFalse means "a
// valid call, the answer is no". Compare against these constants, never against a sign:
// Windows uses HRESULTs (failures negative) but Linux uses small numbers (kNoInterface -1,
// the other failures positive).
#if QUINDLE_VST3_WINDOWS
constexpr tresult kNoInterface = static_cast<tresult>(0x80004002u);      // E_NOINTERFACE
constexpr tresult kResultOk = 0;                                         // S_OK
constexpr tresult kResultTrue = kResultOk;
constexpr tresult kResultFalse = 1;                                      // S_FALSE
constexpr tresult kInvalidArgument = static_cast<tresult>(0x80070057u);  // E_INVALIDARG
constexpr tresult kNotImplemented = static_cast<tresult>(0x80004001u);   // E_NOTIMPL
constexpr tresult kInternalError = static_cast<tresult>(0x80004005u);    // E_FAIL
constexpr tresult kNotInitialized = static_cast<tresult>(0x8000FFFFu);   // E_UNEXPECTED
constexpr tresult kOutOfMemory = static_cast<tresult>(0x8007000Eu);      // E_OUTOFMEMORY
#else
constexpr tresult kNoInterface = -1;
constexpr tresult kResultOk = 0;
constexpr tresult kResultTrue = kResultOk;
constexpr tresult kResultFalse = 1;
constexpr tresult kInvalidArgument = 2;
constexpr tresult kNotImplemented = 3;
constexpr tresult kInternalError = 4;
constexpr tresult kNotInitialized = 5;
constexpr tresult kOutOfMemory = 6;
#endif

}  // namespace vst3

static_assert(sizeof(vst3::TBool) == 1 && sizeof(vst3::TChar) == 2, "one-byte TBool, UTF-16 TChar");
static_assert(sizeof(vst3::String128) == 256 && sizeof(vst3::TUID) == 16, "String128 and TUID sizes");
static_assert(sizeof(void*) == (QUINDLE_VST3_X86 ? 4 : 8), "pointer size of the target");
