// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windowmodel.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaro
{

// What an element is to a screen reader.
enum class AccessibleRole : std::uint8_t {
    Frame,  // a main window
    Dialog, // a window with a dialog frame
    StaticText,
    CheckBox,
    PushButton,
    Graphic,
    Grouping,
};

// An element as a screen reader sees it, computed from the window model
// when a reader asks; nothing of it is kept or updated on a tick.
struct AccessibleNode {
    AccessibleRole role = AccessibleRole::StaticText;
    std::string name;
    std::string value;
    std::string description;
    bool checked = false;
    bool focusable = false;
    bool invisible = false;
};

// What a change of an element means to a listening screen reader.
enum class AccessibleEvent : std::uint8_t {
    None,
    NameChange,
    ValueChange,
    StateChange,
    Show,
    Hide
};

// Text as a reader speaks it: blanks at both ends dropped and every run of
// blanks inside one blank, so "Info " reads "Info" on every toolkit.
std::string spokenText(std::string_view text);

// Whether an element has an accessible object: all a sighted user reads or
// uses. Lines, timers and empty labels have none.
bool isAccessible(const ElementDef &def);

// The accessible side of a loaded window: its accessible elements in
// reading order (top to bottom, then left to right) and what each of them
// reports. Children are numbered from 0.
class AccessibleWindow
{
public:
    explicit AccessibleWindow(const WindowModel &model);

    [[nodiscard]] std::size_t childCount() const { return m_children.size(); }
    // The model position of a child.
    [[nodiscard]] std::size_t element(std::size_t child) const { return m_children[child]; }
    [[nodiscard]] std::optional<std::size_t> childOf(std::size_t element) const;

    // The window itself, with the title it shows.
    [[nodiscard]] AccessibleNode window(std::string_view title) const;
    [[nodiscard]] AccessibleNode child(std::size_t child) const;
    // "Drücken" for a button, "Aktivieren" or "Deaktivieren" for a check
    // box, nothing for what does nothing.
    [[nodiscard]] std::string_view defaultAction(std::size_t child) const;
    // Whether an element is hidden, by itself or by its container.
    [[nodiscard]] bool hidden(std::size_t element) const;
    // What a change of an element tells a listening reader; nothing for an
    // element without an accessible object or a hidden one.
    [[nodiscard]] AccessibleEvent eventFor(std::size_t element, Change change) const;

private:
    const WindowModel &m_model;
    std::vector<std::size_t> m_children;
    std::vector<int> m_childOf; // by model position; -1 for none
};

} // namespace tessaro
