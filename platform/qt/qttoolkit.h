// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "modelwindow.h"
#include "toolkit.h"

#include <QObject>

class QWidget;

namespace tessaro::qt
{

class QtWindow;

// Builds real Qt widgets from window descriptions. Needs a QApplication.
class QtToolkit final : public Toolkit, private WindowHost
{
public:
    QtToolkit();
    ~QtToolkit() override;
    QtToolkit(const QtToolkit &) = delete;
    QtToolkit &operator=(const QtToolkit &) = delete;

    Window &load(const WindowDef &def, WindowEvents &events) override;
    void endProgram() override;
    void messageBox(std::string_view text, std::string_view title) override;

    // The top-level widget of a loaded window, for tests and the app.
    static QWidget *widgetOf(Window &window);
    // The widget of one element of a loaded window; nullptr for an unknown
    // key or an element without a widget (a timer).
    static QWidget *elementWidget(Window &window, ElementKey key);

private:
    friend class QtWindow;
    void runLater(std::function<void()> task) override;

    // Deferred work is bound to it, so none runs after the toolkit is gone.
    QObject m_context;
};

} // namespace tessaro::qt
