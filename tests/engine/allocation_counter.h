// Counts every allocation of the test program: the global operator new is replaced in
// allocation_counter.cpp (its own file, so that no caller sees through it).
#pragma once

namespace engine_test {
long allocationCount();
}  // namespace engine_test
