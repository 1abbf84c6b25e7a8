// The CLAP binary interface, declared by this project: basic types, the interface
// version, the calling convention, buffer sizes and fixed-point time.
//
// Records keep the interface's own C names (global, `clap_` prefix) so that code reads
// like the interface it talks to; the prefix keeps them clear of everything else. Helpers
// this project adds live in namespace `clapabi`. Every record is plain data with natural
// alignment (no packing) and is checked field by field for the two layouts built here:
// "32" is i686 Windows, where doubles and 64-bit integers are 8-aligned inside records as
// MSVC lays them out; "64" is x86-64, identical on Linux and Windows.
#pragma once

#include <cstddef>
#include <cstdint>

// Every function pointer of the interface. On i686 Windows the caller pops the
// arguments; GCC's default is the same, and -mrtd must never be used.
#ifdef _WIN32
#define CLAP_ABI __cdecl
#else
#define CLAP_ABI
#endif

// The attribute that exports the entry record from a module:
//   extern "C" CLAP_EXPORT const clap_plugin_entry_t clap_entry = {...};
// `extern` matters: a namespace-scope const without it has internal linkage and is
// silently not exported.
#ifdef _WIN32
#define CLAP_EXPORT __attribute__((dllexport))
#else
#define CLAP_EXPORT __attribute__((visibility("default")))
#endif

// Layout checks: the number for this target out of the "32" and "64" columns.
#if defined(_WIN32) && !defined(_WIN64)
#define QUINDLE_CLAP_LAYOUT(n32, n64) (n32)
#elif UINTPTR_MAX == UINT64_MAX
#define QUINDLE_CLAP_LAYOUT(n32, n64) (n64)
#else
#error "CLAP record layouts are checked for i686 Windows and 64-bit targets only"
#endif
#define QUINDLE_CLAP_CHECK_SIZE(type, n32, n64) \
  static_assert(sizeof(type) == QUINDLE_CLAP_LAYOUT(n32, n64), "size of " #type)
#define QUINDLE_CLAP_CHECK_FIELD(type, field, n32, n64) \
  static_assert(offsetof(type, field) == QUINDLE_CLAP_LAYOUT(n32, n64), "offset of " #type "::" #field)
// Slot k of a record made only of pointers (a function table) sits k pointers from its start.
#define QUINDLE_CLAP_CHECK_ENTRY(type, field, k) QUINDLE_CLAP_CHECK_FIELD(type, field, 4 * (k), 8 * (k))

static_assert(sizeof(bool) == 1, "the interface's bool is one byte");

struct clap_version_t {
  uint32_t major;
  uint32_t minor;
  uint32_t revision;
};
QUINDLE_CLAP_CHECK_SIZE(clap_version_t, 12, 12);
QUINDLE_CLAP_CHECK_FIELD(clap_version_t, major, 0, 0);
QUINDLE_CLAP_CHECK_FIELD(clap_version_t, minor, 4, 4);
QUINDLE_CLAP_CHECK_FIELD(clap_version_t, revision, 8, 8);
static_assert(alignof(clap_version_t) == 4, "clap_version_t is 4-aligned");

// The release these declarations follow; plug-in and host put it into their records.
inline constexpr uint32_t CLAP_VERSION_MAJOR = 1;
inline constexpr uint32_t CLAP_VERSION_MINOR = 2;
inline constexpr uint32_t CLAP_VERSION_REVISION = 10;
inline constexpr clap_version_t CLAP_VERSION = {CLAP_VERSION_MAJOR, CLAP_VERSION_MINOR, CLAP_VERSION_REVISION};

using clap_id = uint32_t;
inline constexpr clap_id CLAP_INVALID_ID = UINT32_MAX;

// Capacity of display-name buffers, terminator included.
inline constexpr uint32_t CLAP_NAME_SIZE = 256;
// Capacity of module-path buffers (such as a parameter's group path), terminator included.
inline constexpr uint32_t CLAP_PATH_SIZE = 1024;

// Positions in beats and seconds as fixed point: value = round(x * 2^31).
using clap_beattime = int64_t;
using clap_sectime = int64_t;
inline constexpr int64_t CLAP_BEATTIME_FACTOR = int64_t{1} << 31;
inline constexpr int64_t CLAP_SECTIME_FACTOR = int64_t{1} << 31;

// Seconds since the Unix epoch.
using clap_timestamp = uint64_t;
inline constexpr clap_timestamp CLAP_TIMESTAMP_UNKNOWN = 0;

namespace clapabi {

// Whether a plug-in or host written against `version` can be used: every 1.x release
// works with every other (and nothing past the core may be assumed, so every extension
// is asked for); 0.x were development versions and are refused.
constexpr bool versionIsCompatible(const clap_version_t& version) { return version.major >= 1; }

}  // namespace clapabi
