#include "framework/DataList.h"

#include "framework/DataListService.h"
#include "framework/FrameworkSql.h"

namespace {

struct KindInfo
{
    const char* table;
    const char* id;
    const char* name;
    const char* owner; // column of field 3, or null
    const char* order; // list order
    const char* what;  // the list, as a message names it
};

const KindInfo& info(DataList::Kind kind)
{
    static const KindInfo kinds[] = {
        {"dd_Period", "PeriodID", "PeriodName", nullptr, "PeriodID", "meal periods"},
        {"dd_Reason", "ReasonID", "ReasonName", nullptr, "ReasonID", "return reasons"},
        {"mn_DepartType", "DepartTypeID", "DepartTypeName", nullptr, "ListIndex,DepartTypeID",
         "department types"},
        {"mn_MenuType", "MenuTypeID", "MenuTypeName", "DepartTypeID", "MenuTypeID", "menu types"},
        {"mn_Depart", "DepartID", "DepartName", "DepartTypeID", "DepartID", "departments"},
        {"dd_Subject", "SubjectID", "SubjectName", nullptr, "ListIndex,SubjectID",
         "payment subjects"},
        {"mn_GroupType", "GroupTypeID", "GroupTypeName", nullptr, "ListIndex,GroupTypeID",
         "statistic groups"},
        {"mb_MemberType", "MemberTypeID", "MemberTypeName", nullptr, "MemberTypeID",
         "member card types"},
        {"tb_Table", "TableID", "TableName", "TableAreaID", "TableID", "tables"},
    };
    return kinds[kind];
}

} // namespace

DataList::DataList(Kind kind, ConnectionPtr connection)
    : m_kind(kind),
      m_connection(connection ? std::move(connection)
                              : FrameworkService::connectionOf(DataListService::existing()))
{
}

void DataList::initialise(int scope, int option)
{
    Q_UNUSED(scope);
    Q_UNUSED(option);
    m_criteria.clear();
    m_items.clear();
}

void DataList::addCondition(int field, int op, const QVariant& value, int join)
{
    m_criteria.addCondition(field, op, value, join);
}

void DataList::addSortKey(int field, int direction)
{
    m_criteria.addSortKey(field, direction);
}

bool DataList::load()
{
    m_items.clear();
    m_error.clear();
    m_errorKind = SqlError::Kind::Other;
    const KindInfo& k = info(m_kind);
    ListCriteria::Fields fields = {
        {FieldId, {QLatin1String(k.id)}},
        {FieldName, {QLatin1String(k.name)}},
    };
    if (k.owner)
        fields.insert(FieldOwner, {QLatin1String(k.owner)});
    QString where, orderBy;
    QVariantList params;
    if (!m_criteria.build(fields, &where, &orderBy, &params)) {
        m_error = QStringLiteral("the conditions on the %1 (%2) are not valid")
                      .arg(QLatin1String(k.what), QLatin1String(k.table));
        return false;
    }
    if (orderBy.isEmpty())
        orderBy = QStringLiteral(" ORDER BY ") + QLatin1String(k.order);
    const QString sql = QStringLiteral("SELECT * FROM ") + QLatin1String(k.table) + where + orderBy;
    QList<QVariantMap> rows;
    QString error;
    if (!FrameworkSql::rows(m_connection, sql, params, &rows, &error, &m_errorKind)) {
        m_error = QStringLiteral("cannot read the %1 (%2): %3")
                      .arg(QLatin1String(k.what), QLatin1String(k.table), error);
        return false;
    }
    for (const QVariantMap& row : rows) {
        DataListItem item;
        item.id = row.value(QLatin1String(k.id)).toString();
        item.Name = row.value(QLatin1String(k.name)).toString();
        item.attributes = row;
        m_items.append(item);
    }
    return true;
}

void DataList::loadOrThrow()
{
    if (!load())
        throw SqlError(m_error, m_errorKind);
}

const DataListItem& DataList::item(int i) const
{
    static const DataListItem empty;
    return i >= 1 && i <= m_items.size() ? m_items.at(i - 1) : empty;
}

QString DataList::tableName(Kind kind)
{
    return QLatin1String(info(kind).table);
}
QString DataList::idColumn(Kind kind)
{
    return QLatin1String(info(kind).id);
}
QString DataList::nameColumn(Kind kind)
{
    return QLatin1String(info(kind).name);
}
