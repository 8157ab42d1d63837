#include "core/ActionTable.h"

void ActionTable::addShared(const QString& action, const QString& group, const QString& screenType,
                            Create create, Show show)
{
    m_rows.append(
        {action, action.toLower(), group, screenType, std::move(create), std::move(show), {}});
}

void ActionTable::addOwn(const QString& action, const QString& group, Create create, Show show)
{
    m_rows.append(
        {action, action.toLower(), group, QString(), std::move(create), std::move(show), {}});
}

ActionTable::Row* ActionTable::find(const QString& action)
{
    const QString wanted = action.toLower();
    for (Row& row : m_rows)
        if (row.lowerName == wanted)
            return &row;
    return nullptr;
}

QWidget* ActionTable::screenOf(Row& row)
{
    if (!row.screenType.isEmpty())
        return ScreenRegistry::shared(row.screenType, row.create);
    return ScreenRegistry::own(row.own, row.create);
}

bool ActionTable::dispatch(const QString& action)
{
    Row* row = find(action);
    if (!row)
        return false;
    QWidget* screen = screenOf(*row);
    m_lastScreen = screen;
    row->show(screen);
    return true;
}

QWidget* ActionTable::screen(const QString& action)
{
    Row* row = find(action);
    return row ? screenOf(*row) : nullptr;
}

QStringList ActionTable::actions() const
{
    QStringList names;
    for (const Row& row : m_rows)
        names << row.name;
    return names;
}

QList<SubSystemAction> ActionTable::actionGroups() const
{
    QList<SubSystemAction> list;
    for (const Row& row : m_rows)
        list << SubSystemAction{row.name, row.group};
    return list;
}
