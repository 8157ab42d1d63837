#include "ui/frmBranch.h"

#include "core/LanguageSection.h"
#include "core/modBranch.h"
#include "db/SqlText.h"
#include "framework/HostUi.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const QString kRootKey = QStringLiteral("root");
const QString kAreaPrefix = QStringLiteral("AreaID:");
const QString kBranchPrefix = QStringLiteral("BranchID:");
} // namespace

const LanguageSection& frmBranch::texts()
{
    static const LanguageSection kTexts(
        "frmBranch",
        {
            {"frmBranch", "Caption", "选择分店"},
            {"tvwBranch", "Root", "分店列表"},
            {"cmdOK", "Caption", "确定"},
            {"Msg_Branch_ToSelect", "Default", "请在分店列表中至少勾选一个分店，然后再刷新报表。"},
            {"Msg_Branch_Unknown", "Default", "“%1”不是您可以查看的分店，请从列表中选择分店。"},
            {"Msg_Branch_NoLonger", "Default", "条件中的分店“%1”您已不能查看，这组条件不能打开。"},
        });
    return kTexts;
}

frmBranch::frmBranch(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmBranch"));
    setModal(true);
    tvwBranch = new QTreeWidget(this);
    tvwBranch->setObjectName(QStringLiteral("tvwBranch"));
    tvwBranch->setHeaderHidden(true);
    tvwBranch->setColumnCount(1);
    cmdOK = new QPushButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tvwBranch, 1);
    layout->addLayout(buttons);
    resize(300, 380);

    texts().translate(this);
    buildTree();
    connect(tvwBranch, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (column != 0 || m_checking)
            return;
        m_checking = true;
        checkNode(item);
        m_checking = false;
    });
}

QTreeWidgetItem* frmBranch::addNode(QTreeWidgetItem* parent, const QString& key,
                                    const QString& text, bool group)
{
    if (m_nodes.contains(key))
        return nullptr; // a repeated key: the row is left out
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tvwBranch);
    item->setText(0, text);
    item->setData(0, Qt::UserRole, key);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, Qt::Unchecked);
    // Images "UserGroup" (root and areas) and "User" (branches).
    item->setIcon(0, style()->standardIcon(group ? QStyle::SP_DirIcon : QStyle::SP_FileIcon));
    m_nodes.insert(key, item);
    return item;
}

void frmBranch::buildTree()
{
    m_areas = GetAreas();
    m_branches = GetBranches(QStringLiteral("bi_Bill"));
    tvwBranch->clear();
    m_nodes.clear();
    QTreeWidgetItem* root = addNode(
        nullptr, kRootKey, texts().text(QStringLiteral("tvwBranch"), QStringLiteral("Root")), true);
    for (const RowDict& area : m_areas) {
        // A blank area id is no area: its branches hang directly under the root.
        const QString areaID = area.value(QStringLiteral("AreaID")).toString();
        if (areaID.trimmed().isEmpty())
            continue;
        if (QTreeWidgetItem* item =
                addNode(root, kAreaPrefix + areaID,
                        area.value(QStringLiteral("AreaName")).toString(), true))
            item->setExpanded(true);
    }
    for (const RowDict& branch : m_branches) {
        QTreeWidgetItem* parent =
            m_nodes.value(kAreaPrefix + branch.value(QStringLiteral("AreaID")).toString(), root);
        addNode(parent, kBranchPrefix + branch.value(QStringLiteral("BranchID")).toString(),
                branch.value(QStringLiteral("BranchName")).toString(), false);
    }
    root->setExpanded(true);
}

void frmBranch::ShowMe()
{
    if (!isVisible() && !HostUi::isHeadless())
        exec();
}

void frmBranch::checkNode(QTreeWidgetItem* node)
{
    if (!node)
        return;
    const bool guard = m_checking;
    m_checking = true;
    for (int i = 0; i < node->childCount(); ++i) {
        QTreeWidgetItem* child = node->child(i);
        child->setCheckState(0, node->checkState(0));
        checkNode(child);
    }
    if (node->checkState(0) == Qt::Checked) {
        const QString rootText =
            m_nodes.value(kRootKey) ? m_nodes.value(kRootKey)->text(0) : QString();
        QTreeWidgetItem* current = node;
        while (current->text(0) != rootText && current->parent()) {
            current = current->parent();
            current->setCheckState(0, Qt::Checked);
        }
    }
    m_checking = guard;
}

RowCollection frmBranch::getList() const
{
    RowCollection ticked;
    for (const RowDict& branch : m_branches) {
        const QTreeWidgetItem* item =
            m_nodes.value(kBranchPrefix + branch.value(QStringLiteral("BranchID")).toString());
        if (item && item->checkState(0) == Qt::Checked)
            ticked.append(branch);
    }
    return ticked;
}

QStringList frmBranch::ticked(const QString& column) const
{
    QStringList values;
    for (const RowDict& branch : getList())
        values.append(branch.value(column).toString());
    return values;
}

QStringList frmBranch::tickedIds() const
{
    return ticked(QStringLiteral("BranchID"));
}

QStringList frmBranch::tickedNames() const
{
    return ticked(QStringLiteral("BranchName"));
}

QString frmBranch::getBranchIDs() const
{
    return sqlQuotedList(tickedIds());
}

QString frmBranch::getBranchNames() const
{
    return sqlQuotedList(tickedNames());
}
