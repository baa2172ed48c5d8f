// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ruzozura.h"
#include "toolkit.h"

#include <memory>

namespace tessaro
{

class Infotessaro;
class SystemSysInfo;

// The running program: the main window's handlers and the one About dialog,
// created on first use and kept until the program ends.
class Program
{
public:
    explicit Program(Toolkit &toolkit);
    ~Program();
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

private:
    void openAbout();

    Toolkit &m_toolkit;
    std::unique_ptr<SystemSysInfo> m_sysInfo;
    Ruzozura m_ruzozura;
    std::unique_ptr<Infotessaro> m_about;
};

} // namespace tessaro
