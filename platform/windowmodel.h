// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "devicegeometry.h"
#include "windowdef.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

namespace tessaro
{

// --- Element state ---------------------------------------------------------

// What a write changed on an element.
enum class Change : std::uint8_t { Caption, BackColour, Visible, Border, Value, AccessibleName };

// The properties of an element that can change while the window is loaded.
struct ElementState {
    std::string caption;
    std::string accessibleName;
    Colour back = 0;
    int border = 0; // 0 none, 1 fixed single
    int value = 0;  // check boxes: 0 unchecked, 1 checked, 2 greyed
    bool visible = true;
};

// A key the window has no element for: a fault of the program, not of its
// user, reported like any other run-time error.
class UnknownElement : public std::logic_error
{
public:
    UnknownElement(std::string_view window, ElementKey key);
};

// "bin1(4)" or "Label15".
std::string describe(ElementKey key);

// Which kinds take the keyboard focus when their tab index allows it:
// buttons, check boxes and picture boxes; labels and frames never do.
bool takesFocus(ElementKind kind);

// Whether clicks on an element reach what lies beneath it: lines always,
// labels and cells without a tooltip of their own.
bool letsMouseThrough(const ElementDef &def);

// --- The window model ------------------------------------------------------

// Everything a toolkit needs to know of a loaded window besides its widgets:
// the elements in the order to create them, their current state, the lookup
// by key, containers, tab order and timers. Writes that change nothing are
// dropped here, so the toolkit redraws only what really changed.
class WindowModel
{
public:
    explicit WindowModel(const WindowDef &def);

    [[nodiscard]] const WindowDef &window() const { return m_def; }
    [[nodiscard]] std::size_t size() const { return m_elements.size(); }

    // Elements by position in creation order: containers before what they
    // contain, otherwise from the bottom-most up, so that each element
    // created lies above those created before it.
    [[nodiscard]] const ElementDef &element(std::size_t at) const { return *m_elements[at]; }
    [[nodiscard]] const ElementState &state(std::size_t at) const { return m_states[at]; }

    // The position of an element; throws UnknownElement for a key the window
    // does not have.
    [[nodiscard]] std::size_t indexOf(ElementKey key) const;
    [[nodiscard]] std::optional<std::size_t> find(ElementKey key) const;
    // The container of an element, or nothing for the window itself.
    [[nodiscard]] std::optional<std::size_t> containerOf(std::size_t at) const;

    // Each returns whether the element changed; a write that changes nothing
    // leaves the state and the change report alone.
    bool setCaption(std::size_t at, std::string_view text);
    bool setBackColour(std::size_t at, Colour colour);
    bool setVisible(std::size_t at, bool visible);
    bool setBorder(std::size_t at, int style);
    bool setValue(std::size_t at, int value);
    bool setAccessibleName(std::size_t at, std::string_view name);

    // The window's own description for a screen reader; empty at first.
    [[nodiscard]] const std::string &accessibleDescription() const { return m_description; }
    // Returns whether it changed.
    bool setAccessibleDescription(std::string_view text);

    // The elements changed since the last call, each once, in the order of
    // their first change.
    std::vector<std::size_t> takeChanged();

    // Elements that take the focus, in tab order; the first has it when the
    // window opens.
    [[nodiscard]] std::vector<std::size_t> tabOrder() const;
    [[nodiscard]] std::vector<std::size_t> timers() const;

private:
    struct KeyHash {
        std::size_t operator()(const ElementKey &key) const noexcept;
    };

    // Notes the element in the change report when `changed`; returns `changed`.
    bool noteIf(std::size_t at, bool changed);

    const WindowDef &m_def;
    std::vector<const ElementDef *> m_elements;
    std::vector<ElementState> m_states;
    // Keys view the names in the window description, which outlives the
    // model. A hash: the tick addresses over a hundred elements ten times a
    // second.
    std::unordered_map<ElementKey, std::size_t, KeyHash> m_index;
    std::vector<std::size_t> m_changed;
    std::string m_description;
    std::vector<bool> m_changedFlags;
};

} // namespace tessaro
