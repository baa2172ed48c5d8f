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

const std::vector<std::string> loadTexts{"title=Info zu Tessaro", "lblVersion=Version 2.0.8",
                                         "lblTitle=Tessaro"};

class InfotessaroDialog : public ::testing::Test
{
protected:
    FakeToolkit toolkit;
    FakeSysInfo sysInfo;
    Infotessaro dialog{toolkit, sysInfo.services};
};

TEST_F(InfotessaroDialog, OpeningLoadsOnceAndShows)
{
    dialog.open();
    dialog.open();

    ASSERT_EQ(toolkit.windows.size(), 1u);
    EXPECT_EQ(toolkit.windows[0]->def.name, "Infotessaro");
    EXPECT_EQ(toolkit.windows[0]->writes, loadTexts);
    EXPECT_EQ(toolkit.windows[0]->shows, 1);
    EXPECT_TRUE(dialog.isLoaded());
}

// OK, Enter and Escape all click cmdOK; the title bar's close box unloads
// the window directly. Either way the next opening loads afresh.
TEST_F(InfotessaroDialog, ClosedDialogLoadsAfreshOnTheNextOpening)
{
    dialog.open();
    toolkit.click("cmdOK");
    EXPECT_FALSE(dialog.isLoaded());
    dialog.open();
    toolkit.windows.back()->unload();
    EXPECT_EQ(toolkit.loadedWindows(), 0);
    dialog.open();

    ASSERT_EQ(toolkit.windows.size(), 3u);
    EXPECT_EQ(toolkit.loadedWindows(), 1);
    EXPECT_EQ(toolkit.windows[2]->writes, loadTexts);
}

TEST_F(InfotessaroDialog, SystemInfoRunsTheLauncherAndTheDialogStays)
{
    dialog.open();
    toolkit.click("cmdSysInfo");
    toolkit.click("lblTitle");

    EXPECT_EQ(
        sysInfo.messages.shown,
        std::vector<std::string>{"Tessaro: Systeminformationen sind momentan nicht verfügbar"});
    EXPECT_EQ(toolkit.loadedWindows(), 1);
}

TEST(InfotessaroLifetime, ADialogThatGoesAwayTakesItsWindowWithIt)
{
    FakeToolkit toolkit;
    FakeSysInfo sysInfo;
    Infotessaro(toolkit, sysInfo.services).open();
    EXPECT_EQ(toolkit.loadedWindows(), 0);
}

TEST(InfotessaroLayout, SystemTimeNoticeKeepsItsThirtyBlanks)
{
    const auto &elements = infotessaroWindow().elements;
    const auto label = std::find_if(elements.begin(), elements.end(),
                                    [](const ElementDef &e) { return e.key.name == "Label1"; });
    ASSERT_NE(label, elements.end());
    EXPECT_EQ(label->caption,
              "Diese Tessaro zeigt die Systemzeit des Rechnes an auf dem das Programm läuft!!" +
                  std::string(30, ' ') +
                  "Sollte die angezeigte Zeit nicht die aktuelle Zeit sein muss die Systemzeit "
                  "am Rechner eingestellt werden!");
}

TEST(InfotessaroLayout, EveryElementFitsInsideWhatContainsIt)
{
    const WindowDef &window = infotessaroWindow();
    for (const ElementDef &def : window.elements) {
        TwipRect outer{0, 0, window.clientWidth, window.clientHeight};
        for (const ElementDef &container : window.elements)
            if (container.key.name == def.parent)
                outer = {0, 0, container.rect.width, container.rect.height};
        EXPECT_GE(std::min(def.rect.left, def.rect.top), 0) << def.key.name;
        EXPECT_LE(def.rect.left + def.rect.width, outer.width) << def.key.name;
        EXPECT_LE(def.rect.top + def.rect.height, outer.height) << def.key.name;
    }
}

} // namespace
} // namespace tessaro::testing
