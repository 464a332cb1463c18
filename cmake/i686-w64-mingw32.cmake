# Toolchain for the Windows build: 32-bit (i686) MinGW-w64 from Debian, POSIX thread model.
#
#   cmake -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake ...
#
# Test executables are run through tools/wine-run (headless Wine with a private prefix in the
# build tree), so add_test(), gtest_discover_tests() and ctest work unchanged.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CORVANE_MINGW_TRIPLE i686-w64-mingw32)

# The -posix variants use winpthreads, which std::thread / std::mutex need with GCC 12.
set(CMAKE_C_COMPILER   ${CORVANE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CORVANE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${CORVANE_MINGW_TRIPLE}-windres)
set(CMAKE_AR           ${CORVANE_MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "Archiver")
set(CMAKE_RANLIB       ${CORVANE_MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "Ranlib")
set(CMAKE_OBJDUMP      ${CORVANE_MINGW_TRIPLE}-objdump CACHE FILEPATH "objdump")
set(CMAKE_STRIP        ${CORVANE_MINGW_TRIPLE}-strip CACHE FILEPATH "strip")

# Look for headers and libraries only in the MinGW sysroot; programs (code generators,
# python3, ...) come from the build host.
set(CMAKE_FIND_ROOT_PATH /usr/${CORVANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Run cross-built programs (tests, try_run) under Wine.
get_filename_component(CORVANE_WINE_RUN "${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run" ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${CORVANE_WINE_RUN}")
