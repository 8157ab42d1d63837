#pragma once

#include <QString>

// Whether the whole text, blanks around it aside, reads as a number ("12", "-3.5", "1e3"; not
// "12a", not "").
bool IsNumericText(const QString& text);

// The condition of a menu search text typed into a criteria combo, trimmed: a number matches
// the item codes that begin with it, any other text the item names that contain it; a blank
// text adds nothing.
//   " AND <codeColumn> LIKE '12%' "   or   " AND <nameColumn> LIKE '%鱼%' "
QString MenuSearchCondition(const QString& typed, const QString& codeColumn,
                            const QString& nameColumn);
