// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility.h"

#include "elementwidgets.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>

#include <algorithm>

namespace tessaro::qt
{
namespace
{

class LabelAccessible final : public QAccessibleWidget
{
public:
    explicit LabelAccessible(LabelWidget *label) : QAccessibleWidget(label, QAccessible::StaticText)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        const auto *label = static_cast<const LabelWidget *>(widget());
        switch (kind) {
        case QAccessible::Name:
            return label->accessibleName().isEmpty() ? label->caption().simplified()
                                                     : label->accessibleName();
        case QAccessible::Description:
        case QAccessible::Value:
            return label->caption().simplified();
        default:
            return QAccessibleWidget::text(kind);
        }
    }
};

// A date cell reads like a time cell: a label named after its weight and
// whether it is lit.
class CellAccessible final : public QAccessibleWidget
{
public:
    explicit CellAccessible(CellWidget *cell) : QAccessibleWidget(cell, QAccessible::StaticText) {}
};

// The web-address box, named by the address it shows.
class WebFrameAccessible final : public QAccessibleWidget
{
public:
    explicit WebFrameAccessible(WebFrameWidget *frame)
        : QAccessibleWidget(frame, QAccessible::StaticText)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        const auto *frame = static_cast<const WebFrameWidget *>(widget());
        if (kind == QAccessible::Name && frame->accessibleName().isEmpty())
            return frame->caption();
        return QAccessibleWidget::text(kind);
    }
};

// The texts of a window's visible labels in reading order, top to bottom,
// then left to right, each ending as a sentence.
QString readingOrderText(QWidget *window)
{
    QList<LabelWidget *> labels = window->findChildren<LabelWidget *>();
    labels.removeIf([window](LabelWidget *label) {
        return !label->isVisibleTo(window) || label->caption().trimmed().isEmpty();
    });
    const auto place = [window](const QWidget *w) {
        const QPoint at = w->mapTo(window, QPoint(0, 0));
        return std::pair(at.y(), at.x());
    };
    std::stable_sort(labels.begin(), labels.end(), [&](const LabelWidget *a, const LabelWidget *b) {
        return place(a) < place(b);
    });
    QStringList sentences;
    for (const LabelWidget *label : labels) {
        QString text = label->caption().simplified();
        if (!text.endsWith(u'.') && !text.endsWith(u'!') && !text.endsWith(u'?'))
            text += u'.';
        sentences << text;
    }
    return sentences.join(u' ');
}

// A top-level window: the main window a frame, the About dialog a dialog
// whose description is its text, which a screen reader reads on opening.
class FormAccessible final : public QAccessibleWidget
{
public:
    explicit FormAccessible(QWidget *form)
        : QAccessibleWidget(form, form->property(dialogFrameProperty).toBool()
                                      ? QAccessible::Dialog
                                      : QAccessible::Window)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Description && role() == QAccessible::Dialog &&
            widget()->accessibleDescription().isEmpty())
            return readingOrderText(widget());
        return QAccessibleWidget::text(kind);
    }
};

// A picture that shows something and does nothing.
class PictureAccessible final : public QAccessibleWidget
{
public:
    explicit PictureAccessible(PictureWidget *picture)
        : QAccessibleWidget(picture, QAccessible::Graphic)
    {
    }
};

QAccessibleInterface *tessaroAccessibleFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("tessaro::qt::LabelWidget"))
        return new LabelAccessible(static_cast<LabelWidget *>(object));
    if (className == QLatin1String("tessaro::qt::CellWidget"))
        return new CellAccessible(static_cast<CellWidget *>(object));
    if (className == QLatin1String("tessaro::qt::PictureWidget"))
        return new PictureAccessible(static_cast<PictureWidget *>(object));
    if (className == QLatin1String("tessaro::qt::WebFrameWidget"))
        return new WebFrameAccessible(static_cast<WebFrameWidget *>(object));
    // The windows' own top-level widget is a plain QWidget.
    if (className == QLatin1String("QWidget") && object->isWidgetType() &&
        static_cast<QWidget *>(object)->isWindow())
        return new FormAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

// An accessible object on the accessibility bus: the connection's name and
// the object's path.
struct BusObject {
    QString service;
    QDBusObjectPath path;
};

QDBusArgument &operator<<(QDBusArgument &argument, const BusObject &object)
{
    argument.beginStructure();
    argument << object.service << object.path;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, BusObject &object)
{
    argument.beginStructure();
    argument >> object.service >> object.path;
    argument.endStructure();
    return argument;
}

} // namespace
} // namespace tessaro::qt

Q_DECLARE_METATYPE(tessaro::qt::BusObject)

namespace tessaro::qt
{

void installAccessibility()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(tessaroAccessibleFactory);
    qDBusRegisterMetaType<BusObject>();
}

void notifyDescriptionChanged(QWidget *widget)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(widget, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

// Qt reports a widget shown or hidden as a change of the state "showing"
// alone. A screen reader that remembers an element as not "visible" since
// it was created hidden then leaves it out of its review of the window for
// good. The change of "visible" is sent on the connection that Qt's bridge
// opened to the accessibility bus, in the form the bridge uses for its own
// state changes, so it comes from the same application and object.
void notifyVisibleChanged(QWidget *widget, bool visible)
{
    if (!QAccessible::isActive())
        return;
    QDBusConnection bus(QStringLiteral("a11y"));
    if (!bus.isConnected())
        return;
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    if (!accessible)
        return;
    const QString path =
        QStringLiteral("/org/a11y/atspi/accessible/%1").arg(QAccessible::uniqueId(accessible));
    QDBusMessage signal = QDBusMessage::createSignal(
        path, QStringLiteral("org.a11y.atspi.Event.Object"), QStringLiteral("StateChanged"));
    const BusObject source{bus.baseService(), QDBusObjectPath(path)};
    const BusObject application{bus.baseService(),
                                QDBusObjectPath(QStringLiteral("/org/a11y/atspi/accessible/root"))};
    signal << QStringLiteral("visible") << int(visible) << 0
           << QVariant::fromValue(QDBusVariant(QVariant::fromValue(source)))
           << QVariant::fromValue(application);
    bus.send(signal);
}

} // namespace tessaro::qt
