#include "framework/StatisticGroups.h"

#include "framework/FrameworkSql.h"
#include "framework/MemberService.h"

StatisticGroups::StatisticGroups(ConnectionPtr connection)
    : m_connection(connection ? std::move(connection)
                              : FrameworkService::connectionOf(MemberService::existing()))
{
}

bool StatisticGroups::load()
{
    m_groups.clear();
    QList<QVariantMap> rows;
    if (!FrameworkSql::rows(m_connection,
                            QStringLiteral("SELECT GroupTypeID,GroupTypeName,ListIndex FROM "
                                           "mn_GroupType ORDER BY ListIndex,GroupTypeID"),
                            {}, &rows))
        return false;
    for (const QVariantMap& row : rows)
        m_groups.append({row.value(QStringLiteral("GroupTypeID")).toString(),
                         row.value(QStringLiteral("GroupTypeName")).toString(),
                         row.value(QStringLiteral("ListIndex")).toInt()});
    return true;
}

const StatisticGroups::Group& StatisticGroups::item(int i) const
{
    static const Group empty;
    return i >= 1 && i <= m_groups.size() ? m_groups.at(i - 1) : empty;
}

int StatisticGroups::indexOf(const QString& id) const
{
    for (int i = 0; i < m_groups.size(); ++i)
        if (m_groups.at(i).id == id)
            return i + 1;
    return 0;
}

bool StatisticGroups::nameExists(const QString& name, const QString& exceptId) const
{
    QList<QVariantMap> rows;
    if (exceptId.isEmpty())
        FrameworkSql::rows(
            m_connection,
            QStringLiteral("SELECT GroupTypeID FROM mn_GroupType WHERE GroupTypeName=?"), {name},
            &rows);
    else
        FrameworkSql::rows(m_connection,
                           QStringLiteral("SELECT GroupTypeID FROM mn_GroupType "
                                          "WHERE GroupTypeName=? AND GroupTypeID<>?"),
                           {name, exceptId}, &rows);
    return !rows.isEmpty();
}

template <class Fn> bool StatisticGroups::write(Fn&& statements)
{
    try {
        m_connection->beginTransaction();
    } catch (const std::exception&) {
        return false;
    }
    try {
        statements();
        m_connection->commit();
    } catch (const std::exception&) {
        try {
            m_connection->rollback();
        } catch (const std::exception&) {
        }
        load();
        return false;
    }
    load();
    return true;
}

QString StatisticGroups::add(const QString& name)
{
    if (name.trimmed().isEmpty() || nameExists(name))
        return {};
    QList<QVariantMap> rows;
    if (!FrameworkSql::rows(m_connection,
                            QStringLiteral("SELECT GroupTypeID,ListIndex FROM mn_GroupType"), {},
                            &rows))
        return {};
    int maxId = 0, maxIndex = 0;
    for (const QVariantMap& row : rows) {
        maxId = qMax(maxId, row.value(QStringLiteral("GroupTypeID")).toInt());
        maxIndex = qMax(maxIndex, row.value(QStringLiteral("ListIndex")).toInt());
    }
    const QString id = QStringLiteral("%1").arg(maxId + 1, 2, 10, QLatin1Char('0'));
    const bool ok = write([&] {
        m_connection->executeNonQuery(
            QStringLiteral("INSERT INTO mn_GroupType (GroupTypeID,GroupTypeName,ListIndex) "
                           "VALUES (?,?,?)"),
            {id, name, maxIndex + 1});
    });
    return ok ? id : QString();
}

bool StatisticGroups::rename(const QString& id, const QString& name)
{
    if (name.trimmed().isEmpty() || nameExists(name, id))
        return false;
    return write([&] {
        if (m_connection->executeNonQuery(
                QStringLiteral("UPDATE mn_GroupType SET GroupTypeName=? WHERE GroupTypeID=?"),
                {name, id}) != 1)
            throw SqlError(QStringLiteral("no group %1").arg(id));
    });
}

bool StatisticGroups::remove(const QString& id)
{
    return write([&] {
        m_connection->executeNonQuery(
            QStringLiteral("DELETE FROM mn_GroupItem WHERE GroupTypeID=?"), {id});
        if (m_connection->executeNonQuery(
                QStringLiteral("DELETE FROM mn_GroupType WHERE GroupTypeID=?"), {id}) != 1)
            throw SqlError(QStringLiteral("no group %1").arg(id));
    });
}

bool StatisticGroups::move(const QString& id, int step)
{
    if (!load())
        return false;
    const int here = indexOf(id);
    const int there = here + (step < 0 ? -1 : 1);
    if (here == 0 || there < 1 || there > m_groups.size())
        return false;
    const Group a = m_groups.at(here - 1);
    const Group b = m_groups.at(there - 1);
    // Equal ListIndex values (legacy data) are separated by taking the positions instead.
    const int indexA = a.listIndex != b.listIndex ? b.listIndex : there;
    const int indexB = a.listIndex != b.listIndex ? a.listIndex : here;
    return write([&] {
        const QString sql =
            QStringLiteral("UPDATE mn_GroupType SET ListIndex=? WHERE GroupTypeID=?");
        m_connection->executeNonQuery(sql, {indexA, a.id});
        m_connection->executeNonQuery(sql, {indexB, b.id});
    });
}

bool StatisticGroups::setMembers(const QString& id, const QString& kind, const QStringList& itemIds)
{
    return write([&] {
        m_connection->executeNonQuery(
            QStringLiteral("DELETE FROM mn_GroupItem WHERE GroupTypeID=? AND GroupItemType=?"),
            {id, kind});
        for (const QString& item : itemIds)
            m_connection->executeNonQuery(
                QStringLiteral("INSERT INTO mn_GroupItem (GroupTypeID,GroupItemID,GroupItemType) "
                               "VALUES (?,?,?)"),
                {id, item, kind});
    });
}

QStringList StatisticGroups::members(const QString& id, const QString& kind) const
{
    QList<QVariantMap> rows;
    FrameworkSql::rows(
        m_connection,
        QStringLiteral("SELECT GroupItemID FROM mn_GroupItem "
                       "WHERE GroupTypeID=? AND GroupItemType=? ORDER BY GroupItemID"),
        {id, kind}, &rows);
    QStringList ids;
    for (const QVariantMap& row : rows)
        ids << row.value(QStringLiteral("GroupItemID")).toString();
    return ids;
}
