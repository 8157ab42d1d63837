#pragma once

#include <QString>
#include <QStringList>

// Statement fragments the reports share: a typed value compared or searched, the gift scope of
// item lines, the meal periods ticked. Typed texts are quoted (db/SqlText); nothing here knows a
// widget.

// " AND <column>='<text>' " with the text quoted.
QString EqualsFilter(const QString& column, const QString& text);

// True when the whole trimmed text reads as a number ("12", "1.5", "-3"), false for "12a".
bool IsNumericText(const QString& text);
// The typed item: " AND <idColumn> LIKE '<T>%' " when the trimmed text T reads as a number,
// else " AND <nameColumn> LIKE '%<T>%' "; nothing for a blank text. T is quoted.
QString MenuTextFilter(const QString& text, const QString& idColumn, const QString& nameColumn);

// The gift scope of item lines (cboIsSentMenu): gifts left out, gifts only, or both.
enum GiftScope
{
    WithoutGifts = 0,
    GiftsOnly = 1,
    WithGifts = 2
};
// " AND BI.IsSentMenu=0  ", " AND BI.IsSentMenu<>0 " or nothing.
QString GiftScopeFilter(int scope);

// " AND ( 1<>1 " + " OR <column> = '<name>" + close for each name + ")": the condition that
// keeps rows of the named meal periods. Statements differ in what closes each alternative:
// "' " or "'".
QString MealPeriodCondition(const QString& column, const QStringList& names,
                            const QString& close = QStringLiteral("' "));
