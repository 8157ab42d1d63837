#pragma once

#include "db/Connection.h"
#include "db/Recordset.h"

#include <QHash>

// The results of a screen's summary statements, fetched together ahead of the figures
// (side by side where the database allows, see Connection::executeAll) and handed out by
// statement text and parameters. A statement that was not fetched ahead runs when asked, so
// the list fetched ahead is a matter of speed only; one listed twice runs once.
class PrefetchedResults
{
public:
    PrefetchedResults(ConnectionPtr db, const QList<Connection::Statement>& statements);

    // As Connection::execute: throws SqlError when the statement failed.
    std::unique_ptr<Recordset> execute(const QString& tsql, const QVariantList& params = {}) const;

private:
    static QString keyOf(const QString& tsql, const QVariantList& params);

    ConnectionPtr m_db;
    QHash<QString, BufferedResult> m_results;
};
