// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

namespace tessaro::reliability
{

// The environment that makes libfaketime's clock stand in for the wall
// clock of the started program; Qt's timers keep the real monotonic clock.
QStringList fakedWallClock(const QStringList &settings);

// The resident memory of a process in KiB, from /proc/PID/status.
std::optional<qint64> residentKiB(qint64 pid);

// The state letter of a process from /proc/PID/stat ('R', 'S', 'Z', ...),
// or nothing once it is gone entirely.
std::optional<char> processState(qint64 pid);
// Its parent's process id, or nothing once it is gone.
std::optional<qint64> parentOf(qint64 pid);

// Writes a file so that a reader sees either the old or the new content.
bool replaceFile(const QString &path, const QByteArray &content);

} // namespace tessaro::reliability
