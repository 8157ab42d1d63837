#pragma once

#include "core/ScreenRegistry.h"
#include "framework/ISubSystem.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

// The actions a host may ask for, in comparison order, each naming how to obtain its screen and
// how to show it. Most screens have one shared instance per screen type (ScreenRegistry); a row
// may instead keep an instance of its own, so that several actions on one screen class open
// side by side (the trend lines).
class ActionTable
{
public:
    using Create = std::function<QWidget*()>;
    using Show = std::function<void(QWidget*)>;

    // A screen with one shared instance per `screenType`; `group` is the host menu's group.
    void addShared(const QString& action, const QString& group, const QString& screenType,
                   Create create, Show show);
    // A screen this table keeps its own instance of, for this action alone.
    void addOwn(const QString& action, const QString& group, Create create, Show show);

    // Typed forms: T is a QWidget with ShowMe() (shared) or ShowMe(int) (own instance, `kind`).
    template <class T> void addShared(const QString& action, const QString& group)
    {
        addShared(
            action, group, ScreenRegistry::typeKey<T>(), [] { return new T; },
            [](QWidget* w) { static_cast<T*>(w)->ShowMe(); });
    }
    template <class T> void addOwn(const QString& action, const QString& group, int kind)
    {
        addOwn(
            action, group, [] { return new T; },
            [kind](QWidget* w) { static_cast<T*>(w)->ShowMe(kind); });
    }

    // Finds the first row whose name equals `action` without regard to letter case (whole
    // string, no trimming), obtains its screen and shows it. False when no row matches.
    // Whatever the screen's show throws is passed on.
    bool dispatch(const QString& action);
    // The screen of `action` (created when there is none yet) without showing it: tests and
    // benchmarks walk the table through it. Null for an unknown action.
    QWidget* screen(const QString& action);
    // The screen the last matching dispatch showed.
    QWidget* lastScreen() const { return m_lastScreen; }
    QStringList actions() const;
    QList<SubSystemAction> actionGroups() const;

private:
    struct Row
    {
        QString name;
        QString lowerName;
        QString group;
        QString screenType; // empty for an own instance
        Create create;
        Show show;
        QPointer<QWidget> own;
    };
    Row* find(const QString& action);
    static QWidget* screenOf(Row& row);

    QList<Row> m_rows;
    QPointer<QWidget> m_lastScreen;
};
