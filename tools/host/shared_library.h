// A plug-in's shared library (a .so, a DLL, a .clap), opened and searched the way every
// format's backend needs: the system loader, symbols by name.
#pragma once

#include <string>

namespace sharedlibrary {

// Null with a reason in `error` when the library cannot be loaded. A path without a
// slash is taken relative to the working directory, not searched for.
void* open(const std::string& path, std::string& error);
// Null when the library has no such export.
void* find(void* library, const char* name);
void close(void* library);

}  // namespace sharedlibrary
