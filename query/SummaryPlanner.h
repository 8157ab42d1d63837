#pragma once

#include "db/Statement.h"

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

class Connection;

// Answers a report's statement from the summaries of the bills (db/Summaries.h) when the
// report's criteria ask only for what the summaries keep: dates, branches, meal period, bill
// flags (deleted, top-up, settled), menu item, unit, menu type, department, department type,
// gift flag, table and, for the lines sold off their list price, the two prices. A report decides
// from its criteria value whether they fit, then hands its own statement to answer(), which returns
// the same statement over a summary table: the bill tables and their join replaced by the summary,
// every column read from it under the bill's alias, each count of lines a sum of the summary's
// counts. The figures are the same, cell for cell: the summaries hold the same keys and the same
// sums (see db/Summaries.h).
//
// A statement whose only use of the business date is its range ("BillDate>=? AND BillDate<?",
// or through the end date with "<=", the dates bound or written as literals) reads the whole months
// of the range from the month summaries and the days before and after them from the day summaries
// (byMonths()); one that groups, shows or otherwise reads the date keeps the day summaries.
//
// The raw statement is returned as it is when the summaries are not installed, cannot be brought
// up to date (a database that cannot be written), are switched off (setEnabled(false), or
// VTX_SUMMARIES=off in the environment), or when the statement is not of the shape given.
class SummaryPlanner
{
public:
    // The summary a statement reads and how its bill tables are written in it.
    enum class Source
    {
        Bills,     // sm_BillDay: bi_Bill AS BL alone
        Items,     // sm_ItemDay: bi_Bill AS BL joined with bi_BillItem AS BI; answer() reads
                   // whichever of the items' summaries keeps what the statement names
                   // (itemsSummaryFor())
        Payments,  // sm_PayDay:  bi_Bill AS BL joined with bi_BillPayment AS BP
        Waiters,   // sm_WaiterDay: as Items, per waiter without the menu item
        Tables,    // sm_TableDay: bi_Bill alone, per table
        Discounts, // sm_DiscountDay: as Items, the discounted lines sold off their list price only
        Departs,   // sm_DepartDay: as Items, without the menu item
        WaiterItems,    // sm_WaiterItemDay: as Items, per waiter
        MemberItems,    // sm_MemberItemDay: as Items joined with mb_MemberInfo AS MB, the member
                        // bills' lines per dish; no column of the members may be read
        MemberBills,    // sm_MemberBillDay: bi_Bill AS BL of members, per member id
        MemberPayments, // sm_MemberPayDay: as Payments of member bills, per member id
        Returns         // sm_ReturnDay: bi_Bill AS BL, bi_BillItem AS BI and bi_SubBill AS SB,
                        // one row a return
    };
    // Text replacements, each of which must be found in the statement: the FROM and join of
    // the bill tables as the statement writes them, with what takes their place.
    using Replacements = std::vector<std::pair<QString, QString>>;

    // The statement to run: `raw` over the summary of `source` when `fits` and the summaries are
    // ready, else `raw`. Counts the answer (see answered()).
    static Statement answer(const Connection& connection, bool fits, Source source,
                            const Statement& raw, const Replacements& replacements);

    // The same for a statement over the item lines that writes the join of bi_Bill AS BL and
    // bi_BillItem AS BI in one of the ways the item reports write it (either table first, the
    // join condition first in the WHERE clause).
    static Statement answerItems(const Connection& connection, bool fits, const Statement& raw);

    // The same for a statement over the bills alone ("FROM bi_Bill [AS BL] WHERE"), the item
    // lines or the payments ("FROM bi_Bill AS BL,bi_BillItem AS BI WHERE BL.BillID=BI.BillID
    // AND", in any case and spacing, with more tables after the line table's), whichever it
    // reads. A statement that reads none of the bill tables is returned as it is, not counted.
    static Statement answerJoined(const Connection& connection, bool fits, const Statement& raw);

    // The returned items' statement ("FROM bi_Bill AS BL, bi_BillItem AS BI, bi_SubBill AS SB
    // WHERE", the joins and "SB.SubBillType=2", its range "BL.BillDate>=? AND BL.BillDate<?" or
    // "<=?") read from the returns' summary: all of it up to the range becomes "FROM
    // sm_ReturnDay AS BL WHERE BL.BillDate>=? AND BL.BillDate<?", the line's "BI.CreateTime as
    // OrderTime" its "BL.ItemTime", every other column of the three tables the summary's of the
    // same name. The bills' statement where it reads a column the summary does not keep.
    static Statement answerReturns(const Connection& connection, const Statement& raw);

    static bool enabled();
    static void setEnabled(bool on);

    // How the statements since the last reset were answered: from the summaries, by the raw
    // statements. For the benchmark's "answered by" column and the tests.
    struct Answers
    {
        int fromSummaries = 0;
        int raw = 0;
        int fromMonths = 0; // of those from the summaries, read whole months from the months'
    };
    static Answers answered();
    static void resetAnswered();

    // What stands for a count of lines: the sum of a summary's counts ("BL.ItemCount") as the
    // count would give it, an integer, 0 over no row.
    static QString countOf(const QString& counts);

    // Of the summaries of the item lines, the one of fewest rows that keeps every column of theirs
    // that a statement names, anywhere in its text: sm_DepartDay for one that names no column of
    // the dish, sm_WaiterDay for a waiter's without the dish, sm_ItemDay for the dish's,
    // sm_WaiterItemDay for the dish's per waiter.
    static Source itemsSummaryFor(const QString& sql);

    // The rewrite alone (no database): empty when a replacement was not found, or when the
    // statement reads a column the summary does not keep from the table it names (the bill's
    // waiter where the summary keeps the line's).
    static QString rewrite(Source source, const QString& raw, const Replacements& replacements);

    // A statement over a day summary (as rewrite() gives it) reading the whole months of its
    // date range from the month summary instead: the summary in its FROM clause becomes the
    // month rows of those months (their BillDate the month's first day) and the day rows of the
    // days before and after them, in one UNION ALL. The statement as it is where its range
    // holds no whole month or it reads the date otherwise.
    static Statement byMonths(Source source, const Statement& daily);
};
