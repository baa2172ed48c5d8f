// SPDX-License-Identifier: GPL-3.0-or-later
#include "infotessaro.h"

#include "infotessaro_window.h"
#include "sysinfo.h"
#include "tessaro_version.h"

namespace tessaro
{

std::string aboutWindowTitle()
{
    return "Info zu " + std::string(app::title);
}

std::string aboutVersionLine()
{
    return "Version " + std::to_string(app::versionMajor) + "." +
           std::to_string(app::versionMinor) + "." + std::to_string(app::versionRevision);
}

Infotessaro::Infotessaro(Toolkit &toolkit, SysInfoServices &services)
    : m_toolkit(toolkit), m_services(services)
{
}

Infotessaro::~Infotessaro()
{
    // The program may end with the dialog open; its window then goes with
    // the toolkit and must not call back into this object.
    if (m_window != nullptr) {
        Window *window = m_window;
        m_window = nullptr;
        window->unload();
    }
}

void Infotessaro::open()
{
    if (m_window != nullptr) {
        return;
    }
    m_window = &m_toolkit.load(infotessaroWindow(), *this);
    m_window->show();
}

void Infotessaro::onLoad(Window &window)
{
    window.setTitle(aboutWindowTitle());
    window.setCaption(infotessaro::lblVersion, aboutVersionLine());
    window.setCaption(infotessaro::lblTitle, app::title);
}

void Infotessaro::onClick(Window &window, ElementKey key)
{
    if (key == infotessaro::cmdOK) {
        window.unload();
    } else if (key == infotessaro::cmdSysInfo) {
        StartSysInfo(m_services);
    }
}

void Infotessaro::onUnloaded()
{
    m_window = nullptr;
}

} // namespace tessaro
