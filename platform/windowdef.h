// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "colour.h"
#include "elements.h"
#include "pictures.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace tessaro
{

enum class ElementKind : std::uint8_t {
    Label,     // windowless text drawn on the window surface
    CellFrame, // box that shows only its background colour, above labels and lines
    WebFrame,  // bordered box with a caption set into its top edge
    CheckBox,
    Button,     // graphical push button, whole face in its BackColor
    Line,       // straight line between two points
    Timer,      // invisible, fires every Interval ms
    PictureBox, // sunken box with a fixed picture
    GroupFrame, // etched group box without caption; may contain elements
    PushButton, // standard push button with its own face colour
};

// The fonts of both windows. Sizes are in pixels at 96 dpi so that text and
// geometry (twips / 15) scale together.
enum class FontId : std::uint8_t {
    Standard,        // "MS Sans Serif" 8.25 pt regular
    Bold,            // "MS Sans Serif" 8.25 pt bold
    Heading,         // "MS Sans Serif" 12 pt bold
    SettingsHeading, // "MS Sans Serif" 9.75 pt bold
    Exit,            // "MS Serif" 12 pt bold
};

struct FontDef {
    bool serif;
    int pixelSize;
    bool bold;
};

constexpr FontDef fontDef(FontId id)
{
    switch (id) {
    case FontId::Standard:
        return {false, 11, false};
    case FontId::Bold:
        return {false, 11, true};
    case FontId::Heading:
        return {false, 16, true};
    case FontId::SettingsHeading:
        return {false, 13, true};
    case FontId::Exit:
        return {true, 16, true};
    }
    return {false, 11, false};
}

namespace flags
{
constexpr std::uint16_t border = 1 << 0;
constexpr std::uint16_t transparent = 1 << 1;
constexpr std::uint16_t hidden = 1 << 2;
constexpr std::uint16_t alignRight = 1 << 3;
constexpr std::uint16_t alignCentre = 1 << 4;
constexpr std::uint16_t checked = 1 << 5;       // check box Value 1 at start
constexpr std::uint16_t defaultButton = 1 << 6; // Enter presses it
constexpr std::uint16_t cancelButton = 1 << 7;  // Escape presses it
} // namespace flags

// Position and size in twips, relative to the containing client area. For a
// line: left/top is (X1, Y1) and width/height hold (X2, Y2).
struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// How a line is drawn: the separators solid, the two brackets in styles of
// their own.
enum class LineStyle : std::uint8_t {
    Solid,
    Dotted,     // the 4-bit bracket
    DashDotDot, // the byte bracket
};

struct ElementDef {
    ElementKind kind = ElementKind::Label;
    ElementKey key;
    TwipRect rect;
    std::string_view caption;
    FontId font = FontId::Standard;
    Colour backColour = colours::windowGreen;
    Colour foreColour = colours::buttonText;
    std::uint16_t flags = 0;
    std::string_view toolTip;
    // Lower ranks lie above higher ones. Child windows carry the lowest ranks
    // so they lie above every label and line. -1: not drawn (timer).
    int stackRank = -1;
    // Keyboard focus order; -1 for elements that never take the focus.
    int tabIndex = -1;
    LineStyle lineStyle = LineStyle::Solid; // lines only
    int intervalMs = 0;                     // timers only
    PictureId picture = PictureId::None;    // picture boxes only
    // The containing element (a group frame); no name for the window.
    ElementKey parent;
    // Accessible name for screen readers; the tick refines it for cells.
    std::string_view accessibleName;
};

// A caption for a face that runs wider than the window's own, "MS Sans
// Serif": other runs of spaces, or letters set closer, that keep each word
// where the window's face puts it (place values over their columns, words
// before their digit cells). With `ownFace`, the runs of spaces that put a
// caption's words in place in the window's own face instead.
struct WideFaceCaption {
    ElementKey key;
    // The caption it stands for: one that the program writes, or (when
    // empty) the one the element opens with.
    std::string_view caption;
    std::string_view fitted;
    bool condensed = false; // letters set half a pixel closer
    bool ownFace = false;
};

struct WindowDef {
    std::string_view name;
    std::string_view caption;
    int clientWidth = 0;  // twips
    int clientHeight = 0; // twips
    Colour backColour = colours::buttonFace;
    IconId icon = IconId::None;
    // true: fixed dialog frame without minimise/maximise; false: fixed single
    // border with the system menu and close box.
    bool dialogFrame = false;
    std::span<const ElementDef> elements;
    std::span<const WideFaceCaption> wideFaceCaptions;
};

constexpr int twipsPerPixel = 15;

} // namespace tessaro
