// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32textwrap.h"

namespace tessaro::win32
{
namespace
{

// The end of the next word at or after `from`, its leading blanks included;
// the text's end if only blanks follow.
std::size_t nextWordEnd(std::wstring_view text, std::size_t from)
{
    std::size_t at = text.find_first_not_of(L' ', from);
    if (at == std::wstring_view::npos)
        return text.size();
    at = text.find(L' ', at);
    return at == std::wstring_view::npos ? text.size() : at;
}

} // namespace

std::vector<std::wstring_view> wrapAtSpaces(std::wstring_view text, int width,
                                            const std::function<int(std::wstring_view)> &widthOf)
{
    std::vector<std::wstring_view> lines;
    if (text.empty() || widthOf(text) <= width) {
        lines.push_back(text);
        return lines;
    }
    std::size_t start = 0;
    while (start < text.size()) {
        // The first word always stays, even if it is too wide.
        std::size_t end = nextWordEnd(text, start);
        while (end < text.size()) {
            const std::size_t longer = nextWordEnd(text, end);
            if (widthOf(text.substr(start, longer - start)) > width)
                break;
            end = longer;
        }
        lines.push_back(text.substr(start, end - start));
        start = text.find_first_not_of(L' ', end);
        if (start == std::wstring_view::npos)
            break;
    }
    return lines;
}

} // namespace tessaro::win32
