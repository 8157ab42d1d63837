#pragma once

#include "db/Connection.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// One row of the subject block: a subject id, an income or expense subtotal key, or an empty
// key for a blank spacer row; and the caption shown in column 2.
struct DailyReportRow
{
    QString key;
    QString caption;
};

// The rows of the daily report's two blocks, read from the data lists once per run.
struct DailyReportLists
{
    QList<DailyReportRow> subjects;
    QStringList departTypes;                   // department type names, in list order
    QList<QPair<QString, QString>> groupTypes; // group type id and name, in list order
    // Why a list could not be read (its rows are then missing): empty when all were read.
    QString failure;

    // Visible income subjects; then, when there are visible expense subjects, the income
    // subtotal, a blank row, the expense subjects, the expense subtotal and a blank row.
    // Group types only when mn_GroupType exists.
    static DailyReportLists load(const ConnectionPtr& db, const QString& incomeSubtotal,
                                 const QString& expenseSubtotal);
};
