// SPDX-License-Identifier: GPL-3.0-or-later
#include "program.h"

#include "infotessaro.h"
#include "ruzozura_window.h"
#include "system_sysinfo.h"

namespace tessaro
{

Program::Program(Toolkit &toolkit)
    : m_toolkit(toolkit), m_sysInfo(std::make_unique<SystemSysInfo>(toolkit)),
      m_ruzozura(toolkit, systemLocalClock(), [this] { openAbout(); })
{
    m_toolkit.load(ruzozuraWindow(), m_ruzozura).show();
}

Program::~Program() = default;

// The dialog object is created on the first click of "Info " and kept until
// the program ends; each opening after a close loads its window afresh.
void Program::openAbout()
{
    if (!m_about)
        m_about = std::make_unique<Infotessaro>(m_toolkit, m_sysInfo->services());
    m_about->open();
}

} // namespace tessaro
