// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for the idle measurement: about the least a Qt Widgets clock
// can do. One QLabel whose text is rewritten with the current time every
// 100 ms; QLabel itself skips a text that did not change.

#include <QApplication>
#include <QLabel>
#include <QTime>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QLabel label;
    label.setWindowTitle(QStringLiteral("Referenzuhr"));
    label.setAlignment(Qt::AlignCenter);
    label.resize(200, 60);

    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &label, [&label] {
        label.setText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
    });
    timer.start(100);
    label.show();
    return QApplication::exec();
}
