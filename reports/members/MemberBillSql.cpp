#include "reports/members/MemberBillSql.h"

#include "db/SqlText.h"
#include "screens/CriteriaBar.h"
#include "screens/ItemCriteria.h"

void ReadMemberBillCriteria(const CriteriaBar& bar, MemberBillCriteria* c)
{
    c->memberType = bar.chosen("cboMemberType");
    c->cardNumber = bar.text("cboMemberCardID");
    c->memberName = bar.text("cboMemberName");
    c->useTrueData = bar.checked("chkUseTrueData");
    c->saving = bar.checked("chkSaving");
    c->branch = bar.requireBranch();
}

QString MemberBillCondition(const MemberBillCriteria& c)
{
    QString sql = QStringLiteral(" AND BL.CheckOutNull=0 ");
    sql += BranchChoiceFilter(c.branch, QStringLiteral("BL.BranchID"),
                              QStringLiteral("BL.BranchName"));
    if (!c.memberType.isEmpty())
        sql += EqualsFilter(QStringLiteral("MB.MemberTypeName"), c.memberType);
    if (!c.cardNumber.trimmed().isEmpty())
        sql += EqualsFilter(QStringLiteral("MB.MemberCardID"), c.cardNumber.trimmed());
    if (!c.memberName.trimmed().isEmpty())
        sql += EqualsFilter(QStringLiteral("MB.MemberName"), c.memberName.trimmed());
    if (!c.useTrueData)
        sql += QStringLiteral(" AND BL.IsDeleted=0 ");
    if (c.saving)
        sql += QStringLiteral(" AND BL.TableName<>'会员卡充值'");
    return sql;
}

QString MemberConsumeSql(int view, const MemberBillCriteria& criteria)
{
    const QString range =
        QStringLiteral("     BL.BillDate >=? AND BL.BillDate <? ") + MemberBillCondition(criteria);
    const QString bills =
        QStringLiteral(" FROM ") + QStringLiteral("     bi_Bill AS BL, mb_MemberInfo AS MB ") +
        QStringLiteral(" WHERE ") + QStringLiteral("     BL.MemberID=MB.MemberID AND ") + range;
    switch (view) {
    case 0:
        return QStringLiteral(" SELECT TOP 100 PERCENT ") +
               QStringLiteral("     BL.BillID,BL.BillDate,BL.SumPaid, ") +
               QStringLiteral("     MB.MemberCardID,MB.MemberName,MB.MemberTypeName ") + bills +
               QStringLiteral(" ORDER BY BL.BillID ");
    case 1:
        return QStringLiteral(" SELECT TOP 100 PERCENT ") +
               QStringLiteral("     MB.MemberCardID,MB.MemberName,MB.MemberTypeName, ") +
               QStringLiteral("     SUM(BL.SumPaid) AS theSumPaid ") + bills +
               QStringLiteral(" GROUP BY MB.MemberCardID,MB.MemberName,MB.MemberTypeName ") +
               QStringLiteral(" ORDER BY SUM(BL.SumPaid) DESC ");
    default:
        return QStringLiteral(" SELECT TOP 100 PERCENT ") +
               QStringLiteral("     BI.MenuID,BI.MenuName,BI.MenuTypeName, ") +
               QStringLiteral("     COUNT(*) AS theCount, ") +
               QStringLiteral("     SUM(BI.AmountOrder-BI.AmountCancel) AS theQty ") +
               QStringLiteral(" FROM ") +
               QStringLiteral("     bi_BillItem AS BI, bi_Bill AS BL, mb_MemberInfo AS MB ") +
               QStringLiteral(" WHERE ") +
               QStringLiteral("     BI.BillID=BL.BillID AND BL.MemberID=MB.MemberID AND ") + range +
               QStringLiteral(" GROUP BY BI.MenuID,BI.MenuName,BI.MenuTypeName ") +
               QStringLiteral(" ORDER BY COUNT(*) DESC ");
    }
}

QString PaymentMemberSql(int view, const MemberBillCriteria& criteria, const QString& subject)
{
    const QString from =
        QStringLiteral(" FROM ") +
        QStringLiteral("     bi_BillPayment AS BP, bi_Bill AS BL, mb_MemberInfo AS MB ") +
        QStringLiteral(" WHERE ") + QStringLiteral("     BP.SubjectName='") + sqlQuote(subject) +
        QStringLiteral("' AND ") +
        QStringLiteral("     BP.BillID=BL.BillID AND BL.MemberID=MB.MemberID AND ") +
        QStringLiteral("     BL.BillDate >=? AND BL.BillDate <? ") + MemberBillCondition(criteria);
    switch (view) {
    case 0:
        return QStringLiteral(" SELECT TOP 100 PERCENT ") +
               QStringLiteral("     BL.BillID,BL.BillDate, ") +
               QStringLiteral("     MB.MemberCardID,MB.MemberName,MB.MemberTypeName, ") +
               QStringLiteral("     BP.PaySum ") + from + QStringLiteral(" ORDER BY BL.BillID ");
    case 1:
        return QStringLiteral(" SELECT TOP 100 PERCENT ") +
               QStringLiteral("     MB.MemberCardID,MB.MemberName,MB.MemberTypeName, ") +
               QStringLiteral("     SUM(BP.PaySum) AS thePaySum ") + from +
               QStringLiteral(" GROUP BY MB.MemberCardID,MB.MemberName,MB.MemberTypeName ") +
               QStringLiteral(" ORDER BY MB.MemberCardID ");
    default:
        return QStringLiteral(" SELECT TOP 100 PERCENT ") +
               QStringLiteral("     MB.MemberTypeID, MB.MemberTypeName, ") +
               QStringLiteral("     SUM(BP.PaySum) AS thePaySum ") + from +
               QStringLiteral(" GROUP BY MB.MemberTypeID, MB.MemberTypeName ") +
               QStringLiteral(" ORDER BY MB.MemberTypeID ");
    }
}
