#include "reports/bills/BillItemQuerySql.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

QString ItemGroupsText(const ItemGroups& g)
{
    QJsonArray groups;
    for (const QStringList& values : g.groups)
        groups.append(QJsonArray::fromStringList(values));
    return QString::fromUtf8(
        QJsonDocument(QJsonObject{{QStringLiteral("fields"), QJsonArray::fromStringList(g.fields)},
                                  {QStringLiteral("groups"), groups}})
            .toJson(QJsonDocument::Compact));
}

ItemGroups ItemGroupsFromText(const QString& text)
{
    const QJsonObject o = QJsonDocument::fromJson(text.toUtf8()).object();
    ItemGroups g;
    for (const QJsonValue& field : o.value(QStringLiteral("fields")).toArray())
        g.fields << field.toString();
    for (const QJsonValue& group : o.value(QStringLiteral("groups")).toArray()) {
        QStringList values;
        for (const QJsonValue& value : group.toArray())
            values << value.toString();
        g.groups << values;
    }
    return g;
}

namespace {

// " AND ((isnull(BI.DepartTypeName,'')=? AND isnull(BI.DepartName,'')=?) OR (...)) ", each value
// a parameter; groups that name a field no line has, or none at all, hold no line.
Statement ItemGroupsCondition(const QString& text)
{
    static const QStringList known{QStringLiteral("DepartTypeName"), QStringLiteral("DepartName"),
                                   QStringLiteral("MenuTypeName")};
    const ItemGroups g = ItemGroupsFromText(text);
    const bool valid = !g.fields.isEmpty() && !g.groups.isEmpty() &&
                       std::all_of(g.fields.begin(), g.fields.end(),
                                   [](const QString& f) { return known.contains(f); }) &&
                       std::all_of(g.groups.begin(), g.groups.end(), [&](const QStringList& v) {
                           return v.size() == g.fields.size();
                       });
    if (!valid)
        return Statement(QStringLiteral(" AND 1<>1 "));
    QStringList each;
    QVariantList values;
    for (const QStringList& group : g.groups) {
        QStringList terms;
        for (qsizetype i = 0; i < g.fields.size(); ++i) {
            terms << QStringLiteral("isnull(BI.%1,'')=?").arg(g.fields[i]);
            values << group[i];
        }
        each << QLatin1Char('(') + terms.join(QStringLiteral(" AND ")) + QLatin1Char(')');
    }
    return Statement(QStringLiteral(" AND (") + each.join(QStringLiteral(" OR ")) +
                         QStringLiteral(") "),
                     values);
}

} // namespace

Statement BillItemQueryWhereTail(const BillItemQueryCriteria& c)
{
    Statement sql = QStringLiteral(" AND BL.CheckOutNull=0 ");
    sql += BranchMark(ItemLineBranch);
    if (!c.shiftId.trimmed().isEmpty())
        sql += EqualsFilter(QStringLiteral("BL.ShiftID"), c.shiftId.trimmed());
    if (!c.billPeriod.isEmpty())
        sql += EqualsFilter(QStringLiteral("BL.BillPeriod"), c.billPeriod);
    if (!c.tableArea.isEmpty())
        sql += EqualsFilter(QStringLiteral("BL.TableAreaName"), c.tableArea);
    if (!c.departType.isEmpty())
        sql += EqualsFilter(QStringLiteral("BI.DepartTypeName"), c.departType);
    if (!c.menuType.isEmpty())
        sql += EqualsFilter(QStringLiteral("BI.MenuTypeName"), c.menuType);
    if (!c.depart.isEmpty())
        sql += EqualsFilter(QStringLiteral("BI.DepartName"), c.depart);
    sql += MenuTextFilter(c.menuText, QStringLiteral("BI.MenuID"), QStringLiteral("BI.MenuName"));
    if (!c.menuId.isEmpty())
        sql += EqualsFilter(QStringLiteral("BI.MenuID"), c.menuId);
    if (!c.menuName.isEmpty())
        sql += EqualsFilter(QStringLiteral("BI.MenuName"), c.menuName);
    if (!c.departName.isEmpty())
        sql += Statement(QStringLiteral(" AND BI.DepartName=? "), {c.departName});
    if (!c.groupTypeId.isEmpty()) {
        auto member = [](const char* column, const char* type) {
            return QStringLiteral("(BI.%1 IN (SELECT GroupItemID FROM mn_GroupItem WHERE "
                                  "GroupItemType='%2' AND GroupTypeID=?))")
                .arg(QLatin1String(column), QLatin1String(type));
        };
        sql +=
            Statement(QStringLiteral(" AND (") + member("DepartTypeID", "DepartType") +
                          QStringLiteral(" OR ") + member("MenuTypeID", "MenuType") +
                          QStringLiteral(" OR ") + member("MenuID", "Menu") + QStringLiteral(") "),
                      {c.groupTypeId, c.groupTypeId, c.groupTypeId});
    }
    if (!c.billPeriods.isEmpty()) {
        // Each name a parameter: " AND BL.BillPeriod IN (?,?) ".
        const QStringList names = c.billPeriods.split(QLatin1Char('\n'));
        sql += Statement(QStringLiteral(" AND BL.BillPeriod IN (") +
                             QStringList(names.size(), QStringLiteral("?")).join(QLatin1Char(',')) +
                             QStringLiteral(") "),
                         QVariantList(names.begin(), names.end()));
    }
    if (!c.itemGroups.isEmpty())
        sql += ItemGroupsCondition(c.itemGroups);
    sql += ItemLineTail(c);
    return sql;
}

Statement BillItemQueryStatement(int view, const BillItemQueryCriteria& criteria)
{
    const QString sums =
        QStringLiteral("     SUM(BI.AmountOrder) AS theOrder,SUM(BI.AmountCancel) AS theCancel,") +
        QStringLiteral(
            "     SUM(BI.SumOfConsume) AS theConsume,SUM(BI.SumOfService) AS theService, ");
    QString select, groupAndSort;
    switch (view) {
    case ItemLines:
        select = QStringLiteral("     BI.MenuID,BI.MenuName,BI.MenuTypeName, ") +
                 QStringLiteral("     BI.BillID,BL.TableFullName,BI.CreatePerson, ") +
                 QStringLiteral("     BI.AmountOrder,BI.AmountCancel,BI.MenuPrice, ") +
                 QStringLiteral("     BI.SumOfConsume,BI.SumOfService,BI.SumForDiscount, ") +
                 QStringLiteral("     BL.CheckOutTime  ");
        groupAndSort = QStringLiteral(" ORDER BY BI.BillID,BI.MenuID ");
        break;
    case ByItem:
        select = QStringLiteral("     BI.MenuID,BI.MenuName,BI.MenuTypeName, ") + sums +
                 QStringLiteral("     SUM(BI.SumForDiscount) AS theDiscount, ") +
                 QStringLiteral("     SUM(BI.SumOfCookway) AS theCookway ");
        groupAndSort = QStringLiteral(" GROUP BY BI.MenuID,BI.MenuName,BI.MenuTypeName ") +
                       QStringLiteral(" ORDER BY BI.MenuID ");
        break;
    case ByItemType:
        select = QStringLiteral(
                     "     BI.DepartTypeID,BI.DepartTypeName,BI.MenuTypeID,BI.MenuTypeName, ") +
                 sums + QStringLiteral("     SUM(BI.SumForDiscount) AS theDiscount, ") +
                 QStringLiteral("     SUM(BI.SumOfCookway) AS theCookway ");
        groupAndSort =
            QStringLiteral(" GROUP BY "
                           "BI.DepartTypeID,BI.DepartTypeName,BI.MenuTypeID,BI.MenuTypeName ") +
            QStringLiteral(" ORDER BY BI.DepartTypeID,BI.MenuTypeID ");
        break;
    default:
        select = QStringLiteral("     BI.CreatePersonID,BI.CreatePerson, ") + sums +
                 QStringLiteral("     SUM(BI.SumForDiscount) AS theDiscount,COUNT(*) AS theCount ");
        groupAndSort = QStringLiteral(" GROUP BY BI.CreatePersonID,BI.CreatePerson ") +
                       QStringLiteral(" ORDER BY BI.CreatePersonID ");
        break;
    }
    return QStringLiteral(" SELECT TOP 100 PERCENT ") + select +
           QStringLiteral(" FROM bi_Bill AS BL, bi_BillItem AS BI ") +
           QStringLiteral(" WHERE BL.BillID=BI.BillID AND ") +
           criteria.range.bound(QStringLiteral("BL.BillDate")) + QStringLiteral(" ") +
           BillItemQueryWhereTail(criteria) + groupAndSort;
}

bool BillItemQueryFitsSummaries(int view, const BillItemQueryCriteria& c)
{
    // A statistic group, a chart's meal periods or item groups (drill-down keys): not kept there.
    if (!c.shiftId.trimmed().isEmpty() || !c.tableArea.isEmpty() || !c.groupTypeId.isEmpty() ||
        !c.billPeriods.isEmpty() || !c.itemGroups.isEmpty())
        return false;
    return view == ByWaiter || view == ByItem || view == ByItemType;
}

SummaryPlanner::Replacements BillItemQuerySummaryText()
{
    return {{QStringLiteral(" FROM bi_Bill AS BL, bi_BillItem AS BI "),
             QStringLiteral(" FROM {summary} AS BL ")},
            {QStringLiteral(" WHERE BL.BillID=BI.BillID AND "), QStringLiteral(" WHERE ")}};
}
