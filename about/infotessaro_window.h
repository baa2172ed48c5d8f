// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windowdef.h"

#include <string_view>

namespace tessaro
{

namespace about
{
// The window's name and the names of the elements the handlers use.
inline constexpr std::string_view windowName = "Infotessaro";
inline constexpr std::string_view titleLabel = "lblTitle";
inline constexpr std::string_view versionLabel = "lblVersion";
inline constexpr std::string_view descriptionLabel = "lblDescription";
inline constexpr std::string_view noticeLabel = "Label1";
inline constexpr std::string_view noticeFrame = "Frame1";
inline constexpr std::string_view okButton = "cmdOK";
inline constexpr std::string_view sysInfoButton = "cmdSysInfo";
inline constexpr std::string_view picture = "picIcon";

// The picture id of the About picture.
inline constexpr int aboutPictureId = 1;
} // namespace about

// The About dialog's layout: eight elements in twips on a 4410 x 4845 client
// area with a fixed dialog frame.
const WindowDef &infotessaroWindow();

} // namespace tessaro
