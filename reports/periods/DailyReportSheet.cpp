#include "reports/periods/DailyReportSheet.h"

#include "db/PrefetchedResults.h"
#include "db/Recordset.h"
#include "framework/DataList.h"
#include "screens/sheet/Sheet.h"

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

// a / b rounded half away from zero (b > 0).
qint64 divRound(qint64 a, qint64 b)
{
    return a >= 0 ? (a + b / 2) / b : -((-a + b / 2) / b);
}

QString hundredths(qint64 v)
{
    const qint64 abs = v < 0 ? -v : v;
    return QStringLiteral("%1%2.%3")
        .arg(v < 0 ? QStringLiteral("-") : QString())
        .arg(abs / 100)
        .arg(abs % 100, 2, 10, QLatin1Char('0'));
}

// The first row of a statement on the range, read as money; a NULL sum is zero.
struct FirstRow
{
    std::unique_ptr<Recordset> rs;
    FirstRow(const PrefetchedResults& db, const QString& sql, const QVariantList& params)
        : rs(db.execute(sql, params))
    {
    }
    Money money(const QString& column) const
    {
        return rs->atEnd() ? Money() : Money::fromVariant(rs->value(column));
    }
    qint64 integer(const QString& column) const
    {
        return rs->atEnd() ? 0 : rs->value(column).toLongLong();
    }
};

} // namespace

DailyReportLists DailyReportLists::load(const ConnectionPtr& db, const QString& incomeSubtotal,
                                        const QString& expenseSubtotal)
{
    DailyReportLists lists;
    DataList subjects(DataList::Subjects, db);
    subjects.initialise(1, 1);
    subjects.load();
    QList<DailyReportRow> income, expense;
    for (int i = 1; i <= subjects.Count(); ++i) {
        const DataListItem& s = subjects.item(i);
        if (s.attribute(QStringLiteral("IsVisible")).toInt() == 0)
            continue;
        const DailyReportRow row{s.id, s.Name};
        if (s.attribute(QStringLiteral("BalanceType")).toInt() == 0)
            income << row;
        else
            expense << row;
    }
    lists.subjects = income;
    if (!expense.isEmpty()) {
        lists.subjects << DailyReportRow{DailyIncomeSubtotalKey, incomeSubtotal}
                       << DailyReportRow{};
        lists.subjects << expense;
        lists.subjects << DailyReportRow{DailyExpenseSubtotalKey, expenseSubtotal}
                       << DailyReportRow{};
    }

    DataList departTypes(DataList::DepartTypes, db);
    departTypes.initialise(1, 1);
    departTypes.load();
    for (int i = 1; i <= departTypes.Count(); ++i)
        lists.departTypes << departTypes.item(i).Name;

    bool hasGroups = false;
    try {
        db->execute(QStringLiteral("SELECT * FROM mn_GroupType WHERE 1<>1"));
        hasGroups = true;
    } catch (const SqlError&) {
    }
    if (hasGroups) {
        DataList groups(DataList::GroupTypes, db);
        groups.initialise(1, 1);
        groups.load();
        for (int i = 1; i <= groups.Count(); ++i)
            lists.groupTypes << qMakePair(groups.item(i).id, groups.item(i).Name);
    }
    return lists;
}

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
    if (amount.isZero() || base.isZero())
        return QString();
    // Hundredths of a percent: amount / base * 100 * 100.
    qint64 num = amount.units() * 10000, den = base.units();
    if (den < 0)
        num = -num, den = -den;
    return hundredths(divRound(num, den)) + QLatin1Char('%');
}

void DailyReportSheet::putText(int row, int col, const QString& text)
{
    m_sheet->setText(row, col, text);
}

void DailyReportSheet::putAmount(int row, int col, Money amount)
{
    putText(row, col, amountText(amount));
}

void DailyReportSheet::putPercent(int row, int col, Money amount, Money base)
{
    putText(row, col, percentText(amount, base));
}

Money DailyReportSheet::cellMoney(int row, int col) const
{
    return Money::fromString(m_sheet->text(row, col));
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

QList<DailyReportSheet::Failure> DailyReportSheet::fill(const ConnectionPtr& db,
                                                        const DailyReportCriteria& c,
                                                        const QDate& today, const QDate& begin,
                                                        const QDate& end)
{
    const Range day{today, today.addDays(1)};
    const Range period{begin, end.addDays(1)};
    const bool redraw = m_sheet->reDraw();
    m_sheet->setReDraw(false);
    const PrefetchedResults fetched(db, statements(c, day, period));
    QList<Failure> failures;
    auto step = [&](Part part, auto&& work) {
        try {
            work();
            return true;
        } catch (const std::exception& e) {
            // The part ends here; what it has not written stays empty.
            failures.append({part, QString::fromUtf8(e.what())});
            return false;
        }
    };
    step(PaymentsDay, [&] { subjectBlock(fetched, c, day, 1); });
    step(PaymentsPeriod, [&] { subjectBlock(fetched, c, period, 3); });
    step(SalesDay, [&] { departBlock(fetched, c, day, 7); });
    const bool sales = step(SalesPeriod, [&] { departBlock(fetched, c, period, 9); });
    step(CostDay, [&] { costColumn(fetched, c, day, 11); });
    const bool cost = step(CostPeriod, [&] { costColumn(fetched, c, period, 12); });
    step(ExpensesDay, [&] { expenses(fetched, day, 15); });
    const bool spent = step(ExpensesPeriod, [&] { expenses(fetched, period, 16); });
    if (sales && cost)
        profit(spent);
    m_sheet->setReDraw(redraw);
    return failures;
}

// Every statement the blocks below run: fetched together before any figure is written, so that
// they run side by side. The longest (the period's, the item cost's) come first, so that no
// core is left with a long one at the end.
QList<Connection::Statement> DailyReportSheet::statements(const DailyReportCriteria& c, Range day,
                                                          Range period) const
{
    QList<Connection::Statement> list;
    for (const Range& r : {period, day}) {
        const QVariantList range{r.begin, r.end};
        if (c.costing == 0 || c.costing == 2)
            list.append({DailyItemCostSql(c), range});
        for (const auto& group : m_lists.groupTypes)
            list.append({DailyGroupTypeSql(c, group.first), range});
        for (const QString& name : m_lists.departTypes)
            list.append({DailyDepartTypeSql(c, name), range});
        for (const DailyReportRow& subject : m_lists.subjects)
            if (!subject.key.isEmpty())
                list.append({DailySubjectSql(c, subject.key), range});
        list.append({DailySummarySql(c), range});
        if (c.costing == 0 || c.costing == 1)
            list.append({DailyStockCostSql(c), {r.begin, r.end, r.begin, r.end}});
        list.append({DailyExpenseSql(), range});
    }
    return list;
}

void DailyReportSheet::subjectBlock(const PrefetchedResults& db, const DailyReportCriteria& c,
                                    Range r, int base)
{
    const QVariantList range{r.begin, r.end};
    Money paid;
    qint64 people = 0;
    {
        const FirstRow q1(db, DailySummarySql(c), range);
        paid = q1.money(QStringLiteral("theSumPaid"));
        people = q1.integer(QStringLiteral("thePeopleCount"));
    }
    for (int i = 1; i <= m_lists.subjects.size(); ++i) {
        const QString& key = m_lists.subjects.at(i - 1).key;
        if (key.isEmpty())
            continue;
        const Money v =
            FirstRow(db, DailySubjectSql(c, key), range).money(QStringLiteral("theSum"));
        putAmount(5 + i, base + 2, v);
        putPercent(5 + i, base + 3, v, paid);
    }
    putText(m_last - 3, base + 2, people ? QString::number(people) : QString());
    if (people && !paid.isZero())
        putText(m_last - 2, base + 2, hundredths(divRound(paid.units(), people * 100)));
    putAmount(m_last, base + 2, paid);
    putPercent(m_last, base + 3, paid, paid);
}

void DailyReportSheet::departBlock(const PrefetchedResults& db, const DailyReportCriteria& c,
                                   Range r, int base)
{
    const QVariantList range{r.begin, r.end};
    Money consume, service, discount;
    {
        const FirstRow q1(db, DailySummarySql(c), range);
        consume = q1.money(QStringLiteral("theSumOfConsume"));
        service = q1.money(QStringLiteral("theSumOfService"));
        discount = -q1.money(QStringLiteral("theSumForDiscount"));
    }
    const Money total = consume + service + discount;
    for (int i = 1; i <= m_lists.departTypes.size(); ++i) {
        const Money v = FirstRow(db, DailyDepartTypeSql(c, m_lists.departTypes.at(i - 1)), range)
                            .money(QStringLiteral("theSum"));
        putAmount(departRow(i), base + 2, v);
        putPercent(departRow(i), base + 3, v, total);
    }
    const std::pair<int, Money> bottom[] = {
        {m_last - 4, consume}, {m_last - 3, service}, {m_last - 2, discount}, {m_last, total}};
    for (const auto& [row, v] : bottom) {
        putAmount(row, base + 2, v);
        putPercent(row, base + 3, v, total);
    }
    for (int j = 1; j <= m_lists.groupTypes.size(); ++j) {
        const Money v =
            FirstRow(db, DailyGroupTypeSql(c, m_lists.groupTypes.at(j - 1).first), range)
                .money(QStringLiteral("theSum"));
        putAmount(groupRow(j), base + 2, v);
        putPercent(groupRow(j), base + 3, v, total);
    }
}

void DailyReportSheet::costColumn(const PrefetchedResults& db, const DailyReportCriteria& c,
                                  Range r, int base)
{
    const int departs = int(m_lists.departTypes.size());
    QList<Money> cost(departs + 1); // the last one for names that match no department type
    Money grand;
    auto accumulate = [&](std::unique_ptr<Recordset> rs) {
        for (; !rs->atEnd(); rs->moveNext()) {
            const QString name = rs->value(QStringLiteral("DepartTypeName")).toString();
            qsizetype i = m_lists.departTypes.indexOf(name);
            if (i < 0)
                i = departs;
            const Money v = Money::fromVariant(rs->value(QStringLiteral("theTotalSum")));
            cost[i] += v;
            grand += v;
        }
    };
    if (c.costing == 0 || c.costing == 1)
        accumulate(db.execute(DailyStockCostSql(c), {r.begin, r.end, r.begin, r.end}));
    if (c.costing == 0 || c.costing == 2) {
        bool hasCostPrice = true;
        try {
            db.execute(DailyCostPriceProbeSql());
        } catch (const SqlError&) {
            hasCostPrice = false;
        }
        if (hasCostPrice)
            accumulate(db.execute(DailyItemCostSql(c), {r.begin, r.end}));
    }
    for (int i = 1; i <= departs; ++i)
        putAmount(departRow(i), base + 2, cost.at(i - 1));
    putAmount(m_last, base + 2, grand);
}

void DailyReportSheet::expenses(const PrefetchedResults& db, Range r, int col)
{
    putAmount(
        m_last, col,
        FirstRow(db, DailyExpenseSql(), {r.begin, r.end}).money(QStringLiteral("theExpense")));
}

// Period sales less period cost, per department type; the total row also less the period's
// expenses (a department row has none).
void DailyReportSheet::profit(bool withTotal)
{
    for (int i = 1; i <= m_lists.departTypes.size(); ++i) {
        const int row = departRow(i);
        putAmount(row, 17, cellMoney(row, 11) - cellMoney(row, 14) - cellMoney(row, 16));
    }
    if (withTotal)
        putAmount(m_last, 17,
                  cellMoney(m_last, 11) - cellMoney(m_last, 14) - cellMoney(m_last, 16));
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
