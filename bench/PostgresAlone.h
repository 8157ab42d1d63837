#pragma once

// "PostgreSQL alone": a statement sent with libpq's own PQexecParams on a connection of its own
// (the parameters as text, as the application binds them), every column of every row read as the
// server sends it (text, no QVariant, no conversion). The yardstick for the screens' times on a
// PostgreSQL server. `stepped`: the rows taken one by one as they come (libpq's single-row mode,
// as the query control's reader takes a list) instead of the whole result at once, which for
// millions of rows costs libpq more than the server's work.
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
inline qint64 runPostgresAlone(PGconn* db, const QString& sql, const QVariantList& bound = {},
                               bool stepped = false)
{
    std::vector<QByteArray> texts;
    std::vector<const char*> values;
    for (const QVariant& v : bound)
        texts.push_back(v.isNull() ? QByteArray() : v.toString().toUtf8());
    for (size_t i = 0; i < texts.size(); ++i)
        values.push_back(bound.at(qsizetype(i)).isNull() ? nullptr : texts[i].constData());
    if (stepped) {
        if (!PQsendQueryParams(db, postgresPlaceholders(sql).constData(), int(values.size()),
                               nullptr, values.data(), nullptr, nullptr, 0) ||
            !PQsetSingleRowMode(db)) {
            std::fprintf(stderr, "PostgreSQL alone: %s", PQerrorMessage(db));
            return -1;
        }
        qint64 rows = 0, sink = 0;
        bool failed = false;
        while (PGresult* r = PQgetResult(db)) {
            const ExecStatusType status = PQresultStatus(r);
            if (status == PGRES_SINGLE_TUPLE) {
                ++rows;
                for (int c = 0; c < PQnfields(r); ++c)
                    sink += PQgetlength(r, 0, c) + (PQgetvalue(r, 0, c)[0] != 0);
            } else if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
                std::fprintf(stderr, "PostgreSQL alone: %s", PQresultErrorMessage(r));
                failed = true;
            }
            PQclear(r);
        }
        if (sink == 42)
            std::printf(" ");
        return failed ? -1 : rows;
    }
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
