#include "core/ActionTable.h"

void ActionTable::addShared(const QString& action, const QString& screenType, Create create,
                            Show show)
{
    m_rows.append({action, action.toLower(), screenType, std::move(create), std::move(show), {}});
}

void ActionTable::addOwn(const QString& action, Create create, Show show)
{
    m_rows.append({action, action.toLower(), QString(), std::move(create), std::move(show), {}});
}

bool ActionTable::dispatch(const QString& action)
{
    const QString wanted = action.toLower();
    for (Row& row : m_rows) {
        if (row.lowerName != wanted)
            continue;
        QWidget* screen = nullptr;
        if (row.screenType.isEmpty()) {
            if (!row.own)
                row.own = row.create();
            screen = row.own;
        } else {
            screen = ScreenRegistry::shared(row.screenType, row.create);
        }
        m_lastScreen = screen;
        row.show(screen);
        return true;
    }
    return false;
}

QStringList ActionTable::actions() const
{
    QStringList names;
    for (const Row& row : m_rows)
        names << row.name;
    return names;
}
