#include "db/SqlText.h"

QString sqlQuote(const QString& text)
{
    QString quoted = text;
    return quoted.replace(QLatin1Char('\''), QLatin1String("''"));
}

QString sqlLiteral(const QString& text)
{
    return QLatin1Char('\'') + sqlQuote(text) + QLatin1Char('\'');
}

QString sqlQuotedList(const QStringList& values)
{
    QStringList literals;
    literals.reserve(values.size());
    for (const QString& v : values)
        literals.append(sqlLiteral(v));
    return literals.join(QLatin1Char(','));
}

QStringList splitSqlScript(const QString& script)
{
    QStringList statements;
    QString current;
    const qsizetype n = script.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = script.at(i);
        if (c == u'-' && i + 1 < n && script.at(i + 1) == u'-') {
            while (i < n && script.at(i) != u'\n')
                ++i;
            current += QLatin1Char('\n');
            continue;
        }
        if (c == u'\'' || c == u'"' || c == u'[') {
            const QChar close = c == u'[' ? QChar(u']') : c;
            current += c;
            for (++i; i < n; ++i) {
                current += script.at(i);
                if (script.at(i) == close)
                    break;
            }
            continue;
        }
        if (c == u'$' && i + 1 < n && script.at(i + 1) == u'$') {
            // a dollar-quoted body (PostgreSQL functions), kept whole
            const qsizetype end = script.indexOf(QLatin1String("$$"), i + 2);
            const qsizetype stop = end < 0 ? n : end + 2;
            current += script.mid(i, stop - i);
            i = stop - 1;
            continue;
        }
        if (c == u';') {
            if (!current.trimmed().isEmpty())
                statements << current.trimmed();
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.trimmed().isEmpty())
        statements << current.trimmed();
    return statements;
}
