// The one way the editor's files reach the Win32 API: a lean <windows.h> without the
// min/max macros that would clash with the standard library.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
