// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility.h"

#include "elementwidgets.h"

#include <QAccessible>
#include <QAccessibleWidget>

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

class CellAccessible final : public QAccessibleWidget
{
public:
    explicit CellAccessible(CellWidget *cell) : QAccessibleWidget(cell, QAccessible::Indicator) {}
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
    return nullptr;
}

} // namespace

void installAccessibility()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(tessaroAccessibleFactory);
}

void notifyDescriptionChanged(QWidget *widget)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(widget, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

} // namespace tessaro::qt
