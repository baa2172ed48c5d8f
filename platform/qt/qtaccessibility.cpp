// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtaccessibility.h"

#include "elementwidgets.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>

#include <QHash>

#include <optional>

namespace tessaro::qt
{
namespace
{

// Which element of which window's accessibility model a widget shows.
struct ModelElement {
    const AccessibleWindow *window = nullptr;
    std::size_t child = 0;
};

QHash<const QObject *, ModelElement> &modelElements()
{
    static QHash<const QObject *, ModelElement> elements;
    return elements;
}

QAccessible::Role qtRole(AccessibleRole role)
{
    switch (role) {
    case AccessibleRole::Frame:
        return QAccessible::Window;
    case AccessibleRole::Dialog:
        return QAccessible::Dialog;
    case AccessibleRole::CheckBox:
        return QAccessible::CheckBox;
    case AccessibleRole::PushButton:
        return QAccessible::Button;
    case AccessibleRole::Graphic:
        return QAccessible::Graphic;
    case AccessibleRole::Grouping:
        return QAccessible::Grouping;
    case AccessibleRole::StaticText:
        break;
    }
    return QAccessible::StaticText;
}

// A painted element (label, cell, web-address box, picture) as the model
// describes it.
class ElementAccessible final : public QAccessibleWidget
{
public:
    ElementAccessible(QWidget *widget, QAccessible::Role fallback)
        : QAccessibleWidget(widget, fallback)
    {
    }

    QAccessible::Role role() const override
    {
        const auto node = modelNode();
        return node ? qtRole(node->role) : QAccessibleWidget::role();
    }

    QString text(QAccessible::Text kind) const override
    {
        const auto node = modelNode();
        if (!node)
            return QAccessibleWidget::text(kind);
        switch (kind) {
        case QAccessible::Name:
            return QString::fromStdString(node->name);
        case QAccessible::Value:
            return QString::fromStdString(node->value);
        case QAccessible::Description:
            return QString::fromStdString(node->description);
        default:
            return QAccessibleWidget::text(kind);
        }
    }

private:
    [[nodiscard]] std::optional<AccessibleNode> modelNode() const
    {
        const auto found = modelElements().constFind(object());
        if (found == modelElements().constEnd())
            return std::nullopt;
        return found->window->child(found->child);
    }
};

// A top-level window: the main window a frame, the About dialog a dialog.
// The dialog has no description: its labels are read, once.
class FormAccessible final : public QAccessibleWidget
{
public:
    explicit FormAccessible(QWidget *form)
        : QAccessibleWidget(form, form->property(dialogFrameProperty).toBool()
                                      ? QAccessible::Dialog
                                      : QAccessible::Window)
    {
    }
};

QAccessibleInterface *tessaroAccessibleFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("tessaro::qt::LabelWidget") ||
        className == QLatin1String("tessaro::qt::CellWidget") ||
        className == QLatin1String("tessaro::qt::WebFrameWidget"))
        return new ElementAccessible(static_cast<QWidget *>(object), QAccessible::StaticText);
    if (className == QLatin1String("tessaro::qt::PictureWidget"))
        return new ElementAccessible(static_cast<QWidget *>(object), QAccessible::Graphic);
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

void attachAccessible(const AccessibleWindow &window, const std::vector<QWidget *> &widgets)
{
    for (std::size_t at = 0; at < widgets.size(); ++at)
        if (const auto child = window.childOf(at); child && widgets[at])
            modelElements().insert(widgets[at], {&window, *child});
}

void detachAccessible(const std::vector<QWidget *> &widgets)
{
    for (QWidget *widget : widgets)
        modelElements().remove(widget);
}

void notifyNameChanged(QWidget *widget, AccessibleEvent event)
{
    if (event != AccessibleEvent::NameChange || !QAccessible::isActive())
        return;
    QAccessibleEvent changed(widget, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
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
