#include "sheet/PrintCodeParser.h"
#include "sheet/SheetCompare.h"
#include "sheet/SheetFile.h"
#include "sheet/SheetOutput.h"
#include "sheet/XlsxExporter.h"
#include "sheet/XmlText.h"
#include "tests/sheet/BillSheetFixture.h"

#include <QDomDocument>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

// One member of a zip file, through the unzip tool.
QString zipMember(const QString& zip, const QString& member)
{
    QProcess p;
    p.start(QStringLiteral("unzip"), {QStringLiteral("-p"), zip, member});
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString readText(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll());
}

// A worksheet's cells in document order as "ref style value", texts taken from the shared
// string table or from the cell itself.
QStringList worksheetCells(const QString& zip, const QString& member)
{
    QStringList shared;
    static const QRegularExpression si(QStringLiteral("<si><t[^>]*>([^<]*)</t></si>"));
    for (auto it = si.globalMatch(zipMember(zip, QStringLiteral("xl/sharedStrings.xml")));
         it.hasNext();)
        shared << it.next().captured(1);
    static const QRegularExpression cell(
        QStringLiteral("<c r=\"([A-Z]+\\d+)\"(?: s=\"(\\d+)\")?(?: t=\"(\\w+)\")?"
                       "(?:/>|>(?:<v>([^<]*)</v>|<is><t[^>]*>([^<]*)</t></is>)</c>)"));
    QStringList found;
    for (auto it = cell.globalMatch(zipMember(zip, member)); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString value = m.captured(3) == QLatin1String("s")
                                  ? shared.value(m.captured(4).toInt(), QStringLiteral("?"))
                                  : m.captured(4) + m.captured(5);
        found << m.captured(1) + QLatin1Char(' ') + m.captured(2) + QLatin1Char(' ') + value;
    }
    return found;
}

QStringList mergedRanges(const QString& worksheet)
{
    static const QRegularExpression merge(QStringLiteral("<mergeCell ref=\"([^\"]+)\"/>"));
    QStringList found;
    for (auto it = merge.globalMatch(worksheet); it.hasNext();)
        found << it.next().captured(1);
    found.sort();
    return found;
}

} // namespace

class TestExport : public QObject
{
    Q_OBJECT
private slots:
    void workbookKeepsStructure();
    void workbookSheetNames();
    void workbookInConstantMemory();
    void workbookPrintsLikeTheReport();
    void reportFileRoundTrip();
    void numberFormats();
    void htmlTextAndXml();
    void controlCharactersInEveryFormat();
    void htmlIsWrittenAsItIsMade();
};

void TestExport::workbookKeepsStructure()
{
    if (QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty())
        QSKIP("unzip is not installed");
    QTemporaryDir dir;
    Sheet sheet;
    fillBillSheet(sheet);
    const QString chosen = dir.filePath(QStringLiteral("bills.xls"));
    QString error;
    QVERIFY2(SheetOutput::save(sheet, chosen, QStringLiteral("账单查询"), &error),
             qPrintable(error));
    const QString path = dir.filePath(QStringLiteral("bills.xlsx"));
    QVERIFY(QFile::exists(path));
    QVERIFY(!QFile::exists(chosen));

    QVERIFY(zipMember(path, QStringLiteral("xl/workbook.xml"))
                .contains(QStringLiteral("name=\"账单查询\"")));
    const QString ws = zipMember(path, QStringLiteral("xl/worksheets/sheet1.xml"));
    // Group header over its three sub-columns, single columns over both header rows, and the
    // totals caption over two columns of row 8 (2 header rows + 5 bills + totals).
    QVERIFY(ws.contains(QStringLiteral("<mergeCell ref=\"C1:E1\"/>")));
    QVERIFY(ws.contains(QStringLiteral("<mergeCell ref=\"A1:A2\"/>")));
    QVERIFY(ws.contains(QStringLiteral("<mergeCell ref=\"A8:B8\"/>")));
    auto number = [&](const QString& ref) {
        const QRegularExpression re(QStringLiteral("<c r=\"%1\"[^>]*><v>([^<]*)</v>").arg(ref));
        return re.match(ws).captured(1);
    };
    QCOMPARE(number(QStringLiteral("C3")), QStringLiteral("1234.5"));
    QCOMPARE(number(QStringLiteral("E3")), QStringLiteral("0.125")); // 12.50 %
    QCOMPARE(number(QStringLiteral("C8")), QStringLiteral("6215.15"));
    QCOMPARE(number(QStringLiteral("D8")), QStringLiteral("160"));
    const QString strings = zipMember(path, QStringLiteral("xl/sharedStrings.xml"));
    for (const char* s : {"合计", "金额", "折扣率", "B003"})
        QVERIFY2(strings.contains(QString::fromUtf8(s)), s);
    const QString styles = zipMember(path, QStringLiteral("xl/styles.xml"));
    QVERIFY(styles.contains(QStringLiteral("#,##0.00")));
    QVERIFY(styles.contains(QStringLiteral("FFFF0000"))); // the red row
    QVERIFY(styles.contains(QStringLiteral("<b/>")));     // the bold totals
    // 1500 twips = 100 px: Excel stores that column as 100 / 7 characters (in 256ths).
    QVERIFY(ws.contains(QStringLiteral("width=\"14.28515625\"")));
}

void TestExport::workbookSheetNames()
{
    QCOMPARE(XlsxExporter::sheetName(QString()), QStringLiteral("Sheet1"));
    QCOMPARE(XlsxExporter::sheetName(QStringLiteral("日报[12/04]:*?")),
             QStringLiteral("日报_12_04____"));
    QCOMPARE(XlsxExporter::sheetName(QString(40, QLatin1Char('x'))).size(), 31);
    if (QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty())
        QSKIP("unzip is not installed");
    QTemporaryDir dir;
    Sheet sheet;
    fillBillSheet(sheet);
    const QString path = dir.filePath(QStringLiteral("a.xlsx"));
    QVERIFY(SheetOutput::save(sheet, path, QString()));
    QVERIFY(zipMember(path, QStringLiteral("xl/workbook.xml"))
                .contains(QStringLiteral("name=\"Sheet1\"")));

    // More rows than a worksheet holds: the rest goes on on "账单 (2)", headers repeated (this
    // grid is large enough to be written in constant memory, texts in their cells).
    Sheet tall;
    tall.setMaxCols(1);
    tall.setHeaderRows(1);
    tall.setHeaderText(1, 1, QStringLiteral("序号"));
    const int rows = 1048576 + 2; // the first worksheet takes 1048575 after its header
    tall.setMaxRows(rows);
    tall.setColumnType(1, CellType::Number);
    for (int r = 1; r <= rows; ++r)
        tall.setNumber(r, 1, r);
    const QString tallPath = dir.filePath(QStringLiteral("tall.xlsx"));
    QVERIFY(SheetOutput::save(tall, tallPath, QStringLiteral("账单")));
    QVERIFY(zipMember(tallPath, QStringLiteral("xl/workbook.xml"))
                .contains(QStringLiteral("name=\"账单 (2)\"")));
    const QString second = zipMember(tallPath, QStringLiteral("xl/worksheets/sheet2.xml"));
    static const QRegularExpression cell(QStringLiteral("<c r=\"A(\\d+)\"[^>]*><v>(\\d+)</v>"));
    QStringList found;
    for (auto it = cell.globalMatch(second); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        found << m.captured(1) + QLatin1Char('=') + m.captured(2);
    }
    QCOMPARE(found, QStringList({"2=1048576", "3=1048577", "4=1048578"}));
    QVERIFY(second.contains(QStringLiteral("<c r=\"A1\" s=\"1\" t=\"inlineStr\"><is><t>序号</t>")));
}

void TestExport::workbookInConstantMemory()
{
    if (QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty())
        QSKIP("unzip is not installed");
    QTemporaryDir dir;
    Sheet sheet;
    fillBillSheet(sheet, 34000); // 2 header rows + 34006 rows of 6 columns: 204,048 cells
    QVERIFY(6 * (2 + sheet.maxRows()) > XlsxExporter::ConstantMemoryCells);
    // Spans over several rows, one of them anchored on a number, and a taller row.
    sheet.addSpan({10, 6, 13, 6});
    sheet.addSpan({20, 1, 21, 2});
    sheet.addSpan({30, 3, 31, 4});
    sheet.setRowHeight(7, 450);

    const QString streamed = dir.filePath(QStringLiteral("streamed.xlsx"));
    const QString held = dir.filePath(QStringLiteral("held.xlsx"));
    QString error;
    QVERIFY2(SheetOutput::save(sheet, streamed, QStringLiteral("账单"), &error), qPrintable(error));
    SheetExportOptions options;
    options.caption = QStringLiteral("账单");
    QVERIFY2(XlsxExporter(XlsxExporter::Memory::Held).write(sheet, held, options, &error),
             qPrintable(error));

    const QString sheet1 = QStringLiteral("xl/worksheets/sheet1.xml");
    const QString ws = zipMember(streamed, sheet1), heldWs = zipMember(held, sheet1);
    // Written in constant memory: texts inline, no shared string table.
    QVERIFY(ws.contains(QStringLiteral("t=\"inlineStr\"")));
    QVERIFY(zipMember(streamed, QStringLiteral("xl/sharedStrings.xml")).isEmpty());
    QVERIFY(!heldWs.contains(QStringLiteral("t=\"inlineStr\"")));

    const QStringList merges(
        {"A1:A2", "A22:B23", "A34008:B34008", "B1:B2", "C1:E1", "C32:D33", "F12:F15", "F1:F2"});
    QCOMPARE(mergedRanges(ws), merges);
    QCOMPARE(mergedRanges(heldWs), merges);
    const QString frozen =
        QStringLiteral("<pane ySplit=\"2\" topLeftCell=\"A3\" activePane=\"bottomLeft\" "
                       "state=\"frozen\"/>");
    QVERIFY(ws.contains(frozen));
    static const QRegularExpression cols(QStringLiteral("<cols>.*</cols>"));
    QCOMPARE(cols.match(ws).captured(), cols.match(heldWs).captured());
    QVERIFY(cols.match(ws).captured().contains(QStringLiteral("width=\"14.28515625\"")));
    QVERIFY(ws.contains(QStringLiteral("<row r=\"9\" ht=\"22.5\" customHeight=\"1\"")));
    QCOMPARE(zipMember(streamed, QStringLiteral("xl/styles.xml")),
             zipMember(held, QStringLiteral("xl/styles.xml")));

    const QStringList cells = worksheetCells(streamed, sheet1);
    QCOMPARE(cells, worksheetCells(held, sheet1));
    QCOMPARE(cells.size(), 34008 * 6);
    auto cell = [&](int row, int col) { return cells.at((row - 1) * 6 + col - 1); };
    // Header: captions in row 1, formatted blanks under them.
    QCOMPARE(cell(1, 1), QStringLiteral("A1 1 账单号"));
    QCOMPARE(cell(1, 4), QStringLiteral("D1 1 "));
    QCOMPARE(cell(2, 1), QStringLiteral("A2 1 "));
    QCOMPARE(cell(2, 5), QStringLiteral("E2 1 折扣率"));
    QVERIFY(cell(3, 3).endsWith(QStringLiteral(" 1234.5")));
    QVERIFY(cell(3, 5).endsWith(QStringLiteral(" 0.125")));
    // The 2x2 block over X0015 and the number block over the 25th extra bill's amount: the
    // covered cells are blanks in the anchor's format.
    const QString x15 = cell(22, 1);
    QVERIFY2(x15.endsWith(QStringLiteral(" X0015")), qPrintable(x15));
    const QString style = x15.section(QLatin1Char(' '), 1, 1);
    QCOMPARE(cell(23, 2), QStringLiteral("B23 %1 ").arg(style));
    QVERIFY(cell(32, 3).endsWith(QStringLiteral(" 100")));
    QCOMPARE(cell(33, 4),
             QStringLiteral("D33 %1 ").arg(cell(32, 3).section(QLatin1Char(' '), 1, 1)));
    QCOMPARE(cell(34008, 1).section(QLatin1Char(' '), 2), QStringLiteral("合计"));
    QCOMPARE(cell(34008, 3).section(QLatin1Char(' '), 2), QStringLiteral("3406215.15"));
}

// The workbook prints as the report does, held or written in constant memory: orientation,
// paper, margins and scaling of the print settings, the column header rows on every page, the
// print header and footer as the page header and footer with the spreadsheet's page fields.
void TestExport::workbookPrintsLikeTheReport()
{
    if (QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty())
        QSKIP("unzip is not installed");
    QTemporaryDir dir;
    Sheet sheet;
    fillBillSheet(sheet);
    PrintSettings& ps = sheet.printSettings();
    ps.header =
        QStringLiteral("/fn\"幼圆\"/fz\"20\"/fb1/fi0/fu0/fk0/fs1/fn\"宋体\"/fz\"12\"/fb0/fi0/"
                       "fu0/fk0/fs2/f1/c营业报表/n/n/f2/c统计时间: 从 2026-12-01 到 "
                       "2026-12-04/l分店 A&B/n");
    ps.footer = QStringLiteral("/rEnd/fn\"宋体\"/fz\"12\"/fs2/n/f2/c 第/p页，共/pc页 /n");
    ps.orientation = PrintSettings::Orientation::Landscape;
    const QString sheet1 = QStringLiteral("xl/worksheets/sheet1.xml");
    auto element = [](const QString& xml, const QString& name) {
        const QRegularExpression re(QStringLiteral("<%1[ >/].*?(/>|</%1>)").arg(name),
                                    QRegularExpression::DotMatchesEverythingOption);
        return re.match(xml).captured();
    };
    for (const auto memory : {XlsxExporter::Memory::Held, XlsxExporter::Memory::Constant}) {
        const QString path = dir.filePath(QStringLiteral("print.xlsx"));
        SheetExportOptions options;
        options.caption = QStringLiteral("账单");
        QVERIFY(XlsxExporter(memory).write(sheet, path, options, nullptr));
        const QString ws = zipMember(path, sheet1);
        QCOMPARE(element(ws, QStringLiteral("pageSetup")),
                 QStringLiteral("<pageSetup paperSize=\"9\" fitToHeight=\"0\" "
                                "orientation=\"landscape\"/>"));
        QVERIFY(ws.contains(QStringLiteral("<pageSetUpPr fitToPage=\"1\"/>")));
        QCOMPARE(element(ws, QStringLiteral("printOptions")),
                 QStringLiteral("<printOptions horizontalCentered=\"1\"/>"));
        const QString margins = element(ws, QStringLiteral("pageMargins"));
        QVERIFY2(margins.contains(QStringLiteral("left=\"0.5\" right=\"0.5\"")) &&
                     margins.contains(QStringLiteral("header=\"0.5\" footer=\"0.5\"")),
                 qPrintable(margins));
        // The grid stands below the header lines (20 + 12 + 12 points and more).
        static const QRegularExpression top(QStringLiteral("top=\"([0-9.]+)\""));
        QVERIFY(top.match(margins).captured(1).toDouble() > 0.5 + 44 / 72.0);
        QCOMPARE(
            element(ws, QStringLiteral("headerFooter")),
            QStringLiteral("<headerFooter><oddHeader>&amp;L&amp;12&amp;\"宋体,Regular\"分店 "
                           "A&amp;&amp;B&amp;C&amp;20&amp;\"幼圆,Bold\"营业报表\n\n&amp;12&amp;"
                           "\"宋体,Regular\"统计时间: 从 2026-12-01 到 2026-12-04</oddHeader>"
                           "<oddFooter>&amp;C&amp;12&amp;\"宋体,Regular\" 第&amp;P页，共&amp;N页 "
                           "&amp;REnd</oddFooter></headerFooter>"));
        QVERIFY(zipMember(path, QStringLiteral("xl/workbook.xml"))
                    .contains(QStringLiteral("<definedName name=\"_xlnm.Print_Titles\" "
                                             "localSheetId=\"0\">'账单'!$1:$2</definedName>")));
    }

    // Zoom and best fit; a header too long for a worksheet loses its font codes, then its end.
    const QString path = dir.filePath(QStringLiteral("fit.xlsx"));
    ps.scaling = PrintSettings::Scaling::Zoom;
    ps.zoomFactor = 0.75;
    QVERIFY(SheetOutput::save(sheet, path, QString(), nullptr));
    QVERIFY(zipMember(path, sheet1).contains(QStringLiteral("scale=\"75\"")));
    ps.scaling = PrintSettings::Scaling::BestFit;
    ps.bestFitPagesWide = 2;
    ps.bestFitPagesTall = 3;
    QVERIFY(SheetOutput::save(sheet, path, QString(), nullptr));
    QVERIFY(zipMember(path, sheet1).contains(QStringLiteral("fitToWidth=\"2\" fitToHeight=\"3\"")));
    const QList<PrintLine> title =
        PrintCodeParser::parse(QStringLiteral("/fn\"宋体\"/fz\"12\"/c") +
                               QString(220, QChar(0x8868)) + QStringLiteral("/n/rpage /p"));
    const QString codes = XlsxExporter::headerFooter(title);
    QCOMPARE(codes,
             QStringLiteral("&C") + QString(220, QChar(0x8868)) + QStringLiteral("&Rpage &P"));
    const QString tooLong = XlsxExporter::headerFooter(
        PrintCodeParser::parse(QStringLiteral("/c") + QString(300, QLatin1Char('&'))));
    QCOMPARE(tooLong, QStringLiteral("&C") + QString(252, QLatin1Char('&')));

    // Without header rows, header or footer (the daily report): nothing repeats, no page
    // header, the title row stays the first row.
    Sheet daily;
    daily.setMaxCols(3);
    daily.setMaxRows(2);
    daily.setHeaderRows(0);
    daily.setText(1, 1, QStringLiteral("营业收入日报表"));
    daily.addSpan({1, 1, 1, 3});
    PrintSettings& dps = daily.printSettings();
    dps.columnHeaders = false;
    dps.orientation = PrintSettings::Orientation::Landscape;
    dps.scaling = PrintSettings::Scaling::BestFit;
    dps.marginTop = dps.marginBottom = dps.marginLeft = dps.marginRight = 0;
    QVERIFY(SheetOutput::save(daily, path, QString(), nullptr));
    const QString ws = zipMember(path, sheet1);
    QVERIFY(!ws.contains(QStringLiteral("<headerFooter")));
    QVERIFY(!zipMember(path, QStringLiteral("xl/workbook.xml"))
                 .contains(QStringLiteral("Print_Titles")));
    QVERIFY(ws.contains(QStringLiteral("<pageSetUpPr fitToPage=\"1\"/>")));
    QVERIFY(ws.contains(QStringLiteral("<pageSetup paperSize=\"9\" orientation=\"landscape\"/>")));
    QVERIFY(
        ws.contains(QStringLiteral("<pageMargins left=\"0\" right=\"0\" top=\"0\" bottom=\"0\"")));
    QCOMPARE(worksheetCells(path, sheet1).value(0), QStringLiteral("A1 1 营业收入日报表"));
}

void TestExport::reportFileRoundTrip()
{
    QTemporaryDir dir;
    Sheet sheet;
    fillBillSheet(sheet);
    // What a screen may also set: a text in a number column, a hidden column, a sized row,
    // a cell of its own type, a back colour, print settings.
    sheet.setCellType(2, 2, CellType::Number);
    sheet.setText(4, 3, QStringLiteral("n/a"));
    sheet.setColumnHidden(6, true);
    sheet.setRowHeight(6, 450);
    sheet.setColumnDecimals(4, 0);
    sheet.setCellDecimals(3, 3, 0);
    sheet.setColumnNumberFormat(5, {QStringLiteral(" % "), true});
    CellStyle back;
    back.backColor = QColor(255, 255, 192);
    back.hAlign = Qt::AlignHCenter;
    sheet.setColumnStyle(2, back);
    sheet.setSelection({2, 1, 4, 3});
    PrintSettings& ps = sheet.printSettings();
    ps.header = QStringLiteral("/fn\"幼圆\"/fz\"20\"/fb1/fs1/f1/c标题/n");
    ps.orientation = PrintSettings::Orientation::Landscape;
    ps.marginLeft = 1134;
    ps.scaling = PrintSettings::Scaling::BestFit;
    ps.bestFitPagesWide = 2;

    const QString path = dir.filePath(QStringLiteral("bills.rpt"));
    QString error;
    QVERIFY2(SheetOutput::save(sheet, path, QString(), &error), qPrintable(error));
    Sheet loaded;
    loaded.setMaxCols(2);
    loaded.setText(1, 1, QStringLiteral("old"));
    QVERIFY2(SheetFile::load(loaded, path, &error), qPrintable(error));
    QCOMPARE(SheetCompare::firstDifference(sheet, loaded), QString());
    QCOMPARE(loaded.text(4, 3), QStringLiteral("n/a"));
    QCOMPARE(loaded.text(6, 4), QStringLiteral("160"));

    // The comparison sees a single changed cell, and a damaged file is refused.
    loaded.setNumber(5, 4, 51);
    QCOMPARE(SheetCompare::firstDifference(sheet, loaded),
             QStringLiteral("cell (5,4): \"50\" vs \"51\""));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    f.resize(f.size() / 2);
    f.close();
    QVERIFY(!SheetFile::load(loaded, path, &error));
}

// Numbers as the hour report shows them: whole units followed by a blank, nothing but the
// blank for zero, the share as "26 % "; a cell with decimals of its own; half cents rounded up.
// The workbook gets the same as number formats.
void TestExport::numberFormats()
{
    Sheet sheet;
    sheet.setMaxCols(3);
    sheet.setMaxRows(3);
    sheet.setColumnType(1, CellType::Number);
    sheet.setColumnDecimals(1, 0);
    sheet.setColumnNumberFormat(1, {QStringLiteral(" "), true});
    sheet.setColumnType(2, CellType::Percent);
    sheet.setColumnDecimals(2, 0);
    sheet.setColumnNumberFormat(2, {QStringLiteral(" % "), false});
    sheet.setColumnType(3, CellType::Number);
    const double values[3][3] = {{1234.5, 25.6, 106.335}, {0, 0, 1480.725}, {-0.4, 100, 7}};
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 3; ++c)
            sheet.setNumber(r, c, values[r - 1][c - 1]);
    sheet.setCellDecimals(3, 3, 0);
    QStringList shown;
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 3; ++c)
            shown << sheet.text(r, c);
    QCOMPARE(shown, QStringList({"1,235 ", "26 % ", "106.34", " ", "0 % ", "1,480.73", " ",
                                 "100 % ", "7"}));

    QCOMPARE(XlsxExporter::numberFormat(CellType::Number, 2, true), QString("#,##0.00"));
    QCOMPARE(XlsxExporter::numberFormat(CellType::Percent, 2, false), QString("0.00%"));
    QCOMPARE(XlsxExporter::numberFormat(CellType::Text, 2, true), QString());
    QCOMPARE(XlsxExporter::numberFormat(CellType::Number, 0, true, sheet.columnNumberFormat(1)),
             QString("#,##0\" \";-#,##0\" \";\" \""));
    QCOMPARE(XlsxExporter::numberFormat(CellType::Percent, 0, true, sheet.columnNumberFormat(2)),
             QString("0\" \"%\" \""));
    if (QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty())
        QSKIP("unzip is not installed");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("n.xlsx"));
    QString error;
    QVERIFY2(SheetOutput::save(sheet, path, QString(), &error), qPrintable(error));
    const QString styles = zipMember(path, QStringLiteral("xl/styles.xml"));
    for (const char* format : {"#,##0&quot; &quot;;-#,##0&quot; &quot;;&quot; &quot;",
                               "0&quot; &quot;%&quot; &quot;", "#,##0.00"})
        QVERIFY2(styles.contains(QString::fromUtf8(format)), format);
    const QStringList cells = worksheetCells(path, QStringLiteral("xl/worksheets/sheet1.xml"));
    QVERIFY2(cells.filter(QRegularExpression("^B2 \\d+ 0.256$")).size() == 1,
             qPrintable(cells.join(", ")));
    QVERIFY2(cells.filter(QRegularExpression("^C2 \\d+ 106.335$")).size() == 1,
             qPrintable(cells.join(", ")));
}

void TestExport::htmlTextAndXml()
{
    QTemporaryDir dir;
    Sheet sheet;
    fillBillSheet(sheet);

    const QString html = dir.filePath(QStringLiteral("b.htm"));
    QVERIFY(SheetOutput::save(sheet, html, QStringLiteral("账单"), nullptr));
    const QString page = readText(html);
    QVERIFY(page.contains(QStringLiteral("<meta charset=\"utf-8\">")));
    QVERIFY(page.contains(QStringLiteral("<th rowspan=\"2\">账单号</th>")));
    QVERIFY(page.contains(QStringLiteral("<th colspan=\"3\">金额</th>")));
    QVERIFY(page.contains(QStringLiteral("<tr><th>消费</th><th>折扣</th><th>折扣率</th></tr>")));
    QVERIFY(page.contains(QStringLiteral("<td style=\"color:#ff0000\">B003</td>")));
    QVERIFY(page.contains(QStringLiteral("<td colspan=\"2\" style=\"font-weight:bold;")));
    QVERIFY(page.contains(QStringLiteral(">6,215.15</td>")));

    const QString txt = dir.filePath(QStringLiteral("b.txt"));
    QVERIFY(SheetOutput::save(sheet, txt, QString(), nullptr));
    const QStringList lines = readText(txt).split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 2 + 6 + 1);
    QCOMPARE(lines[0], QStringLiteral("账单号\t台号\t金额\t\t\t备注"));
    QCOMPARE(lines[1], QStringLiteral("\t\t消费\t折扣\t折扣率\t"));
    QCOMPARE(lines[2], QStringLiteral("B001\tA01\t1,234.50\t10.00\t12.50%\t"));
    QCOMPARE(lines[7], QStringLiteral("合计\t\t6,215.15\t160.00\t\t"));

    const QString xml = dir.filePath(QStringLiteral("b.xml"));
    QVERIFY(SheetOutput::save(sheet, xml, QString(), nullptr));
    const QString doc = readText(xml);
    QVERIFY(doc.contains(QStringLiteral("<Sheet>")));
    QCOMPARE(doc.count(QStringLiteral("<Row>")), 6);
    QVERIFY(doc.contains(
        QStringLiteral("<Row>\n        <账单号>B001</账单号>\n        <台号>A01</台号>\n"
                       "        <金额_消费>1234.5</金额_消费>\n        <金额_折扣>10</金额_折扣>\n"
                       "        <金额_折扣率>12.5</金额_折扣率>\n    </Row>")));

    QVERIFY(!SheetOutput::save(sheet, dir.filePath(QStringLiteral("b.doc")), QString(), nullptr));
}

// A text with characters XML cannot hold (control characters, a lone surrogate) among those it
// can (tab, line feed) goes out in every format as a well-formed, readable file: the markup
// formats without them, the text file with its tabs and line breaks as blanks, the report file
// as it is.
void TestExport::controlCharactersInEveryFormat()
{
    QTemporaryDir dir;
    Sheet sheet;
    fillBillSheet(sheet);
    const QString raw = QStringLiteral("A\x01"
                                       "B\x0B"
                                       "C\tD\nE\x1F"
                                       "F") +
                        QChar(0xD800) + QStringLiteral("G中\x02文");
    const QString kept = QStringLiteral("ABC\tD\nEFG中文");
    sheet.setText(2, 6, raw);
    sheet.setHeaderText(1, 6, QStringLiteral("备\x03注"));
    auto wellFormed = [](const QString& xml) {
        QXmlStreamReader reader(xml);
        while (!reader.atEnd())
            reader.readNext();
        return !reader.hasError() && !xml.isEmpty();
    };
    auto save = [&](const QString& name) {
        const QString path = dir.filePath(name);
        QString error;
        const bool ok = SheetOutput::save(sheet, path, QStringLiteral("账单\x04"), &error);
        return ok ? path : QString();
    };

    const QString xml = save(QStringLiteral("c.xml"));
    QVERIFY(!xml.isEmpty());
    QDomDocument doc;
    QFile xmlFile(xml);
    QVERIFY(xmlFile.open(QIODevice::ReadOnly));
    QVERIFY(static_cast<bool>(doc.setContent(&xmlFile)));
    QCOMPARE(doc.documentElement()
                 .elementsByTagName(QStringLiteral("Row"))
                 .at(1)
                 .lastChild()
                 .toElement()
                 .text(),
             kept);

    const QString html = save(QStringLiteral("c.htm"));
    QVERIFY(!html.isEmpty());
    const QString page = readText(html);
    QVERIFY(page.contains(QStringLiteral("<th rowspan=\"2\">备注</th>")));
    QVERIFY(page.contains(QStringLiteral(">") + kept + QStringLiteral("</td>")));
    for (const QChar ch : page)
        QVERIFY(XmlText::isAllowed(ch.unicode()));

    const QString txt = save(QStringLiteral("c.txt"));
    QVERIFY(!txt.isEmpty());
    const QStringList lines = readText(txt).split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 2 + 6 + 1);
    QCOMPARE(lines[3].section(QLatin1Char('\t'), 5), QStringLiteral("ABC D EFG中文"));

    const QString rpt = save(QStringLiteral("c.rpt"));
    Sheet loaded;
    QVERIFY(SheetFile::load(loaded, rpt));
    QCOMPARE(loaded.text(2, 6), raw);
    QCOMPARE(SheetCompare::firstDifference(sheet, loaded), QString());

    if (!QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty()) {
        for (const auto memory : {XlsxExporter::Memory::Held, XlsxExporter::Memory::Constant}) {
            const QString xlsx = dir.filePath(QStringLiteral("c.xlsx"));
            SheetExportOptions options;
            options.caption = QStringLiteral("账单\x04");
            QVERIFY(XlsxExporter(memory).write(sheet, xlsx, options, nullptr));
            for (const char* member : {"xl/workbook.xml", "xl/worksheets/sheet1.xml"})
                QVERIFY2(wellFormed(zipMember(xlsx, QLatin1String(member))), member);
            const QStringList cells =
                worksheetCells(xlsx, QStringLiteral("xl/worksheets/sheet1.xml"));
            QCOMPARE(cells.value(5).section(QLatin1Char(' '), 2), QStringLiteral("备注"));
            QCOMPARE(cells.value(3 * 6 + 5).section(QLatin1Char(' '), 2), kept);
        }
    }

    if (!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        const QString pdf = save(QStringLiteral("c.pdf"));
        QVERIFY(!pdf.isEmpty());
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished());
        QCOMPARE(text.exitCode(), 0);
        QVERIFY(QString::fromUtf8(text.readAllStandardOutput()).contains(QStringLiteral("B003")));
    }
}

namespace {

// A line of /proc/self/status in kB ("VmRSS", "VmHWM").
qint64 processStatus(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(QByteArray(key) + ':'))
            return line.mid(int(qstrlen(key)) + 1).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

} // namespace

// The page is written out as it is made: a long grid's .html export takes no more memory than
// its .txt export (a month of bill lines peaked at 5.25 GB as .html, 347 MB as .txt).
void TestExport::htmlIsWrittenAsItIsMade()
{
    QTemporaryDir dir;
    Sheet sheet;
    fillBillSheet(sheet, 150000); // 150,006 rows: a page of some 24 MB
    // The peak memory of one export above what the process held before it, in MB.
    auto peakGrowth = [&](const QString& name) -> qint64 {
        QFile refs(QStringLiteral("/proc/self/clear_refs")); // "5": the peak back to now
        if (!refs.open(QIODevice::WriteOnly) || refs.write("5") != 1)
            return -1;
        refs.close();
        const qint64 before = processStatus("VmRSS");
        if (!SheetOutput::save(sheet, dir.filePath(name), QStringLiteral("账单"), nullptr))
            return -2;
        return (processStatus("VmHWM") - before) / 1024;
    };
    const qint64 text = peakGrowth(QStringLiteral("b.txt"));
    if (text == -1)
        QSKIP("the peak memory cannot be reset here (/proc/self/clear_refs)");
    const qint64 page = peakGrowth(QStringLiteral("b.html"));
    QVERIFY(text >= 0 && page >= 0);
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("b.html"))).size() > 20'000'000);
    QVERIFY2(page <= text + 8,
             qPrintable(QStringLiteral("%1 MB for .html, %2 MB for .txt").arg(page).arg(text)));
    QVERIFY(readText(dir.filePath(QStringLiteral("b.html")))
                .endsWith(QStringLiteral("</tbody>\n</table>\n</body>\n</html>\n")));
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
