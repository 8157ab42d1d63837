#pragma once

#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/Statement.h"

#include <QHash>

// The summary statements of a screen, each declared once with its parameters ahead of the
// figures, run together (side by side where the database allows, see Connection::executeAll)
// and read by the handle its declaration returned. A statement declared twice with the same
// parameters runs once; both handles read its result.
class StatementBatch
{
public:
    class Handle
    {
    public:
        Handle() = default; // declares nothing: valid() is false
        bool valid() const { return m_index >= 0; }

    private:
        friend class StatementBatch;
        explicit Handle(qsizetype index) : m_index(index) {}
        qsizetype m_index = -1;
    };

    Handle add(const QString& tsql, const QVariantList& params = {});
    // A statement with its parameters; throws std::logic_error when it has a fragment still to
    // be written (Statement::requireFilled).
    Handle add(const Statement& statement);
    // Runs every statement declared since the last run, together. Never throws: a statement
    // that fails keeps its error for open() and error().
    void run(const Connection& db);

    // A reader over the statement's rows. Throws SqlError with the statement's error when it
    // failed, has not run yet, or the handle declares nothing.
    std::unique_ptr<Recordset> open(Handle h) const;
    // Why the statement failed; empty when it ran.
    QString error(Handle h) const;
    // Distinct statements declared.
    qsizetype size() const { return m_statements.size(); }

private:
    const BufferedResult* result(Handle h) const;

    QList<Connection::Statement> m_statements;
    QHash<QString, qsizetype> m_index; // text and parameters -> statement
    std::vector<BufferedResult> m_results;
};
