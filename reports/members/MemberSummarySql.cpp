#include "reports/members/MemberSummarySql.h"

#include "db/SqlText.h"

QString MemberOperationCondition(int operation)
{
    switch (operation) {
    case NewCard:
        return QStringLiteral(" AND (SummaryName='发卡' OR SummaryName='髮卡' OR "
                              "SummaryName='發卡' OR SummaryName='NewCard') ");
    case LockCard:
        return QStringLiteral(" AND (SummaryName='挂失卡' OR SummaryName='挂失卡' OR "
                              "SummaryName='LockCard') ");
    case UnLockCard:
        return QStringLiteral(" AND (SummaryName='解挂卡' OR SummaryName='解挂卡' OR "
                              "SummaryName='UnLockCard') ");
    case ReNewCard:
        return QStringLiteral(" AND (SummaryName='续卡' OR SummaryName='續卡' OR "
                              "SummaryName='ReNewCard') ");
    case ChangeCard:
        return QStringLiteral(" AND (SummaryName='换卡' OR SummaryName='換卡' OR "
                              "SummaryName='ChangeCard') ");
    case SavingCard:
        return QStringLiteral(" AND (SummaryName='存款' OR SummaryName='存款' OR "
                              "SummaryName='SavingCard') ");
    case Consume:
        return QStringLiteral(" AND (SummaryName='消费' OR SummaryName='消費' OR "
                              "SummaryName='Consume') ");
    case MemberCheckOut:
        return QStringLiteral(" AND (SummaryName='会员卡结账' OR SummaryName='會員卡結賬' OR "
                              "SummaryName='MemberCheckOut') ");
    case SendGift:
        return QStringLiteral(" AND (SummaryName='礼物兑分' OR SummaryName='禮物兌分' OR "
                              "SummaryName='SendGift') ");
    case TransferCard:
        return QStringLiteral(" AND (SummaryName='升级' OR SummaryName='升級' OR "
                              "SummaryName='TransferCard') ");
    default:
        return QString();
    }
}

Statement MemberSummaryStatement(int view, const MemberSummaryCriteria& c)
{
    QString condition = MemberOperationCondition(view);
    if (c.createPlace)
        condition += QStringLiteral(" AND CreatePlace = '") + sqlQuote(*c.createPlace) +
                     QStringLiteral("' ");
    if (c.createPerson)
        condition += QStringLiteral(" AND CreatePerson = '") + sqlQuote(*c.createPerson) +
                     QStringLiteral("' ");
    if (!c.memberId.isEmpty())
        condition +=
            QStringLiteral(" AND MemberID = '") + sqlQuote(c.memberId) + QStringLiteral("' ");
    else if (!c.cardNumber.trimmed().isEmpty())
        condition += QStringLiteral(" AND MemberCardID = '") + sqlQuote(c.cardNumber.trimmed()) +
                     QStringLiteral("' ");
    return QStringLiteral("   SELECT *  ") + QStringLiteral("     FROM mb_Summary ") +
           QStringLiteral("    WHERE ") + c.range.bound(QStringLiteral("CreateTime")) +
           QStringLiteral(" ") + condition + QStringLiteral(" ORDER BY CreateTime ");
}

Statement MemberLogPlacesStatement(bool limited)
{
    Statement sql = QStringLiteral("SELECT DISTINCT CreatePlace FROM mb_Summary");
    if (limited)
        sql += QStringLiteral(" WHERE 1=1") + BranchMark(MemberLogPlaces);
    return sql + QStringLiteral(" ORDER BY CreatePlace");
}
