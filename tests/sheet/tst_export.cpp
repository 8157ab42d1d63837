#include "BillSheetFixture.h"
#include "SheetCompare.h"
#include "SheetFile.h"
#include "SheetOutput.h"
#include "XlsxExporter.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
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

} // namespace

class TestExport : public QObject
{
    Q_OBJECT
private slots:
    void workbookKeepsStructure();
    void workbookSheetNames();
    void reportFileRoundTrip();
    void htmlTextAndXml();
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

    // More rows than a worksheet holds: the rest goes on on "账单 (2)", headers repeated.
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
    QCOMPARE(found, QStringList({"1=0", "2=1048576", "3=1048577", "4=1048578"}));
    // A1 is the header text, the workbook's only string.
    QVERIFY(zipMember(tallPath, QStringLiteral("xl/sharedStrings.xml")).contains("<t>序号</t>"));
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

QTEST_MAIN(TestExport)
#include "tst_export.moc"
