// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string_view>
#include <vector>

namespace tessaro::win32
{

// Splits a caption into the lines a label shows: as many words as fit the
// width, the blanks between them kept (runs of blanks place numbers over
// their columns), the blanks where a line breaks dropped. A word wider than
// the label stands on a line of its own. `widthOf` measures a piece of text.
std::vector<std::wstring_view> wrapAtSpaces(std::wstring_view text, int width,
                                            const std::function<int(std::wstring_view)> &widthOf);

} // namespace tessaro::win32
