#include "reports/periods/frmGroupType.h"

#include "core/HostContext.h"
#include "core/LanguageSection.h"
#include "core/modMessage.h"
#include "core/mod_ADO.h"
#include "db/Recordset.h"
#include "framework/DataList.h"
#include "framework/HostUi.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const LanguageSection
    kTexts("frmGroupType", {
                               {"frmGroupType", "Caption", "统计项目设置"},
                               {"lblGroupTypeName", "Caption", "统计项目:"},
                               {"cmdAdd", "Caption", "添加"},
                               {"cmdUpdate", "Caption", "修改"},
                               {"cmdDelete", "Caption", "删除"},
                               {"cmdMoveUp", "Caption", "上移"},
                               {"cmdMoveDown", "Caption", "下移"},
                               {"cmdEdit", "Caption", "编辑"},
                               {"cmdSave", "Caption", "保存"},
                               {"cmdCancel", "Caption", "取消"},
                               {"cmdClose", "Caption", "关闭"},
                               {"Msg_Add_Exist", "Default", "统计项目的名称不能重复！"},
                               {"Msg_Add_Fault", "Default", "统计项目添加失败！"},
                               {"Msg_Delete_Confirm", "Default", "确定要删除统计项目：{Name} 吗？"},
                               {"Msg_Update_Exist", "Default", "统计项目的名称不能重复！"},
                               {"Msg_Update_Fault", "Default", "统计项目修改失败！"},
                               {"Msg_DepartType", "Default", "【参与统计的部门类别】"},
                               {"Msg_MenuType", "Default", "【参与统计的菜品类别】"},
                               {"Msg_Menu", "Default", "【参与统计的菜品列表】"},
                               {"Msg_None", "Default", "(无)"},
                           });

QString msgText(const char* key)
{
    return kTexts.text(QString::fromLatin1(key), QStringLiteral("Default"));
}

// The member kinds: group item type, tree key prefix, heading.
struct Kind
{
    const char* type;
    const char* prefix;
    const char* heading;
};
const Kind Kinds[3] = {{"DepartType", "DepartTypeID:", "Msg_DepartType"},
                       {"MenuType", "MenuTypeID:", "Msg_MenuType"},
                       {"Menu", "MenuID:", "Msg_Menu"}};

} // namespace

const LanguageSection& frmGroupType::texts()
{
    return kTexts;
}

frmGroupType::frmGroupType(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmGroupType"));
    setWindowTitle(QStringLiteral("统计项目设置"));
    resize(760, 520);
    auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    auto* lblGroupTypeName = new QLabel(QStringLiteral("统计项目:"), this);
    lblGroupTypeName->setObjectName(QStringLiteral("lblGroupTypeName"));
    cboGroupTypeName = new QComboBox(this);
    cboGroupTypeName->setObjectName(QStringLiteral("cboGroupTypeName"));
    cboGroupTypeName->setEditable(true);
    cboGroupTypeName->setInsertPolicy(QComboBox::NoInsert);
    lstGroupTypes = new QListWidget(this);
    lstGroupTypes->setObjectName(QStringLiteral("lstGroupTypes"));
    tvwMain = new QTreeWidget(this);
    tvwMain->setObjectName(QStringLiteral("tvwMain"));
    tvwMain->setHeaderHidden(true);
    txtGroupItems = new QTextEdit(this);
    txtGroupItems->setObjectName(QStringLiteral("txtGroupItems"));
    txtGroupItems->setReadOnly(true);
    cmdAdd = button("cmdAdd", "添加");
    cmdUpdate = button("cmdUpdate", "修改");
    cmdDelete = button("cmdDelete", "删除");
    cmdMoveUp = button("cmdMoveUp", "上移");
    cmdMoveDown = button("cmdMoveDown", "下移");
    cmdEdit = button("cmdEdit", "编辑");
    cmdSave = button("cmdSave", "保存");
    cmdCancel = button("cmdCancel", "取消");
    cmdClose = button("cmdClose", "关闭");
    for (QPushButton* b : {cmdAdd, cmdUpdate, cmdDelete, cmdMoveUp, cmdMoveDown, cmdSave})
        b->setProperty(HostUi::WritesDatabase, true); // a headless run presses them with --yes

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(lblGroupTypeName);
    nameRow->addWidget(cboGroupTypeName, 1);
    auto* groupButtons = new QGridLayout;
    groupButtons->addWidget(cmdAdd, 0, 0);
    groupButtons->addWidget(cmdUpdate, 0, 1);
    groupButtons->addWidget(cmdDelete, 0, 2);
    groupButtons->addWidget(cmdMoveUp, 1, 0);
    groupButtons->addWidget(cmdMoveDown, 1, 1);
    auto* left = new QVBoxLayout;
    left->addLayout(nameRow);
    left->addWidget(lstGroupTypes, 1);
    left->addLayout(groupButtons);
    left->addWidget(txtGroupItems, 1);
    auto* treeButtons = new QHBoxLayout;
    treeButtons->addWidget(cmdEdit);
    treeButtons->addWidget(cmdSave);
    treeButtons->addWidget(cmdCancel);
    treeButtons->addStretch(1);
    treeButtons->addWidget(cmdClose);
    auto* right = new QVBoxLayout;
    right->addWidget(tvwMain, 1);
    right->addLayout(treeButtons);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 2);
    layout->addLayout(right, 3);

    kTexts.translate(this);

    connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
    connect(cmdUpdate, &QPushButton::clicked, this, [this] { cmdUpdate_Click(); });
    connect(cmdDelete, &QPushButton::clicked, this, [this] { cmdDelete_Click(); });
    connect(cmdMoveUp, &QPushButton::clicked, this, [this] { cmdMoveUp_Click(); });
    connect(cmdMoveDown, &QPushButton::clicked, this, [this] { cmdMoveDown_Click(); });
    connect(cmdEdit, &QPushButton::clicked, this, &frmGroupType::cmdEdit_Click);
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &frmGroupType::cmdCancel_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(lstGroupTypes, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            cboGroupTypeName->setEditText(lstGroupTypes->item(row)->text());
        if (m_editing)
            setEditing(false);
        showMembers();
    });
}

void frmGroupType::CreateTables(const ConnectionPtr& db)
{
    auto run = [&](const QString& sql) {
        try {
            db->executeNonQuery(sql);
        } catch (const SqlError&) {
        }
    };
    if (!TableExists(QStringLiteral("mn_GroupType")))
        run(QStringLiteral(" SELECT SpecailTypeID AS GroupTypeID, ") +
            QStringLiteral("        SpecailTypeName AS GroupTypeName, ") +
            QStringLiteral("        ListIndex ") + QStringLiteral("   INTO mn_GroupType ") +
            QStringLiteral("   FROM mn_SpecailType ") + QStringLiteral("  WHERE 1<>1 "));
    if (!TableExists(QStringLiteral("mn_GroupItem")))
        run(QStringLiteral(" SELECT SpecailTypeID AS GroupTypeID, ") +
            QStringLiteral("        SpecailTypeID AS GroupItemID, ") +
            QStringLiteral("        SpecailTypeName AS GroupItemType ") +
            QStringLiteral("   INTO mn_GroupItem ") + QStringLiteral("   FROM mn_SpecailType ") +
            QStringLiteral("  WHERE 1<>1 "));
}

void frmGroupType::ShowMe()
{
    load();
    // A headless run gets the window as a user would, shown where no one sees it.
    setAttribute(Qt::WA_DontShowOnScreen, HostUi::isHeadless());
    show();
}

void frmGroupType::load()
{
    const ConnectionPtr db = hostContext().connection();
    if (HostUi::mayWrite()) // a headless run changes nothing without --yes
        CreateTables(db);
    m_groups = StatisticGroups(db);
    fillTree();
    fillGroups();
    setEditing(false);
}

void frmGroupType::fillGroups(const QString& selectId)
{
    m_groups.load();
    const QSignalBlocker block(lstGroupTypes);
    lstGroupTypes->clear();
    cboGroupTypeName->clear();
    for (int i = 1; i <= m_groups.Count(); ++i) {
        lstGroupTypes->addItem(m_groups.item(i).name);
        cboGroupTypeName->addItem(m_groups.item(i).name);
    }
    const int index = selectId.isEmpty() ? 0 : m_groups.indexOf(selectId) - 1;
    if (m_groups.Count() > 0)
        lstGroupTypes->setCurrentRow(std::clamp(index, 0, m_groups.Count() - 1));
    cboGroupTypeName->setEditText(
        lstGroupTypes->currentItem() ? lstGroupTypes->currentItem()->text() : QString());
    showMembers();
}

void frmGroupType::fillTree()
{
    const ConnectionPtr db = hostContext().connection();
    tvwMain->clear();
    m_nodes.clear();
    auto add = [this](QTreeWidgetItem* parent, const QString& key, const QString& text) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tvwMain);
        item->setText(0, text);
        item->setData(0, Qt::UserRole, key);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Unchecked);
        m_nodes.insert(key, item);
        return item;
    };
    DataList departTypes(DataList::DepartTypes, db);
    departTypes.initialise(1, 1);
    departTypes.load();
    for (int i = 1; i <= departTypes.Count(); ++i)
        add(nullptr, QStringLiteral("DepartTypeID:") + departTypes.item(i).id,
            departTypes.item(i).Name);
    DataList menuTypes(DataList::MenuTypes, db);
    menuTypes.initialise(1, 1);
    menuTypes.load();
    for (int i = 1; i <= menuTypes.Count(); ++i) {
        const DataListItem& t = menuTypes.item(i);
        add(m_nodes.value(QStringLiteral("DepartTypeID:") +
                          t.attribute(QStringLiteral("DepartTypeID"))),
            QStringLiteral("MenuTypeID:") + t.id, t.Name);
    }
    try {
        auto rs = db->execute(
            QStringLiteral(" SELECT MenuID, MenuName, MenuTypeID FROM mn_Menu ORDER BY MenuID "));
        for (; !rs->atEnd(); rs->moveNext())
            add(m_nodes.value(QStringLiteral("MenuTypeID:") +
                              rs->value(QStringLiteral("MenuTypeID")).toString()),
                QStringLiteral("MenuID:") + rs->value(QStringLiteral("MenuID")).toString(),
                rs->value(QStringLiteral("MenuName")).toString());
    } catch (const SqlError&) {
    }
}

QTreeWidgetItem* frmGroupType::node(const QString& key) const
{
    return m_nodes.value(key);
}

bool frmGroupType::setNodeChecked(const QString& key, bool checked)
{
    QTreeWidgetItem* item = node(key);
    if (!item)
        return false;
    item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    return true;
}

bool frmGroupType::isNodeChecked(const QString& key) const
{
    const QTreeWidgetItem* item = node(key);
    return item && item->checkState(0) == Qt::Checked;
}

QStringList frmGroupType::groupNames() const
{
    QStringList names;
    for (int i = 0; i < lstGroupTypes->count(); ++i)
        names << lstGroupTypes->item(i)->text();
    return names;
}

void frmGroupType::selectGroup(int row)
{
    lstGroupTypes->setCurrentRow(row);
}

QString frmGroupType::selectedGroupId() const
{
    const int row = lstGroupTypes->currentRow();
    return row >= 0 ? m_groups.item(row + 1).id : QString();
}

void frmGroupType::showMembers()
{
    for (QTreeWidgetItem* item : std::as_const(m_nodes))
        item->setCheckState(0, Qt::Unchecked);
    const QString id = selectedGroupId();
    QStringList lines;
    for (const Kind& kind : Kinds) {
        lines << msgText(kind.heading);
        const QStringList members =
            id.isEmpty() ? QStringList() : m_groups.members(id, QString::fromLatin1(kind.type));
        QStringList names;
        for (const QString& member : members) {
            QTreeWidgetItem* item = node(QString::fromLatin1(kind.prefix) + member);
            if (item) {
                item->setCheckState(0, Qt::Checked);
                names << QStringLiteral("    ") + item->text(0);
            }
        }
        if (names.isEmpty())
            names << QStringLiteral("    ") + msgText("Msg_None");
        lines << names;
    }
    txtGroupItems->setPlainText(lines.join(QLatin1Char('\n')));
}

void frmGroupType::setEditing(bool on)
{
    m_editing = on;
    tvwMain->setEnabled(on);
    cmdSave->setEnabled(on);
    cmdCancel->setEnabled(on);
    cmdEdit->setEnabled(!on);
    for (QWidget* w : {static_cast<QWidget*>(lstGroupTypes), static_cast<QWidget*>(cmdAdd),
                       static_cast<QWidget*>(cmdUpdate), static_cast<QWidget*>(cmdDelete),
                       static_cast<QWidget*>(cmdMoveUp), static_cast<QWidget*>(cmdMoveDown)})
        w->setEnabled(!on);
}

bool frmGroupType::cmdAdd_Click()
{
    const QString name = cboGroupTypeName->currentText().trimmed();
    if (name.isEmpty())
        return false;
    if (m_groups.nameExists(name)) {
        MsgBox(msgText("Msg_Add_Exist"), QMessageBox::Information, QMessageBox::Ok, this);
        return false;
    }
    const QString id = m_groups.add(name);
    if (id.isEmpty()) {
        MsgBox(msgText("Msg_Add_Fault"), QMessageBox::Information, QMessageBox::Ok, this);
        return false;
    }
    fillGroups(id);
    return true;
}

bool frmGroupType::cmdUpdate_Click()
{
    const QString id = selectedGroupId();
    const QString name = cboGroupTypeName->currentText().trimmed();
    if (id.isEmpty() || name.isEmpty())
        return false;
    if (m_groups.nameExists(name, id)) {
        MsgBox(msgText("Msg_Update_Exist"), QMessageBox::Information, QMessageBox::Ok, this);
        return false;
    }
    if (!m_groups.rename(id, name)) {
        MsgBox(msgText("Msg_Update_Fault"), QMessageBox::Information, QMessageBox::Ok, this);
        return false;
    }
    fillGroups(id);
    return true;
}

bool frmGroupType::cmdDelete_Click()
{
    const QString id = selectedGroupId();
    if (id.isEmpty())
        return false;
    const QString question =
        msgText("Msg_Delete_Confirm")
            .replace(QStringLiteral("{Name}"), lstGroupTypes->currentItem()->text());
    if (HostUi::messageBox(this, QMessageBox::Question, Msg(QStringLiteral("Msg_Title")), question,
                           QMessageBox::Yes | QMessageBox::No,
                           QMessageBox::Yes) != QMessageBox::Yes)
        return false;
    if (!m_groups.remove(id))
        return false;
    fillGroups();
    return true;
}

bool frmGroupType::cmdMoveUp_Click()
{
    const QString id = selectedGroupId();
    if (id.isEmpty() || !m_groups.move(id, -1))
        return false;
    fillGroups(id);
    return true;
}

bool frmGroupType::cmdMoveDown_Click()
{
    const QString id = selectedGroupId();
    if (id.isEmpty() || !m_groups.move(id, +1))
        return false;
    fillGroups(id);
    return true;
}

void frmGroupType::cmdEdit_Click()
{
    if (!selectedGroupId().isEmpty())
        setEditing(true);
}

bool frmGroupType::cmdSave_Click()
{
    const QString id = selectedGroupId();
    if (!m_editing || id.isEmpty())
        return false;
    bool ok = true;
    for (const Kind& kind : Kinds) {
        const QString prefix = QString::fromLatin1(kind.prefix);
        QStringList ids;
        for (auto it = m_nodes.cbegin(); it != m_nodes.cend(); ++it)
            if (it.key().startsWith(prefix) && it.value()->checkState(0) == Qt::Checked)
                ids << it.key().mid(prefix.size());
        ids.sort();
        ok = m_groups.setMembers(id, QString::fromLatin1(kind.type), ids) && ok;
    }
    setEditing(false);
    showMembers();
    return ok;
}

void frmGroupType::cmdCancel_Click()
{
    setEditing(false);
    showMembers();
}
