#pragma once

#include "framework/StatisticGroups.h"

#include <QDialog>

class QComboBox;
class QListWidget;
class QPushButton;
class QTextEdit;
class QTreeWidget;
class QTreeWidgetItem;
class LanguageSection;

// The statistic group settings: named groups of department types, menu types and menu items
// that the daily report totals together. Groups are added, renamed, deleted and reordered;
// their members are ticked in a tree of department types, their menu types and menu items.
// The group tables are created empty on first use.
class frmGroupType : public QDialog
{
    Q_OBJECT
public:
    explicit frmGroupType(QWidget* parent = nullptr);

    void ShowMe();
    // Loads tables, groups and tree without showing the window (ShowMe does this).
    void load();

    // The window's operations; each answers whether it changed anything.
    bool cmdAdd_Click();    // a group named by cboGroupTypeName
    bool cmdUpdate_Click(); // renames the selected group
    bool cmdDelete_Click(); // after confirmation
    bool cmdMoveUp_Click();
    bool cmdMoveDown_Click();
    void cmdEdit_Click();
    bool cmdSave_Click(); // the ticked nodes become the selected group's members
    void cmdCancel_Click();

    // Selects group i (counting from 0) in lstGroupTypes.
    void selectGroup(int row);
    QString selectedGroupId() const;
    // Ticks or clears the tree node with the key ("DepartTypeID:10", "MenuID:1001", ...).
    bool setNodeChecked(const QString& key, bool checked);
    bool isNodeChecked(const QString& key) const;
    QStringList groupNames() const;

    // Creates mn_GroupType and mn_GroupItem when missing.
    static void CreateTables(const ConnectionPtr& db);
    static const LanguageSection& texts();

private:
    void fillGroups(const QString& selectId = {});
    void fillTree();
    void showMembers();
    void setEditing(bool on);
    QTreeWidgetItem* node(const QString& key) const;

    StatisticGroups m_groups;
    QListWidget* lstGroupTypes;
    QTreeWidget* tvwMain;
    QTextEdit* txtGroupItems;
    QComboBox* cboGroupTypeName;
    QPushButton* cmdAdd;
    QPushButton* cmdUpdate;
    QPushButton* cmdDelete;
    QPushButton* cmdMoveUp;
    QPushButton* cmdMoveDown;
    QPushButton* cmdEdit;
    QPushButton* cmdSave;
    QPushButton* cmdCancel;
    QPushButton* cmdClose;
    QHash<QString, QTreeWidgetItem*> m_nodes;
    bool m_editing = false;
};
