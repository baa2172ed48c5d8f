// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtwindow.h"

#include "convert.h"
#include "elementwidgets.h"
#include "fonts.h"
#include "icon.h"
#include "qtaccessibility.h"
#include "qtpictures.h"
#include "qttoolkit.h"

#include <QAccessible>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace tessaro::qt
{

// The top-level widget of a window: fixed size, background colour, and the
// dialog keys (Enter presses the default button, Escape the cancel button).
class FormWidget final : public QWidget
{
public:
    FormWidget() = default;

    std::function<void()> onClose;
    // Presses the button a dialog key stands for, if there is one.
    std::function<bool(look::DialogKey)> onDialogKey;

protected:
    void closeEvent(QCloseEvent *event) override
    {
        event->accept();
        if (onClose)
            onClose();
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if ((enter || event->key() == Qt::Key_Escape) && onDialogKey &&
            onDialogKey(enter ? look::DialogKey::Enter : look::DialogKey::Escape))
            return;
        QWidget::keyPressEvent(event);
    }
};

namespace
{

Qt::Alignment alignmentOf(const ElementDef &def)
{
    switch (look::alignmentOf(def.flags)) {
    case look::Alignment::Right:
        return Qt::AlignRight;
    case look::Alignment::Centre:
        return Qt::AlignHCenter;
    case look::Alignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

QString objectNameOf(ElementKey key)
{
    const QString name = toQString(key.name);
    return key.index >= 0 ? name + QLatin1Char('_') + QString::number(key.index) : name;
}

int valueOf(Qt::CheckState state)
{
    switch (state) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

} // namespace

QtWindow::QtWindow(QtToolkit &toolkit, const WindowDef &def, WindowEvents &events)
    : ModelWindow(def, events, toolkit), m_form(new FormWidget), m_widgets(model().size(), nullptr),
      m_views(model().size(), nullptr)
{
    setUpForm();
    for (std::size_t at = 0; at < model().size(); ++at)
        createElement(at);
    setUpTabOrder();
    m_form->onClose = [this] { unload(); };
    m_form->onDialogKey = [this](look::DialogKey key) { return pressDialogButton(key); };
    attachAccessible(m_accessible, m_widgets);
}

QtWindow::~QtWindow()
{
    detachAccessible(m_widgets);
    m_form->onClose = nullptr;
    m_form->onDialogKey = nullptr;
    delete m_form;
}

QWidget *QtWindow::form() const
{
    return m_form;
}

QWidget *QtWindow::widgetOf(ElementKey key) const
{
    const auto at = model().find(key);
    return at ? m_widgets[*at] : nullptr;
}

bool QtWindow::readerListening() const
{
    return QAccessible::isActive();
}

void QtWindow::setTitle(std::string_view title)
{
    m_form->setWindowTitle(toQString(title));
}

void QtWindow::show()
{
    if (isUnloaded())
        return;
    const bool firstShow = !m_form->isVisible();
    m_form->show();
    m_form->raise();
    m_form->activateWindow();
    if (firstShow && m_firstFocus)
        m_firstFocus->setFocus(Qt::ActiveWindowFocusReason);
}

void QtWindow::showChange(std::size_t at, Change change)
{
    QWidget *widget = m_widgets[at];
    if (!widget)
        return;
    if (change == Change::Visible) {
        widget->setVisible(model().state(at).visible);
        notifyVisibleChanged(widget, model().state(at).visible);
    } else if (change == Change::AccessibleName) {
        // Painted elements read their names from the accessibility model,
        // which also tells whether a reader hears of the change (not while
        // hidden); controls keep Qt's own accessible objects.
        if (takesFocus(model().element(at).kind))
            widget->setAccessibleName(toQString(model().state(at).accessibleName));
        else
            notifyNameChanged(widget, m_accessible.eventFor(at, change));
    } else if (m_views[at])
        showState(*m_views[at], at, change);
    if (change == Change::Caption)
        notifyNameChanged(widget, m_accessible.eventFor(at, change));
}

void QtWindow::showAccessibleDescription()
{
    m_form->setAccessibleDescription(toQString(model().accessibleDescription()));
}

void QtWindow::startTimer(std::size_t at, int intervalMs)
{
    auto *timer = new QTimer(m_form);
    timer->setInterval(intervalMs);
    timer->setTimerType(Qt::CoarseTimer);
    QObject::connect(timer, &QTimer::timeout, m_form, [this, at] { timerFired(at); });
    timer->start();
    m_timers.push_back(timer);
}

void QtWindow::stopTimers()
{
    for (QTimer *timer : m_timers)
        timer->stop();
}

void QtWindow::closeNativeWindow()
{
    m_form->onClose = nullptr;
    m_form->close();
}

void QtWindow::showState(ElementView &view, std::size_t at, Change change)
{
    const ElementState &state = model().state(at);
    switch (change) {
    case Change::Caption: {
        // Linux has no "MS Sans Serif": its substitute runs wider.
        const look::FittedCaption fitted =
            look::captionForFace(model().window(), model().element(at), state.caption, true);
        view.showCaption(toQString(fitted.text), fitted.condensed);
        break;
    }
    case Change::BackColour:
        view.showBackColour(toQColor(state.back));
        break;
    case Change::Border:
        view.showBorder(state.border == 1);
        break;
    default:
        break;
    }
}

void QtWindow::setUpForm()
{
    const WindowDef &def = model().window();
    m_form->setObjectName(toQString(def.name));
    m_form->setWindowTitle(toQString(def.caption));
    m_form->setFixedSize(pixels(def.clientWidth), pixels(def.clientHeight));
    QPalette palette = m_form->palette();
    palette.setColor(QPalette::Window, toQColor(def.backColour));
    m_form->setPalette(palette);
    m_form->setAutoFillBackground(true);
    m_form->setFont(font(FontId::Standard));
    // A dialog frame is still a window of its own, without an owner: a
    // Qt::Dialog is made transient for the application's leader window,
    // which window managers may take as an owner that it must stay above,
    // and taskbars as a reason to leave it out.
    const Qt::WindowFlags buttons = def.dialogFrame
                                        ? Qt::WindowCloseButtonHint
                                        : Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
    m_form->setWindowFlags(Qt::Window | Qt::WindowTitleHint | buttons | Qt::WindowSystemMenuHint |
                           Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint);
    m_form->setProperty(dialogFrameProperty, def.dialogFrame);
    if (def.icon == IconId::LogicGate)
        m_form->setWindowIcon(tessaroIcon());
}

QWidget *QtWindow::containerOf(std::size_t at) const
{
    const auto container = model().containerOf(at);
    return container ? m_widgets[*container] : m_form;
}

// Elements are created in the model's order, bottom-most first, so each
// lies above those created before it.
void QtWindow::createElement(std::size_t at)
{
    const ElementDef &def = model().element(at);
    QWidget *widget = createWidget(at, def, containerOf(at));
    if (!widget)
        return; // a timer
    m_widgets[at] = widget;
    widget->setObjectName(objectNameOf(def.key));
    if (def.kind != ElementKind::Line)
        widget->setGeometry(toQRect(pixelRect(def.rect)));
    if (!def.toolTip.empty())
        widget->setToolTip(toQString(def.toolTip));
    if (!def.accessibleName.empty())
        widget->setAccessibleName(toQString(def.accessibleName));
    widget->setAttribute(Qt::WA_TransparentForMouseEvents, letsMouseThrough(def));
    if (m_views[at])
        for (const Change change : {Change::Caption, Change::BackColour, Change::Border})
            showState(*m_views[at], at, change);
    if (!model().state(at).visible)
        widget->hide();
}

// The one place that knows which widget stands for which kind.
QWidget *QtWindow::createWidget(std::size_t at, const ElementDef &def, QWidget *parent)
{
    switch (def.kind) {
    case ElementKind::Label:
        return withView(at, def, createLabel(parent, def));
    case ElementKind::CellFrame:
        return withView(at, def, new CellWidget(parent));
    case ElementKind::WebFrame:
        return withView(at, def, createWebFrame(parent, def));
    case ElementKind::Button:
    case ElementKind::PushButton:
        return withView(at, def, createButton(at, parent, def));
    case ElementKind::CheckBox:
        return createCheckBox(at, parent);
    case ElementKind::Line:
        return new LineWidget(parent, toQLine(pixelLine(def.rect)), def.lineStyle);
    case ElementKind::PictureBox:
        return new PictureWidget(parent, pictureImage(def.picture));
    case ElementKind::GroupFrame:
        return new GroupFrameWidget(parent);
    case ElementKind::Timer:
        break;
    }
    return nullptr;
}

template <typename Widget>
QWidget *QtWindow::withView(std::size_t at, const ElementDef &def, Widget *widget)
{
    widget->setFont(font(def.font));
    m_views[at] = widget;
    return widget;
}

LabelWidget *QtWindow::createLabel(QWidget *parent, const ElementDef &def)
{
    auto *label = new LabelWidget(parent, alignmentOf(def), (def.flags & flags::transparent) != 0);
    label->setForeColour(toQColor(def.foreColour));
    return label;
}

WebFrameWidget *QtWindow::createWebFrame(QWidget *parent, const ElementDef &def)
{
    auto *frame = new WebFrameWidget(parent);
    frame->setColours(toQColor(def.backColour), toQColor(def.foreColour));
    return frame;
}

FaceButton *QtWindow::createButton(std::size_t at, QWidget *parent, const ElementDef &def)
{
    auto *button = new FaceButton(parent);
    button->setTextColour(toQColor(def.foreColour));
    QObject::connect(button, &QAbstractButton::clicked, m_form, [this, at] { clicked(at); });
    return button;
}

QCheckBox *QtWindow::createCheckBox(std::size_t at, QWidget *parent)
{
    auto *box = new CheckBoxWidget(parent);
    box->setChecked(model().state(at).value == 1);
    box->setBackColour(toQColor(model().element(at).backColour));
    // However the mark changes (mouse, Space, an accessibility action),
    // the handler runs once for each change.
    QObject::connect(box, &QCheckBox::stateChanged, m_form,
                     [this, at](int state) { valueChanged(at, valueOf(Qt::CheckState(state))); });
    return box;
}

bool QtWindow::pressDialogButton(look::DialogKey key)
{
    std::optional<std::size_t> focused;
    const auto found = std::find(m_widgets.begin(), m_widgets.end(), m_form->focusWidget());
    if (found != m_widgets.end() && *found)
        focused = std::size_t(found - m_widgets.begin());
    const auto button = look::buttonForKey(model(), key, focused);
    if (!button)
        return false;
    static_cast<QAbstractButton *>(m_widgets[*button])->click();
    return true;
}

// Only the kinds that take the focus get it, in their tab order; the
// first of them has it when the window opens.
void QtWindow::setUpTabOrder()
{
    for (QWidget *widget : m_widgets)
        if (widget)
            widget->setFocusPolicy(Qt::NoFocus);
    QWidget *previous = nullptr;
    for (const std::size_t at : model().tabOrder()) {
        QWidget *widget = m_widgets[at];
        widget->setFocusPolicy(Qt::StrongFocus);
        if (previous)
            QWidget::setTabOrder(previous, widget);
        else
            m_firstFocus = widget;
        previous = widget;
    }
}

} // namespace tessaro::qt
