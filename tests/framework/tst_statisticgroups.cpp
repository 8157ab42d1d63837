#include "db/Recordset.h"
#include "framework/StatisticGroups.h"
#include "tests/support/TestDatabase.h"

#include <QtTest>

class tst_StatisticGroups : public QObject
{
    Q_OBJECT
private slots:
    void maintainGroupsAndMembers();
    void failedWriteLeavesTablesAsTheyWere();
};

static QStringList names(const StatisticGroups& groups)
{
    QStringList out;
    for (int i = 1; i <= groups.Count(); ++i)
        out << groups.item(i).name;
    return out;
}

static int rows(const TestDatabase& db, const QString& sql)
{
    return db.connection()->execute(sql)->value(0).toInt();
}

void tst_StatisticGroups::maintainGroupsAndMembers()
{
    TestDatabase db;
    StatisticGroups groups(db.connection());
    QCOMPARE(groups.add("海鲜"), QString("01"));
    QCOMPARE(groups.add("酒水"), QString("02"));
    QCOMPARE(groups.add("海鲜"), QString()); // name taken
    QCOMPARE(groups.add("  "), QString());
    QCOMPARE(names(groups), QStringList({"海鲜", "酒水"}));

    QVERIFY(!groups.rename("02", "海鲜"));
    QVERIFY(groups.rename("02", "饮品"));
    QVERIFY(groups.rename("02", "饮品")); // its own name is no clash
    QVERIFY(!groups.rename("09", "别的"));

    QVERIFY(groups.move("02", -1));
    QCOMPARE(names(groups), QStringList({"饮品", "海鲜"}));
    QVERIFY(!groups.move("02", -1));
    QVERIFY(!groups.move("01", +1));

    QVERIFY(groups.setMembers("01", "MenuType", {"21", "11"}));
    QVERIFY(groups.setMembers("01", "DepartType", {"01"}));
    QVERIFY(groups.setMembers("02", "Menu", {"2001"}));
    QVERIFY(groups.setMembers("01", "MenuType", {"11"})); // replaces that kind only
    QCOMPARE(groups.members("01", "MenuType"), QStringList({"11"}));
    QCOMPARE(groups.members("01", "DepartType"), QStringList({"01"}));

    QVERIFY(groups.remove("01"));
    QCOMPARE(names(groups), QStringList({"饮品"}));
    QCOMPARE(rows(db, "SELECT COUNT(*) FROM mn_GroupItem"), 1);
    QVERIFY(!groups.remove("01"));

    // A new group goes after the last one, whatever the ids.
    QCOMPARE(groups.add("海鲜"), QString("03"));
    QCOMPARE(names(groups), QStringList({"饮品", "海鲜"}));
}

void tst_StatisticGroups::failedWriteLeavesTablesAsTheyWere()
{
    TestDatabase db;
    StatisticGroups groups(db.connection());
    QCOMPARE(groups.add("海鲜"), QString("01"));
    QVERIFY(groups.setMembers("01", "Menu", {"1001", "2001"}));
    // The members are deleted first; when deleting the group itself then fails, the members
    // must come back.
    db.run(
        "CREATE TRIGGER keep BEFORE DELETE ON mn_GroupType BEGIN SELECT RAISE(ABORT,'kept'); END;");
    QVERIFY(!groups.remove("01"));
    QCOMPARE(names(groups), QStringList({"海鲜"}));
    QCOMPARE(groups.members("01", "Menu"), QStringList({"1001", "2001"}));

    StatisticGroups closed(std::make_shared<Connection>());
    QVERIFY(!closed.load());
    QCOMPARE(closed.add("x"), QString());
}

QTEST_MAIN(tst_StatisticGroups)
#include "tst_statisticgroups.moc"
