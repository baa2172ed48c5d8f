// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sysinfo_services.h"
#include "toolkit.h"

#include <string>

namespace tessaro
{

// The About dialog. One object serves the whole run; its window is loaded
// when the dialog opens and unloaded when it closes.
class Infotessaro final : public WindowEvents
{
public:
    Infotessaro(Toolkit &toolkit, SysInfoServices &services);
    Infotessaro(const Infotessaro &) = delete;
    Infotessaro &operator=(const Infotessaro &) = delete;
    ~Infotessaro() override;

    // Loads the window if it is not loaded, then shows it. An open dialog
    // stays as it is: no second window, no second load.
    void open();
    [[nodiscard]] bool isLoaded() const { return m_window != nullptr; }

    void onLoad(Window &window) override;
    void onClick(Window &window, ElementKey key) override;
    void onUnloaded() override;

private:
    Toolkit &m_toolkit;
    SysInfoServices &m_services;
    Window *m_window = nullptr;
};

// The texts the dialog computes when it is loaded.
std::string aboutWindowTitle(); // "Info zu Tessaro"
std::string aboutVersionLine(); // "Version 2.0.8"

} // namespace tessaro
