#pragma once

#include "core/mod_ADO.h"

#include <QDialog>
#include <QHash>

class LanguageSection;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The branch picker: a tree of the user's areas and branches with a check box per node
// (root "分店列表", key "root"; areas "AreaID:<id>"; branches "BranchID:<id>", under their
// area or, when the area is not listed, under the root). Ticking a node ticks its subtree and
// every ancestor; clearing a node clears its subtree only.
//
// One picker per report screen, created on first use. Closing it (close button, Esc, OK) only
// hides it: the check marks stay for the next query and the next opening.
class frmBranch : public QDialog
{
    Q_OBJECT
public:
    // Builds the tree from GetAreas() and GetBranches("bi_Bill").
    explicit frmBranch(QWidget* parent = nullptr);

    // Shows the picker modally unless it is already visible (never in headless runs).
    void ShowMe();

    // The ticked branches, in the order of the branch rows.
    RowCollection getList() const;
    QString getBranchIDs() const;   // "'1','3'"; empty when nothing is ticked
    QString getBranchNames() const; // "'东门店','西门店'"
    // The same as values: the ticked branches' ids and names.
    QStringList tickedIds() const;
    QStringList tickedNames() const;

    // Propagates `node`'s check mark down to its subtree and, when ticked, up to the root.
    void checkNode(QTreeWidgetItem* node);

    QTreeWidgetItem* node(const QString& key) const { return m_nodes.value(key); }
    QTreeWidget* tree() const { return tvwBranch; }

    static const LanguageSection& texts();

private:
    void buildTree();
    QTreeWidgetItem* addNode(QTreeWidgetItem* parent, const QString& key, const QString& text,
                             bool group);
    QStringList ticked(const QString& column) const;

    QTreeWidget* tvwBranch;
    QPushButton* cmdOK;
    RowCollection m_areas;
    RowCollection m_branches;
    QHash<QString, QTreeWidgetItem*> m_nodes;
    bool m_checking = false;
};
