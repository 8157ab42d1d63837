// The host's main window with the module loaded, used as a user would with a mouse: open a
// report from the menu, leave it with "Exit", Esc or the frame's close button, open it again.
#include "framework/HostObject.h"
#include "framework/HostUi.h"
#include "framework/ISubSystem.h"
#include "host/HostOptions.h"
#include "host/HostSession.h"
#include "host/MainWindow.h"
#include "tests/support/TestDatabase.h"

#include <QAction>
#include <QDateEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolBar>
#include <QtTest>

class tst_HostWindow : public QObject
{
    Q_OBJECT
private slots:
    void closedScreenLeavesNoFrameAndReopensAsLeft();
};

void tst_HostWindow::closedScreenLeavesNoFrameAndReopensAsLeft()
{
    HostUi::setHeadless(true);
    TestDatabase db("db_bills.sql");
    HostOptions options;
    options.dbFile = db.path();
    HostSession session;
    QString error;
    QVERIFY2(session.openDatabase(options, &error) && session.loadModule(&error),
             qPrintable(error));
    HostObject host(session.connection(), false, QStringLiteral("admin"));
    session.module()->ISubSystem_SetHost(&host);
    MainWindow window(session.moduleObject(), db.path(), QStringLiteral("admin"));
    window.show();
    QMdiArea* area = window.mdiArea();

    auto visibleFrames = [area] {
        QList<QMdiSubWindow*> shown;
        for (QMdiSubWindow* sub : area->subWindowList())
            if (sub->isVisible())
                shown << sub;
        return shown;
    };

    session.module()->ISubSystem_DoAction(QStringLiteral("DoBillQuery"));
    QCOMPARE(visibleFrames().size(), 1);
    QMdiSubWindow* frame = visibleFrames().first();
    QWidget* screen = frame->widget();
    QVERIFY(screen && screen->isVisible());
    auto* begin = screen->findChild<QDateEdit*>(QStringLiteral("dtpBegin"));
    begin->setDate(QDate(2026, 3, 1));

    // Each way of leaving the screen takes its frame along; opening it again shows the same
    // frame and screen, with the criteria as they were left, and never a second frame.
    const QList<std::function<void()>> leave = {
        [screen] {
            screen->findChild<QToolBar*>("tlbMain")->findChild<QAction*>("Exit")->trigger();
        },
        [screen] { QTest::keyClick(screen, Qt::Key_Escape); },
        [frame] { frame->close(); },
    };
    for (const auto& leaveScreen : leave) {
        leaveScreen();
        QVERIFY(visibleFrames().isEmpty());
        session.module()->ISubSystem_DoAction(QStringLiteral("doBILLquery"));
        QCOMPARE(visibleFrames(), QList<QMdiSubWindow*>{frame});
        QCOMPARE(frame->widget(), screen);
        QVERIFY(screen->isVisible());
        QCOMPARE(begin->date(), QDate(2026, 3, 1));
        QCOMPARE(area->subWindowList().size(), 1);
    }

    // Another report opens beside it; leaving one leaves the other alone.
    session.module()->ISubSystem_DoAction(QStringLiteral("DoDailyReport"));
    QCOMPARE(visibleFrames().size(), 2);
    QTest::keyClick(screen, Qt::Key_Escape);
    QCOMPARE(visibleFrames().size(), 1);
    QVERIFY(visibleFrames().first() != frame);
}

QTEST_MAIN(tst_HostWindow)
#include "tst_hostwindow.moc"
