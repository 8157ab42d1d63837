// Grid exports at chain scale: a month's bill list of 20 branches is ~370,000 rows x 19 columns.
//
//   bench_export [--rows N] [--formats xlsx,pdf] [--keep DIR]
//
// Builds a bill-list-shaped sheet the way the query control fills one (default N = 100,000):
// 19 columns under a two-level header with merged group captions, texts (bill numbers, table
// names, check-out times, staff, discount names), money with 2 decimals, percent and count
// columns, the report's column back colours, a bold totals row, the report's print header and
// footer. Then times SheetOutput::save to each format and prints one line per format: wall time,
// CPU time of the process, peak resident growth during the save and the file's size.
// --keep DIR writes the files into DIR (to look at them) instead of a temporary folder.
#include "bench/BenchProcess.h"
#include "sheet/Sheet.h"
#include "sheet/SheetOutput.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

namespace {

QColor fromBgr(int bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

struct ColumnDef
{
    const char* group; // caption of the group header over it, or nullptr
    const char* caption;
    CellType type;
    int width; // twips
    int back;  // BGR, -1 for none
    int decimals;
};

// The bill list's columns.
const ColumnDef Columns[] = {
    {nullptr, "单号", CellType::Text, 1500, -1, 0},
    {nullptr, "房台", CellType::Text, 1100, -1, 0},
    {nullptr, "结账时间", CellType::Text, 1700, -1, 0},
    {nullptr, "人数", CellType::Number, 550, -1, 0},
    {"负责人", "开台人", CellType::Text, 700, -1, 0},
    {"负责人", "埋单人", CellType::Text, 700, -1, 0},
    {"负责人", "收银员", CellType::Text, 700, -1, 0},
    {nullptr, "消费总额", CellType::Number, 1050, 14737632, 2},
    {"服务费", "服务费率", CellType::Percent, 840, 14737632, 2},
    {"服务费", "服务费", CellType::Number, 800, 14737632, 2},
    {"折扣", "打折方式", CellType::Text, 840, 14737632, 0},
    {"折扣", "折扣率", CellType::Percent, 700, 14737632, 2},
    {"折扣", "折扣额", CellType::Number, 900, 14737632, 2},
    {nullptr, "应收金额", CellType::Number, 1050, 14737632, 2},
    {"实收金额", "现金", CellType::Number, 1000, 12648447, 2},
    {"实收金额", "其他", CellType::Number, 950, 12648447, 2},
    {"实收金额", "实收金额", CellType::Number, 1050, 12648447, 2},
    {nullptr, "发票金额", CellType::Number, 1050, 14737632, 2},
    {nullptr, "埋单次数", CellType::Number, 500, -1, 0},
};
constexpr int ColumnCount = int(sizeof(Columns) / sizeof(Columns[0]));

void buildBillList(Sheet& s, int rows)
{
    s.setReDraw(false);
    s.clear();
    s.setMaxCols(ColumnCount);
    s.setHeaderRows(2);
    for (int c = 1; c <= ColumnCount;) {
        const ColumnDef& def = Columns[c - 1];
        if (!def.group) {
            s.setHeaderText(1, c, QString::fromUtf8(def.caption));
            s.addHeaderSpan({1, c, 2, c});
            ++c;
            continue;
        }
        int last = c;
        while (last < ColumnCount && Columns[last].group &&
               qstrcmp(Columns[last].group, def.group) == 0)
            ++last;
        s.setHeaderText(1, c, QString::fromUtf8(def.group));
        s.addHeaderSpan({1, c, 1, last});
        for (int k = c; k <= last; ++k)
            s.setHeaderText(2, k, QString::fromUtf8(Columns[k - 1].caption));
        c = last + 1;
    }
    for (int c = 1; c <= ColumnCount; ++c) {
        const ColumnDef& def = Columns[c - 1];
        s.setColumnType(c, def.type);
        s.setColumnWidth(c, def.width);
        s.setColumnDecimals(c, def.decimals);
        CellStyle style;
        if (def.back >= 0)
            style.backColor = fromBgr(def.back);
        s.setColumnStyle(c, style);
    }

    // Texts are interned once, as the query control does while rows stream in.
    QList<quint32> tables, staff, discounts;
    for (int i = 0; i < 60; ++i)
        tables.append(s.internText(QStringLiteral("大厅%1").arg(i, 2, 10, QLatin1Char('0'))));
    for (int i = 0; i < 40; ++i)
        staff.append(s.internText(QStringLiteral("服务员%1").arg(i)));
    for (const char* d : {"无", "九折", "八八折", "会员价", "员工餐"})
        discounts.append(s.internText(QString::fromUtf8(d)));

    s.setMaxRows(rows + 1);
    s.reserveRows(rows + 1);
    const QDateTime start(QDate(2026, 3, 1), QTime(10, 0));
    for (int i = 0; i < rows; ++i) {
        const int r = i + 1;
        const double consume = 50 + (i * 37 % 2000) + (i % 4) * 0.25;
        const double rate = i % 5 == 1 ? 90 : 100;
        const double service = i % 3 == 0 ? consume * 0.1 : 0.0;
        const double discount = consume * (100 - rate) / 100;
        const double pay = consume + service - discount;
        const double cash = i % 2 ? pay : pay / 2;
        s.setTextId(r, 1,
                    s.internText(QStringLiteral("B%1%2")
                                     .arg(i % 20 + 1, 2, 10, QLatin1Char('0'))
                                     .arg(i + 1, 8, 10, QLatin1Char('0'))));
        s.setTextId(r, 2, tables.at(i % tables.size()));
        s.setTextId(r, 3,
                    s.internText(
                        start.addSecs(qint64(i) * 7).toString(QStringLiteral("yyyy-MM-dd hh:mm"))));
        s.setNumber(r, 4, 1 + i % 12);
        s.setTextId(r, 5, staff.at(i % 40));
        s.setTextId(r, 6, staff.at((i + 7) % 40));
        s.setTextId(r, 7, staff.at((i + 13) % 40));
        s.setNumber(r, 8, consume);
        s.setNumber(r, 9, service ? 10 : 0);
        s.setNumber(r, 10, service);
        s.setTextId(r, 11, discounts.at(i % discounts.size()));
        s.setNumber(r, 12, rate);
        s.setNumber(r, 13, discount);
        s.setNumber(r, 14, pay);
        s.setNumber(r, 15, cash);
        s.setNumber(r, 16, pay - cash);
        s.setNumber(r, 17, pay);
        s.setNumber(r, 18, i % 7 == 0 ? pay : 0.0);
        s.setNumber(r, 19, 1 + (i % 50 == 0));
    }
    // Totals row (sums in double are fine for a benchmark's figures).
    const int total = rows + 1;
    s.setText(total, 1, QStringLiteral("合计"));
    for (int c : {4, 8, 10, 13, 14, 15, 16, 17, 18}) {
        double sum = 0;
        for (int r = 1; r <= rows; ++r)
            sum += s.number(r, c);
        s.setNumber(total, c, sum);
    }
    QFont bold = s.defaultFont();
    bold.setBold(true);
    CellStyle totalStyle;
    totalStyle.font = bold;
    s.setRowStyle(total, totalStyle);
    s.squeeze();

    // The report's print header and footer (as the report screens build them).
    const QString large = QStringLiteral("/fn\"Arial\"/fz\"20\"/fb1/fi0/fu0/fk0/fs1");
    const QString small = QStringLiteral("/fn\"Arial\"/fz\"12\"/fb0/fi0/fu0/fk0/fs2");
    s.printSettings().header = large + small + QStringLiteral("/f1/c账单明细/n/n") +
                               QStringLiteral("/f2/cPeriod: from 2026-03-01 to 2026-03-31/n");
    s.printSettings().footer = large + small + QStringLiteral("/n/f2/c Page /p of /pc /n");
    s.setReDraw(true);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int rows = 100000;
    QStringList formats{QStringLiteral("xlsx"), QStringLiteral("pdf")};
    QString keep;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--rows"))
            rows = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--formats"))
            formats = args[i + 1].split(QLatin1Char(','), Qt::SkipEmptyParts);
        else if (args[i] == QLatin1String("--keep"))
            keep = args[i + 1];
    }

    QElapsedTimer t;
    t.start();
    Sheet sheet;
    buildBillList(sheet, rows);
    const double cells = double(sheet.maxRows()) * sheet.maxCols();
    std::printf("bill list: %d rows x %d columns = %.0f cells, built in %.1f s\n", sheet.maxRows(),
                sheet.maxCols(), cells, t.elapsed() / 1000.0);

    QTemporaryDir tmp;
    const QString dir = keep.isEmpty() ? tmp.path() : keep;
    QDir().mkpath(dir);
    std::printf("format     wall s    CPU s   us/cell  peak growth MB  bytes/cell   file MB\n");
    for (const QString& format : formats) {
        const QString path = dir + QStringLiteral("/bills.") + format;
        const qint64 rssBefore = procStatusKb("VmRSS:");
        resetPeakRss();
        const double cpu0 = cpuMs(CLOCK_PROCESS_CPUTIME_ID);
        t.restart();
        QString error;
        const bool ok = SheetOutput::save(sheet, path, QStringLiteral("账单明细"), &error);
        const double wall = double(t.nsecsElapsed()) / 1e9;
        const double cpu = (cpuMs(CLOCK_PROCESS_CPUTIME_ID) - cpu0) / 1e3;
        const qint64 peak = std::max<qint64>(0, procStatusKb("VmHWM:") - rssBefore);
        if (!ok) {
            std::printf("%-6s failed: %s\n", qPrintable(format), qPrintable(error));
            return 1;
        }
        std::printf("%-6s %10.2f %8.2f %9.2f %15.1f %11.1f %9.1f\n", qPrintable(format), wall, cpu,
                    wall * 1e6 / cells, peak / 1024.0, peak * 1024.0 / cells,
                    QFileInfo(path).size() / 1048576.0);
        std::fflush(stdout);
    }
    return 0;
}
