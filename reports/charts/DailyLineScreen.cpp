#include "reports/charts/DailyLineScreen.h"

#include "core/HostContext.h"
#include "core/modMessage.h"
#include "query/ComparedRange.h"
#include "query/SummaryPlanner.h"
#include "sheet/Sheet.h"
#include "ui/CriteriaBar.h"
#include "ui/chart/Chart2D.h"

#include <QDateEdit>
#include <QLocale>

QString DailyLineScreen::formatChartDate(const QDate& date, const QString& pattern)
{
    const QLocale c = QLocale::c();
    QString text;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar ch = pattern.at(i);
        if (ch != QLatin1Char('%') || i + 1 == pattern.size()) {
            text += ch;
            continue;
        }
        const QChar code = pattern.at(++i);
        switch (code.unicode()) {
        case 'Y':
            text += QString::number(date.year());
            break;
        case 'y':
            text += QString::number(date.year() % 100).rightJustified(2, u'0');
            break;
        case 'm':
            text += QString::number(date.month()).rightJustified(2, u'0');
            break;
        case 'd':
            text += QString::number(date.day()).rightJustified(2, u'0');
            break;
        case 'b':
            text += c.monthName(date.month(), QLocale::ShortFormat);
            break;
        case 'B':
            text += c.monthName(date.month());
            break;
        case 'a':
            text += c.dayName(date.dayOfWeek(), QLocale::ShortFormat);
            break;
        case 'A':
            text += c.dayName(date.dayOfWeek());
            break;
        default: // "%%" and unknown codes: the character itself
            text += code;
            break;
        }
    }
    return text;
}

void DailyLineScreen::formLoad()
{
    const QDate today = QDate::currentDate();
    dtpBegin->setDate(QDate(today.year(), today.month(), 1));
}

QString DailyLineScreen::ownText(const char* key) const
{
    return languageTexts()->text(QString::fromLatin1(key), QStringLiteral("Default"));
}

QString DailyLineScreen::dateText(const QDate& date) const
{
    return date.toString(dtpBegin->displayFormat());
}

DailyLine DailyLineScreen::readLine(const CriteriaValue& criteria, int divisor)
{
    const DateRange& range = criteria.common().range;
    const ConnectionPtr connection = hostContext().connection();
    // A line is a sum per business date over the bills or their items, at keys the summaries
    // keep (the meal periods, the flags, the department type, menu type or menu, the branch).
    const Statement statement = SummaryPlanner::answerJoined(
        *connection, true, branchScope(criteria).fill(m_spec.criteria.statement(0, criteria)));
    return DailyLine::read(*connection, statement, range.begin, range.end, divisor,
                           [this](int done, int days) { setProgress(done, days); });
}

std::optional<DailyLine> DailyLineScreen::readComparedLine(const CriteriaValue& criteria,
                                                           int divisor)
{
    const int compareWith = criteria.common().compare;
    if (compareWith == CompareNone)
        return std::nullopt;
    CriteriaValue other = criteria.copy();
    other.common().range = ComparedRange(criteria.common().range, compareWith);
    return readLine(other, divisor);
}

QString DailyLineScreen::comparedLabel(const CriteriaValue& criteria)
{
    switch (criteria.common().compare) {
    case ComparePrevious:
        return Msg(QStringLiteral("Msg_Compare_Previous"));
    case CompareLastYear:
        return Msg(QStringLiteral("Msg_Compare_LastYear"));
    default:
        return QString();
    }
}

void DailyLineScreen::drawLine(const DailyLine& line, const Drawing& drawing,
                               const std::optional<DailyLine>& compared)
{
    m_line = line;
    m_compared = compared;
    const QString monthDay = ownText("Msg_MonthDay_Format");

    Chart2DData data;
    data.type = Chart2D1->chartType();
    data.header = drawing.header;
    data.footer = drawing.footer;
    data.footerVisible = !drawing.footer.isEmpty();
    data.seriesLabels = {drawing.seriesLabel};
    QList<double> values;
    Money top;
    for (int i = 0; i < line.days(); ++i) {
        data.pointLabels << formatChartDate(line.day(i), monthDay);
        values << line.point(i).toDouble();
        top = std::max(top, line.point(i));
    }
    data.values = {values};
    if (compared) {
        // Day i over day i; a compared range with fewer days (29 February a year later) ends
        // its line early.
        QList<double> then;
        for (int i = 0; i < std::min(line.days(), compared->days()); ++i) {
            then << compared->point(i).toDouble();
            top = std::max(top, compared->point(i));
        }
        data.seriesLabels << drawing.comparedLabel;
        data.values << then;
    }
    if (drawing.yAxisFromMaximum && top > Money())
        data.yAxisMax = top.toDouble() * 1.5;
    Chart2D1->setIsBatched(true);
    Chart2D1->setData(data);
    Chart2D1->setIsBatched(false);

    Sheet* grid = points();
    grid->setReDraw(false);
    grid->clear();
    grid->setHeaderRows(0); // the captions are a row of their own, under the header
    grid->setMaxCols(compared ? 6 : 2);
    const int first = 4; // header, blank, captions
    const int rows = first + line.days() + (drawing.footer.isEmpty() ? 0 : 2) - 1;
    grid->setMaxRows(rows);
    grid->setColumnWidth(1, 2200);
    grid->setColumnWidth(2, 2200);
    grid->setColumnDecimals(2, drawing.decimals);
    grid->setText(1, 1, drawing.header);
    grid->setText(3, 1, ownText("Msg_Date"));
    grid->setText(3, 2, drawing.seriesLabel);
    for (int i = 0; i < line.days(); ++i) {
        grid->setText(first + i, 1, dateText(line.day(i)));
        grid->setCellType(first + i, 2, CellType::Number);
        grid->setText(first + i, 2, line.point(i).toString(drawing.decimals));
    }
    if (compared) {
        // The compared date, figure, change and change in percent (one decimal, blank when the
        // compared figure is 0), as the compared grids of the list reports show them.
        for (int col = 3; col <= 6; ++col)
            grid->setColumnWidth(col, col == 3 ? 2200 : 1600);
        grid->setColumnDecimals(4, drawing.decimals);
        grid->setColumnDecimals(5, drawing.decimals);
        grid->setColumnDecimals(6, 1);
        grid->setText(3, 3, Msg(QStringLiteral("Msg_Compare_Date")));
        grid->setText(3, 4, drawing.comparedLabel);
        grid->setText(3, 5,
                      Msg(QStringLiteral("Msg_Compare_ChangeColumn")).arg(QString()).trimmed());
        grid->setText(3, 6,
                      Msg(QStringLiteral("Msg_Compare_PercentColumn")).arg(QString()).trimmed());
        const std::vector<ComparedDay> days = CompareLines(line, *compared, drawing.decimals);
        for (int i = 0; i < int(days.size()); ++i) {
            const ComparedDay& d = days[size_t(i)];
            const int row = first + i;
            if (!d.compared)
                continue;
            grid->setText(row, 3, dateText(d.comparedDay));
            grid->setCellType(row, 4, CellType::Number);
            grid->setText(row, 4, d.compared->toString(drawing.decimals));
            grid->setCellType(row, 5, CellType::Number);
            grid->setText(row, 5, d.change->toString(drawing.decimals));
            if (d.percent) {
                grid->setCellType(row, 6, CellType::Percent);
                grid->setCellDecimals(row, 6, 1);
                grid->setNumber(row, 6, *d.percent);
            }
        }
    }
    if (!drawing.footer.isEmpty())
        grid->setText(rows, 1, drawing.footer);
    grid->setReDraw(true);
}
