// A report as values: statements written with their parameters, the one date convention and its
// named variants, the branch condition of each choice and the scope that writes it, run against
// the bill fixture (bills on both sides of 2026-03-10, two branches).
#include "db/Recordset.h"
#include "db/Statement.h"
#include "query/BranchScope.h"
#include "query/DateRange.h"
#include "tests/support/TestDatabase.h"

#include <QtTest>

#include <stdexcept>

namespace {

const BranchColumns Bills{"BranchID", "BranchName"};
const BranchColumns Stock{QString(), "StockName", "本地"};

const DateRange The10th{QDate(2026, 3, 10), QDate(2026, 3, 10)};

// The bill numbers a statement over bi_Bill returns, in order.
QStringList billIds(const TestDatabase& db, const Statement& s)
{
    QStringList ids;
    for (auto rs = db.connection()->execute(s.text(), s.parameters()); !rs->atEnd(); rs->moveNext())
        ids << rs->value(QStringLiteral("BillID")).toString();
    return ids;
}

Statement billsWhere(const Statement& condition)
{
    return QStringLiteral("SELECT BillID FROM bi_Bill WHERE ") + condition +
           QStringLiteral(" ORDER BY BillID");
}

} // namespace

class TestReportValues : public QObject
{
    Q_OBJECT
private slots:
    void fragmentsKeepTheirParameters()
    {
        Statement s = QStringLiteral("A ");
        s += Statement(QStringLiteral("x=? "), {1});
        s += BranchMark(Bills);
        s += Statement(QStringLiteral("AND y=? "), {2}) + BranchMark(Stock) + QStringLiteral("Z");
        QCOMPARE(s.text(), QString("A x=? AND y=? Z"));
        QCOMPARE(s.parameters(), QVariantList({1, 2}));
        QCOMPARE(s.marks().size(), 2);
        QCOMPARE(s.marks().at(0).at, 6);
        QCOMPARE(s.marks().at(1).at, 14);
        QVERIFY_THROWS_EXCEPTION(std::logic_error, s.requireFilled());
        const Statement f = s.filled([](const QVariant& what) {
            return what.value<BranchColumns>() == Bills ? QString("[1]") : QString("[2]");
        });
        QCOMPARE(f.text(), QString("A x=? [1]AND y=? [2]Z"));
        QCOMPARE(f.parameters(), QVariantList({1, 2}));
        f.requireFilled();
    }

    void oneDateConventionAndItsVariants()
    {
        const DateRange r{QDate(2026, 3, 1), QDate(2026, 3, 10)};
        const QVariantList beginAndDayAfter{QDate(2026, 3, 1), QDate(2026, 3, 11)};
        QCOMPARE(r.bound("BL.BillDate"),
                 Statement("BL.BillDate>=? AND BL.BillDate<?", beginAndDayAfter));
        QCOMPARE(r.bound("BillDate", DateRange::Spaced),
                 Statement("BillDate >=? AND BillDate <?", beginAndDayAfter));
        QCOMPARE(r.bound("BillDate", DateRange::Lower),
                 Statement("BillDate>=? and BillDate<?", beginAndDayAfter));
        QCOMPARE(r.boundToMidnightAfter("CreateTime"),
                 Statement("CreateTime>=? AND CreateTime<=?", beginAndDayAfter));
        QCOMPARE(r.boundThroughEndDate("BL.BillDate"),
                 Statement("BL.BillDate>=? AND BL.BillDate<=?",
                           {QDate(2026, 3, 1), QDate(2026, 3, 10)}));
        QCOMPARE(r.boundAsLiterals("BL.BillDate", false).text(),
                 QString("BL.BillDate >= #2026-03-01# and BL.BillDate < #2026-03-11#"));
        QCOMPARE(r.boundAsLiterals("BL.BillDate", true),
                 Statement("BL.BillDate >= '2026-03-01' and BL.BillDate < '2026-03-11'"));

        // Over bills dated 23:59:59 the day before, through the day, and at midnight after it.
        TestDatabase db("bill_query.sql");
        const QStringList day{"Q1", "Q2", "Q3", "Q4", "Q7"};
        QCOMPARE(billIds(db, billsWhere(The10th.bound("BillDate"))), day);
        QCOMPARE(billIds(db, billsWhere(The10th.boundAsLiterals("BillDate", true))), day);
        QCOMPARE(billIds(db, billsWhere(The10th.boundToMidnightAfter("BillDate"))),
                 QStringList({"Q1", "Q2", "Q3", "Q4", "Q5", "Q7"}));
        // The end date itself counts only for bills without a time of day.
        const DateRange from9th{QDate(2026, 3, 9), QDate(2026, 3, 10)};
        QCOMPARE(billIds(db, billsWhere(from9th.boundThroughEndDate("BillDate"))),
                 QStringList{"Q6"});
    }

    void branchConditionOfEachChoice()
    {
        BranchChoice all;
        QCOMPARE(BranchCondition(all, Bills), QString());
        all.privileged = QStringList();
        QCOMPARE(BranchCondition(all, Bills), QString(" and 1<>1 "));
        all.privileged = QStringList{"01", "0'2"};
        QCOMPARE(BranchCondition(all, Bills), QString(" and BranchID in ( '01','0''2' ) "));
        all.privilegedNames = QStringList{"北京店"};
        QCOMPARE(BranchCondition(all, Stock), QString(" and StockName in ( '北京店' ) "));

        BranchChoice several;
        several.kind = BranchChoice::Several;
        several.ids = {"01", "02"};
        several.names = {"北京店", "O'Neil店"};
        QCOMPARE(BranchCondition(several, Bills), QString(" and BranchID in ('01','02') "));
        QCOMPARE(BranchCondition(several, Stock),
                 QString(" and (StockName in ('北京店','O''Neil店') or StockName='本地') "));

        BranchChoice one;
        one.kind = BranchChoice::One;
        one.name = "上海店";
        one.privileged = QStringList{"01"};
        QCOMPARE(BranchCondition(one, Bills),
                 QString(" and BranchName='上海店'  and BranchID in ( '01' ) "));
        QCOMPARE(BranchCondition(one, Stock),
                 QString(" and (StockName='上海店' or StockName='本地') "));
    }

    void theScopeWritesOnlyDeclaredMarks()
    {
        const Statement marked = billsWhere(The10th.bound("BillDate") + BranchMark(Bills));
        const Statement unmarked = billsWhere(The10th.bound("BillDate"));
        // A statement of a report with branch columns and no mark, or with a mark on columns the
        // report does not declare, never runs.
        QVERIFY_THROWS_EXCEPTION(std::logic_error, BranchScope::check(unmarked, {Bills}));
        QVERIFY_THROWS_EXCEPTION(std::logic_error, BranchScope::check(marked, {Stock}));
        QVERIFY_THROWS_EXCEPTION(std::logic_error, BranchScope::check(marked, {}));
        BranchScope::check(unmarked, {});
        BranchScope::check(unmarked + NoBranchCondition(), {Bills});

        TestDatabase db("bill_query.sql");
        BranchChoice mine;
        mine.privileged = QStringList{"02"};
        QCOMPARE(billIds(db, BranchScope({Bills}, mine).fill(marked)), QStringList({"Q3", "Q7"}));
        // A branch named that the user may not see gives nothing.
        mine.kind = BranchChoice::One;
        mine.name = "北京店";
        QCOMPARE(billIds(db, BranchScope({Stock, Bills}, mine).fill(marked)), QStringList());
        QCOMPARE(BranchScope({Bills}, mine).fill(unmarked + NoBranchCondition()), unmarked);
    }
};

QTEST_MAIN(TestReportValues)
#include "tst_reportvalues.moc"
