// SPDX-License-Identifier: GPL-3.0-or-later
#include "clockprocess.h"

#include <QFile>
#include <QSaveFile>

namespace tessaro::reliability
{
namespace
{

QByteArray procFile(qint64 pid, const char *name)
{
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1StringView(name)));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// The fields of /proc/PID/stat after the command name, which may itself hold
// blanks and parentheses.
QList<QByteArray> statFields(qint64 pid)
{
    const QByteArray stat = procFile(pid, "stat");
    const qsizetype end = stat.lastIndexOf(')');
    if (end < 0)
        return {};
    return stat.mid(end + 2).split(' ');
}

} // namespace

QStringList fakedWallClock(const QStringList &settings)
{
    QStringList environment{
        QStringLiteral("LD_PRELOAD=") + qEnvironmentVariable("TESSARO_LIBFAKETIME"),
        QStringLiteral("FAKETIME_DONT_FAKE_MONOTONIC=1"),
    };
    return environment + settings;
}

std::optional<qint64> residentKiB(qint64 pid)
{
    for (const QByteArray &line : procFile(pid, "status").split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return std::nullopt;
}

std::optional<char> processState(qint64 pid)
{
    const QList<QByteArray> fields = statFields(pid);
    if (fields.isEmpty() || fields.first().isEmpty())
        return std::nullopt;
    return fields.first().at(0);
}

std::optional<qint64> parentOf(qint64 pid)
{
    const QList<QByteArray> fields = statFields(pid);
    if (fields.size() < 2)
        return std::nullopt;
    return fields.at(1).toLongLong();
}

bool replaceFile(const QString &path, const QByteArray &content)
{
    // QSaveFile writes a temporary file and renames it over the old one.
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() &&
           file.commit();
}

} // namespace tessaro::reliability
