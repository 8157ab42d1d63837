#pragma once

#include <QMainWindow>

class ISubSystem;
class QMdiArea;
class QMenu;

// The host's main window: the module's report screens open in its MDI area; its menu offers
// the module's actions, grouped as the module groups its reports.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    // `module` is the loaded module's entry object (ISubSystem, and ISubSystemStatus for the
    // list of its actions that the menu shows).
    MainWindow(QObject* module, const QString& databaseName, const QString& userId,
               QWidget* parent = nullptr);

    QMdiArea* mdiArea() const { return m_mdiArea; }
    QMenu* reportsMenu() const { return m_reportsMenu; }

    // A picture of the window with the report menu and its first group open (documentation).
    QImage menuPicture();

private:
    void buildMenus();

    QObject* m_moduleObject;
    ISubSystem* m_module;
    QMdiArea* m_mdiArea;
    QMenu* m_reportsMenu = nullptr;
};
