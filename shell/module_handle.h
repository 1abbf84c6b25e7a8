// The module's instance handle, stored by the load notification on every call; the
// editor registers its window class and loads its bitmaps through it. Null on builds
// without a window system.
#pragma once

extern void* moduleHandle;
