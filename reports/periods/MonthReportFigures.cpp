#include "reports/periods/MonthReportFigures.h"

#include "db/SqlError.h"
#include "db/SqlText.h"
#include "db/StatementBatch.h"
#include "query/SummaryPlanner.h"
#include "screens/ctlQuery.h"

QString MonthReportFigures::key(const QString& field, const QString& column, const QString& id)
{
    if (column.isEmpty())
        return field;
    return field + QStringLiteral(" : ") + column + QStringLiteral(" = '") + sqlQuote(id) +
           QLatin1Char('\'');
}

MonthReportFigures MonthReportFigures::read(const ConnectionPtr& db, const MonthReportCriteria& c,
                                            const QDate& begin, const QDate& end)
{
    MonthReportFigures f;
    f.begin = begin;
    for (int i = 0; i <= begin.daysTo(end); ++i)
        f.days.append(Figures());

    const QVariantList range{begin, end.addDays(1)};
    StatementBatch batch;
    // Every criterion of the screen is kept by the summaries.
    using Planner = SummaryPlanner;
    const StatementBatch::Handle statements[] = {
        batch.add(Planner::answer(*db, true, Planner::Source::Bills, MonthDaySql(c),
                                  MonthDaySummaryText()),
                  range),
        batch.add(Planner::answer(*db, true, Planner::Source::Items, MonthDepartTypeSql(c),
                                  MonthDepartTypeSummaryText()),
                  range),
        batch.add(Planner::answer(*db, true, Planner::Source::Payments, MonthSubjectSql(c),
                                  MonthSubjectSummaryText()),
                  range)};
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
