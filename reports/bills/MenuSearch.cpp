#include "reports/bills/MenuSearch.h"

#include "db/SqlText.h"

#include <QRegularExpression>

bool IsNumericText(const QString& text)
{
    static const QRegularExpression number(
        QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    return number.match(text.trimmed()).hasMatch();
}

QString MenuSearchCondition(const QString& typed, const QString& codeColumn,
                            const QString& nameColumn)
{
    const QString t = typed.trimmed();
    if (t.isEmpty())
        return QString();
    if (IsNumericText(t))
        return QStringLiteral(" AND ") + codeColumn + QStringLiteral(" LIKE '") + sqlQuote(t) +
               QStringLiteral("%' ");
    return QStringLiteral(" AND ") + nameColumn + QStringLiteral(" LIKE '%") + sqlQuote(t) +
           QStringLiteral("%' ");
}
