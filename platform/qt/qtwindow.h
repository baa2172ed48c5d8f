// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "classiclook.h"
#include "modelwindow.h"
#include "qtaccessibility.h"

#include <vector>

class QCheckBox;
class QTimer;
class QWidget;

namespace tessaro::qt
{

class ElementView;
class FaceButton;
class FormWidget;
class LabelWidget;
class QtToolkit;
class WebFrameWidget;

// A loaded window: a widget for each element, created from the window model
// and told of each change that the model lets through.
class QtWindow final : public ModelWindow
{
public:
    QtWindow(QtToolkit &toolkit, const WindowDef &def, WindowEvents &events);
    ~QtWindow() override;
    QtWindow(const QtWindow &) = delete;
    QtWindow &operator=(const QtWindow &) = delete;

    // The top-level widget, and the widget of one element (none for an
    // unknown key or a timer).
    [[nodiscard]] QWidget *form() const;
    [[nodiscard]] QWidget *widgetOf(ElementKey key) const;

    [[nodiscard]] bool readerListening() const override;
    void setTitle(std::string_view title) override;
    void show() override;

protected:
    void showChange(std::size_t at, Change change) override;
    void showAccessibleDescription() override;
    void startTimer(std::size_t at, int intervalMs) override;
    void stopTimers() override;
    void closeNativeWindow() override;

private:
    void showState(ElementView &view, std::size_t at, Change change);
    void setUpForm();
    [[nodiscard]] QWidget *containerOf(std::size_t at) const;
    void createElement(std::size_t at);
    QWidget *createWidget(std::size_t at, const ElementDef &def, QWidget *parent);
    template <typename Widget>
    QWidget *withView(std::size_t at, const ElementDef &def, Widget *widget);
    static LabelWidget *createLabel(QWidget *parent, const ElementDef &def);
    static WebFrameWidget *createWebFrame(QWidget *parent, const ElementDef &def);
    FaceButton *createButton(std::size_t at, QWidget *parent, const ElementDef &def);
    QCheckBox *createCheckBox(std::size_t at, QWidget *parent);
    bool pressDialogButton(look::DialogKey key);
    void setUpTabOrder();

    FormWidget *m_form;
    std::vector<QWidget *> m_widgets; // by model position; none for a timer
    std::vector<ElementView *> m_views;
    std::vector<QTimer *> m_timers;
    AccessibleWindow m_accessible{model()};
    QWidget *m_firstFocus = nullptr;
};

} // namespace tessaro::qt
