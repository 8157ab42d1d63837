#include "Connection.h"

#include "Recordset.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>

namespace {

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("vtx-%1").arg(counter.fetchAndAddOrdered(1));
}

} // namespace

struct Connection::Private
{
    QString name;
};

Connection::Connection() : d(std::make_unique<Private>()) {}

Connection::~Connection()
{
    if (!d->name.isEmpty()) {
        QSqlDatabase::database(d->name, false).close();
        QSqlDatabase::removeDatabase(d->name);
    }
}

std::shared_ptr<Connection> Connection::openSqlite(const QString& path)
{
    auto c = std::make_shared<Connection>();
    c->m_dialect = SqlDialect::Sqlite;
    c->d->name = nextConnectionName();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), c->d->name);
    db.setDatabaseName(path);
    if (!db.open())
        throw SqlError(QStringLiteral("cannot open %1: %2").arg(path, db.lastError().text()));
    return c;
}

std::shared_ptr<Connection> Connection::openOdbc(const QString& connectionString,
                                                 SqlDialect dialect)
{
    auto c = std::make_shared<Connection>();
    c->m_dialect = dialect;
    c->d->name = nextConnectionName();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), c->d->name);
    db.setDatabaseName(connectionString);
    if (!db.open())
        throw SqlError(QStringLiteral("cannot open ODBC data source: %1").arg(db.lastError().text()));
    return c;
}

bool Connection::isOpen() const
{
    return !d->name.isEmpty() && QSqlDatabase::database(d->name, false).isOpen();
}

QSqlDatabase Connection::database() const
{
    return d->name.isEmpty() ? QSqlDatabase() : QSqlDatabase::database(d->name, false);
}

QString Connection::nativeSql(const QString& tsql) const
{
    return tsql; // the SQLite translation arrives with the dialect layer
}

static QVariant bindable(const QVariant& v, SqlDialect dialect)
{
    if (dialect != SqlDialect::Sqlite)
        return v;
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().toString(QStringLiteral("yyyy-MM-dd 00:00:00"));
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return v;
}

static QSqlQuery prepared(const Connection& c, const QString& tsql, const QVariantList& params)
{
    if (!c.isOpen())
        throw SqlError(QStringLiteral("the database connection is not open"));
    QSqlQuery q(c.database());
    q.setForwardOnly(true);
    if (!q.prepare(c.nativeSql(tsql)))
        throw SqlError(q.lastError().text());
    for (const QVariant& p : params)
        q.addBindValue(bindable(p, c.dialect()));
    if (!q.exec())
        throw SqlError(q.lastError().text());
    return q;
}

std::unique_ptr<Recordset> Connection::execute(const QString& tsql, const QVariantList& params) const
{
    return std::make_unique<Recordset>(prepared(*this, tsql, params));
}

int Connection::executeNonQuery(const QString& tsql, const QVariantList& params) const
{
    return prepared(*this, tsql, params).numRowsAffected();
}

void Connection::beginTransaction() const
{
    if (!database().transaction())
        throw SqlError(database().lastError().text());
}

void Connection::commit() const
{
    if (!database().commit())
        throw SqlError(database().lastError().text());
}

void Connection::rollback() const
{
    if (!database().rollback())
        throw SqlError(database().lastError().text());
}
