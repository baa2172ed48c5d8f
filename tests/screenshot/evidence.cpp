// SPDX-License-Identifier: GPL-3.0-or-later
#include "evidence.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace tessaro::screenshot
{

void reportFailedWait(const QString &what)
{
    const QString base = qEnvironmentVariable("TESSARO_SHOT_DIR", QDir::tempPath());
    QDir().mkpath(base);
    QTemporaryDir dir(base + u"/failed-wait-"_s +
                      QDateTime::currentDateTime().toString(u"HHmmss"_s) + u"-XXXXXX"_s);
    dir.setAutoRemove(false);
    qWarning("the wait for %s ran out; what was on the screen is kept in %s", qPrintable(what),
             qPrintable(dir.path()));
    QProcess evidence;
    evidence.setProcessChannelMode(QProcess::ForwardedChannels);
    evidence.start(QStringLiteral(TESSARO_SCREEN_EVIDENCE),
                   {dir.path(), QString::number(QCoreApplication::applicationPid())});
    if (!evidence.waitForFinished(60000))
        evidence.kill();
    evidence.waitForFinished();
}

} // namespace tessaro::screenshot
