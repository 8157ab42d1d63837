#pragma once

#include "db/Connection.h"
#include "db/Money.h"
#include "reports/periods/HourReportSql.h"

#include <QStringList>

#include <array>
#include <optional>

// The hour report's figures as numbers: the bills of a date range summed per clock hour of
// their creation and over the whole range. The sheet renders them (frmHourReport).
struct HourReportFigures
{
    struct Sums
    {
        Money paid; // money paid (SumPaid): the turnover and the base of the shares
        Money consume, service, discount;
        qint64 bills = 0, guests = 0;

        // The share of `grand` in whole per cent; 0 when `grand` is not above zero.
        qint64 percentOf(Money grand) const;
        // Money paid per bill and per guest in whole units; absent without bills or guests.
        std::optional<qint64> perBill() const;
        std::optional<qint64> perGuest() const;
    };

    std::array<std::optional<Sums>, 24> hours; // by clock hour; absent: no bill then
    std::optional<Sums> allDay;                // absent when the range has no bill
    QStringList failures; // the database's errors of the statements that failed

    // Runs both statements together, their branch condition written by `scope`.
    static HourReportFigures read(const ConnectionPtr& db, const HourReportCriteria& c,
                                  const BranchScope& scope);
    // `amount` / `divisor` rounded half away from zero to whole units.
    static qint64 whole(Money amount, qint64 divisor = 1);
};
