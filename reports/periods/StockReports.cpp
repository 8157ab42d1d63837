#include "reports/periods/StockReports.h"

#include "core/modMessage.h"
#include "db/SqlText.h"
#include "query/StatementFragments.h"
#include "ui/CriteriaBar.h"

#include <QComboBox>
#include <QLabel>

QString LabelAndChoice(const CriteriaBar& bar, const char* name)
{
    QString label;
    const QByteArray labelName = QByteArray("lbl") + (name + 3);
    if (bar.has(labelName.constData()))
        if (auto* l = qobject_cast<QLabel*>(bar.control(labelName.constData())))
            label = l->text();
    if (auto* combo = qobject_cast<QComboBox*>(bar.control(name)))
        return label + combo->currentText();
    return label;
}

namespace {

// The typed material: a number prefix when it reads as a number, else `nameCondition`.
QString itemTextFilter(const QString& text, const QString& nameCondition)
{
    if (text.isEmpty())
        return {};
    if (IsNumericText(text))
        return QStringLiteral(" AND ItemID like '") + sqlQuote(text) + QStringLiteral("%' ");
    return nameCondition;
}

} // namespace

QString StockPrintHeader(const QString& title, const QString& left, const QString& right)
{
    return Msg(QStringLiteral("Msg_Report_LargeFont")) +
           Msg(QStringLiteral("Msg_Report_SmallFont")) + QStringLiteral("/f1/c") + title +
           QStringLiteral("/n/n/f2/l        ") + left + QStringLiteral("/f2/r  ") + right +
           QStringLiteral("/n");
}

Statement InventoryReportStatement(int view, const StockCriteria& c)
{
    static const char* const kSelect[] = {
        " SELECT ItemID, ItemName, Spec, ItemTypeName,Unit,UnitPrice, "
        "        BranchName,OnHandQty,OnHandSum ",
        " SELECT ItemID, ItemName, Spec, ItemTypeName,Unit,"
        "        SUM(OnHandQty) AS theQty,SUM(OnHandSum) AS theSum ",
        " SELECT StockType,ItemTypeID,ItemTypeName, "
        "        SUM(OnHandQty) AS theQty,SUM(OnHandSum) AS theSum ",
        " SELECT ItemID, ItemName, Spec, ItemTypeName,Unit,UnitPrice, "
        "        BranchName,OnHandQty,OnHandSum,MinQty,MaxQty ",
    };
    static const char* const kTail[] = {
        " ORDER BY ItemID,BranchName ",
        " GROUP BY ItemID, ItemName, Spec, ItemTypeName,Unit  ORDER BY ItemID ",
        " GROUP BY StockType,ItemTypeID,ItemTypeName "
        " ORDER BY StockType,ItemTypeID,ItemTypeName ",
        " ORDER BY ItemID,BranchName ",
    };
    static const char* const kRange[] = {
        " AND (OnHandQty>=MinQty) AND (OnHandQty<=MaxQty OR MaxQty=0)",
        " AND OnHandQty>MaxQty And MaxQty <> 0 ",
        " AND OnHandQty<MinQty ",
    };
    const int range = c.stockRange < 0 ? int(WithinRange) : c.stockRange;
    Statement sql = QLatin1String(kSelect[view]) +
                    QStringLiteral(" FROM rp_Inventory_Upload  WHERE 1=1 ") +
                    BranchMark(StockBranch);
    if (!c.itemType.isEmpty())
        sql += EqualsFilter(QStringLiteral("ItemTypeName"), c.itemType);
    if (view == 3 && range <= 2)
        sql += QString::fromLatin1(kRange[range]);
    const QString text = c.itemText.trimmed();
    const QString t = sqlQuote(text);
    sql += itemTextFilter(text, QStringLiteral(" AND ( ToSpell  like '%") + t +
                                    QStringLiteral("%' OR        ItemName like '%") + t +
                                    QStringLiteral("%' )  "));
    if (c.notNull)
        sql += QStringLiteral(" AND OnHandQty<>0 ");
    return sql + QString::fromLatin1(kTail[view]);
}

Statement InventoryItemTypesStatement()
{
    return QStringLiteral(" SELECT DISTINCT ItemTypeID,ItemTypeName  FROM rp_Inventory_Upload "
                          " where 1=1 ") +
           BranchMark(StockBranch) + QStringLiteral(" ORDER BY ItemTypeID");
}

Statement BomReportStatement(int view, const StockCriteria& c)
{
    static const char* const kList[] = {
        "     ItemID,ItemName,Spec,Unit,ItemTypeID,ItemTypeName",
        "     ItemTypeID,ItemTypeName",
        "     ItemID,ItemName,Spec,Unit,ItemTypeID,ItemTypeName,BranchID,BranchName",
    };
    static const char* const kOrder[] = {"     ItemID ", "     ItemTypeID ",
                                         "     ItemID,BranchID "};
    Statement sql = QStringLiteral(" SELECT TOP 100 PERCENT ") + QLatin1String(kList[view]) +
                    QStringLiteral(", ") +
                    QStringLiteral("     SUM(QtyUse) AS theQtyUse,      SUM(QtyBom) AS theQtyBom  "
                                   " FROM st_BOM  WHERE      ") +
                    c.range.bound(QStringLiteral("BillDate")) + QStringLiteral(" ");
    if (c.notNull)
        sql += QStringLiteral(" AND (QtyUse<>0 OR QtyBom<>0) ");
    sql += BranchMark(StockBranch);
    if (!c.itemType.isEmpty())
        sql += EqualsFilter(QStringLiteral("ItemTypeName"), c.itemType);
    const QString text = c.itemText.trimmed();
    sql += itemTextFilter(text, QStringLiteral(" AND ItemName like '%") + sqlQuote(text) +
                                    QStringLiteral("%' "));
    return sql + (QStringLiteral(" GROUP BY ") + QLatin1String(kList[view]) +
                  QStringLiteral(" ORDER BY ") + QLatin1String(kOrder[view]));
}

QString BomBranchesSql()
{
    return QStringLiteral("SELECT DISTINCT BranchID,BranchName FROM st_BOM ORDER BY BranchID");
}
