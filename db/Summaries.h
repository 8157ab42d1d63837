#pragma once

#include <QString>
#include <QStringList>

class Connection;
enum class SqlDialect;

// Exact summaries of the bills per business date, kept in the database beside the bills so that
// the grouped reports of a chain need not group millions of item lines each time:
//   sm_BillDay  the bills   per business date, branch, meal period, bill flags and the hour the
//               bill was opened
//   sm_ItemDay  the items   per business date, branch, meal period, bill flags and menu item,
//               unit, cost price, menu type, department, gift flag
//   sm_WaiterDay the items  per business date, branch, meal period, bill flags, department,
//               menu type, gift flag and waiter (who ordered the line)
//   sm_WaiterItemDay the items per business date, branch, meal period, bill flags, the item
//               summary's keys and waiter
//   sm_DepartDay the items  per business date, branch, meal period, bill flags, department,
//               department type, menu type and gift flag, without the menu item
//   sm_PayDay   the payments per business date, branch, meal period, bill flags, payment
//               subject and cashier
//   sm_TableDay the bills   per business date, branch, meal period, bill flags and table (its
//               own name, id and area)
//   sm_DiscountDay the item lines sold below (or above) their list price with a discount, per
//               business date, branch, bill flags, dish, menu type, department type, gift flag
//               and the two prices
//   sm_ReturnDay the returned items per business date, one row a return with the columns of its
//               bill, line and return that the returns list shows and filters by; it has no
//               month summary
//   sm_MemberItemDay the item lines of the bills of members on file per business date, branch,
//               bill flags and dish (not per member: a member's rows would be nearly as many as
//               the lines)
//   sm_MemberBillDay the bills of members per business date, branch, bill flags and member id
//   sm_MemberPayDay the payments of member bills per business date, branch, bill flags, member
//               id and payment subject
// and beside each of the others the same per month (sm_BillMonth, sm_ItemMonth, sm_WaiterMonth,
// sm_WaiterItemMonth, sm_PayMonth, sm_DepartMonth, sm_TableMonth, sm_DiscountMonth,
// sm_MemberItemMonth, sm_MemberBillMonth, sm_MemberPayMonth),
// keyed by the month's first day (BillMonth) in place of the business date, summed from the day
// summaries: a year's grouped report reads twelve months of rows instead of 365 days'.
// Each row holds the keys the reports group or filter by, with the same names and values as on
// bi_Bill and bi_BillItem (the table name, but in sm_TableDay, reduced to what the top-up
// condition asks: '会员卡充值', '' or NULL), the number of lines and the sums of the amounts,
// summed as the reports sum them (SQLite's sum; decimal(18,4) elsewhere), so a sum over the
// summaries is the sum over the lines to the cent (on SQLite the two may differ in the last bits of
// a double).
//
// Triggers on bi_Bill, bi_BillItem, bi_BillPayment and bi_SubBill write the business date of every
// bill written, changed or deleted (a return: of its line's bill) into sm_StaleDay; refresh()
// rebuilds those dates from the bills in one short transaction before a report reads the summaries,
// and in the same transaction the months of those dates whole from their days, so they are never
// behind the bills. A trigger on mb_MemberInfo writes the business dates of the bills of a member
// added, removed or given another id into sm_StaleMemberDay, for which refresh() rebuilds only
// the member summaries (a busy member's bills fall on most days of a year).
//
// Nothing creates them silently: install() (vtxhost --install-summaries, and vtxdemodb for the
// demo database) creates the tables and triggers and fills them, drop() removes them. A database
// without them is answered by the reports' own statements.
class Summaries
{
public:
    static constexpr int Version = 10;

    // The summaries a rebuild writes: all of them, or only those that join the members (the
    // days sm_StaleMemberDay marks).
    enum class Rebuilt
    {
        All,
        OfMembers
    };

    // Whether the summaries of this version are installed (cached per connection after the
    // first look; install() and drop() update it).
    static bool installed(const Connection& connection);
    // Creates the tables, indexes and triggers (in place of an older version's) and fills them
    // from the bills. Throws SqlError.
    static void install(const Connection& connection);
    // Removes them (nothing happens where they are not installed). Throws SqlError.
    static void drop(const Connection& connection);
    // Rebuilds the business dates marked stale, in one transaction. Returns false, writing
    // nothing, where the database cannot be written (the reports then read the bills).
    static bool refresh(const Connection& connection, QString* error = nullptr);
    // Rebuilds every date from the bills.
    static void rebuildAll(const Connection& connection);
    // Compares every summary row with the bills, grouped afresh (after a refresh). Returns one
    // line per table that differs ("sm_ItemDay: 3 rows differ"), empty when all agree.
    static QStringList verify(const Connection& connection);

    // The columns of a summary table ("sm_ItemDay"): its keys, then its counts and sums; empty
    // for another name.
    static QStringList columns(const QString& table);
    // The alias of the bill table a column of a summary table is read from ("BL" for bi_Bill,
    // "BI" for bi_BillItem, "BP" for bi_BillPayment); empty for a count or another name. A
    // waiter is the line's (BI.CreatePerson) in sm_WaiterDay, not the bill's (BL.CreatePerson).
    static QString origin(const QString& table, const QString& column);

    // The statements that install the summaries on a dialect, as run by install() (the T-SQL
    // ones go through the T-SQL check).
    static QStringList installScript(SqlDialect dialect);
    static QStringList dropScript(SqlDialect dialect);
    // The T-SQL statements that fill the summary tables for the dates of sm_StaleDay (or all
    // dates), the same on every dialect after translation.
    static QStringList fillStatements(bool allDates, Rebuilt rebuilt = Rebuilt::All);
    // The T-SQL statements that rebuild the month summaries from the day summaries for the
    // months from the first given (its first day) up to the second (the first day after them),
    // or all months.
    static QStringList monthFillStatements(bool allMonths, Rebuilt rebuilt = Rebuilt::All);
};
