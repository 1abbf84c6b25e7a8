// The platform's loader for plug-in binaries: dlopen on Linux, LoadLibrary on Windows.
#pragma once

#include <string>

namespace sharedlibrary {

// Loads the binary at `path` (a bare file name counts as in the current folder); null
// with a reason in `error` when the loader refuses.
void* open(const std::string& path, std::string& error);
// An exported symbol, or null.
void* find(void* library, const char* name);
void close(void* library);

}  // namespace sharedlibrary
