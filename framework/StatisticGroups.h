#pragma once

#include "db/Connection.h"

#include <QList>
#include <QString>
#include <QStringList>

// The statistic groups of mn_GroupType (GroupTypeID, GroupTypeName, ListIndex) and their members
// in mn_GroupItem (GroupTypeID, GroupItemID, GroupItemType), where a member is a department type,
// menu type or menu item (kinds "DepartType", "MenuType", "Menu"). Every write runs in one
// transaction and reports success; a failed write leaves the tables as they were.
class StatisticGroups
{
public:
    struct Group
    {
        QString id;
        QString name;
        int listIndex = 0;
    };

    // Works on `connection`, or on the member service's connection when none is given.
    explicit StatisticGroups(ConnectionPtr connection = {});

    // Reads the groups in ListIndex order; false (and no groups) when they cannot be read.
    bool load();
    int Count() const { return int(m_groups.size()); }
    // Group i, counting from 1; an empty group when out of range.
    const Group& item(int i) const;
    // The loaded group's position (1-based) by id, 0 when absent.
    int indexOf(const QString& id) const;

    // Whether another group (not `exceptId`) already has this name; reads the database.
    bool nameExists(const QString& name, const QString& exceptId = {}) const;

    // Adds a group at the end of the list; its new id, or empty on failure (also for a blank
    // or existing name). The list is reloaded.
    QString add(const QString& name);
    bool rename(const QString& id, const QString& name);
    // Deletes the group and its members.
    bool remove(const QString& id);
    // Swaps the group's ListIndex with its neighbour above (-1) or below (+1). False at the edge.
    bool move(const QString& id, int step);
    // Replaces the group's members of one kind.
    bool setMembers(const QString& id, const QString& kind, const QStringList& itemIds);
    // The group's member ids of one kind, ordered by id.
    QStringList members(const QString& id, const QString& kind) const;

private:
    template <class Fn> bool write(Fn&& statements);

    ConnectionPtr m_connection;
    QList<Group> m_groups;
};
