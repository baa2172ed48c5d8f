// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windowdef.h"

#include <string_view>

namespace tessaro
{

// The names of the About dialog and its elements, in one place.
namespace infotessaro
{
inline constexpr std::string_view windowName = "Infotessaro";
inline constexpr ElementKey picIcon{"picIcon"};
inline constexpr ElementKey lblTitle{"lblTitle"};
inline constexpr ElementKey lblVersion{"lblVersion"};
inline constexpr ElementKey lblDescription{"lblDescription"};
inline constexpr ElementKey Frame1{"Frame1"};
inline constexpr ElementKey Label1{"Label1"}; // inside Frame1
inline constexpr ElementKey cmdOK{"cmdOK"};
inline constexpr ElementKey cmdSysInfo{"cmdSysInfo"};
} // namespace infotessaro

// The About dialog's layout: eight elements in twips on a 4410 x 4845 client
// area with a fixed dialog frame.
const WindowDef &infotessaroWindow();

} // namespace tessaro
