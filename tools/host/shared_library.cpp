#include "tools/host/shared_library.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace sharedlibrary {

void* open(const std::string& path, std::string& error) {
#ifdef _WIN32
  // The loader wants backslashes.
  std::string native = path;
  for (char& c : native) {
    if (c == '/') c = '\\';
  }
  HMODULE module = LoadLibraryA(native.c_str());
  if (module == nullptr) error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
  return reinterpret_cast<void*>(module);
#else
  // A path without a slash would be searched for; make it relative to here instead.
  const std::string where = path.find('/') == std::string::npos ? "./" + path : path;
  void* module = dlopen(where.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    const char* reason = dlerror();
    error = "cannot load " + path + ": " + (reason != nullptr ? reason : "unknown error");
  }
  return module;
#endif
}

void* find(void* library, const char* name) {
#ifdef _WIN32
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
#else
  return dlsym(library, name);
#endif
}

void close(void* library) {
#ifdef _WIN32
  FreeLibrary(static_cast<HMODULE>(library));
#else
  dlclose(library);
#endif
}

}  // namespace sharedlibrary
