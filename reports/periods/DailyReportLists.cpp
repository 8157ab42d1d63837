#include "reports/periods/DailyReportLists.h"

#include "framework/DataList.h"
#include "reports/periods/DailyReportSql.h"

DailyReportLists DailyReportLists::load(const ConnectionPtr& db, const QString& incomeSubtotal,
                                        const QString& expenseSubtotal)
{
    DailyReportLists lists;
    DataList subjects(DataList::Subjects, db);
    subjects.initialise(1, 1);
    if (!subjects.load())
        lists.failure = subjects.lastError();
    QList<DailyReportRow> income, expense;
    for (int i = 1; i <= subjects.Count(); ++i) {
        const DataListItem& s = subjects.item(i);
        if (s.attribute(QStringLiteral("IsVisible")).toInt() == 0)
            continue;
        const DailyReportRow row{s.id, s.Name};
        if (s.attribute(QStringLiteral("BalanceType")).toInt() == 0)
            income << row;
        else
            expense << row;
    }
    lists.subjects = income;
    if (!expense.isEmpty()) {
        lists.subjects << DailyReportRow{DailyIncomeSubtotalKey, incomeSubtotal}
                       << DailyReportRow{};
        lists.subjects << expense;
        lists.subjects << DailyReportRow{DailyExpenseSubtotalKey, expenseSubtotal}
                       << DailyReportRow{};
    }

    DataList departTypes(DataList::DepartTypes, db);
    departTypes.initialise(1, 1);
    if (!departTypes.load() && lists.failure.isEmpty())
        lists.failure = departTypes.lastError();
    for (int i = 1; i <= departTypes.Count(); ++i)
        lists.departTypes << departTypes.item(i).Name;

    bool hasGroups = false;
    try {
        db->execute(QStringLiteral("SELECT * FROM mn_GroupType WHERE 1<>1"));
        hasGroups = true;
    } catch (const SqlError& e) {
        if (!e.isMissingObject() && lists.failure.isEmpty()) // not "no groups": a lock, say
            lists.failure =
                QStringLiteral("cannot read the statistic groups (mn_GroupType): ") + e.message();
    }
    if (hasGroups) {
        DataList groups(DataList::GroupTypes, db);
        groups.initialise(1, 1);
        if (!groups.load() && lists.failure.isEmpty())
            lists.failure = groups.lastError();
        for (int i = 1; i <= groups.Count(); ++i)
            lists.groupTypes << qMakePair(groups.item(i).id, groups.item(i).Name);
    }
    return lists;
}
