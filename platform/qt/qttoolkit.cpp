// SPDX-License-Identifier: GPL-3.0-or-later
#include "qttoolkit.h"

#include "convert.h"
#include "qtaccessibility.h"
#include "qtwindow.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <memory>

namespace tessaro::qt
{

QtToolkit::QtToolkit()
{
    installAccessibility();
}

QtToolkit::~QtToolkit()
{
    destroyAll();
}

Window &QtToolkit::load(const WindowDef &def, WindowEvents &events)
{
    return adopt(std::make_unique<QtWindow>(*this, def, events));
}

void QtToolkit::runLater(std::function<void()> task)
{
    QTimer::singleShot(0, &m_context, std::move(task));
}

void QtToolkit::endProgram()
{
    QCoreApplication::exit(0);
}

void QtToolkit::messageBox(std::string_view text, std::string_view title)
{
    QMessageBox box(QMessageBox::NoIcon, toQString(title), toQString(text), QMessageBox::Ok);
    box.exec();
}

QWidget *QtToolkit::widgetOf(Window &window)
{
    return static_cast<QtWindow &>(window).form();
}

QWidget *QtToolkit::elementWidget(Window &window, ElementKey key)
{
    return static_cast<QtWindow &>(window).widgetOf(key);
}

} // namespace tessaro::qt
