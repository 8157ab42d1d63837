#include "db/Summaries.h"

#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/TsqlToPostgres.h"

#include <QDate>
#include <QDateTime>
#include <QMutex>
#include <QMutexLocker>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <map>

namespace {

// The text types of the keys, by the length of their source column.
enum class KeyType
{
    Date,
    Integer,
    Text,
    Amount
};

struct Column
{
    const char* name;
    // Over BL (bi_Bill), BI (bi_BillItem), BP (bi_BillPayment), SB (bi_SubBill).
    const char* expression;
    KeyType type = KeyType::Text; // of a sum: Integer declares it an integer on every dialect
    int length = 0;
};

struct Table
{
    const char* name;
    const char* from; // FROM and the join, without the date condition
    std::vector<Column> keys;
    std::vector<Column> sums; // expression: what is summed; "*" counts the lines
    bool byMonth = true;      // with a month summary beside
    // Joins the members (mb_MemberInfo AS MB): also rebuilt for the days sm_StaleMemberDay
    // marks, those of the bills of a member added, removed or given another id.
    bool ofMembers = false;

    // The month summary beside the day summary ("sm_ItemDay": "sm_ItemMonth"); empty without.
    QString monthName() const
    {
        return byMonth
                   ? QString::fromUtf8(name).replace(QLatin1String("Day"), QLatin1String("Month"))
                   : QString();
    }
};

// The first day of a business date's month, in T-SQL (the same text as the date's type on
// every dialect: "2026-02-01 00:00:00" on SQLite).
QString monthOf(const QString& date)
{
    return QStringLiteral("dateadd(day,1-day(%1),%1)").arg(date);
}

// The columns whose names begin with one of the prefixes, in their order.
std::vector<Column> columnsStarting(const std::vector<Column>& columns,
                                    std::initializer_list<const char*> prefixes)
{
    std::vector<Column> kept;
    for (const Column& c : columns)
        if (std::any_of(prefixes.begin(), prefixes.end(),
                        [&](const char* p) { return QByteArrayView(c.name).startsWith(p); }))
            kept.push_back(c);
    return kept;
}

// The columns but those named, in their order.
std::vector<Column> columnsBut(const std::vector<Column>& columns,
                               std::initializer_list<const char*> names)
{
    std::vector<Column> kept;
    for (const Column& c : columns)
        if (std::none_of(names.begin(), names.end(),
                         [&](const char* n) { return QByteArrayView(c.name) == n; }))
            kept.push_back(c);
    return kept;
}

const std::vector<Column>& billKeys()
{
    static const std::vector<Column> keys{
        {"BillDate", "BL.BillDate", KeyType::Date},
        {"BranchID", "BL.BranchID", KeyType::Text, 20},
        {"BranchName", "BL.BranchName", KeyType::Text, 50},
        {"BillPeriod", "BL.BillPeriod", KeyType::Text, 30},
        {"CheckOutNull", "BL.CheckOutNull", KeyType::Integer},
        {"IsDeleted", "BL.IsDeleted", KeyType::Integer},
        // What "TableName<>'会员卡充值'" needs: a top-up, another table, or no table at all.
        {"TableName",
         "CASE WHEN BL.TableName IS NULL THEN NULL WHEN BL.TableName='会员卡充值' THEN "
         "'会员卡充值' ELSE '' END",
         KeyType::Text, 30},
    };
    return keys;
}

const std::vector<Table>& tables()
{
    static const std::vector<Table> all = [] {
        std::vector<Table> t;
        Table bills{"sm_BillDay",
                    " FROM bi_Bill AS BL WHERE 1=1 ",
                    billKeys(),
                    {{"CountOfBills", "*"},
                     {"PeopleCount", "BL.PeopleCount"},
                     {"SumOfConsume", "BL.SumOfConsume"},
                     {"SumOfService", "BL.SumOfService"},
                     {"SumForDiscount", "BL.SumForDiscount"},
                     {"SumToPay", "BL.SumToPay"},
                     {"SumPaid", "BL.SumPaid"},
                     {"SumInCash", "BL.SumInCash"},
                     {"SumOfInvoice", "BL.SumOfInvoice"}}};
        // The hour the bill was opened, as the hour report groups it.
        bills.keys.push_back({"OpenHour", "datepart(hh,BL.CreateTime)", KeyType::Integer});
        Table items{"sm_ItemDay",
                    " FROM bi_Bill AS BL,bi_BillItem AS BI WHERE BL.BillID=BI.BillID ",
                    billKeys(),
                    {{"ItemCount", "*"},
                     {"AmountOrder", "BI.AmountOrder"},
                     {"AmountCancel", "BI.AmountCancel"},
                     {"SumOfConsume", "BI.SumOfConsume"},
                     {"SumForDiscount", "BI.SumForDiscount"},
                     {"SumOfService", "BI.SumOfService"},
                     {"SumOfCookway", "BI.SumOfCookway"}}};
        const std::vector<Column> itemKeys{
            {"IsSentMenu", "BI.IsSentMenu", KeyType::Integer},
            {"MenuID", "BI.MenuID", KeyType::Text, 20},
            {"MenuName", "BI.MenuName", KeyType::Text, 50},
            {"MenuUnitID", "BI.MenuUnitID", KeyType::Text, 24},
            {"MenuUnitName", "BI.MenuUnitName", KeyType::Text, 10},
            // The line's cost price: a quantity times it is summed as the quantity's sum
            // times it.
            {"CostPrice", "BI.CostPrice", KeyType::Amount},
            {"MenuTypeID", "BI.MenuTypeID", KeyType::Text, 10},
            {"MenuTypeName", "BI.MenuTypeName", KeyType::Text, 30},
            {"DepartTypeID", "BI.DepartTypeID", KeyType::Text, 10},
            {"DepartTypeName", "BI.DepartTypeName", KeyType::Text, 30},
            {"DepartID", "BI.DepartID", KeyType::Text, 10},
            {"DepartName", "BI.DepartName", KeyType::Text, 30},
            // What "(AmountOrder-AmountCancel)<>0" needs of a line.
            {"QtyNonZero",
             "CASE WHEN (BI.AmountOrder-BI.AmountCancel)<>0 THEN 1 "
             "WHEN (BI.AmountOrder-BI.AmountCancel)=0 THEN 0 END",
             KeyType::Integer},
        };
        items.keys.insert(items.keys.end(), itemKeys.begin(), itemKeys.end());
        // The items per waiter (who ordered the line), without the menu item: a few rows per
        // waiter, department and menu type a day where the items' are hundreds.
        Table waiters{"sm_WaiterDay",
                      " FROM bi_Bill AS BL,bi_BillItem AS BI WHERE BL.BillID=BI.BillID ",
                      billKeys(),
                      {{"ItemCount", "*"},
                       {"AmountOrder", "BI.AmountOrder"},
                       {"AmountCancel", "BI.AmountCancel"},
                       {"SumOfConsume", "BI.SumOfConsume"},
                       {"SumForDiscount", "BI.SumForDiscount"},
                       {"SumOfService", "BI.SumOfService"}}};
        for (const Column& c : columnsStarting(itemKeys, {"IsSentMenu", "MenuType", "Depart"}))
            waiters.keys.push_back(c);
        waiters.keys.push_back({"CreatePersonID", "BI.CreatePersonID", KeyType::Text, 20});
        waiters.keys.push_back({"CreatePerson", "BI.CreatePerson", KeyType::Text, 30});
        // The items per waiter and menu item: what prices each waiter's lines by the menu's
        // cost of their unit (the commission per waiter). A few times fewer rows than the lines
        // a day, but a month's rows are a tenth of its days'.
        Table waiterItems{"sm_WaiterItemDay",
                          " FROM bi_Bill AS BL,bi_BillItem AS BI WHERE BL.BillID=BI.BillID ",
                          items.keys, items.sums};
        waiterItems.keys.push_back({"CreatePersonID", "BI.CreatePersonID", KeyType::Text, 20});
        waiterItems.keys.push_back({"CreatePerson", "BI.CreatePerson", KeyType::Text, 30});
        // The items per department and menu type, without the menu item, its unit and cost
        // price: the grain of the reports that show departments or their types day by day (a
        // quarter of the items' rows).
        Table departs{"sm_DepartDay",
                      " FROM bi_Bill AS BL,bi_BillItem AS BI WHERE BL.BillID=BI.BillID ",
                      billKeys(), items.sums};
        for (const Column& c : columnsBut(
                 itemKeys, {"MenuID", "MenuName", "MenuUnitID", "MenuUnitName", "CostPrice"}))
            departs.keys.push_back(c);
        Table payments{"sm_PayDay",
                       " FROM bi_Bill AS BL,bi_BillPayment AS BP WHERE BL.BillID=BP.BillID ",
                       billKeys(),
                       {{"PayCount", "*"}, {"PaySum", "BP.PaySum"}, {"SumPaid", "BP.SumPaid"}}};
        payments.keys.push_back({"SubjectID", "BP.SubjectID", KeyType::Text, 10});
        payments.keys.push_back({"SubjectName", "BP.SubjectName", KeyType::Text, 30});
        // The cashier who settled the bill, as the payment query groups and filters by it.
        payments.keys.push_back({"CheckOutPersonID", "BL.CheckOutPersonID", KeyType::Text, 20});
        payments.keys.push_back({"CheckOutPerson", "BL.CheckOutPerson", KeyType::Text, 30});
        // The bills per table, as the table report groups them: the table's own name (not
        // reduced: the report shows it) with its id and area.
        Table tablesOfBills{"sm_TableDay",
                            " FROM bi_Bill AS BL WHERE 1=1 ",
                            columnsBut(billKeys(), {"TableName"}),
                            {{"CountOfBills", "*"},
                             {"PeopleCount", "BL.PeopleCount", KeyType::Integer},
                             {"SumOfConsume", "BL.SumOfConsume"},
                             {"SumOfService", "BL.SumOfService"},
                             {"SumForDiscount", "BL.SumForDiscount"},
                             {"SumPaid", "BL.SumPaid"}}};
        tablesOfBills.keys.push_back({"TableName", "BL.TableName", KeyType::Text, 30});
        tablesOfBills.keys.push_back({"TableAreaID", "BL.TableAreaID", KeyType::Text, 10});
        tablesOfBills.keys.push_back({"TableAreaName", "BL.TableAreaName", KeyType::Text, 30});
        tablesOfBills.keys.push_back({"TableID", "BL.TableID", KeyType::Text, 10});
        // The item lines sold at a price other than their list price (the member price) with a
        // discount, as the member discount query reads them: only those lines, per dish and
        // price pair, its quantity (Amount) summed as the query sums it: the quantity ordered
        // less the quantity cancelled, line by line. Named as a quantity of the schema is, its
        // sums are a decimal's on every dialect (shown "6.00", summed exactly on PostgreSQL).
        Table discounts{"sm_DiscountDay",
                        " FROM bi_Bill AS BL,bi_BillItem AS BI WHERE BL.BillID=BI.BillID AND "
                        "BI.MenuPrice<>BI.MenuPrice2 AND BI.SumForDiscount<>0 AND "
                        "BI.SumOfConsume<>0 ",
                        columnsBut(billKeys(), {"BillPeriod"}),
                        {{"ItemCount", "*"},
                         {"Amount", "BI.AmountOrder-BI.AmountCancel"},
                         {"SumForDiscount", "BI.SumForDiscount"},
                         {"SumOfConsume", "BI.SumOfConsume"}}};
        for (const Column& c : columnsStarting(
                 itemKeys, {"IsSentMenu", "MenuID", "MenuName", "MenuTypeName", "DepartTypeName"}))
            discounts.keys.push_back(c);
        discounts.keys.push_back({"MenuPrice", "BI.MenuPrice", KeyType::Amount});
        discounts.keys.push_back({"MenuPrice2", "BI.MenuPrice2", KeyType::Amount});
        // The returns (SubBillType 2) per business date, one row a return, with every column
        // of its bill, line and return that the returned-items list shows or filters by: the
        // list reads a month's 60,000 returns instead of the lines of 55,000 bills (the line's
        // own CreateTime is its ItemTime: the list names it OrderTime). Read by the day only.
        Table returns{"sm_ReturnDay",
                      " FROM bi_Bill AS BL,bi_BillItem AS BI,bi_SubBill AS SB WHERE "
                      "BL.BillID=BI.BillID AND BI.BillItemID=SB.BillItemID AND SB.SubBillType=2 ",
                      columnsBut(billKeys(), {"TableName"}),
                      {{"ReturnCount", "*"}}};
        returns.keys.push_back({"BillID", "BL.BillID", KeyType::Text, 20});
        returns.keys.push_back({"TableName", "BL.TableName", KeyType::Text, 30});
        returns.keys.push_back({"MenuID", "BI.MenuID", KeyType::Text, 20});
        // Two returns of a dish of one bill in the order they were ordered and returned.
        returns.keys.push_back({"ItemTime", "BI.CreateTime", KeyType::Date});
        returns.keys.push_back({"CreateTime", "SB.CreateTime", KeyType::Date});
        returns.keys.push_back({"SubBillID", "SB.SubBillID", KeyType::Text, 24});
        for (const Column& c : columnsStarting(
                 itemKeys, {"MenuName", "MenuUnit", "MenuType", "DepartTypeID", "DepartTypeName"}))
            returns.keys.push_back(c);
        returns.keys.push_back({"MenuPrice", "BI.MenuPrice", KeyType::Amount});
        returns.keys.push_back({"MenuAmount", "SB.MenuAmount", KeyType::Amount});
        returns.keys.push_back({"CreatePerson", "SB.CreatePerson", KeyType::Text, 30});
        returns.keys.push_back({"Remark", "SB.Remark", KeyType::Text, 200});
        returns.byMonth = false;
        // The item lines of member bills (those whose member is on file) per business date,
        // branch, bill flags and dish, as the member consumption by dish reads them when no
        // card, card type or member name is chosen: a member's own rows would be nearly as many
        // as the lines, as a member orders a few lines a bill at any branch.
        Table memberItems{"sm_MemberItemDay",
                          " FROM bi_Bill AS BL,bi_BillItem AS BI,mb_MemberInfo AS MB WHERE "
                          "BL.BillID=BI.BillID AND BL.MemberID=MB.MemberID ",
                          columnsBut(billKeys(), {"BillPeriod"}),
                          {{"ItemCount", "*"},
                           {"AmountOrder", "BI.AmountOrder"},
                           {"AmountCancel", "BI.AmountCancel"}}};
        for (const Column& c : columnsStarting(itemKeys, {"MenuID", "MenuName", "MenuTypeName"}))
            memberItems.keys.push_back(c);
        memberItems.ofMembers = true;
        // The bills of members and their payments per business date, branch, bill flags and
        // member id (the reports join the members themselves): what the totals per card and
        // per card type read.
        Table memberBills{"sm_MemberBillDay",
                          " FROM bi_Bill AS BL WHERE BL.MemberID IS NOT NULL ",
                          columnsBut(billKeys(), {"BillPeriod"}),
                          {{"CountOfBills", "*"}, {"SumPaid", "BL.SumPaid"}}};
        memberBills.keys.push_back({"MemberID", "BL.MemberID", KeyType::Text, 20});
        Table memberPayments{"sm_MemberPayDay",
                             " FROM bi_Bill AS BL,bi_BillPayment AS BP WHERE BL.BillID=BP.BillID "
                             "AND BL.MemberID IS NOT NULL ",
                             memberBills.keys,
                             {{"PayCount", "*"}, {"PaySum", "BP.PaySum"}}};
        memberPayments.keys.push_back({"SubjectName", "BP.SubjectName", KeyType::Text, 30});
        t.push_back(std::move(bills));
        t.push_back(std::move(items));
        t.push_back(std::move(waiters));
        t.push_back(std::move(waiterItems));
        t.push_back(std::move(departs));
        t.push_back(std::move(payments));
        t.push_back(std::move(tablesOfBills));
        t.push_back(std::move(discounts));
        t.push_back(std::move(returns));
        t.push_back(std::move(memberItems));
        t.push_back(std::move(memberBills));
        t.push_back(std::move(memberPayments));
        return t;
    }();
    return all;
}

QString keyType(const Column& c, SqlDialect dialect)
{
    switch (c.type) {
    case KeyType::Date:
        return dialect == SqlDialect::Sqlite     ? QStringLiteral("TEXT")
               : dialect == SqlDialect::Postgres ? QStringLiteral("timestamp(0)")
                                                 : QStringLiteral("datetime");
    case KeyType::Integer:
        return dialect == SqlDialect::Postgres ? QStringLiteral("integer")
                                               : QStringLiteral("INTEGER");
    case KeyType::Amount:
        return dialect == SqlDialect::Sqlite     ? QStringLiteral("NUMERIC")
               : dialect == SqlDialect::Postgres ? QStringLiteral("numeric(18,4)")
                                                 : QStringLiteral("decimal(18,4)");
    case KeyType::Text:
        if (dialect == SqlDialect::Sqlite)
            return QStringLiteral("VARCHAR(%1) COLLATE NOCASE").arg(c.length);
        if (dialect == SqlDialect::Postgres)
            return QStringLiteral("citext COLLATE \"C\"");
        return QStringLiteral("nvarchar(%1)").arg(c.length);
    }
    return {};
}

// A sum keeps what it was given: no declared type on SQLite (so that an integral real stays a
// real and the reports' sums keep their type), a double on PostgreSQL, money's four decimals on
// SQL Server.
QString sumType(const Column& c, SqlDialect dialect)
{
    const bool count = QLatin1String(c.expression) == QLatin1String("*");
    // A sum of an integer column stays an integer, summed again as the column is: a guest
    // count is shown as "18", not "18.00", on every dialect.
    if (c.type == KeyType::Integer)
        return dialect == SqlDialect::Postgres ? QStringLiteral("integer")
                                               : QStringLiteral("INTEGER");
    if (dialect == SqlDialect::Sqlite)
        return count ? QStringLiteral("INTEGER") : QString();
    if (count)
        return dialect == SqlDialect::Postgres ? QStringLiteral("bigint")
                                               : QStringLiteral("INTEGER");
    // PostgreSQL: the double its translated sums give (db/TsqlToPostgres.h).
    return dialect == SqlDialect::Postgres ? QStringLiteral("double precision")
                                           : QStringLiteral("decimal(18,4)");
}

// PostgreSQL names as the T-SQL translation writes them (db/TsqlToPostgres.h): a name of the
// bill tables' schema quoted in its case, any other name unquoted (folded to lower case).
QString name(const char* n, SqlDialect dialect)
{
    const QString text = QString::fromLatin1(n);
    if (dialect != SqlDialect::Postgres)
        return text;
    const auto known = TsqlToPostgres::schemaNames().constFind(text.toLower());
    return known == TsqlToPostgres::schemaNames().constEnd()
               ? text.toLower()
               : QLatin1Char('"') + *known + QLatin1Char('"');
}

QString keyList(const Table& t)
{
    QStringList names;
    for (const Column& c : t.keys)
        names << QString::fromUtf8(c.name);
    for (const Column& c : t.sums)
        names << QString::fromUtf8(c.name);
    return names.join(QLatin1Char(','));
}

// The month summary's columns: the month in place of the business date, then the same keys and
// sums.
QString monthKeyList(const Table& t)
{
    return QStringLiteral("BillMonth") + keyList(t).mid(keyList(t).indexOf(QLatin1Char(',')));
}

// The bills grouped at the summary's keys (by month: the date's month in place of the date).
QString groupedSelect(const Table& t, const QString& dateCondition, bool byMonth = false)
{
    QStringList items, group;
    for (const Column& c : t.keys) {
        const QString key = byMonth && &c == &t.keys.front()
                                ? monthOf(QString::fromUtf8(c.expression))
                                : QString::fromUtf8(c.expression);
        items << key;
        group << key;
    }
    for (const Column& c : t.sums)
        items << (QLatin1String(c.expression) == QLatin1String("*")
                      ? QStringLiteral("COUNT(*)")
                      : QStringLiteral("SUM(") + QString::fromUtf8(c.expression) +
                            QLatin1Char(')'));
    return QStringLiteral("SELECT ") + items.join(QLatin1Char(',')) + QString::fromUtf8(t.from) +
           dateCondition + QStringLiteral(" GROUP BY ") + group.join(QLatin1Char(','));
}

const QString kDateRange = QStringLiteral(" AND BL.BillDate>=? AND BL.BillDate<=? ");

struct InstalledCache
{
    QMutex mutex;
    std::map<QString, bool> byConnection;
};

InstalledCache& cache()
{
    static InstalledCache c;
    return c;
}

QString cacheKey(const Connection& connection)
{
    return connection.database().connectionName() + QLatin1Char('@') +
           QString::number(quintptr(&connection));
}

void remember(const Connection& connection, bool installed)
{
    QMutexLocker lock(&cache().mutex);
    cache().byConnection[cacheKey(connection)] = installed;
}

// Triggers that write the business date of every bill written, changed or deleted.
QStringList sqliteTriggers()
{
    QStringList s;
    const auto mark = [](const QString& row) {
        return QStringLiteral("INSERT OR IGNORE INTO sm_StaleDay(BillDate) SELECT %1.BillDate "
                              "WHERE %1.BillDate IS NOT NULL;")
            .arg(row);
    };
    const auto markBill = [](const QString& row) {
        return QStringLiteral("INSERT OR IGNORE INTO sm_StaleDay(BillDate) SELECT BillDate FROM "
                              "bi_Bill WHERE BillID=%1.BillID AND BillDate IS NOT NULL;")
            .arg(row);
    };
    s << QStringLiteral("CREATE TRIGGER sm_bi_Bill_insert AFTER INSERT ON bi_Bill BEGIN ") +
             mark(QStringLiteral("NEW")) + QStringLiteral(" END")
      << QStringLiteral("CREATE TRIGGER sm_bi_Bill_update AFTER UPDATE ON bi_Bill BEGIN ") +
             mark(QStringLiteral("OLD")) + mark(QStringLiteral("NEW")) + QStringLiteral(" END")
      << QStringLiteral("CREATE TRIGGER sm_bi_Bill_delete AFTER DELETE ON bi_Bill BEGIN ") +
             mark(QStringLiteral("OLD")) + QStringLiteral(" END");
    // A return belongs to the bill of its line.
    const auto markLine = [](const QString& row) {
        return QStringLiteral("INSERT OR IGNORE INTO sm_StaleDay(BillDate) SELECT BL.BillDate FROM "
                              "bi_BillItem AS BI,bi_Bill AS BL WHERE BI.BillItemID=%1.BillItemID "
                              "AND BL.BillID=BI.BillID AND BL.BillDate IS NOT NULL;")
            .arg(row);
    };
    for (const char* table : {"bi_BillItem", "bi_BillPayment", "bi_SubBill"}) {
        const QString t = QString::fromLatin1(table);
        const auto marks = t == QLatin1String("bi_SubBill") ? markLine : markBill;
        s << QStringLiteral("CREATE TRIGGER sm_%1_insert AFTER INSERT ON %1 BEGIN ").arg(t) +
                 marks(QStringLiteral("NEW")) + QStringLiteral(" END")
          << QStringLiteral("CREATE TRIGGER sm_%1_update AFTER UPDATE ON %1 BEGIN ").arg(t) +
                 marks(QStringLiteral("OLD")) + marks(QStringLiteral("NEW")) +
                 QStringLiteral(" END")
          << QStringLiteral("CREATE TRIGGER sm_%1_delete AFTER DELETE ON %1 BEGIN ").arg(t) +
                 marks(QStringLiteral("OLD")) + QStringLiteral(" END");
    }
    // A member added, removed or given another id: the days of the bills with that id.
    const auto markMember = [](const QString& row) {
        return QStringLiteral("INSERT OR IGNORE INTO sm_StaleMemberDay(BillDate) SELECT DISTINCT "
                              "BillDate FROM bi_Bill WHERE MemberID=%1.MemberID AND BillDate IS "
                              "NOT NULL;")
            .arg(row);
    };
    s << QStringLiteral("CREATE TRIGGER sm_mb_MemberInfo_insert AFTER INSERT ON mb_MemberInfo "
                        "BEGIN ") +
             markMember(QStringLiteral("NEW")) + QStringLiteral(" END")
      << QStringLiteral("CREATE TRIGGER sm_mb_MemberInfo_update AFTER UPDATE OF MemberID ON "
                        "mb_MemberInfo WHEN OLD.MemberID IS NOT NEW.MemberID BEGIN ") +
             markMember(QStringLiteral("OLD")) + markMember(QStringLiteral("NEW")) +
             QStringLiteral(" END")
      << QStringLiteral("CREATE TRIGGER sm_mb_MemberInfo_delete AFTER DELETE ON mb_MemberInfo "
                        "BEGIN ") +
             markMember(QStringLiteral("OLD")) + QStringLiteral(" END");
    return s;
}

QStringList postgresTriggers()
{
    QStringList s;
    s << QStringLiteral(
        "CREATE FUNCTION sm_mark_bill() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
        "IF TG_OP <> 'INSERT' AND OLD.\"BillDate\" IS NOT NULL THEN "
        "INSERT INTO sm_staleday(\"BillDate\") VALUES (OLD.\"BillDate\") ON CONFLICT DO "
        "NOTHING; END IF; "
        "IF TG_OP <> 'DELETE' AND NEW.\"BillDate\" IS NOT NULL THEN "
        "INSERT INTO sm_staleday(\"BillDate\") VALUES (NEW.\"BillDate\") ON CONFLICT DO "
        "NOTHING; END IF; RETURN NULL; END $$");
    s << QStringLiteral(
        "CREATE FUNCTION sm_mark_line() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
        "IF TG_OP <> 'INSERT' THEN INSERT INTO sm_staleday(\"BillDate\") SELECT "
        "\"BillDate\" FROM \"bi_Bill\" WHERE \"BillID\"=OLD.\"BillID\" AND \"BillDate\" IS NOT "
        "NULL ON CONFLICT DO NOTHING; END IF; "
        "IF TG_OP <> 'DELETE' THEN INSERT INTO sm_staleday(\"BillDate\") SELECT "
        "\"BillDate\" FROM \"bi_Bill\" WHERE \"BillID\"=NEW.\"BillID\" AND \"BillDate\" IS NOT "
        "NULL ON CONFLICT DO NOTHING; END IF; RETURN NULL; END $$");
    s << QStringLiteral(
        "CREATE FUNCTION sm_mark_return() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
        "IF TG_OP <> 'INSERT' THEN INSERT INTO sm_staleday(\"BillDate\") SELECT BL.\"BillDate\" "
        "FROM \"bi_BillItem\" AS BI, \"bi_Bill\" AS BL WHERE BI.\"BillItemID\"=OLD.\"BillItemID\" "
        "AND BL.\"BillID\"=BI.\"BillID\" AND BL.\"BillDate\" IS NOT NULL ON CONFLICT DO NOTHING; "
        "END IF; "
        "IF TG_OP <> 'DELETE' THEN INSERT INTO sm_staleday(\"BillDate\") SELECT BL.\"BillDate\" "
        "FROM \"bi_BillItem\" AS BI, \"bi_Bill\" AS BL WHERE BI.\"BillItemID\"=NEW.\"BillItemID\" "
        "AND BL.\"BillID\"=BI.\"BillID\" AND BL.\"BillDate\" IS NOT NULL ON CONFLICT DO NOTHING; "
        "END IF; RETURN NULL; END $$");
    s << QStringLiteral("CREATE TRIGGER sm_bi_Bill AFTER INSERT OR UPDATE OR DELETE ON "
                        "\"bi_Bill\" FOR EACH ROW EXECUTE FUNCTION sm_mark_bill()");
    for (const char* table : {"bi_BillItem", "bi_BillPayment"})
        s << QStringLiteral("CREATE TRIGGER sm_%1 AFTER INSERT OR UPDATE OR DELETE ON \"%1\" FOR "
                            "EACH ROW EXECUTE FUNCTION sm_mark_line()")
                 .arg(QLatin1String(table));
    s << QStringLiteral("CREATE TRIGGER sm_bi_SubBill AFTER INSERT OR UPDATE OR DELETE ON "
                        "\"bi_SubBill\" FOR EACH ROW EXECUTE FUNCTION sm_mark_return()");
    s << QStringLiteral(
        "CREATE FUNCTION sm_mark_member() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
        "IF TG_OP = 'UPDATE' AND OLD.\"MemberID\" IS NOT DISTINCT FROM NEW.\"MemberID\" THEN "
        "RETURN NULL; END IF; "
        "IF TG_OP <> 'INSERT' THEN INSERT INTO sm_stalememberday(\"BillDate\") SELECT DISTINCT "
        "\"BillDate\" FROM \"bi_Bill\" WHERE \"MemberID\"=OLD.\"MemberID\" AND \"BillDate\" IS "
        "NOT NULL ON CONFLICT DO NOTHING; END IF; "
        "IF TG_OP <> 'DELETE' THEN INSERT INTO sm_stalememberday(\"BillDate\") SELECT DISTINCT "
        "\"BillDate\" FROM \"bi_Bill\" WHERE \"MemberID\"=NEW.\"MemberID\" AND \"BillDate\" IS "
        "NOT NULL ON CONFLICT DO NOTHING; END IF; RETURN NULL; END $$");
    s << QStringLiteral("CREATE TRIGGER sm_mb_MemberInfo AFTER INSERT OR DELETE OR UPDATE OF "
                        "\"MemberID\" ON \"mb_MemberInfo\" FOR EACH ROW EXECUTE FUNCTION "
                        "sm_mark_member()");
    return s;
}

QStringList mssqlTriggers()
{
    QStringList s;
    s << QStringLiteral(
        "CREATE TRIGGER sm_bi_Bill ON bi_Bill AFTER INSERT, UPDATE, DELETE AS BEGIN SET NOCOUNT "
        "ON; INSERT INTO sm_StaleDay (BillDate) SELECT DISTINCT d.BillDate FROM (SELECT BillDate "
        "FROM inserted UNION SELECT BillDate FROM deleted) AS d WHERE d.BillDate IS NOT NULL AND "
        "NOT EXISTS (SELECT 1 FROM sm_StaleDay AS s WHERE s.BillDate=d.BillDate); END");
    for (const char* table : {"bi_BillItem", "bi_BillPayment"})
        s << QStringLiteral(
                 "CREATE TRIGGER sm_%1 ON %1 AFTER INSERT, UPDATE, DELETE AS BEGIN SET NOCOUNT "
                 "ON; INSERT INTO sm_StaleDay (BillDate) SELECT DISTINCT BL.BillDate FROM bi_Bill "
                 "AS BL WHERE BL.BillDate IS NOT NULL AND BL.BillID IN (SELECT BillID FROM "
                 "inserted UNION SELECT BillID FROM deleted) AND NOT EXISTS (SELECT 1 FROM "
                 "sm_StaleDay AS s WHERE s.BillDate=BL.BillDate); END")
                 .arg(QLatin1String(table));
    s << QStringLiteral(
        "CREATE TRIGGER sm_bi_SubBill ON bi_SubBill AFTER INSERT, UPDATE, DELETE AS BEGIN SET "
        "NOCOUNT ON; INSERT INTO sm_StaleDay (BillDate) SELECT DISTINCT BL.BillDate FROM bi_Bill "
        "AS BL, bi_BillItem AS BI WHERE BL.BillID=BI.BillID AND BL.BillDate IS NOT NULL AND "
        "BI.BillItemID IN (SELECT BillItemID FROM inserted UNION SELECT BillItemID FROM deleted) "
        "AND NOT EXISTS (SELECT 1 FROM sm_StaleDay AS s WHERE s.BillDate=BL.BillDate); END");
    // An update that leaves the member's id alone (a balance, a name) marks nothing.
    s << QStringLiteral(
        "CREATE TRIGGER sm_mb_MemberInfo ON mb_MemberInfo AFTER INSERT, UPDATE, DELETE AS BEGIN "
        "SET NOCOUNT ON; IF EXISTS (SELECT 1 FROM inserted) AND EXISTS (SELECT 1 FROM deleted) "
        "AND NOT UPDATE(MemberID) RETURN; INSERT INTO sm_StaleMemberDay (BillDate) SELECT "
        "DISTINCT BL.BillDate FROM bi_Bill AS BL WHERE BL.BillDate IS NOT NULL AND BL.MemberID "
        "IN (SELECT MemberID FROM inserted UNION SELECT MemberID FROM deleted) AND NOT EXISTS "
        "(SELECT 1 FROM sm_StaleMemberDay AS s WHERE s.BillDate=BL.BillDate); END");
    return s;
}

// A business date as read from sm_StaleDay (a text on SQLite, a date and time elsewhere).
QDate dateOf(const QVariant& v)
{
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().date();
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    return QDate::fromString(v.toString().left(10), Qt::ISODate);
}

// One statement of an install or drop script, in the connection's own dialect, run whole (a
// trigger's body holds semicolons of its own).
void runNative(const Connection& connection, const QString& statement)
{
    if (connection.dialect() != SqlDialect::MsSql) {
        connection.executeScript(statement);
        return;
    }
    QSqlQuery q(connection.database());
    if (!q.exec(statement))
        throw SqlError(q.lastError().text() + QStringLiteral(" in: ") + statement.simplified());
}

} // namespace

QStringList Summaries::installScript(SqlDialect d)
{
    QStringList s;
    for (const char* stale : {"sm_StaleDay", "sm_StaleMemberDay"})
        s << QStringLiteral("CREATE TABLE %1 (%2 %3 NOT NULL PRIMARY KEY)")
                 .arg(name(stale, d), name("BillDate", d), keyType(billKeys().front(), d));
    s << QStringLiteral("CREATE TABLE %1 (%2 INTEGER NOT NULL)")
             .arg(name("sm_Info", d), name("Version", d));
    for (const Table& t : tables()) {
        QStringList columns;
        for (const Column& c : t.keys)
            columns << name(c.name, d) + QLatin1Char(' ') + keyType(c, d);
        for (const Column& c : t.sums)
            columns << (name(c.name, d) + QLatin1Char(' ') + sumType(c, d)).trimmed();
        s << QStringLiteral("CREATE TABLE %1 (%2)")
                 .arg(name(t.name, d), columns.join(QStringLiteral(", ")));
        s << QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                 .arg(name((QByteArray("ix_") + t.name + "_BillDate").constData(), d),
                      name(t.name, d), name("BillDate", d));
        if (!t.byMonth)
            continue;
        // The same per month, keyed by the month's first day.
        const QByteArray month = t.monthName().toLatin1();
        columns.front() = name("BillMonth", d) + QLatin1Char(' ') + keyType(t.keys.front(), d);
        s << QStringLiteral("CREATE TABLE %1 (%2)")
                 .arg(name(month.constData(), d), columns.join(QStringLiteral(", ")));
        s << QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                 .arg(name(("ix_" + month + "_BillMonth").constData(), d),
                      name(month.constData(), d), name("BillMonth", d));
    }
    s << (d == SqlDialect::Sqlite     ? sqliteTriggers()
          : d == SqlDialect::Postgres ? postgresTriggers()
                                      : mssqlTriggers());
    // Every business date stale: install() then fills them batch by batch.
    s << QStringLiteral("INSERT INTO %1 (%2) SELECT DISTINCT %2 FROM %3 WHERE %2 IS NOT NULL")
             .arg(name("sm_StaleDay", d), name("BillDate", d), name("bi_Bill", d));
    s << QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
             .arg(name("sm_Info", d), name("Version", d))
             .arg(Version);
    return s;
}

QStringList Summaries::dropScript(SqlDialect d)
{
    QStringList s;
    static const char* const marked[] = {"bi_Bill", "bi_BillItem", "bi_BillPayment", "bi_SubBill",
                                         "mb_MemberInfo"};
    if (d == SqlDialect::Sqlite) {
        for (const char* t : marked)
            for (const char* op : {"insert", "update", "delete"})
                s << QStringLiteral("DROP TRIGGER IF EXISTS sm_%1_%2")
                         .arg(QLatin1String(t), QLatin1String(op));
    } else {
        for (const char* t : marked)
            s << (d == SqlDialect::Postgres
                      ? QStringLiteral("DROP TRIGGER IF EXISTS sm_%1 ON \"%1\"")
                      : QStringLiteral("DROP TRIGGER IF EXISTS sm_%1"))
                     .arg(QLatin1String(t));
        if (d == SqlDialect::Postgres)
            s << QStringLiteral("DROP FUNCTION IF EXISTS sm_mark_bill()")
              << QStringLiteral("DROP FUNCTION IF EXISTS sm_mark_line()")
              << QStringLiteral("DROP FUNCTION IF EXISTS sm_mark_return()")
              << QStringLiteral("DROP FUNCTION IF EXISTS sm_mark_member()");
    }
    for (const Table& t : tables()) {
        s << QStringLiteral("DROP TABLE IF EXISTS %1").arg(name(t.name, d));
        if (t.byMonth)
            s << QStringLiteral("DROP TABLE IF EXISTS %1")
                     .arg(name(t.monthName().toLatin1().constData(), d));
    }
    for (const char* t : {"sm_StaleDay", "sm_StaleMemberDay", "sm_Info"})
        s << QStringLiteral("DROP TABLE IF EXISTS %1").arg(name(t, d));
    return s;
}

QStringList Summaries::fillStatements(bool allDates, Rebuilt rebuilt)
{
    QStringList s;
    const QString range = allDates ? QString() : kDateRange;
    for (const Table& t : tables()) {
        if (rebuilt == Rebuilt::OfMembers && !t.ofMembers)
            continue;
        s << QStringLiteral("DELETE FROM ") + QString::fromUtf8(t.name) +
                 (allDates ? QString() : QStringLiteral(" WHERE BillDate>=? AND BillDate<=?"));
        s << QStringLiteral("INSERT INTO ") + QString::fromUtf8(t.name) + QStringLiteral(" (") +
                 keyList(t) + QStringLiteral(") ") + groupedSelect(t, range);
    }
    return s;
}

QStringList Summaries::monthFillStatements(bool allMonths, Rebuilt rebuilt)
{
    QStringList s;
    for (const Table& t : tables()) {
        if (!t.byMonth || (rebuilt == Rebuilt::OfMembers && !t.ofMembers))
            continue;
        const QString month = t.monthName();
        const QString day = QString::fromUtf8(t.name);
        s << QStringLiteral("DELETE FROM ") + month +
                 (allMonths ? QString() : QStringLiteral(" WHERE BillMonth>=? AND BillMonth<?"));
        QStringList items, group;
        for (const Column& c : t.keys) {
            const QString key = &c == &t.keys.front() ? monthOf(QString::fromUtf8(c.name))
                                                      : QString::fromUtf8(c.name);
            items << key;
            group << key;
        }
        for (const Column& c : t.sums)
            items << QStringLiteral("SUM(") + QString::fromUtf8(c.name) + QLatin1Char(')');
        s << QStringLiteral("INSERT INTO ") + month + QStringLiteral(" (") + monthKeyList(t) +
                 QStringLiteral(") SELECT ") + items.join(QLatin1Char(',')) +
                 QStringLiteral(" FROM ") + day +
                 (allMonths ? QString() : QStringLiteral(" WHERE BillDate>=? AND BillDate<?")) +
                 QStringLiteral(" GROUP BY ") + group.join(QLatin1Char(','));
    }
    return s;
}

QStringList Summaries::columns(const QString& table)
{
    for (const Table& t : tables()) {
        if (table.compare(QLatin1String(t.name), Qt::CaseInsensitive) == 0)
            return keyList(t).split(QLatin1Char(','));
        if (t.byMonth && table.compare(t.monthName(), Qt::CaseInsensitive) == 0)
            return monthKeyList(t).split(QLatin1Char(','));
    }
    return {};
}

QString Summaries::origin(const QString& table, const QString& column)
{
    static const QRegularExpression alias(QStringLiteral("\\b(BL|BI|BP|SB)\\."));
    for (const Table& t : tables()) {
        const bool month = t.byMonth && table.compare(t.monthName(), Qt::CaseInsensitive) == 0;
        if (!month && table.compare(QLatin1String(t.name), Qt::CaseInsensitive) != 0)
            continue;
        if (month && column.compare(QLatin1String("BillMonth"), Qt::CaseInsensitive) == 0)
            return QStringLiteral("BL");
        for (const std::vector<Column>* columns : {&t.keys, &t.sums})
            for (const Column& c : *columns)
                if (column.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0)
                    return alias.match(QString::fromUtf8(c.expression)).captured(1);
    }
    return {};
}

bool Summaries::installed(const Connection& connection)
{
    {
        QMutexLocker lock(&cache().mutex);
        const auto it = cache().byConnection.find(cacheKey(connection));
        if (it != cache().byConnection.end())
            return it->second;
    }
    bool found = false;
    try {
        auto rs = connection.execute(QStringLiteral("SELECT Version FROM sm_Info"));
        found = !rs->atEnd() && rs->value(0).toInt() == Version;
    } catch (const SqlError&) {
        found = false;
    }
    remember(connection, found);
    return found;
}

void Summaries::install(const Connection& connection)
{
    if (installed(connection))
        return;
    // An older version's tables and triggers make way.
    const QStringList script =
        dropScript(connection.dialect()) + installScript(connection.dialect());
    connection.beginTransaction();
    try {
        for (const QString& statement : script)
            runNative(connection, statement);
        connection.commit();
    } catch (...) {
        connection.rollback();
        remember(connection, false);
        throw;
    }
    remember(connection, true);
    QString error;
    if (!refresh(connection, &error))
        throw SqlError(error);
    // PostgreSQL plans from a table's statistics, which new tables lack until autovacuum comes
    // by: a summary taken for empty is read in nested loops of index probes.
    if (connection.dialect() == SqlDialect::Postgres)
        for (const Table& t : tables()) {
            runNative(connection, QStringLiteral("ANALYZE ") + name(t.name, SqlDialect::Postgres));
            if (t.byMonth)
                runNative(connection,
                          QStringLiteral("ANALYZE ") +
                              name(t.monthName().toLatin1().constData(), SqlDialect::Postgres));
        }
}

void Summaries::drop(const Connection& connection)
{
    connection.beginTransaction();
    try {
        for (const QString& statement : dropScript(connection.dialect()))
            runNative(connection, statement);
        connection.commit();
    } catch (...) {
        connection.rollback();
        throw;
    }
    remember(connection, false);
}

namespace {

// Rebuilds the summaries of `rebuilt` for the dates the table `stale` marks, taking the marks
// away with them.
bool rebuildMarked(const Connection& connection, const QString& stale, Summaries::Rebuilt rebuilt,
                   QString* error)
{
    // A month of dates at a time, each batch in its own short transaction: the tills write
    // between them.
    for (;;) {
        QVariant first, last;
        try {
            auto rs = connection.execute(QStringLiteral("SELECT TOP 31 BillDate FROM ") + stale +
                                         QStringLiteral(" ORDER BY BillDate"));
            for (; !rs->atEnd(); rs->moveNext()) {
                if (first.isNull())
                    first = rs->value(0);
                last = rs->value(0);
            }
        } catch (const SqlError& e) {
            if (error)
                *error = e.message();
            return false;
        }
        if (first.isNull())
            return true;
        try {
            connection.beginTransaction();
        } catch (const SqlError& e) {
            if (error)
                *error = e.message();
            return false;
        }
        try {
            // The marks are taken away with the dates rebuilt: no till may add one between the
            // rebuild reading the bills and the marks going (SQLite's writer lock does that).
            if (connection.dialect() == SqlDialect::Postgres)
                connection.executeScript(QStringLiteral("LOCK TABLE ") + stale.toLower() +
                                         QStringLiteral(" IN EXCLUSIVE MODE"));
            else if (connection.dialect() == SqlDialect::MsSql)
                connection.executeNonQuery(QStringLiteral("SELECT COUNT(*) FROM ") + stale +
                                           QStringLiteral(" WITH (TABLOCKX, HOLDLOCK)"));
            for (const QString& statement : Summaries::fillStatements(false, rebuilt))
                connection.executeNonQuery(statement, {first, last});
            // The months of those dates, whole, from their days.
            const QDate firstMonth = dateOf(first), lastMonth = dateOf(last);
            const QVariantList months{QDate(firstMonth.year(), firstMonth.month(), 1),
                                      QDate(lastMonth.year(), lastMonth.month(), 1).addMonths(1)};
            for (const QString& statement : Summaries::monthFillStatements(false, rebuilt))
                connection.executeNonQuery(statement, months);
            connection.executeNonQuery(QStringLiteral("DELETE FROM ") + stale +
                                           QStringLiteral(" WHERE BillDate>=? AND BillDate<=?"),
                                       {first, last});
            connection.commit();
        } catch (const SqlError& e) {
            try {
                connection.rollback();
            } catch (const SqlError&) {
            }
            if (error)
                *error = e.message();
            return false;
        }
    }
}

} // namespace

bool Summaries::refresh(const Connection& connection, QString* error)
{
    return installed(connection) &&
           rebuildMarked(connection, QStringLiteral("sm_StaleDay"), Rebuilt::All, error) &&
           rebuildMarked(connection, QStringLiteral("sm_StaleMemberDay"), Rebuilt::OfMembers,
                         error);
}

void Summaries::rebuildAll(const Connection& connection)
{
    connection.beginTransaction();
    try {
        connection.executeNonQuery(QStringLiteral(
            "INSERT INTO sm_StaleDay (BillDate) SELECT DISTINCT BillDate FROM bi_Bill AS BL "
            "WHERE BillDate IS NOT NULL AND NOT EXISTS (SELECT 1 FROM sm_StaleDay AS S WHERE "
            "S.BillDate=BL.BillDate)"));
        connection.commit();
    } catch (...) {
        connection.rollback();
        throw;
    }
    QString error;
    if (!refresh(connection, &error))
        throw SqlError(error);
}

QStringList Summaries::verify(const Connection& connection)
{
    QStringList differences;
    for (const Table& t : tables()) {
        const QString stored = QStringLiteral("SELECT ") + keyList(t) + QStringLiteral(" FROM ") +
                               QString::fromUtf8(t.name);
        const QString fresh = groupedSelect(t, QString());
        // Each row of either side that the other lacks (both are unique on their keys).
        const QString columns = keyList(t);
        auto rs = connection.execute(QStringLiteral("SELECT COUNT(*) FROM (SELECT ") + columns +
                                     QStringLiteral(" FROM (SELECT * FROM (") + stored +
                                     QStringLiteral(") AS a UNION ALL SELECT * FROM (") + fresh +
                                     QStringLiteral(") AS b) AS u GROUP BY ") + columns +
                                     QStringLiteral(" HAVING COUNT(*)<>2) AS d"));
        const qint64 count = rs->atEnd() ? 0 : rs->value(0).toLongLong();
        if (count != 0)
            differences
                << QStringLiteral("%1: %2 rows differ").arg(QString::fromUtf8(t.name)).arg(count);
        if (!t.byMonth)
            continue;
        // The months against the bills grouped by month.
        const QString months = monthKeyList(t);
        auto mrs = connection.execute(
            QStringLiteral("SELECT COUNT(*) FROM (SELECT ") + months +
            QStringLiteral(" FROM (SELECT * FROM (SELECT ") + months + QStringLiteral(" FROM ") +
            t.monthName() + QStringLiteral(") AS a UNION ALL SELECT * FROM (") +
            groupedSelect(t, QString(), true) + QStringLiteral(") AS b) AS u GROUP BY ") + months +
            QStringLiteral(" HAVING COUNT(*)<>2) AS d"));
        const qint64 monthCount = mrs->atEnd() ? 0 : mrs->value(0).toLongLong();
        if (monthCount != 0)
            differences << QStringLiteral("%1: %2 rows differ").arg(t.monthName()).arg(monthCount);
    }
    return differences;
}
