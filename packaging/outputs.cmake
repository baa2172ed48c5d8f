# SPDX-License-Identifier: GPL-3.0-or-later
# Where the packaging files are built, shared by packaging/ and its tests
# (tests/ is configured before packaging/, so the paths are settled here).
set(TESSARO_PACKAGING_DIR ${PROJECT_BINARY_DIR}/packaging)
set(TESSARO_ICON_SIZES 16 32 48 64 128 256)
set(TESSARO_ICON_DIR ${TESSARO_PACKAGING_DIR}/icons)
# Kept in the sources: the Windows build needs no tool to make it.
set(TESSARO_ICO_FILE ${PROJECT_SOURCE_DIR}/packaging/windows/tessaro.ico)
set(TESSARO_SVG_ICON ${TESSARO_ICON_DIR}/hicolor/scalable/apps/${TESSARO_APP_ID}.svg)
set(TESSARO_RC_FILE ${TESSARO_PACKAGING_DIR}/tessaro.rc)
set(TESSARO_RES_FILE ${TESSARO_PACKAGING_DIR}/tessaro.res)
set(TESSARO_WXS_FILE ${TESSARO_PACKAGING_DIR}/windows/tessaro.wxs)
set(TESSARO_WINDOWS_README ${TESSARO_PACKAGING_DIR}/windows/LIESMICH.txt)
set(TESSARO_DESKTOP_FILE ${TESSARO_PACKAGING_DIR}/${TESSARO_APP_ID}.desktop)
set(TESSARO_METAINFO_FILE ${TESSARO_PACKAGING_DIR}/${TESSARO_APP_ID}.metainfo.xml)
set(TESSARO_MAN_PAGE ${TESSARO_PACKAGING_DIR}/man/tessaro.1)
set(TESSARO_GERMAN_MAN_PAGE ${TESSARO_PACKAGING_DIR}/man/de/tessaro.1)

# Compiles the Windows resources on other systems too, for the tests.
find_program(TESSARO_WINDRES NAMES x86_64-w64-mingw32-windres windres)
