// SPDX-License-Identifier: GPL-3.0-or-later
#include "probebuild.h"

#include "infotessaro_window.h"
#include "ruzozura_keys.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace tessaro::guitest
{

ProbeBuild::ProbeBuild()
{
    m_reports.setAutoRemove(true);
}

bool ProbeBuild::start()
{
    const QString log = u":log_path="_s + m_reports.path();
    // The probe inherits the environment and stays 4 s.
    return m_clock.start({u"TESSARO_PROBE_LINGER=4"_s,
                          u"ASAN_OPTIONS=detect_leaks=1:abort_on_error=0"_s + log + u"/asan"_s,
                          u"UBSAN_OPTIONS=print_stacktrace=1"_s + log + u"/ubsan"_s,
                          u"LSAN_OPTIONS=print_suppressions=0:suppressions="_s +
                              qEnvironmentVariable("TESSARO_LSAN_SUPPRESSIONS")},
                         u"Europe/Berlin"_s, qEnvironmentVariable("TESSARO_PROBE_BUILD"));
}

bool ProbeBuild::openDialog()
{
    if (!m_clock.click(ruzozura::Command5) ||
        !awaitTrue([] { return visibleWindows(dialogTitle).size() == 1; }, patienceMs))
        return false;
    m_dialog = visibleWindows(dialogTitle).value(0);
    return moveWindow(m_dialog, {700, 100});
}

bool ProbeBuild::clickInDialog(ElementKey button) const
{
    for (const ElementDef &def : infotessaroWindow().elements)
        if (def.key == button)
            return RunningClock::click(m_dialog, screenshot::pixelRect(def.rect).center());
    return false;
}

qint64 ProbeBuild::startProbe()
{
    QFile marker(m_marker);
    marker.remove();
    if (clickInDialog(infotessaro::cmdSysInfo) &&
        awaitTrue([&] { return marker.exists(); }, patienceMs))
        marker.open(QIODevice::ReadOnly);
    const qint64 pid = marker.readLine().split(' ').value(0).toLongLong();
    return marker.remove() && pid != m_clock.pid() ? pid : 0;
}

QStringList ProbeBuild::reports()
{
    const QStringList found = QDir(m_reports.path()).entryList(QDir::Files);
    m_reports.setAutoRemove(found.isEmpty());
    QStringList paths;
    for (const QString &name : found)
        paths << m_reports.path() + u'/' + name;
    return paths;
}

bool processGone(qint64 pid)
{
    return !QFile::exists(u"/proc/%1"_s.arg(pid));
}

} // namespace tessaro::guitest
