// A screen made from its description alone: the criteria bar's controls, their values by name,
// the meal-period boxes, the views with their query controls and the derived language section,
// over the fixture database.
#include "core/HostContext.h"
#include "core/modMessage.h"
#include "framework/HostUi.h"
#include "query/ItemCriteria.h"
#include "query/ScreenSpec.h"
#include "sheet/Sheet.h"
#include "tests/support/ComboItems.h"
#include "tests/support/TestDatabase.h"
#include "ui/CriteriaBar.h"
#include "ui/QueryReportScreen.h"
#include "ui/ctlQuery.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolBar>
#include <QtTest>

#include <stdexcept>

namespace {

using K = CriterionKind;

// The list probe's criteria: the statement reads only the range, the rest is read to be shown.
struct ListCriteria : ReportCriteria
{
    QString area;
    int giftScope = 0;
    QString shift;
    QStringList periods;
    int view = 0;
    bool descending = false;
};

Statement probeListStatement(int view, const ListCriteria& c)
{
    if (view == 0)
        return QStringLiteral("SELECT BillID, SumPaid FROM bi_Bill WHERE ") +
               c.range.bound(QStringLiteral("BillDate")) + QStringLiteral(" ORDER BY BillID");
    return QStringLiteral("SELECT BillPeriod, COUNT(*) AS theCount FROM bi_Bill WHERE ") +
           c.range.bound(QStringLiteral("BillDate")) +
           QStringLiteral(" GROUP BY BillPeriod ORDER BY BillPeriod");
}

const ScreenSpec kSpec{
    .name = "frmProbeList",
    .title = "账单",
    .size = {11070, 7980},
    .criteria = CriteriaOf<ListCriteria>(probeListStatement),
    .rows =
        {{BeginDate,
          EndDate,
          {.name = "cboTableAreaName",
           .kind = K::List,
           .label = "台区:",
           .labelWidth = 600,
           .source = {.kind = ListSource::Query,
                      .sql = "SELECT DISTINCT TableAreaID,TableAreaName FROM bi_Bill ORDER "
                             "BY TableAreaID",
                      .field = "TableAreaName"},
           .into = Into(&ListCriteria::area)}},
         {IsSentMenuSpec(Into(&ListCriteria::giftScope)),
          {.name = "cboShiftID",
           .kind = K::Text,
           .label = "交班号:",
           .labelWidth = 780,
           .into = Into(&ListCriteria::shift)},
          {.name = "chkPeriod",
           .kind = K::MealPeriods,
           .width = 900,
           .text = "餐段",
           .into = Into(&ListCriteria::periods)}},
         {UseTrueData,
          Saving,
          {.name = "optQuery", .kind = K::Views, .width = 1200, .into = Into(&ListCriteria::view)}},
         {{.name = "optOrderBy_0", .kind = K::Option, .text = "顺序"},
          {.name = "optOrderBy_1",
           .kind = K::Option,
           .text = "倒序",
           .into = Into(&ListCriteria::descending)}}},
    .views =
        {{.option = "明细",
          .title = "账单明细",
          .columns =
              {{.field = "BillID", .caption = "单号", .width = 1200},
               {.field = "SumPaid", .caption = "实收", .sum = true, .kind = ColumnKind::Number}}},
         {.option = "汇总",
          .title = "账单汇总",
          .columns =
              {{.field = "BillPeriod", .caption = "餐段"},
               {.field = "theCount", .caption = "笔数", .sum = true, .kind = ColumnKind::Number}}}},
    .texts = {{"Msg_Own", "自己的"}},
};

class ProbeList : public QueryReportScreen
{
public:
    ProbeList() : QueryReportScreen(kSpec) {}
    const CriteriaBar& bar() const { return *m_criteria; }
};

bool has(const LanguageSection* s, const QString& key, const QString& property, const QString& text)
{
    return s->defaultText(key, property) == text;
}

// Lists that follow another criterion: menu types of the department type chosen, and a list of
// the screen's own that follows the branch.
const ScreenSpec kFollowing{
    .name = "frmProbeFollowing",
    .title = "菜品",
    .size = {11070, 7980},
    .rows = {{BranchCriterionSpec(),
              DepartTypesSpec(),
              MenuTypesSpec(),
              MenuTextSpec(),
              {.name = "cboOwn",
               .kind = K::List,
               .label = "自己:",
               .source = {.kind = ListSource::Screen, .owner = "cboBranch"}}}},
    .views = {{.title = "菜品", .columns = {{.field = "MenuID", .caption = "菜号"}}}},
};

class ProbeFollowing : public QueryReportScreen
{
public:
    ProbeFollowing() : QueryReportScreen(kFollowing) {}
    QStringList fills; // the branch choice each fill of cboOwn read

protected:
    void fillList(const QString& name, QComboBox* combo) override
    {
        BranchChoice branch;
        const bool ok = m_criteria->branchAsShown(&branch);
        fills << name + (ok ? "=" + branch.name : " refused");
        combo->addItem("x");
    }
};

// A card number read from a magnetic card reader, and sort choices from the view's columns.
struct CardCriteria : ReportCriteria
{
    QString card, sort, sortOrNot;
};
const ScreenSpec kCardAndSort{
    .name = "frmProbeCard",
    .title = "会员",
    .size = {11070, 7980},
    .criteria = CriteriaOf<CardCriteria>(),
    .rows = {{{.name = "cboMemberCardID",
               .kind = K::CardNumber,
               .label = "会员卡:",
               .into = Into(&CardCriteria::card)},
              {.name = "cboOrderBy",
               .kind = K::List,
               .label = "排序:",
               .source = {.kind = ListSource::Columns},
               .into = Into(&CardCriteria::sort)},
              {.name = "cboSortOrNot",
               .kind = K::List,
               .label = "排序:",
               .source = {.kind = ListSource::Columns, .items = {{"Msg_OrderBy_None", "(不排序)"}}},
               .into = Into(&CardCriteria::sortOrNot)}}},
    .views = {{.title = "会员",
               .columns = {{.field = "MemberCardID", .caption = "卡号"},
                           {.field = "Expense|Expense_NewCard", .caption = "发卡费"}}}},
};

class ProbeCard : public QueryReportScreen
{
public:
    ProbeCard() : QueryReportScreen(kCardAndSort) {}
};

// Views that form control arrays, their options two to a line.
const ScreenSpec kArrays{
    .name = "frmProbeArrays",
    .title = "日志",
    .size = {11070, 7980},
    .rows = {{{.name = "optQuery",
               .kind = K::Views,
               .label = "类型:",
               .labelWidth = 600,
               .width = 1000,
               .indexed = true,
               .perLine = 2}}},
    .views = {{.option = "全部", .title = "全部", .columns = {{.field = "A", .caption = "甲"}}},
              {.option = "发卡", .title = "发卡", .columns = {{.field = "B", .caption = "乙"}}},
              {.option = "挂失", .title = "挂失", .columns = {{.field = "C", .caption = "丙"}}}},
};

class ProbeArrays : public QueryReportScreen
{
public:
    ProbeArrays() : QueryReportScreen(kArrays) {}
    const CriteriaBar& bar() const { return *m_criteria; }
};

// A screen whose criteria are read into a type of its own, and whose one statement comes from a
// pure function of them.
struct ProbeCriteria : ReportCriteria
{
    QString area;
    int giftScope = -1;
    QString shift;
    QStringList periods;
    bool descending = false;
};
const BranchColumns ProbeBranch{"BranchID", "BranchName"};

Statement probeStatement(int, const ProbeCriteria& c)
{
    Statement s = QStringLiteral("SELECT BillID, SumPaid FROM bi_Bill WHERE ") +
                  c.range.bound(QStringLiteral("BillDate")) + BranchMark(ProbeBranch);
    if (!c.useTrueData)
        s += QStringLiteral(" AND IsDeleted=0 ");
    return s + QStringLiteral(" ORDER BY BillID") +
           (c.descending ? QStringLiteral(" DESC") : QString());
}

using P = ProbeCriteria;
std::vector<std::vector<CriterionSpec>> typedRows()
{
    return {
        {BeginDate, EndDate, BranchCriterionSpec(),
         TableAreaSpec(Into(&P::area), "cboTableAreaName")},
        {{.name = "cboIsSentMenu",
          .kind = K::List,
          .source = {.kind = ListSource::Items,
                     .items = {{"Msg_IsSentMenu_NotInclude"}, {"Msg_IsSentMenu_Only"}}},
          .into = Into(&P::giftScope)},
         ShiftIdSpec(Into(&P::shift)),
         {.name = "chkPeriod", .kind = K::MealPeriods, .text = "餐段", .into = Into(&P::periods)}},
        {UseTrueData, Saving},
        {{.name = "optOrderBy_0", .kind = K::Option, .text = "顺序"},
         {.name = "optOrderBy_1",
          .kind = K::Option,
          .text = "倒序",
          .into = Into(&P::descending)}}};
}

ScreenSpec typedSpec(std::vector<std::vector<CriterionSpec>> rows,
                     std::vector<BranchColumns> branch = {ProbeBranch},
                     CriteriaType criteria = CriteriaOf<ProbeCriteria>(probeStatement))
{
    return {.name = "frmProbeTyped",
            .title = "账单",
            .size = {11070, 7980},
            .criteria = criteria,
            .branch = branch,
            .rows = rows,
            .views = {{.title = "账单",
                       .columns = {{.field = "BillID", .caption = "单号"},
                                   {.field = "SumPaid",
                                    .caption = "实收",
                                    .sum = true,
                                    .kind = ColumnKind::Number}}}}};
}

class ProbeTyped : public QueryReportScreen
{
public:
    explicit ProbeTyped(const ScreenSpec& spec) : QueryReportScreen(spec) {}
    using ReportScreen::readCriteria;
};

} // namespace

class TestCriteriaBar : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { HostUi::setHeadless(true); }

    void describedScreen()
    {
        TestDatabase db("db_bills.sql");
        db.install();
        ProbeList screen;
        screen.ShowMe();
        const CriteriaBar& bar = screen.bar();

        // Labels stand before their controls, the pairs left to right.
        auto x = [&](const char* name) { return bar.control(name)->x(); };
        QVERIFY(x("lblBegin") < x("dtpBegin") && x("dtpBegin") < x("lblEnd"));
        QVERIFY(x("lblTableAreaName") < x("cboTableAreaName"));
        // Without the right to deleted bills their box is hidden and the criteria after it on its
        // row move into its room; with the right, they stand after it.
        QVERIFY(bar.control("chkUseTrueData")->isHidden());
        QCOMPARE(x("chkSaving"), x("chkUseTrueData"));
        QVERIFY(x("lblSaving") < x("optQuery1"));
        {
            hostContext().TrueDataAllowed = true;
            ProbeList allowed;
            allowed.ShowMe();
            hostContext().TrueDataAllowed = false;
            const CriteriaBar& shown = allowed.bar();
            QVERIFY(!shown.control("chkUseTrueData")->isHidden());
            QVERIFY(shown.control("chkSaving")->x() > shown.control("lblUseTrueData")->x());
            QCOMPARE(shown.control("optQuery1")->x() - x("optQuery1"),
                     shown.control("chkSaving")->x() - x("chkSaving"));
        }
        QVERIFY_THROWS_EXCEPTION(std::logic_error, bar.control("cboNoSuch"));

        // Lists: "(全部)" adds nothing; an item chosen or typed exactly counts, other typing not.
        QCOMPARE(bar.chosen("cboTableAreaName"), QString());
        QVERIFY(screen.applyCriterion("cboTableAreaName", "包房"));
        QCOMPARE(bar.chosen("cboTableAreaName"), QString("包房"));
        bar.combo("cboTableAreaName")->setEditText("包");
        QCOMPARE(bar.chosen("cboTableAreaName"), QString());
        QCOMPARE(bar.choice("cboIsSentMenu"), 0);
        QCOMPARE(bar.combo("cboIsSentMenu")->itemText(2), QString("包含赠送菜"));
        QVERIFY(screen.applyCriterion("cboShiftID", " S1 "));
        QCOMPARE(bar.text("cboShiftID"), QString(" S1 "));
        // A check box's label toggles it.
        QVERIFY(!bar.checked("chkSaving"));
        QTest::mouseClick(bar.control("lblSaving"), Qt::LeftButton);
        QVERIFY(bar.checked("chkSaving"));

        // Meal periods: one ticked box each; the master box follows them and leads them.
        auto box = [&](const char* name) { return static_cast<QCheckBox*>(bar.control(name)); };
        QCOMPARE(box("chkPeriod_1")->text(), QString("午餐"));
        QCOMPARE(box("chkPeriod_2")->text(), QString("晚餐"));
        QString condition, reason;
        QVERIFY(bar.mealPeriods("BillPeriod", &condition, &reason));
        QCOMPARE(condition,
                 QString(" AND ( 1<>1  OR BillPeriod = '午餐'  OR BillPeriod = '晚餐' )"));
        QVERIFY(bar.mealPeriods("Period", &condition, &reason, "'"));
        QCOMPARE(condition, QString(" AND ( 1<>1  OR Period = '午餐' OR Period = '晚餐')"));
        box("chkPeriod_1")->click();
        box("chkPeriod_2")->click();
        QVERIFY(!box("chkPeriod_0")->isChecked());
        QVERIFY(!bar.mealPeriods("BillPeriod", &condition, &reason));
        QCOMPARE(reason, QString("请选择要统计的餐段，至少必须选择一个餐段！"));
        box("chkPeriod_2")->click();
        QVERIFY(box("chkPeriod_0")->isChecked());
        box("chkPeriod_0")->click();
        QVERIFY(!box("chkPeriod_2")->isChecked());
        box("chkPeriod_0")->click(); // the refresh needs a meal period ticked

        // Views: each has its control; Print waits for a grid with rows.
        QAction* print = screen.findChild<QToolBar*>("tlbMain")->findChild<QAction*>("Print");
        QVERIFY(!print->isEnabled());
        screen.applyCriterion("dtpBegin", "2026-03-09");
        screen.applyCriterion("dtpEnd", "2026-03-10");
        QVERIFY(screen.runRefresh());
        QVERIFY(print->isEnabled());
        QCOMPARE(screen.grid()->text(1, 1), QString("B1"));
        QVERIFY(screen.applyCriterion("optQuery2", "1"));
        QCOMPARE(screen.currentView(), 1);
        QVERIFY(!print->isEnabled()); // this view has not run yet
        QVERIFY(screen.runRefresh());
        QCOMPARE(screen.grid()->text(2, 1), QString("晚餐"));
        QCOMPARE(screen.grid()->value(3, 2).toDouble(), 3.0);                // B1, B3, B4
        QCOMPARE(screen.queryControl(0)->Grid()->text(1, 1), QString("B1")); // view 1 kept
        screen.applyCriterion("dtpBegin", "2027-01-01");
        screen.applyCriterion("dtpEnd", "2027-01-01");
        QVERIFY(screen.runRefresh());
        QVERIFY(!print->isEnabled()); // the totals row alone

        // Option groups choose apart: the sort direction leaves the view alone.
        QVERIFY(screen.applyCriterion("optOrderBy_1", "1"));
        QCOMPARE(screen.currentView(), 1);
        QVERIFY(bar.checked("optQuery2") && !bar.checked("optOrderBy_0"));
        QVERIFY(screen.applyCriterion("optQuery1", "1"));
        QVERIFY(bar.checked("optOrderBy_1"));

        // The derived language section: every caption of the description.
        const LanguageSection* texts = screen.languageTexts();
        QVERIFY(has(texts, "frmProbeList", "Caption", "账单"));
        QVERIFY(has(texts, "lblTableAreaName", "Caption", "台区:"));
        QVERIFY(has(texts, "lblSaving", "Caption", "不含会员卡充值的数据"));
        QVERIFY(has(texts, "chkPeriod_0", "Caption", "餐段"));
        QVERIFY(has(texts, "optQuery2", "Caption", "汇总"));
        QVERIFY(has(texts, "ctlQuery2", "Title", "账单汇总"));
        QVERIFY(has(texts, "ctlQuery2", "theCount", "笔数"));
        QVERIFY(has(texts, "Msg_Own", "Default", "自己的"));
    }

    void listsFollowTheirOwner()
    {
        TestDatabase db("db_bills.sql");
        db.install();
        ProbeFollowing screen;
        screen.ShowMe();
        const CriteriaBar& bar = screen.criteria();
        QCOMPARE(DroppedDownItems(bar.combo("cboMenuTypes")),
                 QStringList({"(全部)", "热菜", "饮料"}));
        QVERIFY(screen.applyCriterion("cboDepartTypes", "酒水"));
        QCOMPARE(DroppedDownItems(bar.combo("cboMenuTypes")), QStringList({"(全部)", "饮料"}));
        // A typed name no list knows restricts nothing.
        bar.combo("cboDepartTypes")->setEditText("无此类别");
        QCOMPARE(DroppedDownItems(bar.combo("cboMenuTypes")),
                 QStringList({"(全部)", "热菜", "饮料"}));
        // The screen's own list fills once per branch choice, reading it without a message.
        const QString lastMessage = HostUi::lastHeadlessMessage();
        QCOMPARE(DroppedDownItems(bar.combo("cboOwn")), QStringList({"(全部)", "x"}));
        DroppedDownItems(bar.combo("cboOwn"));
        QVERIFY(screen.applyCriterion("cboBranch", "#1")); // "(部分)", nothing ticked
        QVERIFY(screen.applyCriterion("cboOwn", "(全部)"));
        QVERIFY(screen.applyCriterion("cboBranch", "上海店"));
        DroppedDownItems(bar.combo("cboOwn"));
        QCOMPARE(screen.fills, QStringList({"cboOwn=", "cboOwn refused", "cboOwn=上海店"}));
        QCOMPARE(HostUi::lastHeadlessMessage(), lastMessage);
        // The item text's hint is a text of the screen's language section.
        QVERIFY(has(screen.languageTexts(), "cboMenuID", "ToolTipText",
                    "输入菜品的编码（前面部分）或者名称（任何部分）"));
        QCOMPARE(bar.combo("cboMenuID")->toolTip(), bar.control("lblMenuID")->toolTip());
    }

    void viewArrays()
    {
        TestDatabase db;
        db.install();
        ProbeArrays screen;
        screen.ShowMe();
        // Options and query controls by the array's index from 0.
        QVERIFY(screen.applyCriterion("optQuery_2", "1"));
        QCOMPARE(screen.currentView(), 2);
        QCOMPARE(screen.queryControl()->objectName(), QString("ctlQuery_2"));
        QVERIFY(!screen.findChild<QWidget*>("optQuery3"));
        QCOMPARE(screen.languageTexts()->defaultText("optQuery_2", "Caption"), QString("挂失"));
        QCOMPARE(screen.languageTexts()->defaultText("ctlQuery_2", "C"), QString("丙"));
        // The third option starts the second line, under the first; the English re-flow takes
        // that line as a row of its own.
        QWidget* first = screen.findChild<QWidget*>("optQuery_0");
        QWidget* third = screen.findChild<QWidget*>("optQuery_2");
        QCOMPARE(third->x(), first->x());
        QVERIFY(third->y() > first->y() + first->height() / 2);
        const QList<QList<QWidget*>> rows = screen.bar().englishRows();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.at(1), QList<QWidget*>({third}));
    }

    void typedCriteriaFromTheDeclaration()
    {
        TestDatabase db("db_bills.sql");
        db.install();
        hostContext().TrueDataAllowed = true;
        const ScreenSpec spec = typedSpec(typedRows());
        ProbeTyped screen(spec);
        screen.ShowMe();
        for (const auto& [name, value] :
             QList<QPair<QString, QString>>{{"dtpBegin", "2026-03-09"},
                                            {"dtpEnd", "2026-03-10"},
                                            {"cboBranch", "北京店"},
                                            {"cboTableAreaName", "大厅"},
                                            {"cboIsSentMenu", "#1"},
                                            {"cboShiftID", " S1 "},
                                            {"chkPeriod_2", "0"},
                                            {"chkSaving", "1"},
                                            {"optOrderBy_1", "1"}})
            QVERIFY2(screen.applyCriterion(name, value), qPrintable(name));
        const CriteriaValue read = screen.readCriteria();
        const auto& c = read.as<ProbeCriteria>();
        QCOMPARE(c.range, (DateRange{QDate(2026, 3, 9), QDate(2026, 3, 10)}));
        QCOMPARE(c.branch.kind, BranchChoice::One);
        QCOMPARE(c.branch.name, QString("北京店"));
        QCOMPARE(c.area, QString("大厅"));
        QCOMPARE(c.giftScope, 1);
        QCOMPARE(c.shift, QString(" S1 "));
        QCOMPARE(c.periods, QStringList({"午餐"}));
        QVERIFY(c.useTrueData);
        QVERIFY(c.saving);
        QVERIFY(c.descending);
        QVERIFY_THROWS_EXCEPTION(std::logic_error, read.as<ReportCriteria>());
        // A handler follows one criterion by the member it is read into.
        QCOMPARE(screen.criteria().shown(&P::area), QString("大厅"));
        QVERIFY(screen.criteria().shown(&ReportCriteria::saving));
        QVERIFY_THROWS_EXCEPTION(std::logic_error, screen.criteria().shown(&ReportCriteria::range));

        // The refresh runs the statement of those criteria, its branch condition written in:
        // 北京店's bills of the range, the deleted B3 included, newest number first.
        QVERIFY(screen.runRefresh());
        Sheet* grid = screen.queryControl()->Grid();
        QCOMPARE(grid->text(1, 1), QString("B3"));
        QCOMPARE(grid->text(2, 1), QString("B1"));
        QCOMPARE(grid->value(3, 2).toDouble(), 158.5);

        // A criterion that leaves nothing to query refuses the refresh; as shown it keeps its
        // default.
        QVERIFY(screen.applyCriterion("chkPeriod_0", "0"));
        QVERIFY(!screen.runRefresh());
        QVERIFY(screen.lastError().contains(Msg("Msg_Period_ToSelect")));
        hostContext().TrueDataAllowed = false;
    }

    void declarationMistakesRefused()
    {
        auto refused = [](const ScreenSpec& spec, const char* what) {
            try {
                ProbeTyped screen(spec);
            } catch (const std::logic_error& e) {
                return QString::fromUtf8(e.what()).contains(QString::fromUtf8(what));
            }
            return false;
        };
        auto rows = typedRows();
        // A name declared twice.
        auto twice = rows;
        twice[2].push_back(twice[0][3]);
        QVERIFY(refused(typedSpec(twice), "cboTableAreaName is declared twice"));
        // A control holding a value read into nothing: its filter would be lost.
        auto unread = rows;
        unread[1][1].into = {};
        QVERIFY(refused(typedSpec(unread), "cboShiftID holds a value but is read into no"));
        // A member the control cannot give (a flag from a list).
        auto mismatch = rows;
        mismatch[0][3].into = Into(&P::descending);
        QVERIFY(refused(typedSpec(mismatch), "cboTableAreaName is read into a member its"));
        // A member of another report's criteria.
        struct Other : ReportCriteria
        {
            QString area;
        };
        auto foreign = rows;
        foreign[0][3].into = Into(&Other::area);
        QVERIFY(refused(typedSpec(foreign), "cboTableAreaName is read into a member of"));
        // A list following a criterion the screen does not declare.
        auto orphan = rows;
        orphan[0][3].source.owner = "cboDepartTypes";
        QVERIFY(refused(typedSpec(orphan), "follows cboDepartTypes, which is not declared"));
        // A branch choice that reaches no statement.
        QVERIFY(refused(typedSpec(rows, {}), "a branch criterion, no branch columns"));
        // A statement with no branch mark, or a mark on columns the screen does not declare.
        QVERIFY(refused(typedSpec(rows, {BranchColumns{"BL.BranchID", "BL.BranchName"}}),
                        "columns the report does not declare"));
        const auto unmarked = [](int, const ProbeCriteria& c) {
            return QStringLiteral("SELECT BillID FROM bi_Bill WHERE ") +
                   c.range.bound(QStringLiteral("BillDate"));
        };
        QVERIFY(refused(typedSpec(rows, {ProbeBranch}, CriteriaOf<ProbeCriteria>(+unmarked)),
                        "view 1: a statement of a report with a branch scope has no branch"));
        // A report whose figures come from several statements: each of them is checked.
        const auto oneUnmarked = [](int, const ProbeCriteria& c) {
            const Statement bills = QStringLiteral("SELECT BillID FROM bi_Bill WHERE ") +
                                    c.range.bound(QStringLiteral("BillDate"));
            return std::vector<Statement>{bills + BranchMark(ProbeBranch), bills};
        };
        QVERIFY(refused(typedSpec(rows, {ProbeBranch}, CriteriaOf<ProbeCriteria>(+oneUnmarked)),
                        "view 1: a statement of a report with a branch scope has no branch"));
    }

    void cardReaderAndSortChoices()
    {
        TestDatabase db("db_bills.sql");
        db.install();
        ProbeCard screen;
        screen.ShowMe();
        const CriteriaBar& bar = screen.criteria();
        // A swipe arrives as ";" number "?": the box holds the number, selected, so that the
        // next swipe replaces it; typing in the middle of a number is ordinary typing.
        QLineEdit* card = bar.combo("cboMemberCardID")->lineEdit();
        QTest::keyClicks(card, "12;0012345?");
        QCOMPARE(bar.text("cboMemberCardID"), QString("0012345"));
        QCOMPARE(card->selectedText(), QString("0012345"));
        QTest::keyClicks(card, ";80000002?");
        QCOMPARE(bar.text("cboMemberCardID"), QString("80000002"));
        QTest::keyClicks(card, "9");
        QCOMPARE(bar.text("cboMemberCardID"), QString("9"));

        // Sort choices: the columns' captions (a keyed field by its key), nothing chosen at
        // first; after an item meaning no sort, that item first. Read as the column's field.
        QCOMPARE(DroppedDownItems(bar.combo("cboOrderBy")), QStringList({"卡号", "发卡费"}));
        QCOMPARE(DroppedDownItems(bar.combo("cboSortOrNot")),
                 QStringList({"(不排序)", "卡号", "发卡费"}));
        QCOMPARE(bar.shown(&CardCriteria::sort), QString());
        QCOMPARE(bar.shown(&CardCriteria::sortOrNot), QString());
        QVERIFY(screen.applyCriterion("cboOrderBy", "#1"));
        QVERIFY(screen.applyCriterion("cboSortOrNot", "#1"));
        QCOMPARE(bar.shown(&CardCriteria::sort), QString("Expense"));
        QCOMPARE(bar.shown(&CardCriteria::sortOrNot), QString("MemberCardID"));
    }
};

QTEST_MAIN(TestCriteriaBar)
#include "tst_criteriabar.moc"
