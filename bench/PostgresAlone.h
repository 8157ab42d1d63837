#pragma once

// "PostgreSQL alone": a statement sent with libpq's own PQexecParams on a connection of its own
// (the parameters as text, as the application binds them), every column of every row read as the
// server sends it (text, no QVariant, no conversion). The yardstick for the screens' times on a
// PostgreSQL server.
#include <QString>
#include <QVariantList>

#include <libpq-fe.h>

#include <cstdio>
#include <vector>

// The statement as QPSQL prepares it: each ? outside quotes becomes $1, $2, ...
inline QByteArray postgresPlaceholders(const QString& sql)
{
    QString out;
    int n = 0;
    QChar quote;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u'?') {
            out += QLatin1Char('$') + QString::number(++n);
            continue;
        }
        out += c;
    }
    return out.toUtf8();
}

// Returns the rows read, or -1 when the statement fails (the error on stderr).
inline qint64 runPostgresAlone(PGconn* db, const QString& sql, const QVariantList& bound = {})
{
    std::vector<QByteArray> texts;
    std::vector<const char*> values;
    for (const QVariant& v : bound)
        texts.push_back(v.isNull() ? QByteArray() : v.toString().toUtf8());
    for (size_t i = 0; i < texts.size(); ++i)
        values.push_back(bound.at(qsizetype(i)).isNull() ? nullptr : texts[i].constData());
    PGresult* r = PQexecParams(db, postgresPlaceholders(sql).constData(), int(values.size()),
                               nullptr, values.data(), nullptr, nullptr, 0);
    if (PQresultStatus(r) != PGRES_TUPLES_OK && PQresultStatus(r) != PGRES_COMMAND_OK) {
        std::fprintf(stderr, "PostgreSQL alone: %s", PQresultErrorMessage(r));
        PQclear(r);
        return -1;
    }
    const int rows = PQntuples(r), columns = PQnfields(r);
    qint64 sink = 0;
    for (int row = 0; row < rows; ++row)
        for (int c = 0; c < columns; ++c)
            sink += PQgetlength(r, row, c) + (PQgetvalue(r, row, c)[0] != 0);
    PQclear(r);
    if (sink == 42)
        std::printf(" ");
    return rows;
}
