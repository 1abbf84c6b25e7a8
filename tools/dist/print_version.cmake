# Prints "VERSION VENDOR_VERSION" (for example "1.0.0 1000") from cmake/Version.cmake, the
# one place the version lives, for the release scripts:
#   cmake -P tools/dist/print_version.cmake
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/Version.cmake)
execute_process(COMMAND ${CMAKE_COMMAND} -E echo "${QUINDLE_VERSION} ${QUINDLE_VENDOR_VERSION}")
