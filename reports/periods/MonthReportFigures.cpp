#include "reports/periods/MonthReportFigures.h"

#include "db/SqlError.h"
#include "db/SqlText.h"
#include "db/StatementBatch.h"
#include "query/SummaryPlanner.h"
#include "ui/ctlQuery.h"

QString MonthReportFigures::key(const QString& field, const QString& column, const QString& id)
{
    if (column.isEmpty())
        return field;
    return field + QStringLiteral(" : ") + column + QStringLiteral(" = '") + sqlQuote(id) +
           QLatin1Char('\'');
}

MonthReportFigures MonthReportFigures::read(const ConnectionPtr& db, const MonthReportCriteria& c,
                                            const BranchScope& scope)
{
    const QDate begin = c.range.begin;
    MonthReportFigures f;
    f.begin = begin;
    for (int i = 0; i <= begin.daysTo(c.range.end); ++i)
        f.days.append(Figures());

    StatementBatch batch;
    // Every criterion of the screen is kept by the summaries.
    using Planner = SummaryPlanner;
    auto add = [&](const Statement& statement, Planner::Source source,
                   const Planner::Replacements& replacements) {
        const Statement s = scope.fill(statement);
        return batch.add(Planner::answer(*db, true, source, s, replacements));
    };
    const StatementBatch::Handle statements[] = {
        add(MonthDayStatement(c), Planner::Source::Bills, MonthDaySummaryText()),
        add(MonthDepartTypeStatement(c), Planner::Source::Items, MonthDepartTypeSummaryText()),
        add(MonthSubjectStatement(c), Planner::Source::Payments, MonthSubjectSummaryText())};
    batch.run(*db);
    const QString billDate = QStringLiteral("BillDate");
    const QStringList owners{QStringLiteral("DepartTypeID"), QStringLiteral("SubjectID")};
    for (const StatementBatch::Handle& h : statements) {
        try {
            auto rs = batch.open(h);
            // The figures of a row: every field but the day and the department type or
            // subject it belongs to.
            QString owner;
            QList<int> fields;
            for (int i = 0; i < rs->fieldCount(); ++i) {
                const QString name = rs->fieldName(i);
                if (owners.contains(name))
                    owner = name;
                else if (name != billDate)
                    fields << i;
            }
            for (; !rs->atEnd(); rs->moveNext()) {
                const QDate day =
                    QDate::fromString(rs->value(billDate).toString().left(10), Qt::ISODate);
                const qint64 i = begin.daysTo(day);
                if (!day.isValid() || i < 0 || i >= f.days.size())
                    continue;
                const QString id = owner.isEmpty() ? QString() : rs->value(owner).toString();
                for (int field : fields) {
                    const QString k = key(rs->fieldName(field), owner, id);
                    MoneyInColumn(k, [&] {
                        const Money value = Money::fromVariant(rs->value(field));
                        if (value.isZero())
                            return;
                        f.days[i][k] += value;
                        f.total[k] += value;
                    });
                }
            }
        } catch (const SqlError& e) {
            f.failures << e.message();
        } catch (const MoneyOverflow& e) {
            f.failures << ctlQuery::fillTexts().overflow.arg(e.column());
        }
    }
    f.failures.removeDuplicates(); // one overflow may show in several statements
    return f;
}
