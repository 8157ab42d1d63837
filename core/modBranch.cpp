#include "core/modBranch.h"

#include "core/HostContext.h"
#include "db/SqlText.h"

#include <QComboBox>
#include <QStringList>
#include <QVariant>

namespace {

QVariantList privilegeParameters()
{
    // The group id binds to the first marker, the user id to the second.
    return {hostContext().UserGroupID, hostContext().UserID};
}

// Drops, from the last row to the first, every row whose `column` is not a key of `allowed`.
void keepAllowed(RowCollection& rows, const QString& column, const KeyedRows& allowed)
{
    for (qsizetype i = rows.size() - 1; i >= 0; --i)
        if (!allowed.contains(rows.at(i).value(column).toString()))
            rows.removeAt(i);
}

void appendInList(QString& sql, const QString& column, const QStringList& values)
{
    if (values.isEmpty())
        sql += QStringLiteral(" and 1<>1 ");
    else
        sql += QStringLiteral(" and ") + column + QStringLiteral(" in ( ") +
               values.join(QLatin1Char(',')) + QStringLiteral(" ) ");
}

QString quoted(const QVariant& value)
{
    return QLatin1Char('\'') + sqlQuote(value.toString()) + QLatin1Char('\'');
}

} // namespace

RowCollection GetAreas()
{
    RowCollection rows = ExecuteRows(
        QStringLiteral(" select distinct AreaID, AreaName from rpt_dd_Branch order by AreaID "));
    if (rows.isEmpty())
        rows = ExecuteRows(
            QStringLiteral(" select AreaID, AreaName from mnt_dd_Area order by AreaID "));
    if (TableHasRows(QStringLiteral("rpt_pv_Area"))) {
        const KeyedRows allowed = ExecuteKeyedRows(
            QStringLiteral(" select AreaID from rpt_pv_Area where UserID=? or UserID=? "),
            QStringLiteral("AreaID"), privilegeParameters());
        keepAllowed(rows, QStringLiteral("AreaID"), allowed);
    }
    return rows;
}

RowCollection GetBranches(const QString& fallbackTable)
{
    RowCollection rows =
        ExecuteRows(QStringLiteral(" select * from rpt_dd_Branch order by BranchID "));
    if (rows.isEmpty())
        rows = ExecuteRows(QStringLiteral(" select * from mnt_dd_Branch order by BranchID "));
    if (rows.isEmpty())
        rows = ExecuteRows(QStringLiteral(" select * from dd_Branch order by BranchID "));
    if (rows.isEmpty())
        rows = ExecuteRows(QStringLiteral(" select distinct BranchID, BranchName from ") +
                           fallbackTable + QStringLiteral(" order by BranchID "));
    if (TableHasRows(QStringLiteral("rpt_pv_Branch"))) {
        const KeyedRows allowed = ExecuteKeyedRows(
            QStringLiteral(" select BranchID from rpt_pv_Branch where UserID=? or UserID=? "),
            QStringLiteral("BranchID"), privilegeParameters());
        keepAllowed(rows, QStringLiteral("BranchID"), allowed);
    }
    return rows;
}

void FillBranchCombo(QComboBox* combo, const QString& fallbackTable)
{
    if (!combo || !combo->property("Tag").toString().isEmpty())
        return;
    combo->setProperty("Tag", QStringLiteral("Loaded"));
    QWidget* screen = combo->window();
    screen->setCursor(Qt::WaitCursor);
    FillComboFromRows(combo, GetBranches(fallbackTable), QStringLiteral("BranchName"));
    screen->unsetCursor();
}

void FillComboFromRows(QComboBox* combo, const RowCollection& rows, const QString& column)
{
    if (!combo)
        return;
    for (const RowDict& row : rows) {
        const QString text = row.value(column).toString();
        if (text.trimmed().isEmpty())
            continue;
        if (combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0)
            combo->addItem(text);
    }
}

std::optional<QStringList> PrivilegedBranchIds()
{
    if (!TableHasRows(QStringLiteral("rpt_pv_Branch")))
        return std::nullopt;
    const RowCollection rows = ExecuteRows(
        QStringLiteral(" select BranchID from rpt_pv_Branch where UserID=? or UserID=?"),
        privilegeParameters());
    QStringList ids;
    for (const RowDict& row : rows)
        ids.append(row.value(QStringLiteral("BranchID")).toString());
    return ids;
}

QString BranchIdFilter(const std::optional<QStringList>& values, const QString& column)
{
    QString sql;
    if (values) {
        QStringList quotedValues;
        for (const QString& v : *values)
            quotedValues.append(quoted(v));
        appendInList(sql, column, quotedValues);
    }
    return sql;
}

BillScope UserBillScope()
{
    return {PrivilegedBranchIds(), hostContext().TrueDataAllowed};
}

void AppendBranchFilter(QString& sql, const QString& column)
{
    sql += BranchIdFilter(PrivilegedBranchIds(), column);
}

std::optional<QStringList> PrivilegedBranchNames()
{
    if (!TableHasRows(QStringLiteral("rpt_pv_Branch")))
        return std::nullopt;
    QStringList names;
    for (const RowDict& row : GetBranches(QStringLiteral("bi_Bill")))
        names.append(row.value(QStringLiteral("BranchName")).toString());
    return names;
}

void AppendBranchNameFilter(QString& sql, const QString& column)
{
    sql += BranchIdFilter(PrivilegedBranchNames(), column);
}

QString BranchChoiceFilter(const BranchChoice& choice, const QString& idColumn,
                           const QString& nameColumn)
{
    QString sql;
    switch (choice.kind) {
    case BranchChoice::All:
        sql = BranchIdFilter(choice.privileged, idColumn);
        break;
    case BranchChoice::Several:
        sql = QStringLiteral(" and ") + idColumn + QStringLiteral(" in (") + choice.ids +
              QStringLiteral(") ");
        break;
    case BranchChoice::One:
        sql = QStringLiteral(" and ") + nameColumn + QStringLiteral("='") + sqlQuote(choice.name) +
              QStringLiteral("' ") + BranchIdFilter(choice.privileged, idColumn);
        break;
    }
    return sql;
}
