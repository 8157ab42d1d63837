#include "core/ScreenRegistry.h"

#include <QHash>
#include <QSet>

namespace {
QHash<QString, QPointer<QWidget>>& instances()
{
    static QHash<QString, QPointer<QWidget>> map;
    return map;
}

// Every screen the registry made and has not released.
QSet<QObject*>& loaded()
{
    static QSet<QObject*> set;
    return set;
}

QWidget* made(QWidget* screen)
{
    loaded().insert(screen);
    QObject::connect(screen, &QObject::destroyed, [](QObject* gone) { loaded().remove(gone); });
    return screen;
}

bool isLoaded(const QPointer<QWidget>& screen)
{
    return screen && loaded().contains(screen.data());
}
} // namespace

QWidget* ScreenRegistry::shared(const QString& type, const std::function<QWidget*()>& create)
{
    QPointer<QWidget>& slot = instances()[type];
    if (!isLoaded(slot))
        slot = made(create());
    return slot;
}

QWidget* ScreenRegistry::existing(const QString& type)
{
    const QPointer<QWidget> screen = instances().value(type);
    return isLoaded(screen) ? screen.data() : nullptr;
}

QWidget* ScreenRegistry::own(QPointer<QWidget>& slot, const std::function<QWidget*()>& create)
{
    if (!isLoaded(slot))
        slot = made(create());
    return slot;
}

bool ScreenRegistry::release(QWidget* screen)
{
    return screen && loaded().remove(screen);
}
