#include "screens/ItemCriteria.h"

#include "db/SqlText.h"
#include "screens/CriteriaBar.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

bool IsNumericText(const QString& text)
{
    const QString t = text.trimmed();
    bool ok = false;
    const double value = t.toDouble(&ok);
    // "inf" and "nan" read as numbers to the parser but are no item code.
    return ok && std::isfinite(value) &&
           std::any_of(t.begin(), t.end(), [](QChar c) { return c.isDigit(); });
}

QString MenuTextFilter(const QString& text, const QString& idColumn, const QString& nameColumn)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QString();
    if (IsNumericText(t))
        return QStringLiteral(" AND ") + idColumn + QStringLiteral(" LIKE '") + sqlQuote(t) +
               QStringLiteral("%' ");
    return QStringLiteral(" AND ") + nameColumn + QStringLiteral(" LIKE '%") + sqlQuote(t) +
           QStringLiteral("%' ");
}

QString GiftScopeFilter(int scope)
{
    switch (scope) {
    case WithoutGifts:
        return QStringLiteral(" AND BI.IsSentMenu=0  ");
    case GiftsOnly:
        return QStringLiteral(" AND BI.IsSentMenu<>0 ");
    default:
        return QString();
    }
}

QString EqualsFilter(const QString& column, const QString& text)
{
    return QStringLiteral(" AND ") + column + QStringLiteral("='") + sqlQuote(text) +
           QStringLiteral("' ");
}

void ReadItemLineCriteria(const CriteriaBar& bar, ItemLineCriteria* c)
{
    c->billPeriod = bar.chosen("cboBillPeriod");
    c->departType = bar.chosen("cboDepartTypes");
    c->menuType = bar.chosen("cboMenuTypes");
    c->menuText = bar.text("cboMenuID");
    if (bar.has("cboIsSentMenu"))
        c->giftScope = bar.choice("cboIsSentMenu");
    c->createPerson = bar.chosen("cboCreatePerson");
    c->useTrueData = bar.checked("chkUseTrueData");
    c->saving = bar.checked("chkSaving");
    c->branch = bar.requireBranch();
}

QString ItemLineHead(const ItemLineCriteria& c, const QString& item)
{
    QString sql = QStringLiteral(" AND BL.CheckOutNull=0 ");
    sql += BranchChoiceFilter(c.branch, QStringLiteral("BL.BranchID"),
                              QStringLiteral("BL.BranchName"));
    if (!c.billPeriod.isEmpty())
        sql += EqualsFilter(QStringLiteral("BL.BillPeriod"), c.billPeriod);
    if (!c.departType.isEmpty())
        sql += EqualsFilter(item + QStringLiteral(".DepartTypeName"), c.departType);
    if (!c.menuType.isEmpty())
        sql += EqualsFilter(item + QStringLiteral(".MenuTypeName"), c.menuType);
    return sql;
}

QString ItemLineTail(const ItemLineCriteria& c)
{
    QString sql = GiftScopeFilter(c.giftScope);
    if (!c.createPerson.isEmpty())
        sql += EqualsFilter(QStringLiteral("BI.CreatePerson"), c.createPerson);
    if (!c.useTrueData)
        sql += QStringLiteral(" AND BL.IsDeleted=0 ");
    if (c.saving)
        sql += QStringLiteral(" AND BL.TableName<>'会员卡充值'");
    return sql;
}
