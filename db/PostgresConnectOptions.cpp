#include "db/PostgresConnectOptions.h"

#include <QSqlDatabase>
#include <QUrl>
#include <QUrlQuery>

namespace {

bool assign(PostgresConnectOptions* o, const QString& key, const QString& value, QString* error)
{
    if (key == QLatin1String("host") || key == QLatin1String("hostaddr")) {
        o->host = value;
    } else if (key == QLatin1String("port")) {
        bool ok = false;
        o->port = value.toInt(&ok);
        if (!ok || o->port <= 0 || o->port > 65535) {
            *error = QStringLiteral("not a port: %1").arg(value);
            return false;
        }
    } else if (key == QLatin1String("dbname")) {
        o->database = value;
    } else if (key == QLatin1String("user")) {
        o->user = value;
    } else if (key == QLatin1String("password")) {
        o->password = value;
    } else {
        o->others << key + QLatin1Char('=') + value;
    }
    return true;
}

// keyword=value pairs separated by blanks; a value may be quoted with '...' (\' and \\ escape).
bool parsePairs(const QString& text, PostgresConnectOptions* o, QString* error)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    bool any = false;
    while (i < n) {
        while (i < n && text.at(i).isSpace())
            ++i;
        if (i >= n)
            break;
        const qsizetype eq = text.indexOf(QLatin1Char('='), i);
        if (eq < 0) {
            *error = QStringLiteral("expected keyword=value at: %1").arg(text.mid(i));
            return false;
        }
        const QString key = text.mid(i, eq - i).trimmed();
        i = eq + 1;
        while (i < n && text.at(i).isSpace())
            ++i;
        QString value;
        if (i < n && text.at(i) == u'\'') {
            for (++i; i < n && text.at(i) != u'\''; ++i) {
                if (text.at(i) == u'\\' && i + 1 < n)
                    ++i;
                value += text.at(i);
            }
            if (i >= n) {
                *error = QStringLiteral("unterminated quoted value of %1").arg(key);
                return false;
            }
            ++i;
        } else {
            while (i < n && !text.at(i).isSpace())
                value += text.at(i++);
        }
        if (key.isEmpty() || key.contains(QLatin1Char(' '))) {
            *error = QStringLiteral("not a keyword: %1").arg(key);
            return false;
        }
        if (!assign(o, key, value, error))
            return false;
        any = true;
    }
    if (!any)
        *error = QStringLiteral("empty connection text");
    return any;
}

bool parseUrl(const QString& text, PostgresConnectOptions* o, QString* error)
{
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid()) {
        *error = QStringLiteral("not a URL: %1").arg(url.errorString());
        return false;
    }
    o->host = url.host();
    o->port = url.port(-1);
    o->database = url.path().mid(1);
    o->user = url.userName();
    o->password = url.password();
    const QUrlQuery query(url);
    for (const auto& item : query.queryItems(QUrl::FullyDecoded))
        if (!assign(o, item.first, item.second, error))
            return false;
    return true;
}

} // namespace

bool PostgresConnectOptions::parse(const QString& text, PostgresConnectOptions* options,
                                   QString* error)
{
    *options = PostgresConnectOptions();
    const QString t = text.trimmed();
    if (t.startsWith(QLatin1String("postgresql://")) || t.startsWith(QLatin1String("postgres://")))
        return parseUrl(t, options, error);
    return parsePairs(t, options, error);
}

void PostgresConnectOptions::applyTo(QSqlDatabase& db) const
{
    db.setHostName(host);
    db.setPort(port);
    db.setDatabaseName(database);
    db.setUserName(user);
    db.setPassword(password);
    db.setConnectOptions(others.join(QLatin1Char(';')));
}

QString PostgresConnectOptions::describe() const
{
    QString where = host.isEmpty() ? QStringLiteral("localhost") : host;
    if (port > 0)
        where += QLatin1Char(':') + QString::number(port);
    return (database.isEmpty() ? QStringLiteral("(default database)") : database) +
           QStringLiteral(" on ") + where;
}
