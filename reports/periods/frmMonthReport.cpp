#include "reports/periods/frmMonthReport.h"

#include "core/HostContext.h"
#include "query/ComparedRange.h"
#include "query/QueryColumn.h"
#include "query/ScreenSpec.h"
#include "reports/bills/frmBillQuery.h"
#include "sheet/Sheet.h"
#include "ui/ctlQuery.h"

#include <QLocale>

namespace {

using K = CriterionKind;
using namespace ColumnKind;
using namespace BackColour;

ColumnSpec perEntry(const char* field, const char* condition, DataList::Kind list)
{
    ColumnSpec c = SumColumn(field, nullptr, 650, condition, Grey);
    c.eachEntryOf = list;
    return c;
}

const ScreenSpec kSpec{
    .name = "frmMonthReport",
    .title = "营业收入月报表",
    .size = {11070, 7980},
    .criteria = CriteriaOf<MonthReportCriteria>(MonthReportStatements),
    .branch = {MonthReportBranch},
    .rows = {{BeginDate, EndDate, BranchCriterionSpec()},
             {UseTrueData,
              Saving,
              {.name = "chkShowDec",
               .kind = K::LabelledCheck,
               .label = "显示小数",
               .labelWidth = 1000,
               .into = Into(&MonthReportCriteria::showDecimals)},
              Compare}},
    .views = {{.title = "营业收入月报表",
               .columns = {{.field = "BillDate", .caption = "营业日期", .width = 1100},
                           {.field = "BillWeek", .caption = "星期", .width = 500},
                           SumColumn("theBillCount", "笔数", 650),
                           SumColumn("thePeopleCount", "人数", 650),
                           {.field = "|SumOfConsume",
                            .caption = "出品统计",
                            .sub = {perEntry("theSumOfConsume|", "DepartTypeID = '{id}'",
                                             DataList::DepartTypes),
                                    SumColumn("theSumOfConsume", "小计", 800, "", Yellow),
                                    SumColumn("theSumOfService", "服务", 650),
                                    SumColumn("theSumForDiscount", "折扣", 650)}},
                           {.field = "|SumPaid",
                            .caption = "收银统计",
                            .sub = {perEntry("thePaySum|", "SubjectID = '{id}'",
                                             DataList::Subjects),
                                    SumColumn("theSumPaid", "小计", 800, "", Yellow)}}},
               .emptyRows = 31,
               .centred = {1, 2},
               .ownCells = true,
               // A day's bills, the whole range's from the totals row: the settled bills its
               // counts and amounts are made of.
               .drill = {.make = []() -> ReportScreen* { return new frmBillQuery; },
                         .keys = {{1, "dtpBegin"}, {1, "dtpEnd"}},
                         .fixed = {{"Settled", "1"}}}}},
    .texts = {{"Msg_Total", "合计:"}},
};

// The weekday of a date as the column shows it: "一" for Monday in Chinese ("星期一" without
// "星期"), "Mon" in English.
QString weekdayText(const QDate& date)
{
    if (hostContext().LanguageCode == 3)
        return QLocale(QLocale::English).dayName(date.dayOfWeek(), QLocale::ShortFormat);
    return QLocale(QLocale::Chinese, QLocale::China)
        .dayName(date.dayOfWeek(), QLocale::LongFormat)
        .remove(QStringLiteral("星期"));
}

} // namespace

frmMonthReport::frmMonthReport(QWidget* parent) : QueryReportScreen(kSpec, parent) {}

void frmMonthReport::formLoad()
{
    applyDatePeriod(QStringLiteral("InCurMonth"));
}

void frmMonthReport::formatGrid(int, Sheet* grid)
{
    // The column of each figure: its field, and for a column of one department type or subject
    // its field with its condition.
    m_columns.clear();
    const std::vector<const QueryColumn*> leaves = QueryFill::leafColumns(ctlQuery1->Columns());
    for (size_t i = 0; i < leaves.size(); ++i) {
        const QueryColumn* c = leaves[i];
        const QString key = c->condition().isEmpty()
                                ? c->expression()
                                : c->expression() + QStringLiteral(" : ") + c->condition();
        m_columns.insert(key, int(i) + 1);
    }
    for (int col = 3; col <= grid->maxCols(); ++col) {
        CellStyle style = grid->columnStyle(col);
        style.hAlign = Qt::AlignRight;
        if (col == m_columns.value(QStringLiteral("theSumForDiscount")))
            style.foreColor = QColor(255, 0, 0);
        grid->setColumnStyle(col, style);
    }
}

int frmMonthReport::writeCells(int, Sheet* grid, QString* failure)
{
    const CriteriaValue criteria = readCriteria(); // throws when refused
    const MonthReportCriteria& c = criteria.as<MonthReportCriteria>();
    const MonthReportFigures figures =
        MonthReportFigures::read(hostContext().connection(), c, branchScope(criteria));
    setProgress(90, 100);

    grid->setReDraw(false);
    const int totalRow = writeDays(grid, c);
    for (int i = 0; i < figures.days.size(); ++i)
        writeFigures(grid, i + 1, figures.days.at(i));
    writeFigures(grid, totalRow, figures.total);
    *failure = figures.failures.join(QStringLiteral("; "));
    return totalRow;
}

int frmMonthReport::writeComparedCells(int, Sheet* sheet, const CriteriaValue& criteria,
                                       const CriteriaValue& compared, QString* failure)
{
    // Each day of the range keeps its row, its date and weekday, and takes the figures of its
    // compared day (ComparedDate): the day as many days earlier as the range has, or the same
    // date a year earlier; the totals row takes the compared range's totals.
    const MonthReportCriteria& c = criteria.as<MonthReportCriteria>();
    const MonthReportCriteria& o = compared.as<MonthReportCriteria>();
    const MonthReportFigures figures =
        MonthReportFigures::read(hostContext().connection(), o, branchScope(compared));
    const int totalRow = writeDays(sheet, c);
    for (int row = 1; row < totalRow; ++row) {
        const QDate day = ComparedDate(c.range, c.compare, c.range.begin.addDays(row - 1));
        const qint64 i = o.range.begin.daysTo(day);
        if (i >= 0 && i < figures.days.size())
            writeFigures(sheet, row, figures.days.at(i));
    }
    writeFigures(sheet, totalRow, figures.total);
    *failure = figures.failures.join(QStringLiteral("; "));
    return totalRow;
}

int frmMonthReport::writeDays(Sheet* grid, const MonthReportCriteria& c)
{
    grid->setMaxRows(0);
    const int totalRow = int(c.range.begin.daysTo(c.range.end)) + 2;
    grid->setMaxRows(totalRow);
    const int dateCol = m_columns.value(QStringLiteral("BillDate"));
    const int weekCol = m_columns.value(QStringLiteral("BillWeek"));
    for (int row = 1; row < totalRow; ++row) {
        const QDate day = c.range.begin.addDays(row - 1);
        grid->setText(row, dateCol, day.toString(QStringLiteral("yyyy-MM-dd")));
        grid->setText(row, weekCol, weekdayText(day));
    }
    grid->setText(totalRow, dateCol, ownText("Msg_Total"));
    QFont bold = grid->defaultFont();
    bold.setBold(true);
    CellStyle totals;
    totals.font = bold;
    grid->setRowStyle(totalRow, totals);

    // Counts are whole; the amounts after them show cents only when asked for.
    const int people = m_columns.value(QStringLiteral("thePeopleCount"));
    for (int col = 3; col <= grid->maxCols(); ++col)
        grid->setColumnDecimals(col, col > people && c.showDecimals ? 2 : 0);
    return totalRow;
}

void frmMonthReport::writeFigures(Sheet* grid, int row, const MonthReportFigures::Figures& figures)
{
    for (auto it = figures.begin(); it != figures.end(); ++it)
        if (const int col = m_columns.value(it.key()))
            grid->setNumber(row, col, it.value().toDouble());
}
