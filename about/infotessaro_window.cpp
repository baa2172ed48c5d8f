// SPDX-License-Identifier: GPL-3.0-or-later
#include "infotessaro_window.h"

#include "stacking.h"
#include "tessaro_version.h"

#include <array>
#include <cstddef>

namespace tessaro
{
namespace
{

// Text joined at compile time, so that captions built from the version
// header can stay in the constant layout table.
template <std::size_t Size> struct JoinedText {
    std::array<char, Size> chars{};

    constexpr JoinedText(std::string_view first, std::string_view second)
    {
        std::size_t at = 0;
        for (char c : first)
            chars[at++] = c;
        for (char c : second)
            chars[at++] = c;
    }
    [[nodiscard]] constexpr std::string_view view() const { return {chars.data(), chars.size()}; }
};

// A no-break space keeps the copyright sign with the name when the text wraps.
constexpr std::string_view descriptionStart =
    "Freeware. Diese Uhr läuft bis zum 31.12.2099. ©\u00A0Tessaro-Team, ";
constexpr JoinedText<descriptionStart.size() + app::webAddress.size()> description(descriptionStart,
                                                                                   app::webAddress);

// The blanks between the two sentences belong to the text: in the frame's
// width they push the second sentence onto a line of its own.
constexpr std::string_view systemTimeNotice =
    "Diese Tessaro zeigt die Systemzeit des Rechnes an auf dem das Programm läuft!!"
    "                              " // 30 blanks
    "Sollte die angezeigte Zeit nicht die aktuelle Zeit sein muss die Systemzeit am Rechner "
    "eingestellt werden!";

using namespace infotessaro;

constexpr ElementDef element(ElementKind kind, ElementKey key, TwipRect rect, int tabIndex)
{
    ElementDef def;
    def.kind = kind;
    def.key = key;
    def.rect = rect;
    def.backColour = colours::buttonFace;
    def.foreColour = colours::buttonText;
    def.tabIndex = tabIndex;
    return def;
}

constexpr ElementDef label(ElementKey key, TwipRect rect, std::string_view caption, FontId font,
                           int tabIndex)
{
    ElementDef def = element(ElementKind::Label, key, rect, tabIndex);
    def.caption = caption;
    def.font = font;
    return def;
}

constexpr ElementDef pushButton(ElementKey key, TwipRect rect, std::string_view caption,
                                Colour face, std::uint16_t buttonFlags, int tabIndex)
{
    ElementDef def = element(ElementKind::PushButton, key, rect, tabIndex);
    def.caption = caption;
    def.backColour = face;
    def.flags = buttonFlags;
    return def;
}

constexpr ElementDef pictureBox(ElementKey key, TwipRect rect, PictureId picture,
                                std::string_view accessibleName, int tabIndex)
{
    ElementDef def = element(ElementKind::PictureBox, key, rect, tabIndex);
    def.picture = picture;
    def.accessibleName = accessibleName;
    return def;
}

constexpr ElementDef withForeColour(ElementDef def, Colour fore)
{
    def.foreColour = fore;
    return def;
}

constexpr ElementDef inside(ElementDef def, ElementKey parent)
{
    def.parent = parent;
    return def;
}

// The buttons, the picture box and the frame are child windows and lie above
// the labels, which never overlap. The load handler replaces the captions of
// lblTitle and lblVersion before the window is first shown.
constexpr auto elements = withStackRanksInTableOrder(std::array{
    pictureBox(picIcon, {240, 150, 300, 300}, PictureId::About, "Tessaro-Bild", 1),
    label(lblTitle, {990, 180, 3165, 345}, "Anwendungstitel", FontId::Heading, 4),
    label(lblVersion, {180, 540, 3885, 225}, "Version", FontId::Standard, 5),
    withForeColour(
        label(lblDescription, {270, 2295, 3840, 450}, description.view(), FontId::Standard, 3),
        colours::black),
    element(ElementKind::GroupFrame, Frame1, {90, 2790, 4155, 1050}, 6),
    inside(label(Label1, {180, 135, 3750, 825}, systemTimeNotice, FontId::Standard, 7), Frame1),
    pushButton(cmdOK, {1395, 3960, 1305, 345}, "OK", colours::paleCellGreen,
               flags::defaultButton | flags::cancelButton, 0),
    pushButton(cmdSysInfo, {1395, 4410, 1290, 345}, "&Systeminfo...", colours::lightYellow, 0, 2),
});

constexpr WindowDef makeWindow()
{
    WindowDef def;
    def.name = windowName;
    def.caption = "Info zu";
    def.clientWidth = 4410;
    def.clientHeight = 4845;
    def.backColour = colours::buttonFace;
    def.icon = IconId::None;
    def.dialogFrame = true;
    def.elements = elements;
    return def;
}

constexpr WindowDef window = makeWindow();

} // namespace

const WindowDef &infotessaroWindow()
{
    return window;
}

} // namespace tessaro
