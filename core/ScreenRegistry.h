#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <typeinfo>

// The screens the action dispatch makes. Each screen type has at most one shared instance per
// process, created on first use and reused while it is loaded; a screen that is unloaded (closed)
// is released here at once, so the next use creates a fresh one even before the old one is
// deleted. Action dispatch and screens that open other screens (the bill detail) share it.
class ScreenRegistry
{
public:
    static QWidget* shared(const QString& type, const std::function<QWidget*()>& create);
    // The loaded shared instance of `type`, or null.
    static QWidget* existing(const QString& type);
    // A screen kept by one caller alone in `slot` (the trend lines, one per kind): created when
    // the slot holds no loaded screen.
    static QWidget* own(QPointer<QWidget>& slot, const std::function<QWidget*()>& create);

    // Forgets a screen being unloaded. True when the registry made it: the caller then deletes
    // it (a screen made elsewhere belongs to its maker).
    static bool release(QWidget* screen);

    template <class T> static T* shared()
    {
        return static_cast<T*>(shared(typeKey<T>(), [] { return new T; }));
    }
    template <class T> static QString typeKey() { return QString::fromLatin1(typeid(T).name()); }
};
