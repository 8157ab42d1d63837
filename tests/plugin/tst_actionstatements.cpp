// Every action's screen is built, and each of its views' statements checked against the branch
// columns the screen declares: a statement of a report with branch columns that carries no
// branch mark, or one that marks columns the report does not declare, would run unfiltered or
// filter on the wrong table; it must be refused where the screen is declared.
#include "core/ActionTable.h"
#include "framework/HostUi.h"
#include "plugin/ActionRows.h"
#include "query/BranchScope.h"
#include "query/ScreenSpec.h"
#include "tests/support/TestDatabase.h"
#include "ui/QueryReportScreen.h"
#include "ui/ReportScreen.h"

#include <QtTest>

#include <stdexcept>

namespace {

// Each view's statement, or each of the statements its figures come from (the figures'
// statements of a screen without views), for criteria as they start; throws std::logic_error
// naming the view whose statement is refused.
void checkStatements(const ScreenSpec& spec)
{
    for (int v = 0; v < std::max(1, int(spec.views.size())); ++v) {
        std::vector<Statement> statements;
        if (spec.criteria.statement)
            statements.push_back(spec.criteria.statement(v, spec.criteria.make()));
        if (spec.criteria.statements)
            for (const Statement& s : spec.criteria.statements(v, spec.criteria.make()))
                statements.push_back(s);
        for (const Statement& s : statements) {
            try {
                BranchScope::check(s, spec.branch);
            } catch (const std::logic_error& e) {
                throw std::logic_error(std::string(spec.name) + " view " + std::to_string(v + 1) +
                                       ": " + e.what());
            }
        }
    }
}

struct Criteria : ReportCriteria
{
};

Statement unmarked(int, const Criteria& c)
{
    return QStringLiteral(" SELECT * FROM bi_Bill WHERE ") + c.range.bound("BillDate");
}

Statement markedOnItems(int, const Criteria& c)
{
    return QStringLiteral(" SELECT * FROM bi_Bill WHERE ") + c.range.bound("BillDate") +
           BranchMark({"BL.BranchID", "BL.BranchName"});
}

const BranchColumns Bills{"BranchID", "BranchName"};

const ScreenSpec kUnmarked{
    .name = "frmUnmarked",
    .title = "unmarked",
    .size = {11070, 7980},
    .criteria = CriteriaOf<Criteria>(unmarked),
    .branch = {Bills},
    .rows = {{BeginDate, EndDate, BranchCriterionSpec()}},
    .views = {{.title = "unmarked", .columns = {TextColumn("BillID", "单号", 1500)}}},
};

const ScreenSpec kUndeclared{
    .name = "frmUndeclared",
    .title = "undeclared",
    .size = {11070, 7980},
    .criteria = CriteriaOf<Criteria>(markedOnItems),
    .branch = {Bills},
    .rows = {{BeginDate, EndDate, BranchCriterionSpec()}},
    .views = {{.title = "undeclared", .columns = {TextColumn("BillID", "单号", 1500)}}},
};

} // namespace

class tst_ActionStatements : public QObject
{
    Q_OBJECT
private slots:
    void everyActionsStatementsCarryTheirBranchMarks();
    void anUnmarkedStatementIsRefused();
};

void tst_ActionStatements::everyActionsStatementsCarryTheirBranchMarks()
{
    HostUi::setHeadless(true);
    TestDatabase db;
    db.install();
    ActionTable table;
    AddActionRows(table);
    int checked = 0;
    for (const QString& action : table.actions()) {
        QWidget* screen = nullptr;
        try {
            screen = table.screen(action); // a declaration refused throws here
        } catch (const std::exception& e) {
            QFAIL(qPrintable(action + QStringLiteral(": ") + QString::fromUtf8(e.what())));
        }
        const auto* report = qobject_cast<ReportScreen*>(screen);
        if (!report || !(report->spec().criteria.statement || report->spec().criteria.statements))
            continue;
        try {
            checkStatements(report->spec());
        } catch (const std::logic_error& e) {
            QFAIL(qPrintable(action + QStringLiteral(": ") + QString::fromUtf8(e.what())));
        }
        ++checked;
    }
    // Most actions' screens give their statements from their criteria.
    QVERIFY2(checked >= 20, qPrintable(QString::number(checked)));
}

void tst_ActionStatements::anUnmarkedStatementIsRefused()
{
    HostUi::setHeadless(true);
    TestDatabase db;
    db.install();
    for (const ScreenSpec* spec : {&kUnmarked, &kUndeclared}) {
        QVERIFY_THROWS_EXCEPTION(std::logic_error, checkStatements(*spec));
        QVERIFY_THROWS_EXCEPTION(std::logic_error, QueryReportScreen screen(*spec));
    }
    // Marked on the declared columns, the same statement passes; a report without branch
    // columns may not mark any.
    checkStatements(ScreenSpec{.name = "frmMarked",
                               .title = "marked",
                               .size = {11070, 7980},
                               .criteria = CriteriaOf<Criteria>(markedOnItems),
                               .branch = {{"BL.BranchID", "BL.BranchName"}}});
    QVERIFY_THROWS_EXCEPTION(
        std::logic_error,
        checkStatements(ScreenSpec{.name = "frmNoBranch",
                                   .title = "no branch",
                                   .size = {11070, 7980},
                                   .criteria = CriteriaOf<Criteria>(markedOnItems)}));
}

QTEST_MAIN(tst_ActionStatements)
#include "tst_actionstatements.moc"
