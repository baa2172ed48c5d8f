// SPDX-License-Identifier: GPL-3.0-or-later
#include "qttoolkit.h"

#include "accessibility.h"
#include "convert.h"
#include "elementwidgets.h"
#include "fonts.h"
#include "icon.h"
#include "pictures.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>

namespace tessaro::qt
{
namespace
{

// The top-level widget of a window: fixed size, background colour, and the
// dialog keys (Enter presses the default button, Escape the cancel button).
class FormWidget final : public QWidget
{
public:
    FormWidget() = default;

    std::function<void()> onClose;
    FaceButton *defaultButton = nullptr;
    FaceButton *cancelButton = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override
    {
        event->accept();
        if (onClose)
            onClose();
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Escape && cancelButton) {
            cancelButton->click();
            return;
        }
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
            if (auto *focused = qobject_cast<FaceButton *>(focusWidget())) {
                focused->click();
                return;
            }
            if (defaultButton) {
                defaultButton->click();
                return;
            }
        }
        QWidget::keyPressEvent(event);
    }
};

Qt::Alignment alignmentOf(const ElementDef &def)
{
    if (def.flags & flags::alignRight)
        return Qt::AlignRight;
    if (def.flags & flags::alignCentre)
        return Qt::AlignHCenter;
    return Qt::AlignLeft;
}

// FNV-1a over the name, then the index: names are a few letters long.
struct KeyHash {
    std::size_t operator()(const ElementKey &key) const noexcept
    {
        constexpr std::uint64_t prime = 1099511628211u;
        std::uint64_t hash = 14695981039346656037u;
        for (const char c : key.name)
            hash = (hash ^ static_cast<unsigned char>(c)) * prime;
        hash = (hash ^ static_cast<std::uint64_t>(key.index + 1)) * prime;
        return static_cast<std::size_t>(hash);
    }
};

std::string describe(ElementKey key)
{
    std::string text(key.name);
    if (key.index >= 0)
        text += '(' + std::to_string(key.index) + ')';
    return text;
}

} // namespace

// A loaded window: its widgets, and the element interface over them. Writes
// that change nothing are dropped here, so a tick that rewrites every element
// repaints only what really changed.
class QtWindow final : public Window
{
public:
    struct Element {
        const ElementDef *def = nullptr;
        QWidget *widget = nullptr;
        QTimer *timer = nullptr;
        std::string caption;
        std::string accessibleName;
        Colour back = 0;
        bool visible = true;
        int border = 0;
    };

    QtWindow(QtToolkit &toolkit, const WindowDef &def, WindowEvents &events)
        : m_toolkit(toolkit), m_def(def), m_events(events), m_form(new FormWidget)
    {
        setUpForm();
        createElements();
        setUpTabOrder();
        m_form->onClose = [this] { unload(); };
    }

    ~QtWindow() override
    {
        m_unloaded = true;
        m_form->onClose = nullptr;
        delete m_form;
    }

    QtWindow(const QtWindow &) = delete;
    QtWindow &operator=(const QtWindow &) = delete;

    void runLoad()
    {
        m_events.onLoad(*this);
        for (const Element &element : m_elements)
            if (element.timer)
                element.timer->start();
    }

    FormWidget *form() const { return m_form; }

    // A hash lookup: the tick addresses over a hundred elements by name ten
    // times a second, and a binary search over the names costs about twice
    // as much.
    Element *lookup(ElementKey key)
    {
        const auto it = m_index.find(key);
        return it == m_index.end() ? nullptr : &m_elements[it->second];
    }

    // --- Window ----------------------------------------------------------

    void setTitle(std::string_view title) override { m_form->setWindowTitle(toQString(title)); }

    void show() override
    {
        if (m_unloaded)
            return;
        const bool firstShow = !m_form->isVisible();
        m_form->show();
        m_form->raise();
        m_form->activateWindow();
        if (firstShow && m_firstFocus)
            m_firstFocus->setFocus(Qt::ActiveWindowFocusReason);
    }

    void unload() override
    {
        if (m_unloaded)
            return;
        m_unloaded = true;
        for (const Element &element : m_elements)
            if (element.timer)
                element.timer->stop();
        m_form->onClose = nullptr;
        m_form->close();
        m_events.onUnloaded();
        m_toolkit.release(this);
    }

    // --- Elements --------------------------------------------------------

    void setCaption(ElementKey key, std::string_view text) override
    {
        Element &e = get(key);
        if (e.caption == text)
            return;
        e.caption = text;
        const QString caption = toQString(text);
        switch (e.def->kind) {
        case ElementKind::Label:
            static_cast<LabelWidget *>(e.widget)->setCaption(caption);
            notifyDescriptionChanged(e.widget);
            break;
        case ElementKind::WebFrame:
            static_cast<WebFrameWidget *>(e.widget)->setCaption(caption);
            break;
        case ElementKind::Button:
        case ElementKind::PushButton:
            static_cast<FaceButton *>(e.widget)->setText(caption);
            break;
        default:
            break;
        }
    }

    void setBackColor(ElementKey key, Colour colour) override
    {
        Element &e = get(key);
        if (e.back == colour)
            return;
        e.back = colour;
        applyBackColour(e);
    }

    void setVisible(ElementKey key, bool visible) override
    {
        Element &e = get(key);
        if (e.visible == visible)
            return;
        e.visible = visible;
        if (e.widget)
            e.widget->setVisible(visible);
    }

    void setBorderStyle(ElementKey key, int style) override
    {
        Element &e = get(key);
        if (e.border == style)
            return;
        e.border = style;
        if (e.def->kind == ElementKind::Label)
            static_cast<LabelWidget *>(e.widget)->setBorder(style == 1);
    }

    int value(ElementKey key) const override
    {
        const Element &e = const_cast<QtWindow *>(this)->get(key);
        if (e.def->kind != ElementKind::CheckBox)
            return 0;
        switch (static_cast<QCheckBox *>(e.widget)->checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        default:
            return 0;
        }
    }

    void setAccessibleName(ElementKey key, std::string_view name) override
    {
        Element &e = get(key);
        if (e.accessibleName == name || !e.widget)
            return;
        e.accessibleName = name;
        e.widget->setAccessibleName(toQString(name));
    }

private:
    Element &get(ElementKey key)
    {
        Element *e = lookup(key);
        if (!e)
            qFatal("Tessaro: window %s has no element %s", std::string(m_def.name).c_str(),
                   describe(key).c_str());
        return *e;
    }

    void setUpForm()
    {
        m_form->setObjectName(toQString(m_def.name));
        m_form->setWindowTitle(toQString(m_def.caption));
        m_form->setFixedSize(pixels(m_def.clientWidth), pixels(m_def.clientHeight));
        QPalette palette = m_form->palette();
        palette.setColor(QPalette::Window, toQColor(m_def.backColour));
        m_form->setPalette(palette);
        m_form->setAutoFillBackground(true);
        m_form->setFont(font(FontId::Standard));
        // A dialog frame is still a window of its own, without an owner: a
        // Qt::Dialog is made transient for the application's leader window,
        // which window managers may take as an owner that it must stay above,
        // and taskbars as a reason to leave it out.
        const Qt::WindowFlags buttons =
            m_def.dialogFrame ? Qt::WindowCloseButtonHint
                              : Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
        m_form->setWindowFlags(Qt::Window | Qt::WindowTitleHint | buttons |
                               Qt::WindowSystemMenuHint | Qt::CustomizeWindowHint |
                               Qt::MSWindowsFixedSizeDialogHint);
        if (m_def.icon == IconId::LogicGate)
            m_form->setWindowIcon(tessaroIcon());
    }

    // Widgets are created bottom-most first, so later ones lie above; child
    // windows carry the lowest ranks and so end up above every label and line.
    void createElements()
    {
        std::vector<const ElementDef *> order;
        for (const ElementDef &def : m_def.elements)
            order.push_back(&def);
        std::stable_sort(order.begin(), order.end(), [](const auto *a, const auto *b) {
            const bool aContained = !a->parent.empty();
            const bool bContained = !b->parent.empty();
            if (aContained != bContained)
                return bContained; // containers before what they contain
            return a->stackRank > b->stackRank;
        });
        m_elements.reserve(order.size());
        for (const ElementDef *def : order)
            m_elements.push_back(createElement(*def));
        m_index.reserve(m_elements.size());
        for (std::size_t i = 0; i < m_elements.size(); ++i)
            m_index.emplace(m_elements[i].def->key, i);
    }

    QWidget *parentFor(const ElementDef &def)
    {
        if (def.parent.empty())
            return m_form;
        for (const Element &e : m_elements)
            if (e.def->key.name == def.parent && e.widget)
                return e.widget;
        qFatal("Tessaro: element %s is inside %s, which does not exist", describe(def.key).c_str(),
               std::string(def.parent).c_str());
    }

    Element createElement(const ElementDef &def)
    {
        Element e;
        e.def = &def;
        e.caption = def.caption;
        e.back = def.backColour;
        e.visible = !(def.flags & flags::hidden);
        e.border = (def.flags & flags::border) ? 1 : 0;
        e.accessibleName = def.accessibleName;
        QWidget *parent = parentFor(def);

        switch (def.kind) {
        case ElementKind::Timer:
            e.timer = new QTimer(m_form);
            e.timer->setInterval(def.style);
            e.timer->setTimerType(Qt::CoarseTimer);
            QObject::connect(e.timer, &QTimer::timeout, m_form,
                             [this, key = def.key] { m_events.onTimer(*this, key); });
            return e;
        case ElementKind::Line:
            e.widget = new LineWidget(parent, pixelLine(def.rect), def.style);
            break;
        case ElementKind::Label:
            e.widget = createLabel(parent, def);
            break;
        case ElementKind::CellFrame: {
            auto *cell = new CellWidget(parent);
            cell->setBackColour(toQColor(def.backColour));
            cell->setAttribute(Qt::WA_TransparentForMouseEvents, def.toolTip.empty());
            e.widget = cell;
            break;
        }
        case ElementKind::WebFrame: {
            auto *frame = new WebFrameWidget(parent);
            frame->setColours(toQColor(def.backColour), toQColor(def.foreColour));
            frame->setCaption(toQString(def.caption));
            e.widget = frame;
            break;
        }
        case ElementKind::CheckBox:
            e.widget = createCheckBox(parent, def);
            break;
        case ElementKind::Button:
        case ElementKind::PushButton:
            e.widget = createButton(parent, def);
            break;
        case ElementKind::PictureBox:
            e.widget = new PictureWidget(parent, picture(def.style));
            break;
        case ElementKind::GroupFrame:
            e.widget = new GroupFrameWidget(parent);
            break;
        }

        QWidget *w = e.widget;
        w->setObjectName(def.key.index >= 0 ? toQString(def.key.name) + QLatin1Char('_') +
                                                  QString::number(def.key.index)
                                            : toQString(def.key.name));
        if (def.kind != ElementKind::Line)
            w->setGeometry(pixelRect(def.rect));
        if (def.kind != ElementKind::CheckBox && def.kind != ElementKind::Button &&
            def.kind != ElementKind::PushButton)
            w->setFont(elementFont(def));
        if (!def.toolTip.empty())
            w->setToolTip(toQString(def.toolTip));
        if (!def.accessibleName.empty())
            w->setAccessibleName(toQString(def.accessibleName));
        if (!e.visible)
            w->hide();
        return e;
    }

    QWidget *createLabel(QWidget *parent, const ElementDef &def)
    {
        auto *label =
            new LabelWidget(parent, alignmentOf(def), (def.flags & flags::transparent) != 0);
        label->setCaption(toQString(def.caption));
        label->setBackColour(toQColor(def.backColour));
        label->setForeColour(toQColor(def.foreColour));
        label->setBorder((def.flags & flags::border) != 0);
        // Labels without a tooltip let the mouse through to what lies beneath.
        label->setAttribute(Qt::WA_TransparentForMouseEvents, def.toolTip.empty());
        return label;
    }

    QWidget *createCheckBox(QWidget *parent, const ElementDef &def)
    {
        auto *box = new QCheckBox(parent);
        box->setChecked((def.flags & flags::checked) != 0);
        QPalette palette = box->palette();
        palette.setColor(QPalette::Window, toQColor(def.backColour));
        box->setPalette(palette);
        box->setAutoFillBackground(true);
        QObject::connect(box, &QCheckBox::clicked, m_form,
                         [this, key = def.key] { m_events.onClick(*this, key); });
        return box;
    }

    QWidget *createButton(QWidget *parent, const ElementDef &def)
    {
        auto *button = new FaceButton(parent);
        button->setFont(font(def.font));
        button->setFaceColour(toQColor(def.backColour));
        button->setTextColour(toQColor(def.foreColour));
        button->setText(toQString(def.caption));
        if (def.flags & flags::defaultButton)
            m_form->defaultButton = button;
        if (def.flags & flags::cancelButton)
            m_form->cancelButton = button;
        QObject::connect(button, &QAbstractButton::clicked, m_form,
                         [this, key = def.key] { m_events.onClick(*this, key); });
        return button;
    }

    void applyBackColour(Element &e)
    {
        const QColor colour = toQColor(e.back);
        switch (e.def->kind) {
        case ElementKind::Label:
            static_cast<LabelWidget *>(e.widget)->setBackColour(colour);
            break;
        case ElementKind::CellFrame:
            static_cast<CellWidget *>(e.widget)->setBackColour(colour);
            break;
        case ElementKind::Button:
        case ElementKind::PushButton:
            static_cast<FaceButton *>(e.widget)->setFaceColour(colour);
            break;
        default:
            break;
        }
    }

    // Only buttons, check boxes and picture boxes take the focus, in their
    // tab order; the first of them has it when the window opens.
    void setUpTabOrder()
    {
        std::vector<const Element *> focusable;
        for (const Element &e : m_elements) {
            if (!e.widget)
                continue;
            if (e.def->tabIndex >= 0 &&
                (e.def->kind == ElementKind::Button || e.def->kind == ElementKind::PushButton ||
                 e.def->kind == ElementKind::CheckBox || e.def->kind == ElementKind::PictureBox)) {
                e.widget->setFocusPolicy(Qt::StrongFocus);
                focusable.push_back(&e);
            } else {
                e.widget->setFocusPolicy(Qt::NoFocus);
            }
        }
        std::sort(focusable.begin(), focusable.end(), [](const Element *a, const Element *b) {
            return a->def->tabIndex < b->def->tabIndex;
        });
        for (std::size_t i = 1; i < focusable.size(); ++i)
            QWidget::setTabOrder(focusable[i - 1]->widget, focusable[i]->widget);
        m_firstFocus = focusable.empty() ? nullptr : focusable.front()->widget;
    }

    QtToolkit &m_toolkit;
    const WindowDef &m_def;
    WindowEvents &m_events;
    FormWidget *m_form;
    std::vector<Element> m_elements;
    // Keys view the names in the window description, which outlives the window.
    std::unordered_map<ElementKey, std::size_t, KeyHash> m_index;
    QWidget *m_firstFocus = nullptr;
    bool m_unloaded = false;
};

// --- QtToolkit -------------------------------------------------------------

QtToolkit::QtToolkit()
{
    installAccessibility();
}

QtToolkit::~QtToolkit() = default;

Window &QtToolkit::load(const WindowDef &def, WindowEvents &events)
{
    m_windows.push_back(std::make_unique<QtWindow>(*this, def, events));
    QtWindow &window = *m_windows.back();
    window.runLoad();
    return window;
}

void QtToolkit::release(QtWindow *window)
{
    // The window may be unloaded from inside one of its own click handlers;
    // it is destroyed once that handler has returned.
    QTimer::singleShot(0, qApp, [this, window] {
        std::erase_if(m_windows, [window](const auto &w) { return w.get() == window; });
    });
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
    auto *element = static_cast<QtWindow &>(window).lookup(key);
    return element ? element->widget : nullptr;
}

} // namespace tessaro::qt
