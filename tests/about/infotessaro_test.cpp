// SPDX-License-Identifier: GPL-3.0-or-later
#include "fake_services.h"
#include "fake_toolkit.h"
#include "infotessaro.h"
#include "infotessaro_window.h"

#include <gtest/gtest.h>

namespace tessaro::testing
{
namespace
{

class InfotessaroDialog : public ::testing::Test
{
protected:
    FakeToolkit toolkit;
    FakeSysInfo sysInfo;
    Infotessaro dialog{toolkit, sysInfo.services};
};

TEST_F(InfotessaroDialog, LoadingSetsTitleVersionAndHeadingInThatOrder)
{
    dialog.open();

    ASSERT_EQ(toolkit.windows.size(), 1u);
    FakeWindow &window = toolkit.last();
    EXPECT_EQ(window.spec.name, "Infotessaro");
    EXPECT_EQ(window.writes,
              (std::vector<std::string>{"title=Info zu Tessaro", "lblVersion=Version 2.0.8",
                                        "lblTitle=Tessaro"}));
    EXPECT_EQ(window.shows, 1);
    EXPECT_TRUE(dialog.isLoaded());
}

TEST_F(InfotessaroDialog, SecondOpeningChangesNothing)
{
    dialog.open();
    dialog.open();

    EXPECT_EQ(toolkit.windows.size(), 1u);
    EXPECT_EQ(toolkit.last().writes.size(), 3u);
    EXPECT_EQ(toolkit.last().shows, 1);
}

TEST_F(InfotessaroDialog, OkUnloadsAndTheNextOpeningLoadsAfresh)
{
    dialog.open();
    toolkit.last().click("cmdOK");
    EXPECT_FALSE(dialog.isLoaded());
    EXPECT_EQ(toolkit.loadedWindows(), 0u);

    dialog.open();
    ASSERT_EQ(toolkit.windows.size(), 2u);
    EXPECT_EQ(toolkit.loadedWindows(), 1u);
    EXPECT_EQ(toolkit.last().title, "Info zu Tessaro");
    EXPECT_EQ(toolkit.last().captions.at("lblVersion"), "Version 2.0.8");
    EXPECT_EQ(toolkit.last().captions.at("lblTitle"), "Tessaro");
}

TEST_F(InfotessaroDialog, ClosingFromTheTitleBarActsLikeOk)
{
    dialog.open();
    toolkit.last().unload(); // the toolkit reports the closed window
    EXPECT_FALSE(dialog.isLoaded());

    dialog.open();
    EXPECT_EQ(toolkit.windows.size(), 2u);
    EXPECT_EQ(toolkit.loadedWindows(), 1u);
}

TEST_F(InfotessaroDialog, SystemInfoRunsTheLauncherAndTheDialogStays)
{
    dialog.open();
    toolkit.last().click("cmdSysInfo");

    // Nothing is registered with the fakes, so the launcher says so.
    ASSERT_EQ(sysInfo.messages.shown.size(), 1u);
    EXPECT_EQ(sysInfo.messages.shown[0].text, "Systeminformationen sind momentan nicht verfügbar");
    EXPECT_EQ(sysInfo.messages.shown[0].title, "Tessaro");
    EXPECT_TRUE(dialog.isLoaded());
    EXPECT_EQ(toolkit.loadedWindows(), 1u);
}

TEST_F(InfotessaroDialog, ClicksElsewhereDoNothing)
{
    dialog.open();
    toolkit.last().click("lblTitle");
    toolkit.last().click("picIcon");

    EXPECT_TRUE(dialog.isLoaded());
    EXPECT_TRUE(sysInfo.messages.shown.empty());
    EXPECT_TRUE(sysInfo.registry.opens.empty());
}

TEST(InfotessaroLifetime, ADialogThatGoesAwayTakesItsWindowWithIt)
{
    FakeToolkit toolkit;
    FakeSysInfo sysInfo;
    {
        Infotessaro dialog(toolkit, sysInfo.services);
        dialog.open();
    }
    EXPECT_EQ(toolkit.loadedWindows(), 0u);
}

// --- The layout as the user meets it ------------------------------------------

const ElementSpec &element(std::string_view name)
{
    for (const ElementSpec &spec : infotessaroWindow().elements)
        if (spec.key.name == name)
            return spec;
    throw std::out_of_range(std::string(name));
}

TEST(InfotessaroLayout, SystemTimeNoticeKeepsItsThirtyBlanks)
{
    EXPECT_EQ(element("Label1").caption,
              "Diese Tessaro zeigt die Systemzeit des Rechnes an auf dem das Programm läuft!!" +
                  std::string(30, ' ') +
                  "Sollte die angezeigte Zeit nicht die aktuelle Zeit sein muss die Systemzeit "
                  "am Rechner eingestellt werden!");
}

TEST(InfotessaroLayout, DescriptionNamesFreewareEndDateAndWebAddress)
{
    const std::string_view text = element("lblDescription").caption;
    EXPECT_NE(text.find("Freeware"), std::string_view::npos) << text;
    EXPECT_NE(text.find("31.12.2099"), std::string_view::npos) << text;
    EXPECT_NE(text.find("tessaro.example.org"), std::string_view::npos) << text;
    EXPECT_EQ(text.find('&'), std::string_view::npos) << "labels show no access keys";
}

TEST(InfotessaroLayout, EveryElementFitsInsideWhatContainsIt)
{
    const WindowSpec &window = infotessaroWindow();
    for (const ElementSpec &spec : window.elements) {
        int width = window.clientWidth;
        int height = window.clientHeight;
        if (!spec.parent.empty()) {
            width = element(spec.parent).rect.width;
            height = element(spec.parent).rect.height;
        }
        EXPECT_GE(spec.rect.left, 0) << spec.key.name;
        EXPECT_GE(spec.rect.top, 0) << spec.key.name;
        EXPECT_LE(spec.rect.left + spec.rect.width, width) << spec.key.name;
        EXPECT_LE(spec.rect.top + spec.rect.height, height) << spec.key.name;
    }
}

TEST(InfotessaroLayout, KeyboardReachesOkFirstThenPictureThenSystemInfo)
{
    std::map<int, std::string_view> byTabIndex;
    for (const ElementSpec &spec : infotessaroWindow().elements)
        EXPECT_TRUE(byTabIndex.emplace(spec.tabIndex, spec.key.name).second)
            << "tab index " << spec.tabIndex << " twice";
    EXPECT_EQ(byTabIndex.at(0), "cmdOK");
    EXPECT_EQ(byTabIndex.at(2), "cmdSysInfo");
    const ElementSpec &ok = element("cmdOK");
    EXPECT_TRUE(ok.flags & flags::defaultButton);
    EXPECT_TRUE(ok.flags & flags::cancelButton);
    EXPECT_EQ(element("cmdSysInfo").caption, "&Systeminfo...");
}

} // namespace
} // namespace tessaro::testing
