# GoogleTest for every build: Debian's libgtest-dev natively, Debian's googletest
# sources compiled with the cross compiler for the MinGW builds. Every test program is
# one ctest test (under wine it is started once, which keeps the Windows run quick).
if(QUINDLE_WINDOWS)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  if(NOT TARGET GTest::gtest_main)  # newer googletest sources define the alias themselves
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
  # googletest's own sources are not ours to keep warning-free.
  target_compile_options(gtest PRIVATE -w)
  target_compile_options(gtest_main PRIVATE -w)
else()
  find_package(GTest REQUIRED)
  find_package(Threads REQUIRED)
endif()

# The objdump that reads this build's modules, for the export checks.
if(QUINDLE_WINDOWS)
  set(QUINDLE_OBJDUMP ${QUINDLE_MINGW_TRIPLE}-objdump)
else()
  set(QUINDLE_OBJDUMP objdump)
endif()

# quindle_add_test(NAME [DISPLAY] SOURCES ... [LIBS ...] [LABELS ...])
# DISPLAY: the program opens X11 windows; it runs on the caller's display or a private Xvfb.
function(quindle_add_test name)
  cmake_parse_arguments(T "DISPLAY" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  if(NOT QUINDLE_WINDOWS)
    target_link_libraries(${name} PRIVATE Threads::Threads)
  endif()
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  if(T_DISPLAY)
    add_test(NAME ${name} COMMAND bash ${PROJECT_SOURCE_DIR}/cmake/display-run.sh $<TARGET_FILE:${name}> --gtest_color=no)
    list(APPEND T_LABELS display)
  else()
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  endif()
  set_tests_properties(${name} PROPERTIES WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()
