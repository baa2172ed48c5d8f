# SPDX-License-Identifier: GPL-3.0-or-later
# The Win32 services under wine. scripts/test-windows.sh makes a throwaway
# wine prefix and seeds its registry (see seed-wine-registry.sh) first.
add_executable(sysinfo_probe probe_win32.cpp)
target_link_libraries(sysinfo_probe PRIVATE tessaro_warnings)

tessaro_add_gtest(win32_services_test
    SOURCES win32_services_test.cpp
    LIBS tessaro_services tessaro_about)
add_dependencies(win32_services_test sysinfo_probe)
