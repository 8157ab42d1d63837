// The chart model, the chart control, chart files and the chart viewer. Each case states what a
// user or a screen would see go wrong.
#include "framework/HostUi.h"
#include "ui/chart/CChart.h"
#include "ui/chart/Chart2D.h"
#include "ui/chart/ChartFile.h"
#include "ui/chart/ChartGrid.h"
#include "ui/chart/ChartOutput.h"
#include "ui/chart/ChartPicture.h"
#include "ui/chart/frmViewChart.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QFile>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QPieSeries>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include <stdexcept>

namespace {

// Three departments over two days, with a label at each point.
void fillDepartments(CChart& chart)
{
    chart.setTitle("部门销售");
    chart.add("热菜", "05-01", 300.0, "热菜 300");
    chart.add("酒水", "05-01", 40.0, "酒水 40");
    chart.add("热菜", "05-02", 120.0, "");
    chart.add("主食", "05-02", 60.0, "主食 60");
}

Chart2DData sample(int type)
{
    Chart2DData d;
    d.type = type;
    d.header = "2026年05月01日-2026年05月03日 营业额走势图";
    d.footer = "合计:340.00  最大值:300.00  日平均值:113.33";
    d.seriesLabels = {"销售额", "数量"};
    d.pointLabels = {"05月01日", "05月02日", "05月03日", "05月04日"};
    d.values = {{120, 300, 0, 80}, {50, 80, 20, 40}};
    d.labels = {{1, 2, "最高"}};
    d.yAxisMax = 450;
    return d;
}

// A two-month turnover line: a point a day from 1 September.
Chart2DData twoMonths()
{
    Chart2DData d;
    d.header = "2026年09月01日-2026年10月31日 营业额走势图";
    d.footer = "合计:1,234,567.80  最大值:45,678.90  日平均值:20,238.82";
    d.seriesLabels = {"营业额走势图"};
    QList<double> values;
    for (int i = 0; i < 61; ++i) {
        d.pointLabels << QDate(2026, 9, 1).addDays(i).toString("MM月dd日");
        values << 15000 + 1000 * (i % 9);
    }
    d.values = {values};
    return d;
}

// The texts Qt Charts drew in a chart's scene (axis names among them).
QStringList drawnTexts(const Chart2D& control)
{
    QStringList texts;
    for (QGraphicsItem* item : control.chartView()->scene()->items())
        if (auto* text = dynamic_cast<QGraphicsTextItem*>(item); text && text->isVisible())
            texts << text->toPlainText();
    return texts;
}

} // namespace

class TestChart : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { HostUi::setHeadless(true); }

    // Series per group and points per item in order of first appearance, a later point of the
    // same group and item overwriting the value but keeping both labels, one redraw.
    void modelToChart()
    {
        CChart chart;
        fillDepartments(chart);
        chart.add("热菜", "05-01", 310.0, "again");
        QCOMPARE(chart.Count(), 5);
        QCOMPARE(chart.Item(4).Group(), QString("主食"));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, chart.Item(0));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, chart.Item(6));

        Chart2D control;
        const int before = control.redrawCount();
        chart.toChart2D(control, ChartType::Bar);
        QCOMPARE(control.redrawCount(), before + 1);
        const Chart2DData& d = control.data();
        QCOMPARE(d.type, ChartType::Bar);
        QCOMPARE(d.header, QString("部门销售"));
        QVERIFY(d.headerVisible && d.legendVisible);
        QCOMPARE(d.seriesLabels, QStringList({"热菜", "酒水", "主食"}));
        QCOMPARE(d.pointLabels, QStringList({"05-01", "05-02"}));
        QCOMPARE(d.values, QList<QList<double>>({{310, 120}, {40, 0}, {0, 60}}));
        QCOMPARE(d.labels.size(), 5);
        QCOMPARE(d.labels.last(), (ChartPointLabel{1, 1, "again"}));

        // The row-and-column variant: a column per group, a row per item, values as text.
        ChartGrid grid;
        chart.toMsChart(grid, ChartType::Bar);
        QCOMPARE(grid.ColumnCount(), 3);
        QCOMPARE(grid.RowCount(), 2);
        QCOMPARE(grid.ColumnLabel(3), QString("主食"));
        QCOMPARE(grid.Data(1, 1), QString("310"));
        QVERIFY(grid.ShowLegend());

        // No points: header and legend all the same; the pie of one item: a slice per group.
        CChart empty;
        empty.setTitle("空");
        empty.toChart2D(control, 0);
        QCOMPARE(control.data().header, QString("空"));
        QCOMPARE(control.data().seriesCount(), 0);
        CChart shares;
        shares.add("热菜", "", 300.0, "热菜 75%");
        shares.add("酒水", "", 100.0, "酒水 25%");
        shares.toChart2D(control, ChartType::Pie);
        const auto pies = control.chart()->series();
        QCOMPARE(pies.size(), 1);
        QCOMPARE(static_cast<QPieSeries*>(pies.first())->count(), 2);
    }

    // A chart file reopens the same chart, view included, and draws the same picture; files
    // that are not chart files leave the chart alone.
    void chartFiles()
    {
        QTemporaryDir dir;
        for (const ChartType::Entry& e : ChartType::Entries) {
            Chart2DData d = sample(e.code);
            d.view = ChartViewState{0.5, 2.5, 0, 200, 30, 1.2, 0.1, -0.1};
            const QString path = dir.filePath(QString::fromLatin1(e.key) + ".cht");
            QVERIFY(ChartFile::save(d, path));
            Chart2DData back;
            QVERIFY(ChartFile::load(&back, path));
            QCOMPARE(back, d);
            QCOMPARE(ChartOutput::image(back), ChartOutput::image(d));
            for (const char* ext : {".png", ".svg", ".pdf"})
                QVERIFY(ChartOutput::save(d, dir.filePath(QString::fromLatin1(e.key) + ext)));
        }
        QImage picture(dir.filePath("oc2dTypePlot.png"));
        QCOMPARE(picture.size(), ChartOutput::PictureSize);
        int inked = 0; // a drawn chart, not a blank page
        for (int y = 0; y < picture.height(); y += 4)
            for (int x = 0; x < picture.width(); x += 4)
                inked += picture.pixel(x, y) != qRgb(255, 255, 255);
        QVERIFY2(inked > 500, qPrintable(QString::number(inked)));
        // The PDF's text layer gives back the ideographs drawn (月 and 日, not the radicals ⽉ and
        // ⽇ that share their glyphs), so the chart can be searched and copied from.
        if (!QStandardPaths::findExecutable("pdftotext").isEmpty()) {
            QProcess pdftotext;
            pdftotext.start("pdftotext", {dir.filePath("oc2dTypePlot.pdf"), "-"});
            QVERIFY(pdftotext.waitForFinished());
            const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
            QVERIFY2(text.contains(sample(ChartType::Plot).header) && text.contains("05月03日"),
                     qPrintable(text));
        }
        // Kept for looking at when asked: VTX_CHART_PICTURES=<folder>.
        const QString keep = qEnvironmentVariable("VTX_CHART_PICTURES");
        for (const ChartType::Entry& e : ChartType::Entries)
            if (!keep.isEmpty() && QDir().mkpath(keep))
                ChartOutput::save(sample(e.code), keep + "/" + QString::fromLatin1(e.key) + ".png");

        Chart2DData kept = sample(ChartType::Bar);
        QString error;
        QFile other(dir.filePath("other.cht"));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("not a chart at all");
        other.close();
        QVERIFY(!ChartFile::load(&kept, other.fileName(), &error));
        QVERIFY(!error.isEmpty());
        QByteArray later;
        {
            QFile f(dir.filePath("oc2dTypeBar.cht"));
            QVERIFY(f.open(QIODevice::ReadOnly));
            later = f.readAll();
        }
        later[9] = char(ChartFile::Version + 1); // the version's lowest byte
        QFile newer(dir.filePath("newer.cht"));
        QVERIFY(newer.open(QIODevice::WriteOnly));
        newer.write(later);
        newer.close();
        QVERIFY(!ChartFile::load(&kept, newer.fileName(), &error));
        QVERIFY(!ChartFile::load(&kept, dir.filePath("truncated.cht"), &error));
        QCOMPARE(kept, sample(ChartType::Bar));
    }

    // Printing puts the whole chart on one page; the price types take high, low, open and close
    // from series in fours (twos for high-low), or from each series' own movement.
    void printingAndPrices()
    {
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("print.pdf"));
        QVERIFY(ChartOutput::print(sample(ChartType::Bar), &printer));
        QFile pdf(dir.filePath("print.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                     bytes.count("/Type /Page "),
                 1);

        Chart2DData d = sample(ChartType::Candle);
        d.values = {{9, 8}, {1, 2}, {3, 4}, {5, 6}};
        QCOMPARE(ChartPicture::candleSeriesCount(d), 1);
        const ChartPicture::Candle c = ChartPicture::candle(d, 0, 1);
        QCOMPARE(QList<double>({c.high, c.low, c.open, c.close}), QList<double>({8, 2, 4, 6}));
        d.type = ChartType::HiLo;
        QCOMPARE(ChartPicture::candleSeriesCount(d), 2);
        d.values = {{120, 300, 50}};
        const ChartPicture::Candle own = ChartPicture::candle(d, 0, 2);
        QCOMPARE(QList<double>({own.high, own.low, own.open, own.close}),
                 QList<double>({300, 50, 300, 50}));
    }

    // A chart reads at every size: a pie of 61 days lists every day it has room for under its
    // whole name and counts the rest; the axis names stay whole after zooming in; a long drag
    // in scale mode stays near the data instead of running to millions.
    void readsAtAnySize()
    {
        Chart2D control;
        control.resize(800, 500);
        control.show();
        Chart2DData pie = twoMonths();
        pie.type = ChartType::Pie;
        control.setData(pie);
        QTest::qWait(20);
        QStringList legend = control.picture()->legendTexts();
        QCOMPARE(control.picture()->legendPlace(), ChartPicture::LegendPlace::Right);
        QVERIFY(legend.size() > 20 && legend.last().startsWith("+"));
        QCOMPARE(legend.size() - 1 + legend.last().mid(1).toInt(), 61);
        QCOMPARE(legend.first(), QString("09月01日"));
        QVERIFY(std::none_of(legend.cbegin(), legend.cend(),
                             [](const QString& t) { return t.contains(QChar(0x2026)); }));
        // At the size of a saved picture every day has its place.
        ChartPicture* large = ChartPicture::create(pie);
        QGraphicsScene scene;
        scene.addItem(large->chart());
        large->chart()->setGeometry(QRectF(QPointF(0, 0), ChartOutput::PictureSize));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(large->legendTexts().size(), 61);
        QCOMPARE(large->legendTexts().last(), QString("10月31日"));

        // The line: names spaced for the width, whole before and after zooming into a week.
        control.setData(twoMonths());
        QTest::qWait(20);
        const QStringList whole = control.picture()->pointNames();
        QVERIFY2(whole.size() >= 6 && whole.size() <= 16, qPrintable(whole.join(' ')));
        const QRectF plot = control.chart()->plotArea();
        const QPoint from = control.chartView()->mapFromScene(
            control.chart()->mapToScene(QPointF(plot.left() + plot.width() * 0.30, plot.top())));
        const QPoint to = control.chartView()->mapFromScene(control.chart()->mapToScene(
            QPointF(plot.left() + plot.width() * 0.42, plot.bottom() - 2)));
        control.callAction(ChartAction::StartZoom, from);
        control.callAction(ChartAction::EndZoom, to);
        QTest::qWait(20);
        QVERIFY(control.view().xMax - control.view().xMin < 10);
        const QStringList zoomed = control.picture()->pointNames();
        QVERIFY2(zoomed.size() >= 4 && zoomed.first().startsWith("09月"),
                 qPrintable(zoomed.join(' ')));
        const QStringList drawn = drawnTexts(control);
        for (const QString& name : zoomed)
            QVERIFY2(drawn.contains(name), qPrintable(name + " not in " + drawn.join(' ')));
        QVERIFY(std::none_of(drawn.cbegin(), drawn.cend(),
                             [](const QString& t) { return t.endsWith("..."); }));

        // 400 pixels down in scale mode: at most four times the values' range, on its base.
        control.callAction(ChartAction::Reset, QPoint());
        const ChartViewState shown = control.view();
        control.setActionMaps(frmViewChart::mouseMappings("Scale"));
        control.callAction(ChartAction::StartModify, QPoint(400, 100));
        control.callAction(ChartAction::Scale, QPoint(400, 500));
        const ChartViewState scaled = control.view();
        QCOMPARE(scaled.yMin, 0.0);
        QVERIFY(scaled.yMax > shown.yMax * 1.5 && scaled.yMax <= shown.yMax * 4.0001);
        QCOMPARE(scaled.xMin, shown.xMin);
        QCOMPARE(scaled.xMax, shown.xMax);
    }

    // The viewer: a copy of the screen's chart, the type menu, the mouse modes, Refresh back to
    // the view it was shown with, and a chart file replacing the chart, type and all.
    void viewer()
    {
        Chart2D screenChart;
        screenChart.resize(800, 500);
        screenChart.setData(sample(ChartType::Plot));
        frmViewChart viewer;
        viewer.resize(900, 600);
        viewer.ShowChart2D(&screenChart, "营业额走势图");
        QCOMPARE(viewer.chart()->data().values, screenChart.data().values);

        QCOMPARE(frmViewChart::mouseMappings("Zoom"),
                 QList<ChartActionMap>({{513, 0, 0, 6}, {512, 1, 0, 7}, {514, 0, 0, 8}}));
        QCOMPARE(frmViewChart::mouseMappings("Rotate").at(1).action, 3);
        QVERIFY(frmViewChart::mouseMappings("Other").isEmpty());

        Chart2D* chart = viewer.chart();
        QTest::qWait(20);
        const ChartViewState shown = chart->view();
        viewer.tlbMain_ButtonClick("Zoom");
        QCOMPARE(chart->actionMaps(), frmViewChart::mouseMappings("Zoom"));
        QCOMPARE(chart->actionFor(513, 0), ChartAction::StartZoom);
        chart->callAction(ChartAction::StartZoom, QPoint(300, 150));
        chart->callAction(ChartAction::UpdateZoom, QPoint(450, 300));
        chart->callAction(ChartAction::EndZoom, QPoint(450, 300));
        QVERIFY(chart->view() != shown);
        // The zoomed chart saved as a chart file reopens with the same picture.
        QTemporaryDir zoomed;
        QVERIFY(viewer.saveFile(zoomed.filePath("zoomed.cht")));
        QVERIFY(viewer.saveFile(zoomed.filePath("zoomed.png")));
        Chart2D reopened;
        QVERIFY(reopened.load(zoomed.filePath("zoomed.cht")));
        QCOMPARE(reopened.view(), chart->view());
        QVERIFY(reopened.save(zoomed.filePath("reopened.png")));
        QCOMPARE(QImage(zoomed.filePath("reopened.png")), QImage(zoomed.filePath("zoomed.png")));
        viewer.tlbMain_ButtonClick("Refresh");
        QCOMPARE(chart->view(), shown);

        // Rotate is for pies and radars only; a key not in the menu changes nothing.
        QAction* rotate = viewer.toolbar()->findChild<QAction*>("Rotate");
        QVERIFY(!rotate->isEnabled());
        viewer.tlbMain_ButtonClick("oc2dTypePie");
        QCOMPARE(chart->chartType(), ChartType::Pie);
        QVERIFY(rotate->isEnabled());
        viewer.tlbMain_ButtonClick("oc2dTypeNoSuch");
        QCOMPARE(chart->chartType(), ChartType::Pie);

        QTemporaryDir dir;
        Chart2DData bars = sample(ChartType::StackingBar);
        bars.header = "另一个图表";
        QVERIFY(ChartFile::save(bars, dir.filePath("bars.cht")));
        QVERIFY(viewer.openFile(dir.filePath("bars.cht")));
        QCOMPARE(chart->chartType(), ChartType::StackingBar);
        QCOMPARE(chart->data().header, QString("另一个图表"));
        QVERIFY(!rotate->isEnabled());
        QVERIFY(!viewer.openFile(dir.filePath("missing.cht")));
        QCOMPARE(chart->data().header, QString("另一个图表"));
    }
};

QTEST_MAIN(TestChart)
#include "tst_chart.moc"
