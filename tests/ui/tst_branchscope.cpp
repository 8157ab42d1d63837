// Branch and area scope over a real SQLite database built from the schema: the source chain of
// the branch list, privilege filtering by user and group, the SQL conditions, the branch combo,
// and the branch picker's check marks.
#include "core/HostContext.h"
#include "core/modBranch.h"
#include "core/modMessage.h"
#include "framework/HostUi.h"
#include "query/BranchScope.h"
#include "tests/support/TestDatabase.h"
#include "ui/BranchCriterion.h"
#include "ui/CriteriaControl.h"
#include "ui/DropDownComboBox.h"
#include "ui/frmBranch.h"

#include <QComboBox>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

namespace {
QStringList column(const RowCollection& rows, const char* name)
{
    QStringList values;
    for (const RowDict& row : rows)
        values.append(row.value(QString::fromLatin1(name)).toString());
    return values;
}

QStringList comboItems(const QComboBox& combo)
{
    QStringList items;
    for (int i = 0; i < combo.count(); ++i)
        items.append(combo.itemText(i));
    return items;
}
} // namespace

class BranchScopeTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;

    void exec(const QString& sql)
    {
        QSqlQuery query(hostContext().Connection->database());
        QVERIFY2(query.exec(sql), qPrintable(sql));
    }
    void setPrivileges(const QStringList& branchRows, const QStringList& areaRows)
    {
        exec(QStringLiteral("delete from rpt_pv_Branch"));
        exec(QStringLiteral("delete from rpt_pv_Area"));
        for (const QString& row : branchRows)
            exec(QStringLiteral("insert into rpt_pv_Branch (UserID, BranchID) values (%1)")
                     .arg(row));
        for (const QString& row : areaRows)
            exec(QStringLiteral("insert into rpt_pv_Area (UserID, AreaID) values (%1)").arg(row));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        hostContext().Connection = Connection::openSqlite(m_dir.filePath(QStringLiteral("t.db")));
        QFile schema(QStringLiteral(VTX_SOURCE_DIR "/data/schema/sqlite.sql"));
        QVERIFY(schema.open(QIODevice::ReadOnly));
        for (const QString& statement :
             QString::fromUtf8(schema.readAll()).split(QLatin1Char(';'))) {
            QString sql;
            for (const QString& line : statement.split(QLatin1Char('\n')))
                if (!line.trimmed().startsWith(QLatin1String("--")))
                    sql += line + QLatin1Char('\n');
            if (!sql.trimmed().isEmpty())
                exec(sql);
        }
        exec(QStringLiteral(
            "insert into rpt_dd_Branch (BranchID, BranchName, AreaID, AreaName) values "
            "('01','东门店','A1','东区'),('02','西门店','A2','西区'),"
            "('03','南门店','A1','东区'),('04','北门店','A9','北区')"));
        hostContext().UserID = QStringLiteral("u1");
        hostContext().UserGroupID = QStringLiteral("g1");
    }

    void cleanupTestCase() { hostContext().Connection.reset(); }

    void sourceChain()
    {
        setPrivileges({}, {});
        QCOMPARE(column(GetBranches(QStringLiteral("bi_Bill")), "BranchID"),
                 QStringList({"01", "02", "03", "04"}));
        QCOMPARE(column(GetAreas(), "AreaName"), QStringList({"东区", "西区", "北区"}));

        // Without the report branch list: the maintenance list, then the dictionary, then the
        // bills themselves; areas from the maintenance area list.
        exec(QStringLiteral("create table saved_rpt as select * from rpt_dd_Branch"));
        exec(QStringLiteral("delete from rpt_dd_Branch"));
        exec(QStringLiteral(
            "insert into mnt_dd_Branch values ('21','Harbour','B1'),('20','Airport','B1')"));
        exec(QStringLiteral("insert into mnt_dd_Area values ('B2','Outer'),('B1','Coast')"));
        exec(QStringLiteral("insert into dd_Branch values ('31','Dictionary')"));
        QCOMPARE(column(GetBranches(QStringLiteral("bi_Bill")), "BranchName"),
                 QStringList({"Airport", "Harbour"}));
        QCOMPARE(column(GetAreas(), "AreaID"), QStringList({"B1", "B2"}));
        exec(QStringLiteral("delete from mnt_dd_Branch"));
        QCOMPARE(column(GetBranches(QStringLiteral("bi_Bill")), "BranchName"),
                 QStringList({"Dictionary"}));
        // A missing table counts as empty as well.
        exec(QStringLiteral("drop table dd_Branch"));
        exec(QStringLiteral("insert into bi_Bill (BillID, BranchID, BranchName) values "
                            "('b1','42','Mall'),('b2','41','Station'),('b3','42','Mall')"));
        const RowCollection fromBills = GetBranches(QStringLiteral("bi_Bill"));
        QCOMPARE(column(fromBills, "BranchID"), QStringList({"41", "42"}));
        QCOMPARE(column(fromBills, "BranchName"), QStringList({"Station", "Mall"}));

        exec(QStringLiteral("insert into rpt_dd_Branch select * from saved_rpt"));
        exec(QStringLiteral("delete from mnt_dd_Area"));
    }

    void privileges()
    {
        const QString base = QStringLiteral("select * from bi_Bill BL where 1=1");

        // No privilege rows: everything, and no condition.
        setPrivileges({}, {});
        QString sql = base;
        AppendBranchFilter(sql, QStringLiteral("BL.BranchID"));
        AppendBranchNameFilter(sql, QStringLiteral("StockName"));
        QCOMPARE(sql, base);

        // Rows for someone else only: nothing is visible and the report returns nothing.
        setPrivileges({"'u9','01'"}, {"'u9','A1'"});
        QVERIFY(GetBranches(QStringLiteral("bi_Bill")).isEmpty());
        QVERIFY(GetAreas().isEmpty());
        sql = base;
        AppendBranchFilter(sql, QStringLiteral("BranchID"));
        QCOMPARE(sql, base + " and 1<>1 ");
        sql = base;
        AppendBranchNameFilter(sql, QStringLiteral("StockName"));
        QCOMPARE(sql, base + " and 1<>1 ");
        QComboBox combo;
        combo.addItems(
            {Msg(QStringLiteral("Msg_ComboBox_All")), Msg(QStringLiteral("Msg_ComboBox_Part"))});
        FillBranchCombo(&combo, QStringLiteral("bi_Bill"));
        QCOMPARE(comboItems(combo), QStringList({"(全部)", "(部分)"}));
        QCOMPARE(combo.property("Tag").toString(), QStringLiteral("Loaded"));

        // Rows by group and by user: the union, each branch listed once; the id list repeats.
        setPrivileges({"'g1','02'", "'u1','02'", "'u1','03'", "'u9','01'"}, {"'g1','A1'"});
        QCOMPARE(column(GetBranches(QStringLiteral("bi_Bill")), "BranchName"),
                 QStringList({"西门店", "南门店"}));
        QCOMPARE(column(GetAreas(), "AreaID"), QStringList({"A1"}));
        sql = base;
        AppendBranchFilter(sql, QStringLiteral("BL.BranchID"));
        QCOMPARE(sql, base + " and BL.BranchID in ( '02','02','03' ) ");
        sql = base;
        AppendBranchNameFilter(sql, QStringLiteral("StockName"));
        QCOMPARE(sql, base + " and StockName in ( '西门店','南门店' ) ");

        // The combo is filled once: a later privilege change shows after a reload only.
        QComboBox branches;
        branches.addItems({"(全部)", "(部分)"});
        FillBranchCombo(&branches, QStringLiteral("bi_Bill"));
        setPrivileges({}, {});
        FillBranchCombo(&branches, QStringLiteral("bi_Bill"));
        QCOMPARE(comboItems(branches), QStringList({"(全部)", "(部分)", "西门店", "南门店"}));

        // Blank texts and exact repeats are skipped; letter case counts.
        QComboBox other;
        FillComboFromRows(
            &other,
            {{{"N", "Mall"}}, {{"N", "  "}}, {{"N", "Mall"}}, {{"N", "mall"}}, {{"X", "a"}}},
            QStringLiteral("N"));
        QCOMPARE(comboItems(other), QStringList({"Mall", "mall"}));
    }

    // A privilege table that exists but cannot be read grants nothing: the lists are empty,
    // the statements cannot be built (the report is refused with the database's reason). A
    // missing table still grants everything.
    void unreadablePrivilegesGrantNothing()
    {
        const ConnectionPtr shared = hostContext().Connection;
        TestDatabase db;
        db.run("insert into rpt_dd_Branch (BranchID, BranchName, AreaID, AreaName) values "
               "('01','东门店','A1','东区'),('02','西门店','A2','西区');"
               "insert into rpt_pv_Branch values ('u1','01'); "
               "insert into rpt_pv_Area values ('u1','A1');");
        QTemporaryDir dir;
        const QString damaged = dir.filePath("damaged.db");
        db.writeDamagedCopy(damaged, "rpt_pv_Branch");
        hostContext().Connection = Connection::openSqlite(damaged);
        QVERIFY(GetBranches(QStringLiteral("bi_Bill")).isEmpty());
        QCOMPARE(column(GetAreas(), "AreaID"), QStringList({"A1"}));
        QVERIFY_THROWS_EXCEPTION(SqlError, PrivilegedBranchIds());
        try {
            QString sql;
            AppendBranchFilter(sql, QStringLiteral("BranchID"));
            QFAIL("a filter was built");
        } catch (const SqlError& e) {
            QVERIFY2(e.message().startsWith("cannot read the privileges of rpt_pv_Branch: ") &&
                         e.message().contains("database disk image is malformed"),
                     qPrintable(e.message()));
        }
        QCOMPARE(UserBillScope().branchIds, std::optional<QStringList>(QStringList()));
        // The branch combo refuses with that reason and opens no picker.
        HostUi::setHeadless(true);
        QWidget screen;
        DropDownComboBox cboBranch(&screen);
        BranchCriterion branch(&cboBranch, QStringLiteral("bi_Bill"), &screen);
        branch.reset();
        BranchChoice choice;
        QString reason;
        QVERIFY(!branch.choose(&choice, &reason));
        QVERIFY2(reason.contains("database disk image is malformed"), qPrintable(reason));
        QVERIFY(!branch.picker());
        HostUi::setHeadless(false);

        hostContext().Connection = db.connection();
        QCOMPARE(PrivilegedBranchIds(), std::optional<QStringList>(QStringList({"01"})));
        db.run("drop table rpt_pv_Branch");
        QCOMPARE(PrivilegedBranchIds(), std::nullopt);
        QCOMPARE(GetBranches(QStringLiteral("bi_Bill")).size(), 2);
        hostContext().Connection = shared;
    }

    void picker()
    {
        // Areas limited to 东区: 西门店 and 北门店 hang directly under the root.
        setPrivileges({}, {"'u1','A1'"});
        QWidget screen;
        auto* picker = new frmBranch(&screen);
        QTreeWidgetItem* root = picker->node(QStringLiteral("root"));
        QVERIFY(root);
        QCOMPARE(root->text(0), QStringLiteral("分店列表"));
        QCOMPARE(root->childCount(), 3);
        QTreeWidgetItem* east = picker->node(QStringLiteral("AreaID:A1"));
        QCOMPARE(east->text(0), QStringLiteral("东区"));
        QCOMPARE(picker->node(QStringLiteral("BranchID:03"))->parent(), east);
        QCOMPARE(picker->node(QStringLiteral("BranchID:02"))->parent(), root);
        QCOMPARE(picker->node(QStringLiteral("BranchID:04"))->parent(), root);
        QCOMPARE(picker->getBranchIDs(), QString());
        QVERIFY(picker->getList().isEmpty());

        // Ticking a branch ticks its area and the root, not its sibling.
        picker->node(QStringLiteral("BranchID:03"))->setCheckState(0, Qt::Checked);
        QCOMPARE(east->checkState(0), Qt::Checked);
        QCOMPARE(root->checkState(0), Qt::Checked);
        QCOMPARE(picker->node(QStringLiteral("BranchID:01"))->checkState(0), Qt::Unchecked);
        picker->node(QStringLiteral("BranchID:02"))->setCheckState(0, Qt::Checked);
        QCOMPARE(picker->getBranchIDs(), QStringLiteral("'02','03'"));
        QCOMPARE(picker->getBranchNames(), QStringLiteral("'西门店','南门店'"));

        // Clearing the area clears its branches; the root stays ticked.
        east->setCheckState(0, Qt::Unchecked);
        QCOMPARE(picker->node(QStringLiteral("BranchID:03"))->checkState(0), Qt::Unchecked);
        QCOMPARE(root->checkState(0), Qt::Checked);
        QCOMPARE(picker->getBranchIDs(), QStringLiteral("'02'"));

        // Ticking the area ticks both its branches.
        east->setCheckState(0, Qt::Checked);
        QCOMPARE(column(picker->getList(), "BranchID"), QStringList({"01", "02", "03"}));

        // Closing hides the picker; the marks are there when it opens again.
        QTimer::singleShot(0, picker, [picker] {
            QVERIFY(picker->isVisible());
            picker->close();
        });
        picker->ShowMe();
        QVERIFY(!picker->isVisible());
        QCOMPARE(picker->getBranchIDs(), QStringLiteral("'01','02','03'"));
        bool shownTicked = false;
        QTimer::singleShot(0, picker, [&] {
            shownTicked = picker->node(QStringLiteral("BranchID:01"))->checkState(0) == Qt::Checked;
            QTest::keyClick(picker, Qt::Key_Escape);
        });
        picker->ShowMe();
        QVERIFY(shownTicked);
        QCOMPARE(picker->getBranchIDs(), QStringLiteral("'01','02','03'"));

        // The report's condition for each branch choice, from the screen's branch combo.
        DropDownComboBox cboBranch(&screen);
        cboBranch.setObjectName("cboBranch");
        cboBranch.setEditable(true);
        BranchCriterion branch(&cboBranch, QStringLiteral("bi_Bill"), &screen);
        branch.reset();
        delete picker; // the criterion opens its own picker
        HostUi::setHeadless(true);
        BranchChoice choice;
        QVERIFY(branch.choose(&choice));
        QCOMPARE(BranchCondition(choice, {"BL.BranchID", "BL.BranchName"}), QString());

        // "(部分)" with nothing ticked: the user is asked to tick a branch; no query runs.
        QString reason;
        cboBranch.setCurrentIndex(1);
        QVERIFY(!branch.choose(&choice, &reason));
        QVERIFY(reason.contains("勾选"));
        branch.picker()->node(QStringLiteral("BranchID:02"))->setCheckState(0, Qt::Checked);
        QVERIFY(branch.choose(&choice));
        QCOMPARE(BranchCondition(choice, {"BL.BranchID", "BL.BranchName"}),
                 QString(" and BL.BranchID in ('02') "));
        QCOMPARE(choice.names, QStringList({"西门店"}));

        // One branch by name, held to the user's branches as well.
        setPrivileges({"'u1','02'", "'u1','03'"}, {});
        branch.reset();
        QVERIFY(SetCriterion(&screen, "cboBranch", "南门店"));
        QVERIFY(branch.choose(&choice));
        QCOMPARE(BranchCondition(choice, {"BL.BranchID", "BL.BranchName"}),
                 QString(" and BL.BranchName='南门店'  and BL.BranchID in ( '02','03' ) "));
        // A typed name that is not one of them (another branch, or a quote) never reaches the SQL.
        for (const QString typed : {"东门店", "x' or 1=1 --", " 南门店"}) {
            cboBranch.setEditText(typed);
            QVERIFY(!branch.choose(&choice, &reason));
            QVERIFY(reason.contains(typed));
            QCOMPARE(choice.kind, BranchChoice::All);
        }
        HostUi::setHeadless(false);
        // An apostrophe in a listed name stays inside its literal.
        choice = BranchChoice();
        choice.kind = BranchChoice::One;
        choice.name = "O'Neil店";
        QCOMPARE(BranchCondition(choice, {"BranchID", "BranchName"}),
                 QString(" and BranchName='O''Neil店' "));
    }
};

QTEST_MAIN(BranchScopeTest)
#include "tst_branchscope.moc"
