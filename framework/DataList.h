#pragma once

#include "db/Connection.h"
#include "framework/ListCriteria.h"

#include <QList>
#include <QString>
#include <QVariantMap>

// One entry of a data list: its identifier, display name, and every column of its row.
struct DataListItem
{
    QString id;
    QString Name;
    QVariantMap attributes; // column name -> value (NULL as empty text)

    QString attribute(const QString& column) const { return attributes.value(column).toString(); }
};

// A dictionary list of the restaurant database: meal periods, return reasons, department
// types, menu types, departments, payment subjects, statistic group types, member card types,
// tables. Conditions and sort keys use the codes of ListCriteria with the fields
// 1 identifier, 2 name, 3 the owning entry (department type of a menu type or department, area
// of a table). Without sort keys the entries come in their list order (ListIndex for group
// types, department types and payment subjects, the identifier for the others). A list that
// cannot load has no entries, and lastError() says why.
class DataList
{
public:
    enum Kind
    {
        MealPeriods,   // dd_Period
        ReturnReasons, // dd_Reason
        DepartTypes,   // mn_DepartType
        MenuTypes,     // mn_MenuType
        Departs,       // mn_Depart
        Subjects,      // dd_Subject
        GroupTypes,    // mn_GroupType
        MemberTypes,   // mb_MemberType
        Tables,        // tb_Table
    };
    enum FieldCode
    {
        FieldId = 1,
        FieldName = 2,
        FieldOwner = 3
    };

    // Loads from `connection`, or from the data-list service's connection when none is given.
    explicit DataList(Kind kind, ConnectionPtr connection = {});

    // The list's usual start, (1, 1): clears conditions, sort keys and entries.
    void initialise(int scope = 1, int option = 1);
    void addCondition(int field, int op, const QVariant& value, int join = ListCriteria::And);
    void addSortKey(int field, int direction = ListCriteria::Ascending);

    // Reads the entries; false (and no entries) when the list cannot be read.
    bool load();
    // Why the last load failed, naming the list and its table ("cannot read the meal periods
    // (dd_Period): ..."); empty after a load that read the list.
    const QString& lastError() const { return m_error; }
    // A load that throws SqlError with lastError() when it fails: for a list whose entries are
    // a report's columns or figures.
    void loadOrThrow();
    int Count() const { return int(m_items.size()); }
    // Entry i, counting from 1; an empty entry when i is out of range.
    const DataListItem& item(int i) const;
    const QList<DataListItem>& items() const { return m_items; }

    Kind kind() const { return m_kind; }
    // The table, identifier column and name column behind a kind.
    static QString tableName(Kind kind);
    static QString idColumn(Kind kind);
    static QString nameColumn(Kind kind);

private:
    Kind m_kind;
    ConnectionPtr m_connection;
    ListCriteria m_criteria;
    QList<DataListItem> m_items;
    QString m_error;
    SqlError::Kind m_errorKind = SqlError::Kind::Other;
};
