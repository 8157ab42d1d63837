#include "db/PrefetchedResults.h"

PrefetchedResults::PrefetchedResults(ConnectionPtr db,
                                     const QList<Connection::Statement>& statements)
    : m_db(std::move(db))
{
    QList<Connection::Statement> distinct;
    QList<QString> keys;
    for (const Connection::Statement& s : statements) {
        const QString key = keyOf(s.tsql, s.params);
        if (!keys.contains(key)) {
            keys << key;
            distinct << s;
        }
    }
    std::vector<BufferedResult> results = m_db->executeAll(distinct);
    for (qsizetype i = 0; i < keys.size(); ++i)
        m_results.insert(keys.at(i), std::move(results[size_t(i)]));
}

std::unique_ptr<Recordset> PrefetchedResults::execute(const QString& tsql,
                                                      const QVariantList& params) const
{
    const auto it = m_results.constFind(keyOf(tsql, params));
    return it == m_results.constEnd() ? m_db->execute(tsql, params) : it->open();
}

QString PrefetchedResults::keyOf(const QString& tsql, const QVariantList& params)
{
    QString key = tsql;
    for (const QVariant& p : params)
        key += QChar(0x1f) + QString::number(p.typeId()) + QChar(':') + p.toString();
    return key;
}
