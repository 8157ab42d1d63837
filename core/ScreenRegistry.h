#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <typeinfo>

// The shared instance of each screen type: at most one per process, created on first use and
// reused until it is destroyed (a screen closed for good), after which the next use creates a
// new one. Action dispatch and screens that open other screens (the bill detail) share it.
class ScreenRegistry
{
public:
    static QWidget* shared(const QString& type, const std::function<QWidget*()>& create);
    // The live shared instance of `type`, or null.
    static QWidget* existing(const QString& type);

    template <class T> static T* shared()
    {
        return static_cast<T*>(shared(typeKey<T>(), [] { return new T; }));
    }
    template <class T> static QString typeKey() { return QString::fromLatin1(typeid(T).name()); }
};
