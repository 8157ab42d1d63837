#include "core/mod_ADO.h"
#include "framework/HostUi.h"
#include "reports/periods/frmGroupType.h"
#include "tests/support/TestDatabase.h"

#include <QComboBox>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>

namespace {

// mn_GroupItem as "group:kind:item" lines, sorted.
QStringList storedMembers()
{
    QStringList lines;
    for (const RowDict& r : ExecuteRows("select * from mn_GroupItem"))
        lines << r.value("GroupTypeID").toString() + ":" + r.value("GroupItemType").toString() +
                     ":" + r.value("GroupItemID").toString();
    lines.sort();
    return lines;
}

} // namespace

class TestGroupType : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        HostUi::setHeadless(true);
        HostUi::setHeadlessYes(true); // the test confirms as a user at the window would
    }

    void groupsAndMembers()
    {
        TestDatabase db("daily_report.sql");
        db.install();
        db.run("DROP TABLE mn_GroupType; DROP TABLE mn_GroupItem");
        HostUi::setHeadlessYes(false); // a headless run without --yes creates nothing
        frmGroupType(nullptr).load();
        QVERIFY(!TableExists("mn_GroupType"));
        HostUi::setHeadlessYes(true);
        frmGroupType window;
        window.ShowMe();
        QVERIFY(TableExists("mn_GroupType") && TableExists("mn_GroupItem"));

        // The tree: department types, their menu types, their dishes.
        auto* tree = window.findChild<QTreeWidget*>("tvwMain");
        QCOMPARE(tree->topLevelItemCount(), 2);
        QCOMPARE(tree->topLevelItem(0)->text(0), QString("热菜"));
        QCOMPARE(tree->topLevelItem(0)->childCount(), 2);
        QCOMPARE(tree->topLevelItem(1)->child(0)->child(1)->text(0), QString("燕京啤酒"));

        auto* name = window.findChild<QComboBox*>("cboGroupTypeName");
        name->setEditText("主食组");
        QVERIFY(window.cmdAdd_Click());
        name->setEditText("酒水组");
        QVERIFY(window.cmdAdd_Click());
        name->setEditText("主食组");
        QVERIFY(!window.cmdAdd_Click()); // the name exists
        QCOMPARE(window.groupNames(), QStringList({"主食组", "酒水组"}));
        QVERIFY(window.cmdMoveUp_Click()); // 酒水组 is selected after adding
        QCOMPARE(window.groupNames(), QStringList({"酒水组", "主食组"}));
        QVERIFY(!window.cmdMoveUp_Click());
        name->setEditText("主食组");
        QVERIFY(!window.cmdUpdate_Click()); // another group has that name
        name->setEditText("饮品组");
        QVERIFY(window.cmdUpdate_Click());
        QCOMPARE(window.groupNames(), QStringList({"饮品组", "主食组"}));

        // Members: ticked in edit mode, stored per kind, shown under their headings.
        const QString drinks = window.selectedGroupId();
        QVERIFY(!tree->isEnabled());
        window.cmdEdit_Click();
        QVERIFY(tree->isEnabled());
        QVERIFY(window.setNodeChecked("DepartTypeID:D2", true));
        QVERIFY(window.setNodeChecked("MenuID:M2", true));
        QVERIFY(window.cmdSave_Click());
        QCOMPARE(storedMembers(), QStringList({drinks + ":DepartType:D2", drinks + ":Menu:M2"}));
        QCOMPARE(window.findChild<QTextEdit*>("txtGroupItems")->toPlainText(),
                 QString("【参与统计的部门类别】\n    酒水\n【参与统计的菜品类别】\n    (无)\n"
                         "【参与统计的菜品列表】\n    米饭"));
        window.cmdEdit_Click();
        window.setNodeChecked("MenuID:M2", false);
        window.cmdCancel_Click();
        QVERIFY(window.isNodeChecked("MenuID:M2"));
        window.selectGroup(1);
        QVERIFY(!window.isNodeChecked("MenuID:M2"));
        window.selectGroup(0);
        HostUi::setHeadlessYes(false);
        QVERIFY(!window.cmdDelete_Click()); // declined without --yes
        QCOMPARE(window.groupNames().size(), 2);
        HostUi::setHeadlessYes(true);
        QVERIFY(window.cmdDelete_Click()); // confirmed
        QCOMPARE(window.groupNames(), QStringList({"主食组"}));
        QVERIFY(storedMembers().isEmpty());
    }
};

QTEST_MAIN(TestGroupType)
#include "tst_grouptype.moc"
