// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windowdef.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>

namespace tessaro
{

// Labels and lines are drawn on the window's own surface; every other kind
// but the timer lies above all of them, in the layer of the child windows.
constexpr bool isWindowless(const ElementDef &e)
{
    return e.kind == ElementKind::Label || e.kind == ElementKind::Line;
}

constexpr bool isChildWindow(const ElementDef &e)
{
    return !isWindowless(e) && e.kind != ElementKind::Timer;
}

// Gives every element of a window table its stacking rank: the child windows
// first, in the order of the table, then the labels and lines in the order
// `windowlessTopmostFirst` gives them. Timers keep -1. Used on constant
// tables, where a label or line missing from the order, or named twice,
// stops the build.
template <std::size_t Count>
constexpr std::array<ElementDef, Count>
withStackRanks(std::array<ElementDef, Count> elements,
               std::span<const ElementKey> windowlessTopmostFirst)
{
    int rank = 0;
    for (ElementDef &e : elements)
        if (isChildWindow(e))
            e.stackRank = rank++;
    std::size_t windowless = 0;
    for (ElementDef &e : elements) {
        if (!isWindowless(e))
            continue;
        ++windowless;
        const auto at =
            std::find(windowlessTopmostFirst.begin(), windowlessTopmostFirst.end(), e.key);
        if (at == windowlessTopmostFirst.end() ||
            std::count(windowlessTopmostFirst.begin(), windowlessTopmostFirst.end(), e.key) != 1)
            throw "every label and line needs exactly one place in the stacking order";
        e.stackRank = rank + int(at - windowlessTopmostFirst.begin());
    }
    if (windowless != windowlessTopmostFirst.size())
        throw "the stacking order names an element that is no label or line of the window";
    return elements;
}

// The same for a window whose labels and lines never overlap: they stack in
// the order of the table.
template <std::size_t Count>
constexpr std::array<ElementDef, Count>
withStackRanksInTableOrder(std::array<ElementDef, Count> elements)
{
    std::array<ElementKey, Count> order{};
    std::size_t windowless = 0;
    for (const ElementDef &e : elements)
        if (isWindowless(e))
            order[windowless++] = e.key;
    return withStackRanks(elements, std::span<const ElementKey>(order.data(), windowless));
}

} // namespace tessaro
