#include "core/CjkFont.h"
#include "sheet/PrintCodeParser.h"
#include "sheet/SheetOutput.h"
#include "sheet/SheetPrinter.h"
#include "tests/sheet/BillSheetFixture.h"

#include <QFontInfo>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString LargeFont = QStringLiteral("/fn\"幼圆\"/fz\"20\"/fb1/fi0/fu0/fk0/fs1");
const QString SmallFont = QStringLiteral("/fn\"宋体\"/fz\"12\"/fb0/fi0/fu0/fk0/fs2");
const QString Footer = QStringLiteral("/n/f2/c 第/p页，共/pc页 /n");

QString reportHeader(const QString& title)
{
    return LargeFont + SmallFont + QStringLiteral("/f1/c") + title + QStringLiteral("/n/n") +
           QStringLiteral("/f2/c统计时间: 从 2026-12-01 到 2026-12-04/n");
}

// A sheet of `extra` + 6 rows without header or footer, so that its pages can be counted by
// hand: A4 is 16838 twips tall; 720-twip margins and two 300-twip header rows leave room for
// 49 rows of 300 twips.
void plainSheet(Sheet& s, int extra)
{
    fillBillSheet(s, extra);
    s.printSettings().header.clear();
    s.printSettings().footer.clear();
}

QString pdfToText(const QString& pdf, const QStringList& options = {})
{
    QProcess text;
    text.start(QStringLiteral("pdftotext"), options + QStringList{pdf, QStringLiteral("-")});
    text.waitForFinished();
    return QString::fromUtf8(text.readAllStandardOutput());
}

// The embedded fonts' names, as pdffonts lists them.
QStringList pdfFonts(const QString& pdf)
{
    QProcess fonts;
    fonts.start(QStringLiteral("pdffonts"), {pdf});
    fonts.waitForFinished();
    QStringList names;
    const QStringList lines = QString::fromUtf8(fonts.readAllStandardOutput()).split('\n');
    for (const QString& line : lines.mid(2))
        if (!line.trimmed().isEmpty())
            names << line.section(QLatin1Char(' '), 0, 0);
    return names;
}

} // namespace

class TestPrinter : public QObject
{
    Q_OBJECT
private slots:
    void parsesPrintCodes();
    void breaksPagesAndScales();
    void headerAndFooterOnThePage();
    void writesPdf();
    void pdfTextIsTheTextDrawn();
    void batchedPaintingMatchesCellByCell();
};

void TestPrinter::parsesPrintCodes()
{
    QFont base(QStringLiteral("Sans"), 9);
    const QList<PrintLine> header =
        PrintCodeParser::parse(reportHeader(QStringLiteral("日报表")), base);
    QCOMPARE(header.size(), 4); // title, blank, date range, the blank after the last /n
    const PrintRun& title = header[0].sections[PrintLine::Center].at(0);
    QCOMPARE(title.text, QStringLiteral("日报表"));
    QCOMPARE(title.font.family(), QStringLiteral("幼圆"));
    QCOMPARE(title.font.pointSize(), 20);
    QVERIFY(title.font.bold());
    QVERIFY(header[1].isEmpty());
    QCOMPARE(header[2].text(PrintLine::Center, 1, 1),
             QStringLiteral("统计时间: 从 2026-12-01 到 2026-12-04"));
    const QFont small = header[2].sections[PrintLine::Center].at(0).font;
    QCOMPARE(small.family(), QStringLiteral("宋体"));
    QCOMPARE(small.pointSize(), 12);
    QVERIFY(!small.bold());
    QVERIFY(header[0].sections[PrintLine::Left].isEmpty());

    const QList<PrintLine> footer = PrintCodeParser::parse(LargeFont + SmallFont + Footer, base);
    QCOMPARE(footer.size(), 3);
    QCOMPARE(footer[1].text(PrintLine::Center, 1, 3), QStringLiteral(" 第1页，共3页 "));
    QCOMPARE(footer[1].sections[PrintLine::Center].size(), 5); // text, page, text, count, text

    // Left and right sections, a font switch in mid-line, a lone slash kept as text.
    const QList<PrintLine> mixed = PrintCodeParser::parse(
        QStringLiteral("/fz\"8\"/fs1/fz\"14\"/fs2/l品类: 热菜/r/f1分店 1/2/n"), base);
    QCOMPARE(mixed.size(), 2);
    QCOMPARE(mixed[0].text(PrintLine::Left, 1, 1), QStringLiteral("品类: 热菜"));
    QCOMPARE(mixed[0].sections[PrintLine::Left].at(0).font.pointSize(), 14);
    QCOMPARE(mixed[0].text(PrintLine::Right, 1, 1), QStringLiteral("分店 1/2"));
    QCOMPARE(mixed[0].sections[PrintLine::Right].at(0).font.pointSize(), 8);
    QVERIFY(PrintCodeParser::parse(QString()).isEmpty());
}

void TestPrinter::breaksPagesAndScales()
{
    Sheet s;
    plainSheet(s, 114); // 120 data rows: 49 + 49 + 22
    PrintSettings& ps = s.printSettings();
    ps.scaling = PrintSettings::Scaling::None;
    {
        SheetPrinter p(s);
        QCOMPARE(p.pageCount(), 3);
        QCOMPARE(p.pageRows(1), qMakePair(1, 49));
        QCOMPARE(p.pageRows(2), qMakePair(50, 98));
        QCOMPARE(p.pageRows(3), qMakePair(99, 120));
        QCOMPARE(p.pageColumns(3), QList<int>({1, 2, 3, 4, 5, 6}));
    }
    // Landscape: 11906 - 1440 - 600 leaves 9866 twips, 32 rows a page.
    ps.orientation = PrintSettings::Orientation::Landscape;
    QCOMPARE(SheetPrinter(s).pageCount(), 4);
    ps.orientation = PrintSettings::Orientation::Portrait;

    // Twenty columns of 1200 twips: 8 fit the 10466-twip width, so 3 pages across, 3 down.
    s.setMaxCols(20);
    for (int c = 1; c <= 20; ++c)
        s.setColumnWidth(c, 1200);
    {
        SheetPrinter p(s);
        QCOMPARE(p.pageCount(), 9);
        QCOMPARE(p.pagesWide(), 3);
        QCOMPARE(p.pageColumns(4), QList<int>({9, 10, 11, 12, 13, 14, 15, 16}));
        QCOMPARE(p.pageRows(4), qMakePair(1, 49)); // pages run down, then across
    }
    ps.scaling = PrintSettings::Scaling::SmartPrint; // fitting the width saves pages
    {
        SheetPrinter p(s);
        QCOMPARE(p.scale(), (210 / 25.4 * 1440 - 1440) / 24000); // A4: 210 mm wide
        QCOMPARE(p.pagesWide(), 1);
        QCOMPARE(p.pageCount(), 2);
    }
    ps.scaling = PrintSettings::Scaling::Zoom;
    ps.zoomFactor = 0.5; // 16 columns and 98 rows a page
    QCOMPARE(SheetPrinter(s).pageCount(), 4);
    ps.scaling = PrintSettings::Scaling::BestFit;
    ps.bestFitPagesWide = 1;
    ps.bestFitPagesTall = 1;
    QCOMPARE(SheetPrinter(s).pageCount(), 1);

    ps.scaling = PrintSettings::Scaling::None;
    ps.printType = PrintSettings::PrintType::PageRange;
    ps.pageStart = 2;
    ps.pageEnd = 3;
    QCOMPARE(SheetPrinter(s).pagesToPrint(), QList<int>({2, 3}));
    ps.printType = PrintSettings::PrintType::CurrentPage;
    SheetPrinter current(s);
    current.setCurrentPage(7);
    QCOMPARE(current.pagesToPrint(), QList<int>({7}));
    ps.printType = PrintSettings::PrintType::CellRange;
    ps.blockRow = 10;
    ps.blockRow2 = 70;
    ps.blockCol = 2;
    ps.blockCol2 = 4;
    SheetPrinter block(s);
    QCOMPARE(block.pageCount(), 2);
    QCOMPARE(block.pageRows(2), qMakePair(59, 70));
    QCOMPARE(block.pageColumns(1), QList<int>({2, 3, 4}));
}

void TestPrinter::headerAndFooterOnThePage()
{
    Sheet s;
    fillBillSheet(s, 114);
    s.printSettings().scaling = PrintSettings::Scaling::None;
    s.printSettings().header = reportHeader(QStringLiteral("营业报表"));
    s.printSettings().footer = LargeFont + SmallFont + Footer;
    SheetPrinter p(s);
    const int pages = p.pageCount();
    QVERIFY(pages >= 3);

    const QList<SheetPrinter::PlacedRun> header = p.headerRuns(1);
    QCOMPARE(header.size(), 2);
    QCOMPARE(header[0].text, QStringLiteral("营业报表"));
    QVERIFY(header[0].font.bold());
    QCOMPARE(header[0].font.pointSize(), 20);
    QVERIFY(qAbs(header[0].rect.center().x() - p.paperSize().width() / 2) < 1);
    QCOMPARE(header[0].rect.top(), 720.0);
    QVERIFY(header[1].rect.top() > header[0].rect.bottom()); // after a blank line
    QCOMPARE(header[1].font.pointSize(), 12);
    // The missing Windows fonts come out in the Noto CJK families, size and weight kept.
    const QFontInfo titleFont(SheetPrinter::twipFont(header[0].font));
    QVERIFY2(titleFont.family().startsWith(QStringLiteral("Noto Sans CJK")),
             qPrintable(titleFont.family()));
    QVERIFY(titleFont.bold());
    const QFontInfo small(SheetPrinter::twipFont(header[1].font));
    QVERIFY2(small.family().startsWith(QStringLiteral("Noto Serif CJK")),
             qPrintable(small.family()));

    QString footer;
    for (const auto& run : p.footerRuns(2))
        footer += run.text;
    QCOMPARE(footer.trimmed(), QStringLiteral("第2页，共%1页").arg(pages));
    const QList<SheetPrinter::PlacedRun> runs = p.footerRuns(2);
    QVERIFY(runs.last().rect.bottom() <= p.paperSize().height() - 720 + 0.5);
    QCOMPARE(runs.first().font.family(), QStringLiteral("宋体"));
}

void TestPrinter::writesPdf()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed");
    QTemporaryDir dir;
    Sheet s;
    fillBillSheet(s, 114);
    s.printSettings().scaling = PrintSettings::Scaling::None;
    s.printSettings().header = reportHeader(QStringLiteral("营业报表"));
    s.printSettings().footer = LargeFont + SmallFont + Footer;
    const int pages = SheetPrinter(s).pageCount();
    const QString pdf = dir.filePath(QStringLiteral("daily.pdf"));
    QString error;
    QVERIFY2(SheetOutput::save(s, pdf, QString(), &error), qPrintable(error));
    const QString all = pdfToText(pdf, {QStringLiteral("-layout")});
    if (qEnvironmentVariableIsSet("VTX_SCREENSHOT_DIR")) // the README's sample page
        QFile::copy(pdf, qEnvironmentVariable("VTX_SCREENSHOT_DIR") + QStringLiteral("/daily.pdf"));
    QCOMPARE(all.count(QLatin1Char('\f')), pages);
    QCOMPARE(all.count(QStringLiteral("营业报表")), pages);
    QVERIFY(all.contains(QStringLiteral("第1页，共%1页").arg(pages)));
    QVERIFY(all.contains(QStringLiteral("第%1页，共%1页").arg(pages)));
    QVERIFY(all.contains(QStringLiteral("统计时间: 从 2026-12-01 到 2026-12-04")));
    QCOMPARE(all.count(QStringLiteral("折扣率")), pages);       // header rows on every page
    QVERIFY(all.contains(QStringLiteral("6,215.15")) == false); // 108 more bills in the total
    QVERIFY(all.contains(QStringLiteral("17,615.15")));

    s.printSettings().printType = PrintSettings::PrintType::PageRange;
    s.printSettings().pageStart = s.printSettings().pageEnd = 2;
    QVERIFY(SheetOutput::save(s, pdf, QString(), nullptr));
    const QString one = pdfToText(pdf);
    QCOMPARE(one.count(QLatin1Char('\f')), 1);
    QVERIFY(one.contains(QStringLiteral("第2页，共%1页").arg(pages)));
    QVERIFY(!SheetOutput::save(s, QStringLiteral("/nonexistent/dir/x.pdf"), QString(), nullptr));
}

// The PDF's text layer gives back exactly the texts drawn, Chinese and English, header and
// footer included: also the ideographs that the Noto CJK fonts draw with the glyph of a radical
// (人 ⼈, 页 ⻚, 大 ⼤, 金 ⾦, 门 ⻔, 黄 ⻩, ...), a text mixing Chinese and Latin, and a text that
// is not set from shaped glyphs (underlined). The Chinese is drawn in the Noto CJK variant of
// the language: Simplified, Traditional for language code 2, whatever the locale.
void TestPrinter::pdfTextIsTheTextDrawn()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdffonts")).isEmpty())
        QSKIP("poppler-utils are not installed");
    const QStringList simplified = {QStringLiteral("负责人"),    QStringLiteral("日报表 金额"),
                                    QStringLiteral("大厅A16号"), QStringLiteral("八折"),
                                    QStringLiteral("付款方式"),  QStringLiteral("黄海燕"),
                                    QStringLiteral("门店长"),    QStringLiteral("人工费"),
                                    QStringLiteral("Bill No."),  QStringLiteral("Total 1,234.50")};
    const QStringList traditional = {QStringLiteral("負責人"),    QStringLiteral("日報表 金額"),
                                     QStringLiteral("大廳A16號"), QStringLiteral("八折"),
                                     QStringLiteral("付款方式"),  QStringLiteral("黃海燕"),
                                     QStringLiteral("門店長"),    QStringLiteral("人工費"),
                                     QStringLiteral("Bill No."),  QStringLiteral("Total 1,234.50")};
    QTemporaryDir dir;
    for (const int language : {1, 2}) {
        CjkFont::setLanguageCode(language);
        const QStringList& captions = language == 2 ? traditional : simplified;
        Sheet s;
        s.setMaxCols(1);
        s.setColumnWidth(1, 4000);
        s.setHeaderRows(1);
        s.setHeaderText(1, 1, QStringLiteral("名称 Name"));
        s.setMaxRows(int(captions.size()));
        for (int r = 1; r <= captions.size(); ++r)
            s.setText(r, 1, captions[r - 1]);
        CellStyle underlined;
        QFont font = s.defaultFont();
        font.setUnderline(true);
        underlined.font = font;
        s.applyStyle({8, 1, 8, 1}, underlined);
        s.printSettings().header = reportHeader(QStringLiteral("营业日报"));
        s.printSettings().footer = LargeFont + SmallFont + Footer;
        const QString pdf = dir.filePath(QStringLiteral("captions%1.pdf").arg(language));
        QVERIFY(SheetOutput::save(s, pdf, QString()));

        QStringList lines;
        for (const QString& line : pdfToText(pdf, {QStringLiteral("-layout")}).split('\n'))
            if (!line.trimmed().isEmpty())
                lines << line.trimmed();
        const QStringList expected =
            QStringList{QStringLiteral("营业日报"),
                        QStringLiteral("统计时间: 从 2026-12-01 到 2026-12-04"),
                        QStringLiteral("名称 Name")} +
            captions + QStringList{QStringLiteral("第1页，共1页")};
        QCOMPARE(lines, expected);

        const QStringList fonts = pdfFonts(pdf);
        const QString variant = language == 2 ? QStringLiteral("CJKtc") : QStringLiteral("CJKsc");
        QVERIFY(!fonts.filter(variant).isEmpty());
        for (const QString& name : fonts)
            QVERIFY2(!name.contains(QLatin1String("CJK")) || name.contains(variant),
                     qPrintable(name));
    }
    CjkFont::setLanguageCode(0);
}

// Batched painting (backgrounds, one path of grid lines, texts from glyphs shaped once) gives
// the picture painting cell by cell gives. Without grid lines (whose edges aliased raster
// painting may round differently) the raster images are the same pixel for pixel.
void TestPrinter::batchedPaintingMatchesCellByCell()
{
    Sheet s;
    fillBillSheet(s, 60); // red row, bold totals with a span, group header
    for (int r = 6; r <= 60; ++r) {
        s.setText(r, 6,
                  r % 3 ? QStringLiteral("大厅%1号").arg(r)
                        : QStringLiteral("To AV, fi %1").arg(r)); // kerned pairs
        s.setNumber(r, 3, r * 1037.25 - 9000);
    }
    s.setText(7, 6, QStringLiteral("a note far too long for the column it stands in"));
    CellStyle back;
    back.backColor = QColor(192, 255, 255);
    s.setColumnStyle(4, back);
    s.printSettings().rowHeaders = true;
    s.printSettings().gridLines = false;
    s.printSettings().header = reportHeader(QStringLiteral("营业报表"));
    SheetPrinter p(s);
    QCOMPARE(p.pageCount(), 2);

    auto render = [&](bool batched, int page) {
        p.setBatchedPainting(batched);
        QImage image(p.paperSize().toSize() / 8, QImage::Format_RGB32);
        image.fill(Qt::gray);
        QPainter painter(&image);
        p.renderPage(&painter, page, QRectF(QPointF(0, 0), image.size()));
        return image;
    };
    for (int page = 1; page <= 2; ++page) {
        const QImage cellByCell = render(false, page), batched = render(true, page);
        QCOMPARE(batched.size(), cellByCell.size());
        int differing = 0, dark = 0;
        for (int y = 0; y < batched.height(); ++y)
            for (int x = 0; x < batched.width(); ++x) {
                differing += batched.pixel(x, y) != cellByCell.pixel(x, y);
                dark += qGray(batched.pixel(x, y)) < 100; // text
            }
        QVERIFY(dark > 5000);
        QCOMPARE(differing, 0);
    }
}

QTEST_MAIN(TestPrinter)
#include "tst_printer.moc"
