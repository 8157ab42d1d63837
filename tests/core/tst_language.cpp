// The language file and the message table: defaults without a file, the language setting, the
// lookup walk, line breaks, and the screen translation routines.
#include "core/HostContext.h"
#include "core/IQueryItems.h"
#include "core/cLanguage.h"
#include "core/modMessage.h"
#include "core/modPublic.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

namespace {

class FakeItem : public IQueryItem
{
public:
    FakeItem(QString field, QString caption) : field(std::move(field)), text(std::move(caption)) {}
    QString fieldText() const override { return field; }
    void setFieldText(const QString& t) override { field = t; }
    QString caption() const override { return text; }
    void setCaption(const QString& c) override { text = c; }
    int subItemCount() const override { return int(subs.size()); }
    IQueryItem* subItem(int i) override
    {
        return i >= 0 && i < int(subs.size()) ? &subs[i] : nullptr;
    }
    QString field, text;
    std::vector<FakeItem> subs;
};

class FakeQuery : public QWidget, public IQueryItems
{
public:
    QString title() const override { return heading; }
    void setTitle(const QString& t) override { heading = t; }
    int queryItemCount() const override { return int(items.size()); }
    IQueryItem* queryItem(int i) override
    {
        return i >= 0 && i < int(items.size()) ? &items[i] : nullptr;
    }
    QString heading;
    std::vector<FakeItem> items;
};

} // namespace

class LanguageTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_settings;
    QTemporaryDir m_plugin;

    void setLanguageSetting(const QString& value)
    {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, "Valtrix", "Valtrix");
        settings.setValue("Language/Language", value);
    }
    void writeLanguageFile(const QString& extension, const QByteArray& mainElements,
                           const QByteArray& otherSections = {})
    {
        QDir().mkpath(m_plugin.filePath("Languages"));
        QFile file(m_plugin.filePath("Languages/vtxQueryApp" + extension));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Language><vtxQueryApp><Main>" +
                   mainElements + "</Main>" + otherSections + "</vtxQueryApp></Language>\n");
    }
    void removeLanguageFiles() { QDir(m_plugin.filePath("Languages")).removeRecursively(); }

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
        SetPluginDirectory(m_plugin.path());
    }

    // Qt's own texts follow the language: the buttons of a message box and the file dialog's
    // title, labels and buttons in Simplified Chinese without a language file and with the
    // English setting but no English file (nothing English on a Chinese screen), in Traditional
    // Chinese with the Traditional Chinese file, in English with the English file.
    void qtTextsFollowTheLanguage()
    {
        auto texts = [] {
            QMessageBox box(QMessageBox::Question, "t", "x",
                            QMessageBox::Ok | QMessageBox::Yes | QMessageBox::No |
                                QMessageBox::Cancel);
            QStringList shown;
            for (auto b : {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
                shown << box.button(b)->text();
            QFileDialog dialog;
            dialog.setOption(QFileDialog::DontUseNativeDialog);
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            shown << dialog.windowTitle() << dialog.findChild<QLabel*>("lookInLabel")->text()
                  << dialog.findChild<QLabel*>("fileNameLabel")->text();
            for (QAbstractButton* b : dialog.findChild<QDialogButtonBox*>()->buttons())
                shown << b->text();
            // What the dialog lists: a folder's type and the month of a date.
            shown << QFileIconProvider().type(QFileInfo(QDir::tempPath()))
                  << QLocale().monthName(12, QLocale::ShortFormat);
            return shown.join('|');
        };
        removeLanguageFiles();
        setLanguageSetting("0");
        LoadMessageTable();
        const QString simplified = texts();
        QCOMPARE(simplified, QString("确定|是(&Y)|否(&N)|取消|另存为|查找范围：|文件名称(&N)：|"
                                     "保存(&S)|取消|文件夹|12月"));
        setLanguageSetting("3");
        LoadMessageTable(); // no English file: Chinese texts, Chinese buttons
        QCOMPARE(texts(), simplified);
        writeLanguageFile(".big", "<Msg_Title Default=\"提示\"/>");
        setLanguageSetting("2");
        LoadMessageTable();
        QCOMPARE(
            texts(),
            QString(
                "確定|是(&Y)|否(&N)|取消|另存新檔|尋找於：|檔名(&N)：|儲存(&S)|取消|資料夾|12月"));
        writeLanguageFile(".eng", "<Msg_Title Default=\"Note\"/>");
        setLanguageSetting("3");
        LoadMessageTable();
        QCOMPARE(
            texts(),
            QString("OK|&Yes|&No|Cancel|Save As|Look in:|File &name:|&Save|Cancel|Folder|Dec"));
        removeLanguageFiles();
        setLanguageSetting("0");
        LoadMessageTable();
    }

    void missingFileGivesDefaults()
    {
        removeLanguageFiles();
        LoadMessageTable();
        QCOMPARE(hostContext().LanguageCode, 0);
        QCOMPARE(hostContext().Language->Language(), int(lngDefault));
        QCOMPARE(Msg("Msg_Title"), QStringLiteral("提示"));
        QCOMPARE(Msg("Msg_Report_Refresh"),
                 QStringLiteral("请设置查询的条件， 点击\"刷新\"按钮即可生成报表。"));
        QCOMPARE(Msg("Msg_Report_LargeFont"),
                 QStringLiteral("/fn\"幼圆\"/fz\"20\"/fb1/fi0/fu0/fk0/fs1"));
        QCOMPARE(Msg("Msg_Button_Period"), QStringLiteral("请选择时间段  "));
        QCOMPARE(Msg("Msg_ComboBox_Part"), QStringLiteral("(部分)"));
        QCOMPARE(MessageTableDefaults().size(), 79);
        for (const auto& [key, text] : MessageTableDefaults())
            QCOMPARE(Msg(key), text);
        QCOMPARE(MsgText("Msg_Save_Filter", "Excel (*.xlsx)"), QStringLiteral("Excel (*.xlsx)"));
        QCOMPARE(LanguageText("简", "繁", "en"), QStringLiteral("简"));

        // The lookup creates what is missing in memory only; empty key and property mean
        // element "Settings", attribute "Default".
        cLanguage language;
        language.setLanguage(lngDefault);
        QVERIFY(!language.isModified());
        QCOMPARE(language.getValue("", "", "x"), QStringLiteral("x"));
        QVERIFY(language.isModified());
        const QDomElement settings = language.document()
                                         ->documentElement()
                                         .firstChildElement("vtxQueryApp")
                                         .firstChildElement("Main")
                                         .firstChildElement("Settings");
        QCOMPARE(settings.attribute("Default"), QStringLiteral("x"));
        QVERIFY(!QFile::exists(language.filePath()));
        QCOMPARE(language.filePath(), m_plugin.filePath("Languages/vtxQueryApp.xml"));
    }

    void languageSetting()
    {
        removeLanguageFiles();
        const QList<QPair<QString, int>> codes = {{"2", 2},   {"3.5", 4}, {"2.5", 2}, {" 1x", 1},
                                                  {"abc", 0}, {"", 0},    {"-0.4", 0}};
        for (const auto& [text, code] : codes) {
            setLanguageSetting(text);
            QCOMPARE(ReadLanguageSetting(), code);
        }
        // "2" without a .big file reads back as 0; with the file it stays 2.
        setLanguageSetting("2");
        LoadMessageTable();
        QCOMPARE(hostContext().Language->Language(), 0);
        QCOMPARE(hostContext().Language->filePath(),
                 m_plugin.filePath("Languages/vtxQueryApp.big"));
        writeLanguageFile(".big", "<Msg_Title Default=\"提示訊息\"/>");
        LoadMessageTable();
        QCOMPARE(hostContext().Language->Language(), 2);
        QCOMPARE(Msg("Msg_Title"), QStringLiteral("提示訊息"));
        QCOMPARE(LanguageText("简", "繁", "en"), QStringLiteral("繁"));
        // A malformed file counts as missing.
        QFile file(m_plugin.filePath("Languages/vtxQueryApp.big"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<Language><vtxQueryApp><Main><Msg_Title Default=\"x\"></Main>");
        file.close();
        LoadMessageTable();
        QCOMPARE(hostContext().Language->Language(), 0);
        QCOMPARE(Msg("Msg_Title"), QStringLiteral("提示"));
    }

    void englishTitleAndLineBreaks()
    {
        removeLanguageFiles();
        writeLanguageFile(".eng",
                          "<Msg_Title Default=\"Notice\"/>"
                          "<Msg_ToUpgrade Default=\"First line//Second line\"/>",
                          "<frmTest><lblNote Caption=\"Two//lines\"/></frmTest>");
        setLanguageSetting("3");
        LoadMessageTable();
        QCOMPARE(hostContext().Language->Language(), 3);
        QCOMPARE(Msg("Msg_Title"), QStringLiteral("Notice"));
        QCOMPARE(Msg("Msg_Button_Refresh"), QStringLiteral("刷新")); // not in the file
        QCOMPARE(LanguageText("简", "繁", "en"), QStringLiteral("en"));

        QString title;
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                title = box->windowTitle();
                box->accept();
            }
        });
        MsgBox("Something happened");
        QCOMPARE(title, QStringLiteral("Notice"));

        // "//" comes back as a carriage return; a caption shows it as a line break.
        QCOMPARE(Msg("Msg_ToUpgrade"), QStringLiteral("First line\rSecond line"));
        cLanguage* language = hostContext().Language;
        language->setSection("frmTest");
        QLabel label("默认");
        label.setObjectName("lblNote");
        TranslateCaption(&label);
        QCOMPARE(label.text(), QStringLiteral("Two\nlines"));
        // ... and a carriage return in a default is stored as "//".
        QCOMPARE(language->getValue("lblOther", "Caption", "A\rB"), QStringLiteral("A\rB"));
        QVERIFY(language->SaveLanguage());
        QFile saved(language->filePath());
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll().contains("<lblOther Caption=\"A//B\"/>"));
    }

    void toolbarAndQueryControl()
    {
        removeLanguageFiles();
        writeLanguageFile(
            ".eng",
            "<Msg_Button_Refresh Default=\"Refresh\"/><Msg_Button_Print Default=\"Print\"/>"
            "<Msg_Date_Today Default=\"Today\"/><Msg_Chart_Pie Default=\"Pie Chart\"/>",
            "<frmExpense><ctlQuery1 Title=\"Expenses\" Expense_NewCard=\"New cards\" "
            "Paid=\"Paid\"/></frmExpense>");
        setLanguageSetting("3");
        LoadMessageTable();

        QToolBar toolbar;
        QAction* refresh = toolbar.addAction("x");
        refresh->setObjectName("REFRESH");
        refresh->setToolTip("tip");
        QAction* print = toolbar.addAction("y");
        print->setObjectName("print");
        QAction* own = toolbar.addAction("自定义");
        own->setObjectName("Reset");
        own->setToolTip("tip");
        QMenu menu;
        QAction* today = menu.addAction("t");
        today->setObjectName("TODAY");
        QAction* pie = menu.addAction("p");
        pie->setObjectName("oc2dtypepie");
        QAction* other = menu.addAction("其他");
        other->setObjectName("Yesterday");
        QAction* period = toolbar.addAction("z");
        period->setObjectName("Period");
        period->setMenu(&menu);
        TranslateToolbar(&toolbar);
        QCOMPARE(refresh->text(), QStringLiteral("Refresh"));
        QCOMPARE(print->text(), QStringLiteral("Print"));
        QCOMPARE(period->text(), QStringLiteral("请选择时间段  "));
        QCOMPARE(own->text(), QStringLiteral("自定义"));
        QCOMPARE(own->toolTip(), own->text()); // Qt's fallback once the tooltip is cleared
        QCOMPARE(today->text(), QStringLiteral("Today"));
        QCOMPARE(pie->text(), QStringLiteral("Pie Chart"));
        QCOMPARE(other->text(), QStringLiteral("其他"));

        QWidget screen;
        screen.setObjectName("frmExpense");
        FakeQuery query;
        query.setObjectName("ctlQuery1");
        query.heading = "费用查询";
        query.items.emplace_back("Expense|Expense_NewCard", "新卡");
        query.items.emplace_back("BillNo", "账单号");
        query.items.emplace_back("|Payment", "付款");
        query.items.back().subs.emplace_back("SumPaid-SumInCash|Paid", "已付");
        query.items.back().subs.emplace_back("'√'|IsSentMenu", "赠送");
        TranslateQueryControl(&screen, &query);
        QCOMPARE(query.heading, QStringLiteral("Expenses"));
        QCOMPARE(query.items[0].field, QStringLiteral("Expense"));
        QCOMPARE(query.items[0].text, QStringLiteral("New cards"));
        QCOMPARE(query.items[1].field, QStringLiteral("BillNo"));
        QCOMPARE(query.items[1].text, QStringLiteral("账单号"));
        QCOMPARE(query.items[2].field, QString());
        QCOMPARE(query.items[2].text, QStringLiteral("付款"));
        QCOMPARE(query.items[2].subs[0].field, QStringLiteral("SumPaid-SumInCash"));
        QCOMPARE(query.items[2].subs[0].text, QStringLiteral("Paid"));
        QCOMPARE(query.items[2].subs[1].field, QStringLiteral("'√'"));
        QCOMPARE(query.items[2].subs[1].text, QStringLiteral("赠送"));
        QCOMPARE(hostContext().Language->Section(), QStringLiteral("frmExpense"));
    }
};

QTEST_MAIN(LanguageTest)
#include "tst_language.moc"
