// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "toolkit.h"

#include <memory>
#include <vector>

class QWidget;

namespace tessaro::qt {

class QtWindow;

// Builds real Qt widgets from window descriptions. Needs a QApplication.
class QtToolkit final : public Toolkit
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
    void release(QtWindow *window);

    std::vector<std::unique_ptr<QtWindow>> m_windows;
};

} // namespace tessaro::qt
