#include "core/HostBinding.h"
#include "core/HostContext.h"
#include "core/modPublic.h"
#include "framework/HostUi.h"
#include "sheet/SheetCompare.h"
#include "sheet/SheetFile.h"
#include "sheet/SheetPreview.h"
#include "sheet/SheetView.h"
#include "tests/sheet/BillSheetFixture.h"
#include "ui/frmPreview.h"
#include "ui/frmPrintSpread.h"
#include "ui/frmViewSpread.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGlyphRun>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextLayout>
#include <QToolBar>
#include <QtTest>

namespace {

// 420 data rows without header or footer: 49 rows a page on A4, 9 pages.
void ninePages(Sheet& s)
{
    fillBillSheet(s, 414);
    s.printSettings().scaling = PrintSettings::Scaling::None;
}

template <typename T> T* child(QWidget* w, const char* name)
{
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    if (!c)
        qFatal("no child %s", name);
    return c;
}

// Every text a window shows: its title, its buttons, labels, frames, list entries, toolbar
// buttons and toolbars' titles.
QStringList shownTexts(QWidget* window)
{
    QStringList texts{window->windowTitle()};
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            texts << b->text();
        else if (auto* l = qobject_cast<QLabel*>(w))
            texts << l->text();
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            texts << g->title();
        else if (auto* t = qobject_cast<QToolBar*>(w))
            texts << t->windowTitle();
        if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i)
                texts << c->itemText(i);
        for (QAction* a : w->actions())
            texts << a->text();
    }
    texts.removeAll(QString());
    return texts;
}

// The family `font` draws Chinese text in.
QString chineseFamily(const QFont& font)
{
    QTextLayout layout(QStringLiteral("打印预览"), font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    return runs.size() == 1 ? runs.first().rawFont().familyName() : QString();
}

// Saves a grab of `w` into $VTX_SCREENSHOT_DIR (for the README), when that is set.
void screenshot(QWidget* w, const QByteArray& name)
{
    const QString dir = qEnvironmentVariable("VTX_SCREENSHOT_DIR");
    if (!dir.isEmpty())
        w->grab().save(dir + QLatin1Char('/') + QString::fromLatin1(name));
}

} // namespace

class TestGridWindows : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { HostUi::setHeadless(true); }
    void previewPageGroups();
    void printOptions();
    void viewSpreadCopiesOpensAndSaves();
    void textsInTheScreenLanguage();
};

void TestGridWindows::previewPageGroups()
{
    hostContext().LanguageCode = 0;
    Sheet s;
    ninePages(s);
    frmPreview w;
    w.resize(1000, 760);
    w.load(&s, QStringLiteral("账单"));
    auto* prev = child<QPushButton>(&w, "cmdPrev");
    auto* next = child<QPushButton>(&w, "cmdNext");
    SheetPreview* preview = w.preview();
    QCOMPARE(preview->pageCount(), 9);
    QCOMPARE(child<QComboBox>(&w, "cboZoom")->count(), 14);

    w.setZoomIndex(12); // Four Pages: 2 across, 2 down
    preview->setCurrentPage(6);
    QCOMPARE(preview->firstPage(), 5);
    QCOMPARE(preview->lastPage(), 8);
    QVERIFY(prev->isEnabled());
    QVERIFY(next->isEnabled());
    QCOMPARE(w.statusText(), QStringLiteral("第6页，共9页"));
    next->click(); // the next group, 9..12
    QCOMPARE(preview->currentPage(), 9);
    QVERIFY(!next->isEnabled());
    QVERIFY(prev->isEnabled());
    prev->click();
    QCOMPARE(preview->currentPage(), 5);

    child<QPushButton>(&w, "cmdZoom")->click(); // zoomed in: just the current page
    QCOMPARE(preview->firstPage(), 5);
    QCOMPARE(preview->lastPage(), 5);
    child<QPushButton>(&w, "cmdZoom")->click();
    w.setZoomIndex(13); // Six Pages: 3 across, 2 down; page 5 is in 1..6
    QCOMPARE(preview->firstPage(), 1);
    QVERIFY(!prev->isEnabled());
    if (qEnvironmentVariableIsSet("VTX_SCREENSHOT_DIR")) {
        s.printSettings().header = QStringLiteral(
            "/fn\"幼圆\"/fz\"20\"/fb1/fs1/fn\"宋体\"/fz\"12\"/fb0/fs2/f1/c营业报表/n/n"
            "/f2/c统计时间: 从 2026-12-01 到 2026-12-04/n");
        s.printSettings().footer = QStringLiteral("/n/f2/c 第/p页，共/pc页 /n");
        preview->refresh();
        w.setZoomIndex(10); // Two Pages
        w.show();
        QCoreApplication::processEvents();
        screenshot(&w, "preview.png");
    }

    Sheet one;
    fillBillSheet(one);
    frmPreview single;
    single.load(&one, QString());
    QCOMPARE(single.preview()->pageCount(), 1);
    for (int zoom : {9, 12}) {
        single.setZoomIndex(zoom);
        QVERIFY(!child<QPushButton>(&single, "cmdPrev")->isEnabled());
        QVERIFY(!child<QPushButton>(&single, "cmdNext")->isEnabled());
    }
    QCOMPARE(single.statusText(), QStringLiteral("第1页，共1页"));
}

void TestGridWindows::printOptions()
{
    Sheet s;
    fillBillSheet(s);
    s.setSelection({2, 1, 4, 3});
    for (int code : {0, 3}) {
        hostContext().LanguageCode = code;
        s.printSettings().marginTop = 720;
        frmPrintSpread d;
        d.load(&s, QStringLiteral("账单"));
        auto* top = child<QComboBox>(&d, "cboMargin_0");
        QCOMPARE(top->currentText(), code == 0 ? QStringLiteral("1.27") : QStringLiteral("0.50"));
        top->setEditText(QStringLiteral("1.00"));
        d.apply();
        QCOMPARE(s.printSettings().marginTop, code == 0 ? 567 : 1440);
    }
    hostContext().LanguageCode = 0;

    frmPrintSpread d;
    d.load(&s, QStringLiteral("账单"));
    auto* from = child<QComboBox>(&d, "cboPage_0");
    auto* zoom = child<QComboBox>(&d, "cboZoom");
    auto* wide = child<QComboBox>(&d, "cboWide");
    auto* updTall = child<QSpinBox>(&d, "updTall");
    QVERIFY(child<QRadioButton>(&d, "optPage_0")->isChecked());
    QVERIFY(!from->isEnabled());
    child<QRadioButton>(&d, "optPage_3")->setChecked(true);
    QVERIFY(from->isEnabled());
    from->setEditText(QStringLiteral("3"));
    QTest::keyClicks(from->lineEdit(), QStringLiteral("abc"));
    QCOMPARE(from->currentText(), QStringLiteral("1"));
    QTest::keyClicks(from->lineEdit(), QStringLiteral("2"));
    QCOMPARE(from->currentText(), QStringLiteral("12"));

    child<QRadioButton>(&d, "optScaling_2")->setChecked(true);
    QVERIFY(zoom->isEnabled());
    QVERIFY(!wide->isEnabled() && !updTall->isEnabled());
    child<QRadioButton>(&d, "optScaling_3")->setChecked(true);
    QVERIFY(!zoom->isEnabled());
    QVERIFY(wide->isEnabled() && updTall->isEnabled());
    updTall->setValue(3);
    QCOMPARE(child<QComboBox>(&d, "cboTall")->currentText(), QStringLiteral("3"));
    // The up-down beside the box shows its arrows alone, no number of its own cut in half.
    QVERIFY(updTall->findChild<QLineEdit*>()->isHidden());
    QVERIFY(updTall->width() < updTall->sizeHint().width());

    child<QRadioButton>(&d, "optPage_1")->setChecked(true);
    child<QRadioButton>(&d, "optOrientation_1")->setChecked(true);
    child<QCheckBox>(&d, "chkOption_6")->setChecked(true);
    zoom->setEditText(QStringLiteral("150"));
    d.apply();
    const PrintSettings& ps = s.printSettings();
    QCOMPARE(ps.printType, PrintSettings::PrintType::CellRange);
    QCOMPARE(CellBlock({ps.blockRow, ps.blockCol, ps.blockRow2, ps.blockCol2}),
             CellBlock({2, 1, 4, 3}));
    QCOMPARE(ps.orientation, PrintSettings::Orientation::Landscape);
    QVERIFY(ps.shadows);
    QCOMPARE(ps.scaling, PrintSettings::Scaling::BestFit);
    QCOMPARE(ps.zoomFactor, 1.5);
    QCOMPARE(ps.bestFitPagesTall, 3);
    QVERIFY(d.windowTitle().endsWith(QStringLiteral(" - 账单")));

    QTemporaryDir dir;
    QVERIFY(d.printToPdf(dir.filePath(QStringLiteral("p.pdf"))));
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("p.pdf"))).size() > 1000);
}

void TestGridWindows::viewSpreadCopiesOpensAndSaves()
{
    QTemporaryDir dir;
    Sheet s;
    fillBillSheet(s);
    frmViewSpread w;
    w.ShowSpread(&s, QString());
    // The copy goes through the user's own folder, readable by him alone.
    const QString temp = UserTempDirectory() + QStringLiteral("/temp.Spread");
    QVERIFY(QFile::exists(temp));
    QCOMPARE(QFile::permissions(temp) & (QFile::ReadOther | QFile::ReadGroup),
             QFile::Permissions());
    QCOMPARE(QFileInfo(UserTempDirectory()).permissions() & (QFile::ExeOther | QFile::ExeGroup),
             QFile::Permissions());
    QCOMPARE(SheetCompare::firstDifference(s, *w.sheet()), QString());
    QVERIFY(w.sheet() != &s);
    for (const char* key : {"Open", "Save", "Print", "Exit"})
        QVERIFY2(w.findChild<QAction*>(QString::fromLatin1(key)), key);
    QCOMPARE(
        w.saveFilters(),
        QStringList({QStringLiteral("Excel文件 (*.xls)"), QStringLiteral("网页文件 (*.htm *.html)"),
                     QStringLiteral("报表文件 (*.rpt)"), QStringLiteral("文本文件 (*.txt)"),
                     QStringLiteral("XML文件 (*.xml)")}));
    w.findChild<QAction*>(QStringLiteral("Save"))->trigger(); // headless: no dialog

    // Export by filter: the workbook of an empty caption holds "Sheet1"; a name without
    // extension gets the filter's.
    QVERIFY(w.exportTo(dir.filePath(QStringLiteral("a.xls")), 1));
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("a.xlsx"))));
    if (!QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty()) {
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"),
                    {QStringLiteral("-p"), dir.filePath(QStringLiteral("a.xlsx")),
                     QStringLiteral("xl/workbook.xml")});
        unzip.waitForFinished();
        QVERIFY(unzip.readAllStandardOutput().contains("name=\"Sheet1\""));
    }
    QVERIFY(w.exportTo(dir.filePath(QStringLiteral("b")), 3));
    QVERIFY(w.exportTo(dir.filePath(QStringLiteral("c")), 2));
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("c.htm"))));

    // Open gives back the saved grid.
    w.sheet()->setText(1, 1, QStringLiteral("changed"));
    QVERIFY(!w.openFile(dir.filePath(QStringLiteral("missing.rpt"))));
    QCOMPARE(w.sheet()->text(1, 1), QStringLiteral("changed"));
    QVERIFY(w.openFile(dir.filePath(QStringLiteral("b.rpt"))));
    QCOMPARE(SheetCompare::firstDifference(s, *w.sheet()), QString());

    // Esc leaves the full-screen grid.
    QVERIFY(w.isVisible());
    QTest::keyClick(w.view(), Qt::Key_Escape);
    QVERIFY(!w.isVisible());
}

// The grid windows show their texts in the language of the screen: the built-in Chinese, the
// Traditional Chinese and English of the shipped language files, nothing English on a Chinese
// screen nor Chinese on an English one; their Chinese is drawn in the Noto CJK variant of the
// language (set up by host binding).
void TestGridWindows::textsInTheScreenLanguage()
{
    QTemporaryDir settings, plugin;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    QVERIFY(QDir().mkpath(plugin.filePath(QStringLiteral("Languages"))));
    for (const char* file : {"vtxQueryApp.eng", "vtxQueryApp.big"})
        QVERIFY(QFile::copy(QStringLiteral(VTX_SOURCE_DIR "/Languages/") + QLatin1String(file),
                            plugin.filePath(QStringLiteral("Languages/")) + QLatin1String(file)));
    const QString pluginDir = PluginDirectory();
    SetPluginDirectory(plugin.path());
    static const QRegularExpression han(QStringLiteral("[\\x{3400}-\\x{9FFF}]"));
    static const QRegularExpression mnemonic(QStringLiteral("\\(&[A-Z]\\)"));
    static const QRegularExpression latin(QStringLiteral("[A-Za-z]"));
    Sheet s;
    fillBillSheet(s);
    for (const int language : {0, 2, 3}) {
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Valtrix"),
                  QStringLiteral("Valtrix"))
            .setValue(QStringLiteral("Language/Language"), language);
        BindHost(nullptr);
        QCOMPARE(hostContext().LanguageCode, language);
        frmPreview preview;
        preview.resize(900, 300);
        preview.load(&s, QString());
        frmPrintSpread print;
        print.load(&s, QString());
        frmViewSpread view;
        for (QWidget* w : {static_cast<QWidget*>(&preview), static_cast<QWidget*>(&print),
                           static_cast<QWidget*>(&view)}) {
            for (QString text : shownTexts(w)) {
                if (language == 3)
                    QVERIFY2(!text.contains(han), qPrintable(text));
                else
                    QVERIFY2(!text.remove(mnemonic).contains(latin), qPrintable(text));
            }
        }
        const QString names[] = {QStringLiteral("整页"), QStringLiteral("整頁"),
                                 QStringLiteral("Whole Page")};
        QCOMPARE(child<QComboBox>(&preview, "cboZoom")->currentText(), names[language == 0   ? 0
                                                                             : language == 2 ? 1
                                                                                             : 2]);
        QCOMPARE(preview.statusText(), language == 3   ? QStringLiteral("Page 1 of 1")
                                       : language == 2 ? QStringLiteral("第1頁，共1頁")
                                                       : QStringLiteral("第1页，共1页"));
        QCOMPARE(chineseFamily(child<QPushButton>(&preview, "cmdClose")->font()),
                 language == 2 ? QStringLiteral("Noto Sans CJK TC")
                               : QStringLiteral("Noto Sans CJK SC"));
        const QByteArray suffix = QByteArray::number(language) + ".png";
        screenshot(&preview, "preview-language" + suffix);
        screenshot(&print, "print-language" + suffix);
    }
    QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Valtrix"),
              QStringLiteral("Valtrix"))
        .setValue(QStringLiteral("Language/Language"), 0);
    BindHost(nullptr);
    SetPluginDirectory(pluginDir);
}

QTEST_MAIN(TestGridWindows)
#include "tst_gridwindows.moc"
