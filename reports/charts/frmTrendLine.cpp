#include "reports/charts/frmTrendLine.h"

#include "core/HostContext.h"
#include "core/modMessage.h"
#include "framework/DataList.h"
#include "query/ScreenSpec.h"
#include "reports/bills/frmBillQuery.h"

#include <stdexcept>

namespace {

const ScreenSpec kSpec{
    .name = "frmTrendLine",
    .title = "营业额走势图",
    .size = {11070, 7980},
    .criteria = CriteriaOf<TrendLineCriteria, ChartLineCriteria>(TrendLineStatement),
    .branch = {TrendLineBranch},
    .rows =
        {
            {BeginDate, EndDate, BranchCriterionSpec(), Compare},
            {DailyLinePeriods},
            {UseTrueData, Saving},
        },
    .texts =
        {
            {"Msg_Chart_SumToPay", "营业额走势图"},
            {"Msg_Chart_PeopleCount", "客流量走势图"},
            {"Msg_Chart_TableCount", "翻台率走势图"},
            {"Msg_MonthDay_Format", "%m月%d日"},
            {"Msg_Date", "日期"},
        },
};

const char* const TitleKeys[] = {"Msg_Chart_SumToPay", "Msg_Chart_PeopleCount",
                                 "Msg_Chart_TableCount"};

} // namespace

frmTrendLine::frmTrendLine(QWidget* parent) : DailyLineScreen(kSpec, parent) {}

frmTrendLine::~frmTrendLine() = default;

QString frmTrendLine::kindTitle(int kind) const
{
    return ownText(TitleKeys[std::clamp(kind, 0, 2)]);
}

void frmTrendLine::ShowMe(int kind)
{
    if (kind < 0 || kind > 2)
        return;
    m_kind = kind;
    if (!isVisible()) {
        loadScreen();
        setTitle(kindTitle(kind));
        runRefresh();
    }
    ReportScreen::ShowMe();
}

void frmTrendLine::completeCriteria(CriteriaValue& criteria)
{
    criteria.as<TrendLineCriteria>().kind = m_kind;
}

void frmTrendLine::cmdQuery1()
{
    const CriteriaValue criteria = readCriteria(); // throws when refused (the user was told)
    int tables = 0;
    if (m_kind == 2) {
        DataList list(DataList::Tables, hostContext().connection());
        list.initialise(1, 1);
        // No tables known (no tb_Table, or an empty one): the plain bill counts. A list that
        // cannot be read refuses the line rather than plotting bills as turnover.
        try {
            list.loadOrThrow();
        } catch (const SqlError& e) {
            if (!e.isMissingObject())
                throw;
        }
        tables = list.Count();
    }
    const DailyLine line = readLine(criteria, tables);
    const std::optional<DailyLine> compared = readComparedLine(criteria, tables);
    const DateRange& range = criteria.common().range;
    Drawing drawing;
    drawing.header = dateText(range.begin) + QLatin1Char('-') + dateText(range.end) +
                     QLatin1Char(' ') + kindTitle(m_kind);
    drawing.seriesLabel = kindTitle(m_kind);
    drawing.decimals = m_kind == 1 ? 0 : 2;
    drawing.comparedLabel = comparedLabel(criteria);
    drawLine(line, drawing, compared);
    m_periods = criteria.as<TrendLineCriteria>().periods;
}

bool frmTrendLine::drillTo(int row, int column)
{
    // Line 2, the compared line, opens the compared range's day i.
    const DailyLine* drawn = column == 2 && comparedLine() ? &*comparedLine() : &line();
    if (row < 1 || row > std::min(line().days(), drawn->days()) || column < 0 ||
        column > (comparedLine() ? 2 : 1)) {
        setLastError(Msg(QStringLiteral("Msg_Drill_None")));
        return false;
    }
    const QString day = drawn->day(row - 1).toString(QStringLiteral("yyyy-MM-dd"));
    static const DrillSpec bills{.make = []() -> ReportScreen* { return new frmBillQuery; }};
    return openDrilled(bills, {{QStringLiteral("dtpBegin"), day},
                               {QStringLiteral("dtpEnd"), day},
                               {QStringLiteral("Settled"), QStringLiteral("1")},
                               {QStringLiteral("BillPeriods"), m_periods.join(QLatin1Char('\n'))}});
}
