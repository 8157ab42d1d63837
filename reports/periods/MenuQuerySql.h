#pragma once

#include "db/Statement.h"
#include "query/ReportCriteria.h"

#include <QString>

// What the menu query filters on (the menu as it stands: no dates, no branch). Prices are typed
// texts read as numbers (an empty text sets no bound; text that is no number reads as 0).
struct MenuQueryCriteria : ReportCriteria
{
    QString departType; // the chosen department type, empty for "(全部)"
    QString menuType;
    QString menuText;            // a number or bar code prefix, or part of a name or abbreviation
    bool menuSets = false;       // set menus only
    bool marketPrice = false;    // market-price dishes only
    bool noService = false;      // dishes exempt from the service charge
    bool soldOut = false;        // sold out
    bool notSplit = false;       // not printed on split tickets
    bool autoIssue = false;      // issued from stock automatically
    bool points = false;         // earn loyalty points
    bool commission = false;     // carry a sales commission
    bool tableOrder = false;     // served per table: shown on the bar, filters nothing
    bool personOrder = false;    // served per guest: shown on the bar, filters nothing
    QString lowPrice, highPrice; // the standard price band
};

// The typed number as plain decimal text ("12.5", "0" for text that is no number).
QString PlainNumber(const QString& text);
// Every dish of the menu with its main unit (unit number: dish number & "01") and each extra
// unit with its own prices, their category and flags (the one view).
Statement MenuQueryStatement(int view, const MenuQueryCriteria& criteria);
