#pragma once

#include "db/Connection.h"
#include "db/Money.h"
#include "db/Statement.h"

#include <QDate>
#include <QList>

#include <functional>
#include <optional>
#include <vector>

// The figures of a daily chart line: one point per calendar day from the begin date to the
// end date, each zero until rows of its day add to it, with the total and the largest day (never
// below zero). A point may be shown divided (the table turnover: bills per table). Worked out in
// fixed point before anything is drawn.
class DailyLine
{
public:
    DailyLine() = default;
    DailyLine(const QDate& begin, const QDate& end);

    QDate begin() const { return m_begin; }
    int days() const { return int(m_points.size()); }
    QDate day(int index) const { return m_begin.addDays(index); }
    // The day's value as plotted: its rows' sum, divided when the line has a divisor.
    Money point(int index) const;
    Money sum(int index) const { return m_points.value(index); }
    int divisor() const { return m_divisor; }
    // Points are shown divided by `divisor` (four places) when it is above 0.
    void setDivisor(int divisor) { m_divisor = divisor; }
    Money total() const { return m_total; }
    Money maximum() const { return m_maximum; }
    // The total over every day of the range, days without sales included, to the cent; zero
    // for an empty range.
    Money average() const;

    // A row of `day` adds `value` to its day and to the total. A day outside the range changes
    // nothing (false).
    bool add(const QDate& day, Money value);

    // The rows (BillDate, TotalSum) of `statement` (its range begin..end), with the divisor for
    // the points. `progress` hears (days read up to, days). Throws SqlError, and
    // std::runtime_error naming the column when a sum leaves the range of Money.
    static DailyLine read(const Connection& db, const Statement& statement, const QDate& begin,
                          const QDate& end, int divisor = 0,
                          const std::function<void(int, int)>& progress = {});

    // `value` ÷ `divisor`, rounded half away from zero to `decimals` places (at most four).
    static Money divided(Money value, std::int64_t divisor, int decimals = 4);

private:
    QDate m_begin;
    QList<Money> m_points;
    Money m_total;
    Money m_maximum;
    int m_divisor = 0;
};

// Day i of a line set beside day i of the same line over the range it is compared with (the
// previous period, the same dates a year earlier): the two figures as shown (rounded to the
// places shown), the change (figure − compared figure) and the change in percent of the compared
// figure. A day past the compared range's last day (a range holding 29 February compared with
// the year before) has no compared figure, change or percent; a compared figure of 0 no percent.
struct ComparedDay
{
    QDate day;
    Money figure;
    QDate comparedDay; // invalid past the compared range
    std::optional<Money> compared;
    std::optional<Money> change;
    std::optional<double> percent;
};
std::vector<ComparedDay> CompareLines(const DailyLine& line, const DailyLine& compared,
                                      int decimals);
