#pragma once

#include "db/Statement.h"
#include "query/ReportCriteria.h"

#include <QDate>
#include <QString>

// What the member query asks for. The birthday range is one month and a range of its days,
// whatever the year of birth; the range of dates is the cards' issue dates.
struct MemberQueryCriteria : ReportCriteria
{
    bool allTime = false; // no issue-date condition
    bool lost = false;    // only cards reported lost
    bool newCard = false; // only newly registered cards
    bool expired = false; // only cards expired by `today`
    QString memberType;   // the card type chosen; the screen's "every type" item reads empty
    bool allYear = true;  // no birthday condition
    QString birthMonth;   // typed: a whole number 1..12, held at the bounds, 1 when unreadable
    QString birthDayFrom; // typed: 1..31 likewise
    QString birthDayTo;   // typed: 1..31 likewise
    QString orderBy;      // a field of mb_MemberInfo, empty for no order
    bool descending = false;
    QString top; // the row cap as listed: its leading number, none for every row
    QDate today = QDate::currentDate();
};

// The statement over mb_MemberInfo: the expiry limit (cards whose limit is before the day after
// `today`), then the issue-date range (unless `allTime`), bound in the order they stand.
Statement MemberQueryStatement(int view, const MemberQueryCriteria& criteria);
