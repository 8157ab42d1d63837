#include "query/StatementFragments.h"

#include "db/SqlText.h"

#include <algorithm>
#include <cmath>

bool IsNumericText(const QString& text)
{
    const QString t = text.trimmed();
    bool ok = false;
    const double value = t.toDouble(&ok);
    // "inf" and "nan" read as numbers to the parser but are no item code.
    return ok && std::isfinite(value) &&
           std::any_of(t.begin(), t.end(), [](QChar c) { return c.isDigit(); });
}

QString MenuTextFilter(const QString& text, const QString& idColumn, const QString& nameColumn)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QString();
    if (IsNumericText(t))
        return QStringLiteral(" AND ") + idColumn + QStringLiteral(" LIKE '") + sqlQuote(t) +
               QStringLiteral("%' ");
    return QStringLiteral(" AND ") + nameColumn + QStringLiteral(" LIKE '%") + sqlQuote(t) +
           QStringLiteral("%' ");
}

QString GiftScopeFilter(int scope)
{
    switch (scope) {
    case WithoutGifts:
        return QStringLiteral(" AND BI.IsSentMenu=0  ");
    case GiftsOnly:
        return QStringLiteral(" AND BI.IsSentMenu<>0 ");
    default:
        return QString();
    }
}

QString EqualsFilter(const QString& column, const QString& text)
{
    return QStringLiteral(" AND ") + column + QStringLiteral("='") + sqlQuote(text) +
           QStringLiteral("' ");
}

QString MealPeriodCondition(const QString& column, const QStringList& names, const QString& close)
{
    QString condition = QStringLiteral(" AND ( 1<>1 ");
    for (const QString& name : names)
        condition +=
            QStringLiteral(" OR ") + column + QStringLiteral(" = '") + sqlQuote(name) + close;
    return condition + QLatin1Char(')');
}
