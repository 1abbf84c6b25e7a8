#include "shell/module_handle.h"

// Set by the module's load notification; programs that link the instance directly (the
// tests) set it themselves when they need the module's resources.
void* moduleHandle = nullptr;
