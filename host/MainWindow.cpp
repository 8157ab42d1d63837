#include "host/MainWindow.h"

#include "framework/HostUi.h"
#include "framework/ISubSystem.h"
#include "host/HostCaptions.h"

#include <QApplication>
#include <QHash>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>

#include <exception>

MainWindow::MainWindow(QObject* module, const QString& databaseName, const QString& userId,
                       QWidget* parent)
    : QMainWindow(parent), m_moduleObject(module), m_module(qobject_cast<ISubSystem*>(module)),
      m_mdiArea(new QMdiArea(this))
{
    setWindowTitle(HostCaptions::text(QStringLiteral("Host_Title")));
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    HostUi::setMdiArea(m_mdiArea);
    buildMenus();
    statusBar()->addWidget(
        new QLabel(HostCaptions::text(QStringLiteral("Status_Database")) + databaseName, this));
    statusBar()->addWidget(
        new QLabel(HostCaptions::text(QStringLiteral("Status_User")) + userId, this));
    resize(1200, 800);
}

void MainWindow::buildMenus()
{
    QMenu* system = menuBar()->addMenu(HostCaptions::text(QStringLiteral("Menu_System")));
    system->addAction(HostCaptions::text(QStringLiteral("Menu_Exit")), this, &QWidget::close);

    m_reportsMenu = menuBar()->addMenu(HostCaptions::text(QStringLiteral("Menu_Reports")));
    // The module's actions, each in its group's submenu, groups in the order they first come.
    const auto* status = qobject_cast<ISubSystemStatus*>(m_moduleObject);
    QHash<QString, QMenu*> groups;
    for (const SubSystemAction& a :
         status ? status->ISubSystem_Actions() : QList<SubSystemAction>()) {
        QMenu*& sub = groups[a.group];
        if (!sub)
            sub = m_reportsMenu->addMenu(HostCaptions::text(a.group));
        const QString action = a.name;
        {
            sub->addAction(HostCaptions::text(action), this, [this, action] {
                try {
                    m_module->ISubSystem_DoAction(action);
                } catch (const std::exception& e) {
                    HostUi::messageBox(this, QMessageBox::Warning, windowTitle(),
                                       QString::fromLocal8Bit(e.what()));
                }
            });
        }
    }

    QMenu* window = menuBar()->addMenu(HostCaptions::text(QStringLiteral("Menu_Window")));
    window->addAction(HostCaptions::text(QStringLiteral("Menu_Cascade")), m_mdiArea,
                      &QMdiArea::cascadeSubWindows);
    window->addAction(HostCaptions::text(QStringLiteral("Menu_Tile")), m_mdiArea,
                      &QMdiArea::tileSubWindows);
    window->addAction(HostCaptions::text(QStringLiteral("Menu_CloseAll")), m_mdiArea,
                      &QMdiArea::closeAllSubWindows);
}

QImage MainWindow::menuPicture()
{
    // Popup menus are windows of their own: grab the main window, open the menu and its first
    // group, and paint their pictures where they appear.
    setAttribute(Qt::WA_DontShowOnScreen);
    show();
    QApplication::processEvents();
    QImage picture = grab().toImage();
    QPainter painter(&picture);
    QAction* reports = m_reportsMenu->menuAction();
    menuBar()->setActiveAction(reports);
    QApplication::processEvents();
    const QPoint menuAt = menuBar()->mapTo(this, menuBar()->actionGeometry(reports).bottomLeft());
    m_reportsMenu->popup(mapToGlobal(menuAt));
    QApplication::processEvents();
    QMenu* first = m_reportsMenu->actions().first()->menu();
    m_reportsMenu->setActiveAction(m_reportsMenu->actions().first());
    QApplication::processEvents();
    painter.drawPixmap(menuBar()->mapTo(this, QPoint(0, 0)), menuBar()->grab());
    painter.drawPixmap(menuAt, m_reportsMenu->grab());
    const QRect firstItem = m_reportsMenu->actionGeometry(m_reportsMenu->actions().first());
    const QPoint subAt = menuAt + QPoint(m_reportsMenu->width() - 2, firstItem.top());
    first->ensurePolished();
    first->adjustSize();
    painter.drawPixmap(subAt, first->grab());
    painter.end();
    m_reportsMenu->hide();
    return picture;
}
