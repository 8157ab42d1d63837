#pragma once

#include "db/Connection.h"
#include "db/Money.h"
#include "reports/periods/MonthReportSql.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QStringList>

// The month report's figures as numbers, per business day of the range and for the whole range.
// Each figure is keyed as the grid column that shows it: the field ("theBillCount",
// "theSumOfConsume"), and for a department type's or payment subject's figure the field with
// the column's condition ("theSumOfConsume : DepartTypeID = '01'", "thePaySum : SubjectID =
// '06'"). Counts and amounts alike are held in fixed point; only non-zero values are added.
struct MonthReportFigures
{
    using Figures = QHash<QString, Money>;

    QDate begin;
    QList<Figures> days;  // days[i]: the business day begin + i
    Figures total;        // the sum of the days
    QStringList failures; // the database's errors of the statements that failed

    // Runs the three statements together for the criteria's range (both dates included), their
    // branch condition written by `scope`.
    static MonthReportFigures read(const ConnectionPtr& db, const MonthReportCriteria& c,
                                   const BranchScope& scope);
    // The key of `field`, of a department type's or subject's `field` (`column` "DepartTypeID"
    // or "SubjectID" with the entry's identifier).
    static QString key(const QString& field, const QString& column = QString(),
                       const QString& id = QString());
};
