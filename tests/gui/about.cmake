# SPDX-License-Identifier: GPL-3.0-or-later
# The About dialog and its Systeminfo button in the real program. The program
# under test is a test build whose registry stand-in names a small probe
# program at a path with blanks instead of the usual system-information tools.

set(about_probe_dir "${CMAKE_CURRENT_BINARY_DIR}/sysinfo probe")
set(about_probe "${about_probe_dir}/System Info/probe tool")

tessaro_add_services(tessaro_services_guitest TOOL_CANDIDATES "${about_probe}")

# The program from the same sources and libraries as `tessaro`, with the
# test build's services in place of the usual ones.
get_target_property(app_dir tessaro_app SOURCE_DIR)
get_target_property(app_sources tessaro_app SOURCES)
get_target_property(app_libraries tessaro_app LINK_LIBRARIES)
list(TRANSFORM app_sources PREPEND "${app_dir}/")
list(TRANSFORM app_libraries REPLACE "^tessaro_services$" "tessaro_services_guitest")
add_executable(tessaro_sysinfo_testbuild ${app_sources} ${app_dir}/main.cpp)
target_include_directories(tessaro_sysinfo_testbuild PRIVATE ${app_dir})
target_link_libraries(tessaro_sysinfo_testbuild PRIVATE ${app_libraries})

add_custom_command(OUTPUT "${about_probe}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${about_probe_dir}/System Info"
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:sysinfo_probe> "${about_probe}"
    DEPENDS sysinfo_probe
    COMMENT "Placing the probe program where the test build looks for it")
add_custom_target(tessaro_sysinfo_probe_placed ALL DEPENDS "${about_probe}")

add_executable(tst_about_dialog tst_about_dialog.cpp)
target_link_libraries(tst_about_dialog PRIVATE tessaro_gui_testsupport tessaro_about tessaro_warnings)
add_dependencies(tst_about_dialog tessaro_sysinfo_testbuild tessaro_sysinfo_probe_placed)
add_test(NAME tst_about_dialog COMMAND ${TESSARO_XVFB_RUN} $<TARGET_FILE:tst_about_dialog>)
set_tests_properties(tst_about_dialog PROPERTIES
    LABELS gui TIMEOUT 180
    ENVIRONMENT "TESSARO_BINARY=$<TARGET_FILE:tessaro_sysinfo_testbuild>;TESSARO_SHOTS=${CMAKE_CURRENT_BINARY_DIR}/shots;TESSARO_SYSINFO_PROBE=${about_probe};TESSARO_SYSINFO_PROBE_SOURCE=$<TARGET_FILE:sysinfo_probe>")
