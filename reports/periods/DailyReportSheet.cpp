#include "reports/periods/DailyReportSheet.h"

#include "sheet/Sheet.h"

#include <QFontMetricsF>

#include <cmath>

namespace {

constexpr int TwipsPerCharacter = 120; // the grid's character-based widths
constexpr int TwipsPerPoint = 20;      // row heights are given in points

// Designed widths in characters, columns 1 to 18.
constexpr double ColumnChars[DailyReportSheet::Columns] = {1, 9, 7.5, 6,   9, 6,   0.2, 9,   7.5,
                                                           6, 9, 6,   7.5, 9, 7.5, 9,   7.5, 1};

// Header captions of row 4 by column (-1: none).
constexpr int HeaderCaptions[DailyReportSheet::Columns] = {-1,
                                                           DailyReportSheet::Subject,
                                                           DailyReportSheet::DateIncome,
                                                           DailyReportSheet::Percent,
                                                           DailyReportSheet::MonthTotal,
                                                           DailyReportSheet::Percent,
                                                           -1,
                                                           DailyReportSheet::DepartType,
                                                           DailyReportSheet::DateIncome,
                                                           DailyReportSheet::Percent,
                                                           DailyReportSheet::MonthIncome,
                                                           DailyReportSheet::Percent,
                                                           DailyReportSheet::DateCost,
                                                           DailyReportSheet::MonthCost,
                                                           DailyReportSheet::DateExpenses,
                                                           DailyReportSheet::MonthExpenses,
                                                           DailyReportSheet::MonthProfits,
                                                           -1};

QString hundredths(qint64 v)
{
    return Money::fromUnits(v * 100).toString(2);
}

} // namespace

DailyReportSheet::DailyReportSheet(Sheet* sheet, QStringList captions)
    : m_sheet(sheet), m_captions(std::move(captions))
{
    while (m_captions.size() < CaptionCount)
        m_captions << QString();
}

int DailyReportSheet::designedWidth(int col)
{
    return col >= 1 && col <= Columns ? qRound(ColumnChars[col - 1] * TwipsPerCharacter) : 0;
}

QString DailyReportSheet::amountText(Money amount)
{
    return amount.isZero() ? QString() : amount.toString(2);
}

QString DailyReportSheet::percentText(Money amount, Money base)
{
    const DailyReportFigures::Share share = DailyReportFigures::share(amount, base);
    return share ? hundredths(*share) + QLatin1Char('%') : QString();
}

void DailyReportSheet::putText(int row, int col, const QString& text)
{
    m_sheet->setText(row, col, text);
}

void DailyReportSheet::putNumber(int row, int col, CellType type, double value, int decimals)
{
    m_sheet->setCellType(row, col, type);
    m_sheet->setCellDecimals(row, col, decimals);
    m_sheet->setNumber(row, col, value);
}

// Figures are number cells ("0.00", no thousands separators), shares percent cells ("0.00%"); an
// absent figure is not written (its cell stays as the layout left it) and a zero one leaves its
// cell empty.
void DailyReportSheet::putAmount(int row, int col, const DailyReportFigures::Amount& amount)
{
    if (amount && !amount->isZero())
        putNumber(row, col, CellType::Number, amount->rounded(2).toDouble(), 2);
}

void DailyReportSheet::putShare(int row, int col, const DailyReportFigures::Share& share)
{
    if (share)
        putNumber(row, col, CellType::Percent, double(*share) / 100, 2);
}

void DailyReportSheet::layout(const DailyReportLists& lists, const QDate& today, const QDate& begin,
                              const QDate& end)
{
    Sheet& s = *m_sheet;
    const bool redraw = s.reDraw();
    s.setReDraw(false);

    // 1. An empty sheet of 18 locked, centred columns without grid lines.
    s.clear();
    s.setMaxCols(Columns);
    s.setHeaderRows(0);
    s.setRowHeadersVisible(false);
    s.setLocked(true);
    s.setGridLines(false);
    s.setThousandsSeparator(false); // amounts read "0.00", as the sheet has always shown them
    CellStyle centred;
    centred.hAlign = Qt::AlignHCenter;
    centred.vAlign = Qt::AlignVCenter;
    for (int col = 1; col <= Columns; ++col) {
        s.setColumnType(col, CellType::Text);
        s.setColumnStyle(col, centred);
        s.setColumnWidth(col, designedWidth(col));
        if (!m_designed.contains(col))
            m_designed.insert(col, designedWidth(col));
    }
    PrintSettings& ps = s.printSettings();
    ps.border = false;
    ps.columnHeaders = false;
    ps.rowHeaders = false;
    ps.gridLines = false;
    ps.color = false;
    ps.shadows = false;
    ps.header.clear();
    ps.footer.clear();
    ps.marginTop = ps.marginBottom = ps.marginLeft = ps.marginRight = 0;
    // One landscape page, centred.
    ps.printType = PrintSettings::PrintType::All;
    ps.orientation = PrintSettings::Orientation::Landscape;
    ps.scaling = PrintSettings::Scaling::BestFit;
    ps.bestFitPagesWide = 1;
    ps.bestFitPagesTall = 1;
    ps.centerHorizontal = true;
    ps.centerVertical = true;

    // 3. The rows.
    m_lists = lists;
    const int subjects = int(lists.subjects.size());
    const int departs = int(lists.departTypes.size());
    const int groups = int(lists.groupTypes.size());
    m_last = std::max(subjects + 10, departs + 11 + (groups > 0 ? groups + 1 : 0));
    s.setMaxRows(m_last);
    for (int row = 6; row <= m_last; ++row)
        s.setRowHeight(row, 16 * TwipsPerPoint);

    // 2. Title, dates and column headers.
    auto dateText = [&](const QDate& d) {
        return QString::number(d.year()) + m_captions.at(Year) + QString::number(d.month()) +
               m_captions.at(Month) + QString::number(d.day()) + m_captions.at(Day);
    };
    s.setText(1, 2, m_captions.at(ReportTitle));
    s.addSpan({1, 2, 1, 18});
    CellStyle title;
    QFont titleFont = s.defaultFont();
    titleFont.setPointSize(20);
    titleFont.setBold(true);
    title.font = titleFont;
    title.hAlign = Qt::AlignHCenter;
    title.vAlign = Qt::AlignBottom;
    s.setCellStyle(1, 2, title);

    QFont dateFont = s.defaultFont();
    dateFont.setPointSize(11);
    dateFont.setBold(true);
    s.setText(2, 2, m_captions.at(DateTime) + dateText(today));
    s.addSpan({2, 2, 3, 6});
    CellStyle left;
    left.font = dateFont;
    left.hAlign = Qt::AlignLeft;
    left.vAlign = Qt::AlignVCenter;
    s.setCellStyle(2, 2, left);
    s.setText(2, 8,
              m_captions.at(DateFrom) + dateText(begin) + QLatin1Char(' ') + m_captions.at(DateTo) +
                  dateText(end));
    s.addSpan({2, 8, 3, 17});
    CellStyle right = left;
    right.hAlign = Qt::AlignRight;
    s.setCellStyle(2, 8, right);

    CellStyle header;
    QFont headerFont = s.defaultFont();
    headerFont.setBold(true);
    header.font = headerFont;
    header.hAlign = Qt::AlignHCenter;
    header.vAlign = Qt::AlignVCenter;
    for (int col = 1; col <= Columns; ++col) {
        if (HeaderCaptions[col - 1] >= 0) {
            s.setText(4, col, m_captions.at(HeaderCaptions[col - 1]));
            s.setCellStyle(4, col, header);
        }
    }

    // Row captions.
    for (int i = 1; i <= subjects; ++i)
        s.setText(5 + i, 2, lists.subjects.at(i - 1).caption);
    for (int i = 1; i <= departs; ++i)
        s.setText(departRow(i), 8, lists.departTypes.at(i - 1));
    for (int j = 1; j <= groups; ++j)
        s.setText(groupRow(j), 8, lists.groupTypes.at(j - 1).second);
    s.setText(m_last - 4, 8, m_captions.at(TotalIncome));
    s.setText(m_last - 3, 2, m_captions.at(PeopleCount));
    s.setText(m_last - 3, 8, m_captions.at(SumOfService));
    s.setText(m_last - 2, 2, m_captions.at(AverageConsume));
    s.setText(m_last - 2, 8, m_captions.at(SumForDiscount));
    s.setText(m_last, 2, m_captions.at(Total));
    s.setText(m_last, 8, m_captions.at(Total));

    // Value cells are right aligned.
    CellStyle values;
    values.hAlign = Qt::AlignRight;
    s.applyStyle({6, 3, m_last, 6}, values);
    s.applyStyle({6, 9, m_last, 17}, values);

    // 4. Ruled blocks, row heights and the bottom margin row.
    CellStyle ruled;
    ruled.borderColor = QColor(Qt::black);
    s.applyStyle({4, 2, m_last, 17}, ruled);
    const int heights[5] = {30, 16, 1, 20, 1};
    for (int row = 1; row <= 5; ++row)
        s.setRowHeight(row, heights[row - 1] * TwipsPerPoint);
    s.setMaxRows(m_last + 1);
    s.setRowHeight(m_last + 1, 20 * TwipsPerPoint);

    s.setReDraw(redraw);
}

void DailyReportSheet::render(const DailyReportFigures& f)
{
    const bool redraw = m_sheet->reDraw();
    m_sheet->setReDraw(false);
    // The totals, shares and profits worked out here name the column of an overflow.
    auto column = [&](int col, auto&& write) {
        MoneyInColumn(m_captions.at(HeaderCaptions[col - 1]), write);
    };
    column(3, [&] { renderPayments(f.day.payments, 1); });
    column(5, [&] { renderPayments(f.period.payments, 3); });
    column(9, [&] { renderSales(f.day.sales, 7); });
    column(11, [&] { renderSales(f.period.sales, 9); });
    renderCost(f.day.cost, 11);
    renderCost(f.period.cost, 12);
    putAmount(m_last, 15, f.day.expenses);
    putAmount(m_last, 16, f.period.expenses);
    // The period's gross profit per department type and in total (less the expenses there).
    column(17, [&] {
        for (int i = 1; i <= m_lists.departTypes.size(); ++i)
            putAmount(departRow(i), 17, f.profit(i - 1));
        putAmount(m_last, 17, f.totalProfit());
    });
    m_sheet->setReDraw(redraw);
}

// Values in column base + 2, shares in base + 3.
void DailyReportSheet::renderPayments(const DailyReportFigures::Payments& p, int base)
{
    for (int i = 1; i <= p.subjects.size(); ++i) {
        putAmount(5 + i, base + 2, p.subjects.at(i - 1));
        putShare(5 + i, base + 3, p.share(p.subjects.at(i - 1)));
    }
    if (p.guests && *p.guests)
        putNumber(m_last - 3, base + 2, CellType::Number, double(*p.guests), 0);
    if (const DailyReportFigures::Amount perGuest = p.perGuest()) // also 0.00
        putNumber(m_last - 2, base + 2, CellType::Number, perGuest->rounded(2).toDouble(), 2);
    putAmount(m_last, base + 2, p.paid);
    putShare(m_last, base + 3, p.share(p.paid));
}

void DailyReportSheet::renderSales(const DailyReportFigures::Sales& s, int base)
{
    for (int i = 1; i <= s.departTypes.size(); ++i) {
        putAmount(departRow(i), base + 2, s.departTypes.at(i - 1));
        putShare(departRow(i), base + 3, s.share(s.departTypes.at(i - 1)));
    }
    const std::pair<int, DailyReportFigures::Amount> bottom[] = {{m_last - 4, s.consume},
                                                                 {m_last - 3, s.service},
                                                                 {m_last - 2, s.discount},
                                                                 {m_last, s.total()}};
    for (const auto& [row, v] : bottom) {
        putAmount(row, base + 2, v);
        putShare(row, base + 3, s.share(v));
    }
    for (int j = 1; j <= s.groupTypes.size(); ++j) {
        putAmount(groupRow(j), base + 2, s.groupTypes.at(j - 1));
        putShare(groupRow(j), base + 3, s.share(s.groupTypes.at(j - 1)));
    }
}

void DailyReportSheet::renderCost(const DailyReportFigures::Cost& cost, int base)
{
    for (int i = 1; i <= cost.departTypes.size(); ++i)
        putAmount(departRow(i), base + 2, cost.departTypes.at(i - 1));
    putAmount(m_last, base + 2, cost.total);
}

DailyReportSheet::Source DailyReportSheet::sourceAt(int row, int col) const
{
    using S = Source;
    // Day and period columns of the subject block (3-6) and the department block (9-12).
    const bool subjects = col >= 3 && col <= 6, sales = col >= 9 && col <= 12;
    if (row < 6 || row > m_last || !(subjects || sales))
        return {};
    const bool period = subjects ? col >= 5 : col >= 11;
    if (subjects) {
        if (row == m_last - 3 || row == m_last - 2 || row == m_last)
            return {S::Bills, QString(), period};
        const int i = row - 5;
        if (i > m_lists.subjects.size())
            return {};
        const QString& key = m_lists.subjects.at(i - 1).key;
        if (key.isEmpty())
            return {};
        if (key == DailyIncomeSubtotalKey || key == DailyExpenseSubtotalKey)
            return {S::BalancePayments, key == DailyIncomeSubtotalKey ? "0" : "1", period};
        return {S::SubjectPayments, key, period};
    }
    if (row >= m_last - 4 && row != m_last - 1)
        return {S::Bills, QString(), period};
    const int departs = int(m_lists.departTypes.size());
    if (row - 5 <= departs)
        return {S::DepartTypeItems, m_lists.departTypes.at(row - 6), period};
    const int j = row - (5 + departs + 1);
    if (j >= 1 && j <= m_lists.groupTypes.size())
        return {S::GroupItems, m_lists.groupTypes.at(j - 1).first, period};
    return {};
}

void DailyReportSheet::fitColumns(double twipsPerPixel)
{
    Sheet& s = *m_sheet;
    constexpr int Padding = 150; // twips around the text
    for (int col = 1; col <= s.maxCols(); ++col) {
        int width = m_designed.value(col, designedWidth(col));
        for (int row = 3; row <= s.maxRows() - 1; ++row) {
            if (const auto span = s.spanAt(row, col); span && span->colCount() > 1)
                continue; // merged captions spread over their columns
            const QString text = s.text(row, col);
            if (text.isEmpty())
                continue;
            const QFontMetricsF fm(*s.effectiveStyle(row, col).font);
            width = std::max(width,
                             int(std::ceil(fm.horizontalAdvance(text) * twipsPerPixel)) + Padding);
        }
        s.setColumnWidth(col, width);
    }
}
