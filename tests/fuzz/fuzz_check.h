// What a fuzz target does when a check fails: it says which check and why on stderr and
// aborts, which libFuzzer records as a crash with the input that caused it and which the
// corpus replay reports as a failed input.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#define FUZZ_CHECK(condition, what)                                                             \
  do {                                                                                          \
    if (!(condition)) fuzzcheck::fail(__FILE__, __LINE__, #condition, std::string() + (what)); \
  } while (false)

namespace fuzzcheck {

[[noreturn]] inline void fail(const char* file, int line, const char* condition, const std::string& what) {
  std::fprintf(stderr, "fuzz check failed at %s:%d: %s\n  (%s)\n", file, line, what.c_str(), condition);
  std::fflush(stderr);
  std::abort();
}

// A message meant for the user's terminal: not empty, printable ASCII only.
inline bool isPrintableMessage(const std::string& message) {
  if (message.empty()) return false;
  for (const char c : message) {
    if (c < 0x20 || c > 0x7E) return false;
  }
  return true;
}

}  // namespace fuzzcheck
