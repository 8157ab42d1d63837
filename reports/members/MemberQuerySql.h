#pragma once

#include <QDate>
#include <QString>
#include <QVariantList>

// What the member query asks for. The birthday range is one month and a range of its days,
// whatever the year of birth.
struct MemberQueryCriteria
{
    bool allTime = false; // no issue-date condition
    bool lost = false;    // only cards reported lost
    bool newCard = false; // only newly registered cards
    bool expired = false; // only cards expired by today
    QString memberType;   // a card type name, empty for every type
    bool byBirthday = false;
    int birthMonth = 1, birthDayFrom = 1, birthDayTo = 31;
    QString orderBy; // a field of mb_MemberInfo, empty for no order
    bool descending = false;
    int top = 0; // the row cap, 0 for every row
};

// The statement over mb_MemberInfo. Its markers, in the order they stand: the expiry limit
// (when `expired`), then the issue-date range (unless `allTime`).
QString MemberQuerySql(const MemberQueryCriteria& criteria);
// The values of those markers in the order they stand: the day after `today` for the expiry
// limit, then `begin` and the day after `end` for the issue dates.
QVariantList MemberQueryParameters(const MemberQueryCriteria& criteria, const QDate& begin,
                                   const QDate& end, const QDate& today);
