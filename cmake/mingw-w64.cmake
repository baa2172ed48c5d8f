# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds for 64-bit Windows with mingw-w64 on Debian; the tests run
# under wine. The -posix compilers are needed: the win32 thread model has no
# std::thread or std::mutex, and GoogleTest needs them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TESSARO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TESSARO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TESSARO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TESSARO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TESSARO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static runtime: without it the programs need libstdc++ and libgcc DLLs that
# wine cannot find, and they fail with nothing but exit code 53.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# ctest and gtest_discover_tests run the test programs through wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
