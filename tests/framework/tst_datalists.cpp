#include "framework/DataList.h"
#include "framework/DataListService.h"
#include "tests/support/TestDatabase.h"

#include <QtTest>

class tst_DataLists : public QObject
{
    Q_OBJECT
private slots:
    void listsFollowTheirTablesAndOrder();
    void conditionsAndSortKeys();
    void listsThatCannotLoadAreEmpty();
    void defaultConnectionComesFromTheService();
};

static QStringList names(const DataList& list)
{
    QStringList out;
    for (int i = 1; i <= list.Count(); ++i)
        out << list.item(i).Name;
    return out;
}

void tst_DataLists::listsFollowTheirTablesAndOrder()
{
    TestDatabase db("db_bills.sql");
    db.run("UPDATE dd_Subject SET ListIndex=3 WHERE SubjectID='01';"
           "INSERT INTO mn_GroupType VALUES ('07','海鲜',2),('03','酒水',1);");

    DataList periods(DataList::MealPeriods, db.connection());
    periods.initialise(1, 1);
    QVERIFY(periods.load());
    QCOMPARE(names(periods), QStringList({"午餐", "晚餐"}));
    QCOMPARE(periods.item(1).id, QString("1"));
    QCOMPARE(periods.item(2).attribute("BeginTime"), QString("14:00"));

    // Payment subjects come in ListIndex order: 现金 was moved last.
    DataList subjects(DataList::Subjects, db.connection());
    QVERIFY(subjects.load());
    QCOMPARE(names(subjects), QStringList({"银行卡", "会员卡", "现金"}));

    DataList groups(DataList::GroupTypes, db.connection());
    QVERIFY(groups.load());
    QCOMPARE(names(groups), QStringList({"酒水", "海鲜"}));

    DataList tables(DataList::Tables, db.connection());
    QVERIFY(tables.load());
    QCOMPARE(tables.Count(), 1);
    QCOMPARE(tables.item(1).attribute("TableFullName"), QString("大厅A1"));

    // Reasons keep NULL names as empty text.
    DataList reasons(DataList::ReturnReasons, db.connection());
    QVERIFY(reasons.load());
    QCOMPARE(names(reasons), QStringList({"A", "A", " ", "", "a"}));

    DataList members(DataList::MemberTypes, db.connection());
    QVERIFY(members.load());
    QCOMPARE(members.Count(), 0);

    // Out-of-range entries are empty, not a crash.
    QCOMPARE(periods.item(0).Name, QString());
    QCOMPARE(periods.item(3).id, QString());
}

void tst_DataLists::conditionsAndSortKeys()
{
    TestDatabase db("db_bills.sql");
    DataList menuTypes(DataList::MenuTypes, db.connection());
    menuTypes.addCondition(DataList::FieldOwner, ListCriteria::Equal, "02");
    QVERIFY(menuTypes.load());
    QCOMPARE(names(menuTypes), QStringList({"饮料"}));
    QCOMPARE(menuTypes.item(1).attribute("PrintPRI"), QString("2"));

    DataList departs(DataList::Departs, db.connection());
    departs.addSortKey(DataList::FieldId, ListCriteria::Descending);
    QVERIFY(departs.load());
    QCOMPARE(names(departs), QStringList({"吧台", "热菜间"}));

    // initialise starts over: no condition left.
    menuTypes.initialise();
    QVERIFY(menuTypes.load());
    QCOMPARE(menuTypes.Count(), 2);

    // A field the list does not have loads nothing rather than everything.
    DataList periods(DataList::MealPeriods, db.connection());
    periods.addCondition(DataList::FieldOwner, ListCriteria::Equal, "x");
    QVERIFY(!periods.load());
    QCOMPARE(periods.Count(), 0);
}

void tst_DataLists::listsThatCannotLoadAreEmpty()
{
    TestDatabase db("db_bills.sql");
    DataList periods(DataList::MealPeriods, db.connection());
    QVERIFY(periods.load());
    db.run("DROP TABLE dd_Period;");
    QVERIFY(!periods.load());
    QCOMPARE(periods.Count(), 0);
    QCOMPARE(periods.item(1).Name, QString());

    DataList closed(DataList::Subjects, std::make_shared<Connection>());
    QVERIFY(!closed.load());
    QCOMPARE(closed.Count(), 0);
}

void tst_DataLists::defaultConnectionComesFromTheService()
{
    TestDatabase db("db_bills.sql");
    QVERIFY(!DataListService::existing());
    QVERIFY(!DataList(DataList::Subjects).load());

    ConnectionPtr connection = db.connection();
    bool trueData = false;
    DataListService::obtain().Initialize(connection, trueData);
    DataList subjects(DataList::Subjects);
    QVERIFY(subjects.load());
    QCOMPARE(subjects.Count(), 3);
}

QTEST_MAIN(tst_DataLists)
#include "tst_datalists.moc"
