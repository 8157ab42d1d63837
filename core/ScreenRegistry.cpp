#include "core/ScreenRegistry.h"

#include <QHash>

namespace {
QHash<QString, QPointer<QWidget>>& instances()
{
    static QHash<QString, QPointer<QWidget>> map;
    return map;
}
} // namespace

QWidget* ScreenRegistry::shared(const QString& type, const std::function<QWidget*()>& create)
{
    QPointer<QWidget>& slot = instances()[type];
    if (!slot)
        slot = create();
    return slot;
}

QWidget* ScreenRegistry::existing(const QString& type)
{
    return instances().value(type);
}
