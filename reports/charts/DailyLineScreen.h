#pragma once

#include "query/ScreenSpec.h"
#include "reports/charts/ChartLineSql.h"
#include "reports/charts/DailyLine.h"
#include "ui/ChartReportScreen.h"

// The meal-period boxes of the daily lines: the label, the master box "全部" and a box per
// period.
inline const CriterionSpec DailyLinePeriods{.name = "chkPeriod",
                                            .kind = CriterionKind::MealPeriods,
                                            .label = "请选择要统计的餐段:",
                                            .labelWidth = 1900,
                                            .width = 700,
                                            .text = "全部",
                                            .into = Into(&ChartLineCriteria::periods)};

// What the daily chart lines share (the menu sales chart and the trend lines): a range from
// the first day of the month to today, the meal-period boxes, the deleted-data, top-up and
// branch criteria, and the drawing of a DailyLine: one line of a point per day labelled with
// the day's month and day, a header with the dates and the title, an optional footer and a
// fixed top of the y axis. The points are also written as a grid: the header, a row per day
// (date, value) and the footer, which .txt and .xlsx exports write.
//
// A screen with the comparison criterion ("对比:") draws a second line: the same figure over the
// compared range (the previous period, the same dates a year earlier), day i of the range over
// day i of the compared range, in the next colour and named in the legend; the grid's rows then
// go on with the compared date, the compared figure, the change and the change in percent.
class DailyLineScreen : public ChartReportScreen
{
    Q_OBJECT
public:
    using ChartReportScreen::ChartReportScreen;

    // The figures of the last refresh, and those of the range it was compared with (none when
    // it was compared with nothing).
    const DailyLine& line() const { return m_line; }
    const std::optional<DailyLine>& comparedLine() const { return m_compared; }

    // A date in a pattern of "%Y", "%y", "%m", "%d", "%b", "%B", "%a", "%A" and "%%" codes
    // ("%m月%d日" gives "03月01日"); other characters stand as they are.
    static QString formatChartDate(const QDate& date, const QString& pattern);

protected:
    struct Drawing
    {
        QString header;
        QString footer;
        QString seriesLabel;           // the legend and the caption of the values in the grid
        int decimals = 2;              // places of the values in the grid
        bool yAxisFromMaximum = false; // the y axis to 1.5 x the largest point
        QString comparedLabel;         // the compared line's name ("上期", "去年同期")
    };

    void formLoad() override;
    // Reads the line of the criteria (throws, after telling the user, when they are refused):
    // the screen's statement with its branch condition written, over the chosen dates
    // (progress on the bar).
    DailyLine readLine(const CriteriaValue& criteria, int divisor = 0);
    // The same line over the range the criteria compare with (ComparedRange), the same rules
    // applied; none when they compare with nothing.
    std::optional<DailyLine> readComparedLine(const CriteriaValue& criteria, int divisor = 0);
    // The name of the compared line for the criteria ("上期", "去年同期"); empty for none.
    static QString comparedLabel(const CriteriaValue& criteria);
    // The line (and the compared line) drawn on the chart in one redraw and written into the
    // points grid.
    void drawLine(const DailyLine& line, const Drawing& drawing,
                  const std::optional<DailyLine>& compared = std::nullopt);
    // A date in the date pickers' format.
    QString dateText(const QDate& date) const;
    // A text of the screen's section (its "Default").
    QString ownText(const char* key) const;

private:
    DailyLine m_line;
    std::optional<DailyLine> m_compared;
};
