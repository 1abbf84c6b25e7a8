# Compiler and linker flags shared by every target of every build.
# The audio must come out bit-identical on Linux x86-64, Windows x86 and Windows x64:
# no fast-math, no contraction of a*b+c into fused multiply-adds, and SSE2 arithmetic
# on i686 (x87 extended precision would round differently).
set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

add_compile_options(-Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wcast-align
                    -fno-fast-math -ffp-contract=off)

if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(QUINDLE_WINDOWS ON)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86")
    # Hosts built with other compilers only promise a 4-byte aligned stack on x86:
    # let GCC realign where it keeps SSE values on the stack.
    add_compile_options(-msse2 -mfpmath=sse -mincoming-stack-boundary=2)
  endif()
  # One file to copy: libgcc, libstdc++ and winpthread are linked in.
  add_link_options(-static -static-libgcc -static-libstdc++)
else()
  set(QUINDLE_WINDOWS OFF)
endif()

set(QUINDLE_SANITIZE "" CACHE STRING "Sanitizers for native builds (address,undefined or thread)")
if(QUINDLE_SANITIZE)
  add_compile_options(-fsanitize=${QUINDLE_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${QUINDLE_SANITIZE})
endif()

# The fuzzing build (clang only): every library instrumented for libFuzzer's coverage and
# checked by AddressSanitizer and UndefinedBehaviorSanitizer; the fuzz programs alone
# link libFuzzer's driver (tests/fuzz). Only what the fuzz targets use is built.
option(QUINDLE_FUZZ "Build the libFuzzer targets only (clang)" OFF)
if(QUINDLE_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
