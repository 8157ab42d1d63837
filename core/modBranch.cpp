#include "core/modBranch.h"

#include "core/HostContext.h"
#include "db/SqlError.h"
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

// Whether the database's catalogue lists `table`, read without touching the table's rows (which
// a missing right or a damaged page may keep from being read). Throws SqlError when the
// catalogue itself cannot be read.
bool inCatalogue(const QString& table)
{
    const ConnectionPtr db = hostContext().connection();
    QString sql;
    switch (db->dialect()) {
    case SqlDialect::Sqlite:
        sql = QStringLiteral("SELECT count(*) AS n FROM sqlite_master "
                             "WHERE type IN ('table','view') AND lower(name)=lower(?)");
        break;
    case SqlDialect::Postgres: // pg_class lists every table and view, readable or not
        sql = QStringLiteral("SELECT count(*) AS n FROM pg_catalog.pg_class "
                             "WHERE relkind IN ('r','v','m','f','p') AND lower(relname)=lower(?)");
        break;
    case SqlDialect::MsSql:
        sql = QStringLiteral("SELECT count(*) AS n FROM sys.objects "
                             "WHERE type IN ('U','V') AND name=?");
        break;
    }
    auto rs = db->execute(sql, {table});
    return !rs->atEnd() && rs->value(0).toLongLong() > 0;
}

// The ids that privilege table `table` lists in `column` for the user and his group, read by
// `sql` (his group's id bound first), in row order; nullopt when the table grants everything
// (it does not exist, or has no rows). Throws SqlError, with the database's reason, when the
// table exists but cannot be read: a privilege that cannot be read never grants anything.
std::optional<QStringList> readPrivileges(const QString& table, const QString& column,
                                          const QString& sql)
{
    try {
        if (ExecuteRecordset(QStringLiteral("select top 1 * from [") + table + QStringLiteral("]"))
                ->atEnd())
            return std::nullopt;
        QStringList ids;
        for (auto rs = ExecuteRecordset(sql, privilegeParameters()); !rs->atEnd(); rs->moveNext())
            ids.append(rs->value(column).toString());
        return ids;
    } catch (const std::exception& e) {
        QString reason = QString::fromUtf8(e.what());
        try {
            if (!inCatalogue(table))
                return std::nullopt;
        } catch (const std::exception& catalogue) {
            reason = QString::fromUtf8(catalogue.what());
        }
        throw SqlError(QStringLiteral("cannot read the privileges of %1: %2").arg(table, reason));
    }
}

std::optional<QStringList> branchPrivileges(const QString& sql)
{
    return readPrivileges(QStringLiteral("rpt_pv_Branch"), QStringLiteral("BranchID"), sql);
}

// Keeps the rows whose `column` is one of `allowed` (all of them for nullopt), in their order.
void keepAllowed(RowCollection& rows, const QString& column,
                 const std::optional<QStringList>& allowed)
{
    if (!allowed)
        return;
    for (qsizetype i = rows.size() - 1; i >= 0; --i)
        if (!allowed->contains(rows.at(i).value(column).toString()))
            rows.removeAt(i);
}

// The branch rows of the first source that has any: every branch of the chain.
RowCollection branchList(const QString& fallbackTable)
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
    return rows;
}

// The branch rows the user may see. Throws SqlError when the privileges cannot be read.
RowCollection readBranches(const QString& fallbackTable)
{
    RowCollection rows = branchList(fallbackTable);
    keepAllowed(rows, QStringLiteral("BranchID"),
                branchPrivileges(QStringLiteral(
                    " select BranchID from rpt_pv_Branch where UserID=? or UserID=? ")));
    return rows;
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
    return sqlLiteral(value.toString());
}

} // namespace

RowCollection GetAreas()
{
    RowCollection rows = ExecuteRows(
        QStringLiteral(" select distinct AreaID, AreaName from rpt_dd_Branch order by AreaID "));
    if (rows.isEmpty())
        rows = ExecuteRows(
            QStringLiteral(" select AreaID, AreaName from mnt_dd_Area order by AreaID "));
    try {
        keepAllowed(rows, QStringLiteral("AreaID"),
                    readPrivileges(QStringLiteral("rpt_pv_Area"), QStringLiteral("AreaID"),
                                   QStringLiteral(" select AreaID from rpt_pv_Area where "
                                                  "UserID=? or UserID=? ")));
    } catch (const SqlError&) {
        rows.clear(); // privileges that cannot be read show no area
    }
    return rows;
}

RowCollection GetBranches(const QString& fallbackTable)
{
    try {
        return readBranches(fallbackTable);
    } catch (const SqlError&) {
        return {}; // privileges that cannot be read show no branch
    }
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
    return branchPrivileges(
        QStringLiteral(" select BranchID from rpt_pv_Branch where UserID=? or UserID=?"));
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
    BillScope scope{QStringList(), hostContext().TrueDataAllowed};
    try {
        scope.branchIds = PrivilegedBranchIds();
    } catch (const SqlError&) {
        // privileges that cannot be read: no bill (the empty list)
    }
    return scope;
}

std::optional<QStringList> LimitedBranchIds()
{
    const std::optional<QStringList> ids = PrivilegedBranchIds();
    if (!ids)
        return ids;
    const RowCollection all = branchList(QStringLiteral("bi_Bill"));
    for (const RowDict& row : all)
        if (!ids->contains(row.value(QStringLiteral("BranchID")).toString()))
            return ids;
    return all.isEmpty() ? ids : std::nullopt;
}

bool BillOfHiddenBranch(const QString& billId)
{
    const std::optional<QStringList> branches = LimitedBranchIds();
    if (!branches)
        return false;
    auto rs =
        ExecuteRecordset(QStringLiteral("select BranchID from bi_Bill where BillID=?"), {billId});
    return !rs->atEnd() && !branches->contains(rs->value(0).toString());
}

void AppendBranchFilter(QString& sql, const QString& column)
{
    sql += BranchIdFilter(PrivilegedBranchIds(), column);
}

std::optional<QStringList> PrivilegedBranchNames()
{
    if (!PrivilegedBranchIds())
        return std::nullopt;
    QStringList names;
    for (const RowDict& row : readBranches(QStringLiteral("bi_Bill")))
        names.append(row.value(QStringLiteral("BranchName")).toString());
    return names;
}

void AppendBranchNameFilter(QString& sql, const QString& column)
{
    sql += BranchIdFilter(PrivilegedBranchNames(), column);
}
