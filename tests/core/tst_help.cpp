// Help: the help file beside the plug-in, help context numbers, and the help window's texts,
// closing keys and remembered position.
#include "core/HostContext.h"
#include "core/frmHelp.h"
#include "core/modMessage.h"
#include "core/modPublic.h"
#include "core/mod_API_Help.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class HelpTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_settings;
    QTemporaryDir m_plugin;

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
        SetPluginDirectory(m_plugin.path());
    }

    void helpFileAndContexts()
    {
        QWidget control;
        InitHelpFile();
        QCOMPARE(HelpFile(), QString());
        SetHelpContext(&control, "040404_InventoryQuery");
        QCOMPARE(HelpContext(&control), 0);

        QFile chm(m_plugin.filePath("help.chm"));
        QVERIFY(chm.open(QIODevice::WriteOnly));
        chm.close();
        InitHelpFile();
        QCOMPARE(HelpFile(), m_plugin.filePath("help.chm"));
        SetHelpContext(&control, "040404_InventoryQuery");
        QCOMPARE(HelpContext(&control), 40404);
        SetHelpContext(&control, "Inventory");
        QCOMPARE(HelpContext(&control), 0);
        QFile::remove(chm.fileName());
    }

    void helpWindow()
    {
        LoadMessageTable(); // no language file: the built-in texts
        {
            frmHelp help;
            QCOMPARE(help.windowTitle(), QStringLiteral("在线帮助"));
            QCOMPARE(help.findChild<QLabel*>("lblTitle")->text(), QStringLiteral("操作说明:"));
            QVERIFY(help.findChild<QPlainTextEdit*>("txtHelp")->toPlainText().startsWith(
                "请选择开始日期"));
            // First opening at 1000 twips from the top left; Esc closes it.
            QCOMPARE(help.pos(), QPoint(qRound(1000 * help.logicalDpiX() / 1440.0),
                                        qRound(1000 * help.logicalDpiY() / 1440.0)));
            QTimer::singleShot(0, &help, [&help] {
                QVERIFY(help.isVisible());
                help.move(300, 150);
                QTest::keyClick(&help, Qt::Key_Escape);
            });
            help.ShowMe("", "");
            QVERIFY(!help.isVisible());
            QCOMPARE(help.findChild<QLabel*>("lblTitle")->text(), QStringLiteral("操作说明:"));
        }
        QSettings store(QSettings::IniFormat, QSettings::UserScope, "Valtrix", "vtxQueryApp");
        QCOMPARE(store.value("frmHelp/Form_Left").toInt(), 300 * 1440 / 96);

        // Reopened where it was closed, with the screen's caption as title; OK closes it.
        frmHelp help;
        QCOMPARE(help.pos(), QPoint(300, 150));
        QTimer::singleShot(0, &help, [&help] {
            QCOMPARE(help.findChild<QLabel*>("lblTitle")->text(), QStringLiteral("历史账单查询"));
            help.findChild<QPushButton*>("cmdOK")->click();
        });
        help.ShowMe("历史账单查询", "");
        QVERIFY(!help.isVisible());
    }

    void englishHelpWindow()
    {
        QDir().mkpath(m_plugin.filePath("Languages"));
        QVERIFY(QFile::copy(VTX_SOURCE_DIR "/Languages/vtxQueryApp.eng",
                            m_plugin.filePath("Languages/vtxQueryApp.eng")));
        QSettings(QSettings::IniFormat, QSettings::UserScope, "Valtrix", "Valtrix")
            .setValue("Language/Language", "3");
        LoadMessageTable();
        frmHelp help;
        QCOMPARE(help.windowTitle(), QStringLiteral("Online Help"));
        QCOMPARE(help.findChild<QLabel*>("lblTitle")->text(), QStringLiteral("How to use:"));
        QCOMPARE(help.findChild<QPushButton*>("cmdOK")->text(), QStringLiteral("OK"));
    }
};

QTEST_MAIN(HelpTest)
#include "tst_help.moc"
