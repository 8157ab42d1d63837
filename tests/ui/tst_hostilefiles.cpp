// Files a user can be handed: chart files (.cht), report files (.rpt) and language files. A
// damaged or hostile one is refused with its reason, or read, within bounded time and memory;
// nothing crashes or hangs. Each reader meets the cases found by hand and a few hundred seeded
// mutations of a good file, under a limit on the address space (a reader that allocates what a
// file claims fails here) and CTest's timeout (a reader that loops).
//
// VTX_FUZZ_SEED and VTX_FUZZ_COUNT run other and more mutations by hand.
#include "core/LanguageFile.h"
#include "core/cLanguage.h"
#include "core/modPublic.h"
#include "framework/HostUi.h"
#include "sheet/Sheet.h"
#include "sheet/SheetFile.h"
#include "ui/chart/Chart2D.h"
#include "ui/chart/ChartFile.h"
#include "ui/chart/ChartOutput.h"

#include <QDomDocument>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <limits>

namespace {

constexpr qint64 AddressSpaceHeadroom = 3LL << 30; // beyond what the test holds at its start

// Mutated texts reach scripts the fonts do not shape; Qt says so once per font, which is noise.
QtMessageHandler passOn = nullptr;
void quietFonts(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!message.contains("OpenType support missing"))
        passOn(type, context, message);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Seeded changes of the kinds that break readers: bits, bytes, counts and numbers at the
// edges, cut ends, lost, repeated and inserted runs; for XML also deep nesting, crowded
// elements and declarations.
class Mutator
{
public:
    explicit Mutator(quint32 seed) : m_random(seed) {}

    int below(int n) { return n > 0 ? int(m_random.bounded(quint32(n))) : 0; }

    QByteArray binary(QByteArray bytes)
    {
        const int changes = 1 + below(3);
        for (int i = 0; i < changes && !bytes.isEmpty(); ++i) {
            const int at = below(int(bytes.size()));
            switch (below(8)) {
            case 0:
                bytes[at] = char(bytes[at] ^ (1 << below(8)));
                break;
            case 1:
                bytes[at] = char(below(256));
                break;
            case 2: { // a count or an index at an edge
                static const quint32 edges[] = {0,          1,          0x7fffffff, 0x80000000,
                                                0xffffffff, 0xfffffffe, 0x00010000, 1000000};
                put(&bytes, at, qToBigEndian(edges[below(8)]));
                break;
            }
            case 3: { // a number at an edge
                static const double edges[] = {std::numeric_limits<double>::infinity(),
                                               -std::numeric_limits<double>::infinity(),
                                               std::numeric_limits<double>::quiet_NaN(),
                                               1e308,
                                               -1e308,
                                               1e-308,
                                               1e15 + 1,
                                               0};
                quint64 raw;
                const double v = edges[below(8)];
                memcpy(&raw, &v, 8);
                put(&bytes, at, qToBigEndian(raw));
                break;
            }
            case 4:
                bytes.truncate(at);
                break;
            case 5:
                bytes.remove(at, 1 + below(16));
                break;
            case 6:
                bytes.insert(at, bytes.mid(below(int(bytes.size())), 1 + below(64)));
                break;
            default: {
                QByteArray noise;
                for (int k = below(16) + 1; k > 0; --k)
                    noise += char(below(256));
                bytes.insert(at, noise);
                break;
            }
            }
        }
        return bytes;
    }

    QByteArray xml(QByteArray bytes)
    {
        const int at = below(int(bytes.size()));
        switch (below(6)) {
        case 0:
            return bytes.insert(at, QByteArray("<a>").repeated(50 + below(5000)));
        case 1: {
            QByteArray crowded = "<k";
            for (int i = below(3000); i > 0; --i)
                crowded += " a" + QByteArray::number(i) + "=\"\"";
            return bytes.insert(at, crowded + "/>");
        }
        case 2:
            return bytes.insert(at, "<!DOCTYPE x [<!ENTITY e \"eeeeeeeeee\">]>");
        case 3:
            return bytes.insert(at, bytes.mid(below(int(bytes.size())), below(20000)));
        default:
            return binary(bytes);
        }
    }

private:
    template <class T> static void put(QByteArray* bytes, int at, T value)
    {
        if (at + int(sizeof(T)) <= bytes->size())
            memcpy(bytes->data() + at, &value, sizeof(T));
    }
    QRandomGenerator m_random;
};

quint32 seed()
{
    bool ok = false;
    const quint32 given = qEnvironmentVariable("VTX_FUZZ_SEED").toUInt(&ok);
    return ok ? given : 20290005u;
}

int mutations()
{
    bool ok = false;
    const int given = qEnvironmentVariableIntValue("VTX_FUZZ_COUNT", &ok);
    return ok && given > 0 ? given : 300;
}

Chart2DData sampleChart()
{
    Chart2DData d;
    d.type = ChartType::Pie;
    d.header = "2026-03-01 - 2026-03-10  部门出品统计图";
    d.footer = "合计:540,751.60";
    d.seriesLabels = {"酒水：494,734.40，91.49%", "厨房：25,013.90，4.63%",
                      "海鲜：14,185.10，2.62%"};
    d.pointLabels = {""};
    d.values = {{494734.4}, {25013.9}, {14185.1}};
    d.labels = {{1, 1, "酒水：494,734.40，91.49%"}, {2, 1, "厨房：25,013.90，4.63%"}};
    d.yAxisMax = 600000;
    d.view = ChartViewState{0, 0, 0, 0, 135, 1, 0, 0};
    return d;
}

// A chart file as the writer lays it out, without the writer's own checks.
QByteArray unchecked(const Chart2DData& d)
{
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setVersion(QDataStream::Qt_6_4);
    s.writeRawData("VTXCHT", 6);
    s << quint32(1) << qint32(d.type) << d.header << d.headerVisible << d.footer << d.footerVisible
      << d.legendVisible << d.seriesLabels << d.pointLabels << qint32(d.values.size());
    for (const QList<double>& series : d.values)
        s << series;
    s << qint32(0) << false << false; // no labels, no axis top, no view
    return out;
}

void fillSheet(Sheet& s)
{
    s.setMaxCols(4);
    s.setMaxRows(6);
    s.setHeaderRows(2);
    s.setHeaderText(1, 1, "账单");
    s.setHeaderText(2, 2, "金额");
    s.addHeaderSpan({1, 1, 1, 2});
    s.addSpan({1, 1, 1, 3});
    s.setColumnType(2, CellType::Number);
    s.setColumnType(3, CellType::Percent);
    s.setColumnWidth(1, 2000);
    s.setRowHeight(2, 400);
    for (int r = 1; r <= 6; ++r) {
        s.setText(r, 1, QString("B%1").arg(r));
        s.setNumber(r, 2, r * 1234.5);
        s.setNumber(r, 3, r * 1.5);
    }
    CellStyle red;
    red.foreColor = QColor(255, 0, 0);
    red.font = QFont("Noto Sans CJK SC", 10);
    s.setCellStyle(2, 2, red);
    s.setRowStyle(6, red);
    s.printSettings().header = "/c 账单";
}

} // namespace

class TestHostileFiles : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        HostUi::setHeadless(true);
        passOn = qInstallMessageHandler(quietFonts);
        // What a reader may allocate: the test's own size and some room, no more.
        long pages = 0;
        QFile statm("/proc/self/statm");
        if (statm.open(QIODevice::ReadOnly))
            pages = statm.readAll().split(' ').value(0).toLong();
        const rlim_t limit = rlim_t(pages * sysconf(_SC_PAGESIZE) + AddressSpaceHeadroom);
        const rlimit bound{limit, limit};
        QVERIFY(pages > 0 && setrlimit(RLIMIT_AS, &bound) == 0);
    }

    // The chart files found by hand, then mutations of a good one; whatever opens is drawn.
    void chartFiles()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("chart.cht");
        QString error;
        auto refused = [&](const Chart2DData& d, const char* because) {
            writeAll(path, unchecked(d));
            QElapsedTimer timer;
            timer.start();
            Chart2DData read;
            QVERIFY2(!ChartFile::load(&read, path, &error), because);
            QVERIFY2(error.contains(because), qPrintable(error));
            QVERIFY(timer.elapsed() < 2000);
        };
        Chart2DData pie = sampleChart();
        pie.view.reset();
        pie.values[1][0] = std::numeric_limits<double>::infinity();
        refused(pie, "not a finite number");
        Chart2DData line = sampleChart();
        line.type = ChartType::Plot;
        line.values = {{1e308, -1e308, 5}};
        refused(line, "not a finite number within");
        Chart2DData header = sampleChart();
        header.header = QString(1000000, QChar(u'表'));
        refused(header, "1000000 characters");

        // A count the file cannot hold is refused before anything is allocated.
        QVERIFY(ChartFile::save(sampleChart(), path));
        QByteArray bytes = readAll(path);
        const qsizetype series = bytes.indexOf(QByteArray::fromHex("00000003"), 10);
        QVERIFY(series > 0);
        bytes.replace(series, 4, QByteArray::fromHex("7fffffff"));
        writeAll(path, bytes);
        Chart2DData read;
        QVERIFY(!ChartFile::load(&read, path, &error));
        QVERIFY2(error.startsWith("the chart file is damaged"), qPrintable(error));

        // Drawn whatever it holds: a chart set in code with values no file may hold.
        Chart2D control;
        control.resize(400, 300);
        Chart2DData wild = sampleChart();
        wild.values[0][0] = std::numeric_limits<double>::quiet_NaN();
        wild.values[2][0] = 1e308;
        control.setData(wild);
        wild.type = ChartType::Bar;
        wild.view = ChartViewState{-1e300, 1e300, -1e308, 1e308, 0, 1, 0, 0};
        control.setData(wild);
        QVERIFY(std::isfinite(control.view().yMax) && control.view().yMax <= 1e15 * 4);
        QVERIFY(!ChartOutput::image(control.data(), QSize(200, 150)).isNull());

        QVERIFY(ChartFile::save(sampleChart(), path));
        const QByteArray good = readAll(path);
        Mutator mutator(seed());
        int opened = 0;
        qint64 slowest = 0;
        for (int i = 0; i < mutations(); ++i) {
            writeAll(path, mutator.binary(good));
            QElapsedTimer timer;
            timer.start();
            Chart2DData chart;
            if (ChartFile::load(&chart, path, &error)) {
                ++opened;
                QVERIFY(chart.problem().isEmpty());
                for (int type : {chart.type, int(ChartType::Plot)}) {
                    chart.type = type;
                    QVERIFY(!ChartOutput::image(chart, QSize(240, 160)).isNull());
                }
            } else {
                QVERIFY(!error.isEmpty());
            }
            slowest = std::max(slowest, timer.elapsed());
        }
        qInfo("%d of %d mutated chart files opened; slowest %lld ms", opened, mutations(), slowest);
        QVERIFY(opened > 0);
    }

    // Report files: the cases found by hand, then mutations of a good one.
    void reportFiles()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("report.rpt");
        Sheet sheet;
        fillSheet(sheet);
        QVERIFY(SheetFile::save(sheet, path));
        const QByteArray good = readAll(path);
        QString error;

        // A row count that claims more cells than bytes follow.
        QByteArray bytes = good;
        bytes.replace(10, 4, QByteArray::fromHex("7fffffff"));
        writeAll(path, bytes);
        Sheet read;
        QVERIFY(!SheetFile::load(read, path, &error));
        QVERIFY2(error.contains("ends too early"), qPrintable(error));
        QCOMPARE(read.maxRows(), 0);

        // A number that is not one.
        Sheet nan;
        fillSheet(nan);
        nan.setNumber(3, 2, std::numeric_limits<double>::quiet_NaN());
        QVERIFY(SheetFile::save(nan, path));
        QVERIFY(!SheetFile::load(read, path, &error));
        QVERIFY2(error.contains("a number is nan"), qPrintable(error));

        // Many styles and many cells wearing the last of them: read in time linear in the
        // cells (styling a cell once looked through every style before it).
        Sheet styled;
        styled.setMaxCols(2);
        styled.setMaxRows(300000);
        CellStyle style;
        style.font = QFont("Noto Sans CJK SC", 10);
        for (int i = 0; i < 1024; ++i) {
            style.foreColor = QColor(i % 256, i / 256, 0);
            styled.setCellStyle(i + 1, 1, style);
        }
        for (int r = 1; r <= styled.maxRows(); ++r)
            styled.setCellStyle(r, 2, style);
        QVERIFY(SheetFile::save(styled, path));
        QElapsedTimer timer;
        timer.start();
        QVERIFY2(SheetFile::load(read, path, &error), qPrintable(error));
        QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(read.cellStyle(300000, 2), style);

        Mutator mutator(seed() + 1);
        int opened = 0;
        qint64 slowest = 0;
        for (int i = 0; i < mutations(); ++i) {
            writeAll(path, mutator.binary(good));
            QElapsedTimer timer;
            timer.start();
            Sheet mutated;
            if (SheetFile::load(mutated, path, &error)) {
                ++opened;
                for (int r = 1; r <= std::min(mutated.maxRows(), 50); ++r)
                    for (int c = 1; c <= std::min(mutated.maxCols(), 50); ++c)
                        QVERIFY(mutated.text(r, c).size() < 400);
            } else {
                QVERIFY(error.startsWith("the report file is damaged") ||
                        error.startsWith("not a report file") || error.contains("version"));
                QCOMPARE(mutated.maxRows(), 0);
            }
            slowest = std::max(slowest, timer.elapsed());
        }
        qInfo("%d of %d mutated report files opened; slowest %lld ms", opened, mutations(),
              slowest);
        QVERIFY(opened > 0);
    }

    // Language files: deep, huge, crowded and declaring files are refused at once and the
    // built-in texts used; mutations of the shipped English file are read or refused.
    void languageFiles()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("language.xml");
        QDomDocument document;
        QString reason;
        auto refusedWithin = [&](const QByteArray& bytes, const char* because, qint64 ms) {
            writeAll(path, bytes);
            QElapsedTimer timer;
            timer.start();
            QVERIFY(!LanguageFile::read(path, &document, &reason));
            QVERIFY2(reason.contains(because), qPrintable(reason));
            QVERIFY2(timer.elapsed() < ms, qPrintable(QString::number(timer.elapsed())));
        };
        for (int depth : {40000, 200000})
            refusedWithin("<Language>" + QByteArray("<a>").repeated(depth) +
                              QByteArray("</a>").repeated(depth) + "</Language>",
                          "nested more than 16 deep", 1000);
        QByteArray crowded = "<Language><vtxQueryApp><Main><Msg_Title";
        for (int i = 0; i < 20000; ++i)
            crowded += " a" + QByteArray::number(i) + "=\"x\"";
        refusedWithin(crowded + "/></Main></vtxQueryApp></Language>", "more than 100 attributes",
                      1000);
        refusedWithin("<!DOCTYPE l [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;\">]>"
                      "<Language>&b;</Language>",
                      "document type", 1000);
        QByteArray wide = "<Language><vtxQueryApp><Main>";
        for (int i = 0; i < 60000; ++i)
            wide += "<K/>";
        refusedWithin(wide + "</Main></vtxQueryApp></Language>", "more than 50000 elements", 1000);
        {
            QFile large(path); // 55 MB, refused by its size before it is read
            QVERIFY(large.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QVERIFY(large.resize(55LL << 20));
        }
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!LanguageFile::read(path, &document, &reason));
        QVERIFY2(reason.contains("57671680 bytes"), qPrintable(reason));
        QVERIFY(timer.elapsed() < 1000);

        // Through the language setting: the file is not used, the defaults are.
        SetPluginDirectory(dir.path());
        QVERIFY(QDir(dir.path()).mkpath("Languages"));
        writeAll(dir.filePath("Languages/vtxQueryApp.eng"),
                 "<Language>" + QByteArray("<a>").repeated(40000) +
                     QByteArray("</a>").repeated(40000) + "</Language>");
        cLanguage language;
        language.setLanguage(lngEnglish);
        QCOMPARE(language.Language(), int(lngDefault));
        QVERIFY(language.loadProblem().contains("nested"));
        QCOMPARE(language.getValue("Msg_Title", "", "提示"), QString("提示"));
        SetPluginDirectory(QString());

        const QByteArray english =
            readAll(QStringLiteral(VTX_SOURCE_DIR) + "/Languages/vtxQueryApp.eng");
        writeAll(path, english);
        QVERIFY2(LanguageFile::read(path, &document, &reason), qPrintable(reason));
        Mutator mutator(seed() + 2);
        int read = 0;
        qint64 slowest = 0;
        for (int i = 0; i < mutations(); ++i) {
            writeAll(path, mutator.xml(english));
            QElapsedTimer each;
            each.start();
            QDomDocument mutated;
            if (LanguageFile::read(path, &mutated, &reason))
                ++read;
            else
                QVERIFY(!reason.isEmpty());
            slowest = std::max(slowest, each.elapsed());
        }
        qInfo("%d of %d mutated language files read; slowest %lld ms", read, mutations(), slowest);
    }
};

QTEST_MAIN(TestHostileFiles)
#include "tst_hostilefiles.moc"
