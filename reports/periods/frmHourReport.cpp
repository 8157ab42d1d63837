#include "reports/periods/frmHourReport.h"

#include "core/CjkFont.h"
#include "core/HostContext.h"
#include "core/mod_ADO.h"
#include "query/ScreenSpec.h"
#include "reports/bills/frmBillQuery.h"
#include "sheet/Sheet.h"

namespace {

using K = CriterionKind;
using namespace BackColour;

ColumnSpec column(const char* field, const char* caption, int back = None)
{
    return {.field = field, .caption = caption, .width = 1400, .back = back};
}
// A figure of the hour: a sum, which the all-day row totals and a comparison sets the same sum
// of the compared range beside; or a ratio (a share, an average), which it does not.
ColumnSpec sum(const char* field, const char* caption)
{
    ColumnSpec c = column(field, caption);
    c.sum = true;
    c.kind = ColumnKind::Number;
    return c;
}
ColumnSpec ratio(const char* field, const char* caption, int kind = ColumnKind::Number)
{
    ColumnSpec c = column(field, caption, Yellow);
    c.kind = kind;
    return c;
}

const ScreenSpec kSpec{
    .name = "frmHourReport",
    .title = "分时销售报表",
    .size = {11070, 7980},
    .criteria = CriteriaOf<HourReportCriteria>(HourReportStatements),
    .branch = {HourReportBranch},
    .rows = {{BeginDate, EndDate, BranchCriterionSpec()}, {UseTrueData, Saving, Compare}},
    .views = {{.title = "分时销售报表",
               .columns = {column("BillHour", "时段"), column("TimeBegin", "开始时间"),
                           column("TimeEnd", "结束时间"), sum("BillConsume", "消费合计"),
                           sum("BillService", "服务费"), sum("BillDiscount", "折扣额"),
                           sum("BillTotal", "营业额"),
                           ratio("BillPercent", "占比", ColumnKind::Percent),
                           sum("BillCount", "客单数"), ratio("BillAverage", "单均消费"),
                           sum("PeopleCount", "总人数"), ratio("PeopleAverage", "人均消费")},
               .emptyRows = frmHourReport::AllDayRow,
               .centred = {1, 2, 3},
               .ownCells = true,
               // the hour itself is the row's (frmHourReport::drillTo)
               .drill = {.make = []() -> ReportScreen* { return new frmBillQuery; }}}},
    .texts = {{"Msg_Hour", "点"}, {"Msg_AllDay", "全天"}},
};

constexpr int FirstFigureColumn = 4, PercentColumn = 8, LastColumn = 12;

// The all-day row, grey.
void markAllDayRow(Sheet* grid, int row)
{
    CellStyle grey;
    grey.backColor = QColor(0xE0, 0xE0, 0xE0);
    grid->setRowStyle(row, grey);
}

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

frmHourReport::frmHourReport(QWidget* parent) : QueryReportScreen(kSpec, parent) {}

void frmHourReport::formatGrid(int, Sheet* grid)
{
    QFont font(QStringLiteral("微软雅黑"), 12);
    font = CjkFont::resolve(font);
    for (int col = 1; col <= grid->maxCols(); ++col) {
        CellStyle style = grid->columnStyle(col);
        style.font = font;
        style.vAlign = Qt::AlignVCenter;
        if (!style.hAlign)
            style.hAlign = Qt::AlignRight;
        grid->setColumnStyle(col, style);
    }
    markAllDayRow(grid, AllDayRow);
    // The figures are numbers in whole units, each followed by one blank: "#,###" (nothing for
    // zero) and the share "0 %".
    grid->setThousandsSeparator(true);
    for (int col = FirstFigureColumn; col <= LastColumn; ++col) {
        const bool share = col == PercentColumn;
        grid->setColumnType(col, share ? CellType::Percent : CellType::Number);
        grid->setColumnDecimals(col, 0);
        grid->setColumnNumberFormat(
            col, {share ? QStringLiteral(" % ") : QStringLiteral(" "), /*zeroBlank=*/!share});
    }
}

void frmHourReport::formLoad()
{
    readStartHour();
}

void frmHourReport::readStartHour()
{
    // A database without meal periods (no dd_Period, or an empty one) starts the day at 0; any
    // other failure refuses the report until the hour can be read (a lock, a damaged page).
    m_startHourError.clear();
    try {
        m_startHour =
            HourOfDayOpening(ReadFirstRow(HourStartSql()).value(QStringLiteral("BeginTime")));
    } catch (const SqlError& e) {
        m_startHour = 0;
        if (!e.isMissingObject())
            m_startHourError =
                QStringLiteral("cannot read the opening hour of the meal periods (dd_Period): ") +
                e.message();
    }
    mSpread1->setReDraw(false);
    writeHours(mSpread1);
    mSpread1->setReDraw(true);
}

void frmHourReport::writeHours(Sheet* grid) const
{
    // The hours change only with the start hour: the figures go into columns 4 onwards.
    const QString hourSuffix = ownText("Msg_Hour");
    grid->setMaxRows(AllDayRow);
    for (int row = 1; row <= 24; ++row) {
        const QString h = twoDigits((m_startHour + row - 1) % 24);
        grid->setText(row, 1, h + hourSuffix);
        grid->setText(row, 2, h + QStringLiteral(":00:00"));
        grid->setText(row, 3, h + QStringLiteral(":59:59"));
    }
    grid->setText(AllDayRow, 1, ownText("Msg_AllDay"));
    grid->setText(AllDayRow, 2, QStringLiteral("00:00:00"));
    grid->setText(AllDayRow, 3, QStringLiteral("23:59:59"));
    markAllDayRow(grid, AllDayRow);
}

int frmHourReport::writeCells(int, Sheet* grid, QString* failure)
{
    if (!m_startHourError.isEmpty()) {
        readStartHour();
        if (!m_startHourError.isEmpty())
            throw SqlError(m_startHourError);
    }
    const CriteriaValue criteria = readCriteria(); // throws when refused
    grid->setReDraw(false);
    writeHours(grid); // a compared grid showed other columns: the rows are written anew
    const int totalRow = writeFigures(grid, criteria, failure);
    m_written = true;
    return totalRow;
}

int frmHourReport::writeComparedCells(int, Sheet* sheet, const CriteriaValue&,
                                      const CriteriaValue& compared, QString* failure)
{
    // The same hours, the compared range's figures.
    return writeFigures(sheet, compared, failure);
}

int frmHourReport::writeFigures(Sheet* grid, const CriteriaValue& criteria, QString* failure)
{
    const HourReportFigures figures = HourReportFigures::read(
        hostContext().connection(), criteria.as<HourReportCriteria>(), branchScope(criteria));
    for (int row = 1; row <= AllDayRow; ++row)
        for (int col = FirstFigureColumn; col <= LastColumn; ++col)
            grid->clearCell(row, col);
    const Money grand = figures.allDay ? figures.allDay->paid : Money();
    for (int hour = 0; hour < 24; ++hour)
        if (const auto& sums = figures.hours[size_t(hour)])
            writeRow(grid, rowOfHour(hour, m_startHour), *sums, grand);
    if (figures.allDay)
        writeRow(grid, AllDayRow, *figures.allDay, grand);
    *failure = figures.failures.join(QStringLiteral("; "));
    return AllDayRow;
}

bool frmHourReport::drillTo(int row, int column)
{
    if (!m_written || row < 1 || row > AllDayRow)
        return QueryReportScreen::drillTo(0, column); // refused, with the reason
    if (column > 0 && ownColumn(column) == 0)
        return false; // a compared figure: refused, with the reason
    // The same range, branch, deleted-data and top-up options; the hour by the bills' creation
    // time, as the figures count them.
    QList<QPair<QString, QString>> keys;
    if (row != AllDayRow)
        keys.append({QStringLiteral("BillHour"), QString::number((m_startHour + row - 1) % 24)});
    return openDrilled(viewSpec(0).drill, keys);
}

void frmHourReport::writeRow(Sheet* grid, int row, const HourReportFigures::Sums& s, Money grand)
{
    auto put = [&](int col, std::optional<qint64> value) {
        if (value)
            grid->setNumber(row, col, double(*value));
    };
    put(4, HourReportFigures::whole(s.consume));
    put(5, HourReportFigures::whole(s.service));
    put(6, HourReportFigures::whole(s.discount));
    put(7, HourReportFigures::whole(s.paid));
    put(PercentColumn, s.percentOf(grand));
    put(9, s.bills);
    put(10, s.perBill());
    put(11, s.guests);
    put(12, s.perGuest());
}
