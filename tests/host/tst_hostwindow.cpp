// The host's main window with the module loaded, used as a user would: open a report from the
// menu, refresh it, answer its message boxes and dialogs, leave it with "Exit", Esc, the frame's
// close button or 窗口→全部关闭, open it again. Message boxes and dialogs are real modal windows
// here (not a headless run's answers), answered by a watcher as a user would: what a user could
// not have clicked (a disabled window) is what froze the application.
#include "framework/HostObject.h"
#include "framework/HostUi.h"
#include "framework/ISubSystem.h"
#include "host/HostOptions.h"
#include "host/HostSession.h"
#include "host/MainWindow.h"
#include "tests/support/TestDatabase.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>

namespace {

// A modal window as the watcher found it: its class, its text (a message box's text, a help
// window's title) and whether a user could use it and the screen behind it.
struct Seen
{
    QString kind;
    QString text;
    bool usable = false;       // the modal window itself is enabled
    bool screenUsable = false; // the screen behind it is enabled, no wait cursor
};

// Answers every modal window that comes up: records it, lets `answer` act on it (tick a branch,
// say), then closes it the way a user would (OK).
class ModalWatcher
{
public:
    ModalWatcher(QWidget* const* screen, std::function<void(QWidget*)> answer = {})
        : m_screen(screen), m_answer(std::move(answer))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start(10);
    }
    QList<Seen> seen;

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == m_last)
            return;
        m_last = modal;
        Seen s;
        s.kind = QString::fromLatin1(modal->metaObject()->className());
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            s.text = box->text();
        else if (auto* title = modal->findChild<QLabel*>(QStringLiteral("lblTitle")))
            s.text = title->text();
        s.usable = modal->isEnabled();
        QWidget* screen = *m_screen;
        s.screenUsable = screen && screen->isEnabled() && !QApplication::overrideCursor();
        seen << s;
        if (m_answer)
            m_answer(modal);
        // A user can only click a window that takes input; this one is closed regardless, so
        // that a failing case reports instead of hanging.
        QTimer::singleShot(0, modal, [this, modal] {
            QMetaObject::invokeMethod(modal, "accept");
            m_last = nullptr; // the same window may come up again
        });
    }

    QWidget* const* m_screen;
    std::function<void(QWidget*)> m_answer;
    QTimer m_timer;
    QPointer<QWidget> m_last;
};

QAction* toolbarKey(QWidget* screen, const char* key)
{
    return screen->findChild<QToolBar*>(QStringLiteral("tlbMain"))
        ->findChild<QAction*>(QString::fromLatin1(key));
}

QString statusText(QWidget* screen)
{
    return screen->findChild<QLabel*>(QStringLiteral("StatusBar1_Panel1"))->text();
}

// Deletes what was closed and scheduled for deletion.
void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace

// Closes a frame from the first progress of a load, as a user clicking its close button then.
class CloseOnProgress : public QObject
{
    Q_OBJECT
public:
    explicit CloseOnProgress(QWidget* frame) : m_frame(frame) {}
    bool closed = false;
    bool keptWhileLoading = false;
public slots:
    void progress()
    {
        if (closed)
            return;
        closed = true;
        m_frame->close();
        keptWhileLoading = m_frame && m_frame->isVisible();
    }

private:
    QPointer<QWidget> m_frame;
};

class tst_HostWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void refusalLeavesTheScreenUsable();
    void closedScreenUnloadsAndReopensFresh();
    void helpKeyAndRefusedRangeFocus();
    void windowsOpenInsideTheWorkspace();

private:
    void open(const char* action);
    QWidget* screenOf(const char* action);

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<HostSession> m_session;
    std::unique_ptr<HostObject> m_host;
    std::unique_ptr<MainWindow> m_window;
};

void tst_HostWindow::init()
{
    HostUi::setHeadless(false);
    m_db = std::make_unique<TestDatabase>("db_bills.sql");
    HostOptions options;
    options.dbFile = m_db->path();
    m_session = std::make_unique<HostSession>();
    QString error;
    QVERIFY2(m_session->openDatabase(options, &error) && m_session->loadModule(&error),
             qPrintable(error));
    m_host = std::make_unique<HostObject>(m_session->connection(), false, QStringLiteral("admin"));
    m_session->module()->ISubSystem_SetHost(m_host.get());
    m_window = std::make_unique<MainWindow>(m_session->moduleObject(), m_db->path(),
                                            QStringLiteral("admin"));
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void tst_HostWindow::cleanup()
{
    m_window->mdiArea()->closeAllSubWindows();
    settle();
    m_window.reset();
    m_host.reset();
    m_session.reset();
    m_db.reset();
}

void tst_HostWindow::open(const char* action)
{
    m_session->module()->ISubSystem_DoAction(QString::fromLatin1(action));
}

QWidget* tst_HostWindow::screenOf(const char* action)
{
    open(action);
    QMdiSubWindow* active = m_window->mdiArea()->activeSubWindow();
    return active ? active->widget() : nullptr;
}

// "(部分)" with no branch ticked, then 刷新: the message and then the picker come up over a
// usable screen (enabled, no wait cursor), and can themselves be used; afterwards the screen is
// idle as before (status line, no progress bar, grid untouched). A branch ticked in that picker
// then gives that branch's bills. The daily report's refusal (a business date outside the
// range) behaves the same way.
void tst_HostWindow::refusalLeavesTheScreenUsable()
{
    QWidget* screen = screenOf("DoBillQuery");
    QVERIFY(screen);
    screen->findChild<QDateEdit*>("dtpBegin")->setDate(QDate(2026, 3, 10));
    screen->findChild<QDateEdit*>("dtpEnd")->setDate(QDate(2026, 3, 11));
    auto* branch = screen->findChild<QComboBox*>("cboBranch");
    branch->setCurrentIndex(1); // "(部分)", the picker not opened
    const QString idle = statusText(screen);
    auto* grid = screen->findChild<QTableView*>("sprData");
    const int emptyRows = grid->model()->rowCount();

    bool tick = false;
    ModalWatcher watcher(&screen, [&tick](QWidget* modal) {
        if (auto* tree = modal->findChild<QTreeWidget*>("tvwBranch"); tree && tick)
            for (QTreeWidgetItem* item : tree->findItems("北京店", Qt::MatchRecursive))
                item->setCheckState(0, Qt::Checked);
    });
    toolbarKey(screen, "Refresh")->trigger();
    QTRY_COMPARE(watcher.seen.size(), 2);
    QCOMPARE(watcher.seen[0].kind, QStringLiteral("QMessageBox"));
    QVERIFY(watcher.seen[0].text.startsWith("请在分店列表中至少勾选一个分店"));
    QCOMPARE(watcher.seen[1].kind, QStringLiteral("frmBranch"));
    for (const Seen& s : watcher.seen) {
        QVERIFY2(s.usable, qPrintable(s.kind));
        QVERIFY2(s.screenUsable, qPrintable(s.kind));
    }
    QVERIFY(screen->isEnabled());
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(statusText(screen), idle);
    QVERIFY(screen->findChild<QProgressBar*>("ProgressBar1")->isHidden());
    QCOMPARE(grid->model()->rowCount(), emptyRows);

    // Usable: the picker's OK (and "(部分)" chosen again) with 北京店 ticked gives its bill B1
    // (B3 is deleted) and the totals row.
    tick = true;
    emit branch->activated(1);
    QTRY_COMPARE(watcher.seen.size(), 3);
    QVERIFY(watcher.seen[2].usable);
    toolbarKey(screen, "Refresh")->trigger();
    QCOMPARE(watcher.seen.size(), 3);
    QCOMPARE(grid->model()->rowCount(), 2);
    QCOMPARE(grid->model()->index(0, 0).data().toString(), QStringLiteral("B1"));
    QCOMPARE(statusText(screen), QStringLiteral("报表已经生成。"));

    // The daily report refuses a business date outside its range in the same way.
    screen = screenOf("DoDailyReport");
    QVERIFY(screen);
    screen->findChild<QDateEdit*>("dtpToday")->setDate(QDate::currentDate().addDays(1));
    toolbarKey(screen, "Refresh")->trigger();
    QTRY_COMPARE(watcher.seen.size(), 4);
    QCOMPARE(watcher.seen[3].kind, QStringLiteral("QMessageBox"));
    QVERIFY(watcher.seen[3].usable && watcher.seen[3].screenUsable);
    QVERIFY(screen->isEnabled());
}

// Each way of leaving a screen unloads it: its frame and the screen go, and opening the action
// again gives a fresh screen (today's dates, the empty grid) in one new frame, never two. The
// trend lines keep one screen per kind; closing one leaves the others. A screen closed while it
// loads stops the load and goes once the refresh is over.
void tst_HostWindow::closedScreenUnloadsAndReopensFresh()
{
    QMdiArea* area = m_window->mdiArea();
    QAction* closeAll = nullptr;
    for (QAction* menu : m_window->menuBar()->actions())
        if (menu->menu() && menu->text().startsWith(QStringLiteral("窗口")))
            closeAll = menu->menu()->actions().last();
    QVERIFY(closeAll);

    const QList<std::function<void(QWidget*)>> leave = {
        [](QWidget* screen) { toolbarKey(screen, "Exit")->trigger(); },
        [](QWidget* screen) { QTest::keyClick(screen, Qt::Key_Escape); },
        [](QWidget* screen) { screen->parentWidget()->close(); },
        [closeAll](QWidget*) { closeAll->trigger(); },
    };
    for (const auto& leaveScreen : leave) {
        QPointer<QWidget> screen = screenOf("DoBillQuery");
        QPointer<QWidget> frame = screen->parentWidget();
        auto* begin = screen->findChild<QDateEdit*>("dtpBegin");
        begin->setDate(QDate(2026, 3, 10));
        screen->findChild<QDateEdit*>("dtpEnd")->setDate(QDate(2026, 3, 11));
        QVERIFY(screen->metaObject()->invokeMethod(screen, "runRefresh"));
        QCOMPARE(screen->findChild<QTableView*>("sprData")->model()->rowCount(), 3);

        leaveScreen(screen);
        settle();
        QVERIFY(!screen && !frame);
        QVERIFY(area->subWindowList().isEmpty());

        QWidget* fresh = screenOf("doBILLquery");
        QCOMPARE(area->subWindowList().size(), 1);
        QCOMPARE(fresh->findChild<QDateEdit*>("dtpBegin")->date(), QDate::currentDate());
        QCOMPARE(fresh->findChild<QDateEdit*>("dtpEnd")->date(), QDate::currentDate());
        auto* grid = fresh->findChild<QTableView*>("sprData");
        QCOMPARE(grid->model()->rowCount(), 28); // the empty grid before a refresh
        QVERIFY(grid->model()->index(0, 0).data().toString().isEmpty());
        QCOMPARE(screenOf("DoBillQuery"), fresh); // open: the same screen again
        QCOMPARE(area->subWindowList().size(), 1);
        toolbarKey(fresh, "Exit")->trigger();
        settle();
    }

    // Trend lines: one screen per kind, each closed on its own.
    QPointer<QWidget> turnover = screenOf("DoTrendLine_SumToPay");
    QPointer<QWidget> guests = screenOf("DoTrendLine_PeopleCount");
    QVERIFY(turnover && guests && turnover != guests);
    QCOMPARE(area->subWindowList().size(), 2);
    QTest::keyClick(turnover, Qt::Key_Escape);
    settle();
    QVERIFY(!turnover && guests);
    QWidget* again = screenOf("DoTrendLine_SumToPay");
    QVERIFY(again != guests);
    QCOMPARE(area->subWindowList().size(), 2);
    QCOMPARE(screenOf("DoTrendLine_PeopleCount"), guests.data());
    area->closeAllSubWindows();
    settle();

    // Closing the frame while a load runs: the frame stays while the load stops, and goes with
    // the screen once the refresh is over.
    QPointer<QWidget> screen = screenOf("DoBillQuery");
    QPointer<QWidget> frame = screen->parentWidget();
    CloseOnProgress closer(frame);
    QVERIFY(QObject::connect(screen->findChild<QObject*>("ctlQuery1"), SIGNAL(Progress(int, int)),
                             &closer, SLOT(progress())));
    bool refreshed = true;
    QVERIFY(QMetaObject::invokeMethod(screen, "runRefresh", Q_RETURN_ARG(bool, refreshed)));
    QVERIFY(closer.closed && closer.keptWhileLoading);
    QVERIFY(!refreshed); // stopped
    QVERIFY(screen && frame && !frame->isVisible());
    settle();
    QVERIFY(!screen && !frame);
    QVERIFY(area->subWindowList().isEmpty());
}

// F1 opens the screen's help (as the toolbar's "Help" does) with the screen's caption; the
// full-screen viewer takes the keyboard; a reversed date range on the BOM report and on the
// member operation log, which give the end date the focus, moves it there.
void tst_HostWindow::helpKeyAndRefusedRangeFocus()
{
    QWidget* screen = nullptr;
    ModalWatcher watcher(&screen);
    for (const char* action : {"DoInventoryReport", "DoBillQuery"}) {
        screen = screenOf(action);
        QTest::keyClick(screen, Qt::Key_F1);
        QTRY_COMPARE(watcher.seen.size(), action[2] == 'I' ? 1 : 2);
        QCOMPARE(watcher.seen.last().kind, QStringLiteral("frmHelp"));
        QCOMPARE(watcher.seen.last().text, screen->windowTitle());
        QVERIFY(watcher.seen.last().usable);
    }

    // The full-screen viewer takes the keyboard: Esc closes it and leaves the screen open.
    screen = screenOf("DoBillQuery");
    toolbarKey(screen, "FullScreen")->trigger();
    QTRY_VERIFY(QApplication::activeWindow() &&
                QApplication::activeWindow()->objectName() == QStringLiteral("frmViewSpread"));
    QWidget* viewer = QApplication::activeWindow();
    QTest::keyClick(viewer->focusWidget() ? viewer->focusWidget() : viewer, Qt::Key_Escape);
    QTRY_VERIFY(!viewer->isVisible());
    QVERIFY(screen->isVisible());

    int refusals = 2;
    for (const char* action : {"DoBomReport", "DoMemberSummary"}) {
        screen = screenOf(action);
        auto* begin = screen->findChild<QDateEdit*>("dtpBegin");
        auto* end = screen->findChild<QDateEdit*>("dtpEnd");
        begin->setDate(QDate(2026, 3, 10));
        end->setDate(QDate(2026, 3, 9));
        begin->setFocus();
        QTest::keyClick(screen, Qt::Key_Return);
        ++refusals;
        QTRY_COMPARE(watcher.seen.size(), refusals);
        QCOMPARE(watcher.seen.last().text,
                 QStringLiteral("结束日期不能小于开始日期，请调整时间段！"));
        // The end date is where the keyboard goes in the screen's window.
        QCOMPARE(m_window->focusWidget(), end);
    }
}

// Screens opened one after another (a drilled list beside its report among them) are placed
// by the area beside each other; each one that fits the workspace opens wholly inside it.
void tst_HostWindow::windowsOpenInsideTheWorkspace()
{
    m_window->resize(1280, 800);
    settle();
    QMdiArea* area = m_window->mdiArea();
    for (const char* action : {"DoPaymentQuery", "DoTableReport", "DoHourReport", "DoBillQuery"}) {
        QWidget* screen = screenOf(action);
        QVERIFY(screen);
        settle();
        const QRect frame = screen->parentWidget()->geometry();
        const QRect room = area->viewport()->rect();
        if (frame.width() <= room.width() && frame.height() <= room.height())
            QVERIFY2(room.contains(frame), action);
    }
}

QTEST_MAIN(tst_HostWindow)
#include "tst_hostwindow.moc"
