#include "db/StatementBatch.h"

namespace {

// The text and the parameters, each with its type, as one key.
QString keyOf(const QString& tsql, const QVariantList& params)
{
    QString key = tsql;
    for (const QVariant& p : params)
        key += QChar(0x1f) + QString::number(p.typeId()) + QChar(':') + p.toString();
    return key;
}

} // namespace

StatementBatch::Handle StatementBatch::add(const QString& tsql, const QVariantList& params)
{
    const QString key = keyOf(tsql, params);
    const auto it = m_index.constFind(key);
    if (it != m_index.constEnd())
        return Handle(*it);
    m_statements.append({tsql, params});
    m_index.insert(key, m_statements.size() - 1);
    return Handle(m_statements.size() - 1);
}

StatementBatch::Handle StatementBatch::add(const Statement& statement)
{
    statement.requireFilled();
    return add(statement.text(), statement.parameters());
}

void StatementBatch::run(const Connection& db)
{
    const qsizetype done = qsizetype(m_results.size());
    if (done == m_statements.size())
        return;
    std::vector<BufferedResult> results = db.executeAll(m_statements.mid(done));
    for (BufferedResult& r : results)
        m_results.push_back(std::move(r));
}

const BufferedResult* StatementBatch::result(Handle h) const
{
    return h.valid() && size_t(h.m_index) < m_results.size() ? &m_results[size_t(h.m_index)]
                                                             : nullptr;
}

std::unique_ptr<Recordset> StatementBatch::open(Handle h) const
{
    const BufferedResult* r = result(h);
    if (!r)
        throw SqlError(h.valid() ? QStringLiteral("the statement has not run: ") +
                                       m_statements.at(h.m_index).tsql.simplified()
                                 : QStringLiteral("no statement declared"));
    return r->open();
}

QString StatementBatch::error(Handle h) const
{
    if (const BufferedResult* r = result(h))
        return r->error;
    return h.valid() ? QStringLiteral("the statement has not run")
                     : QStringLiteral("no statement declared");
}
