// SPDX-License-Identifier: GPL-3.0-or-later
// The launcher's message reaches the user through the toolkit's message box
// on every system, the Windows build included.
#include "system_sysinfo.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace tessaro;

namespace
{

struct MessageBoxes final : Toolkit {
    Window &load(const WindowDef &, WindowEvents &) override
    {
        throw std::logic_error("no windows here");
    }
    void endProgram() override {}
    void messageBox(std::string_view text, std::string_view title) override
    {
        shown.emplace_back(text);
        shown.emplace_back(title);
    }
    std::vector<std::string> shown;
};

} // namespace

TEST(SystemSysInfo, ShowsItsMessageInTheToolkitsMessageBox)
{
    MessageBoxes toolkit;
    SystemSysInfo system(toolkit);
    system.services().messages.show("Systeminformationen sind momentan nicht verfügbar", "Tessaro");
    EXPECT_EQ(toolkit.shown, (std::vector<std::string>{
                                 "Systeminformationen sind momentan nicht verfügbar", "Tessaro"}));
}
