// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "colour.h"

#include <string_view>

namespace tessaro
{

// Names an element of a window: by name alone, or by name and index for the
// members of a control array such as bin1(4).
struct ElementKey {
    std::string_view name;
    int index = -1;

    friend constexpr bool operator==(const ElementKey &, const ElementKey &) = default;
};

// The element interface: everything the handlers and the clock may change on a
// window, addressed by name and index. Captions are UTF-8.
class Elements
{
public:
    virtual ~Elements() = default;

    virtual void setCaption(ElementKey key, std::string_view text) = 0;
    virtual void setBackColor(ElementKey key, Colour colour) = 0;
    virtual void setVisible(ElementKey key, bool visible) = 0;
    // 0 no border, 1 a fixed single border.
    virtual void setBorderStyle(ElementKey key, int style) = 0;
    // Value of a check box: 0 unchecked, 1 checked, 2 greyed.
    [[nodiscard]] virtual int value(ElementKey key) const = 0;
    // The name a screen reader announces (German), e.g. "Stunden: 14".
    // Toolkits without accessibility may ignore it.
    virtual void setAccessibleName(ElementKey key, std::string_view name)
    {
        (void)key;
        (void)name;
    }
    // What a screen reader says after the name, e.g. the main window's
    // "12:34:56, 06.12.2026" when it takes the focus. An empty key
    // (ElementKey{}) means the window itself, the only holder so far.
    // Toolkits without accessibility may ignore it.
    virtual void setAccessibleDescription(ElementKey key, std::string_view text)
    {
        (void)key;
        (void)text;
    }
    // Whether a screen reader may be listening. The clock builds the names it
    // announces only then, so that a window nobody reads aloud pays nothing
    // for them; when a reader comes, the next tick brings every name up to
    // date.
    [[nodiscard]] virtual bool readerListening() const { return true; }
};

} // namespace tessaro
