#include "host/HostSession.h"

#include "db/PostgresConnectOptions.h"
#include "db/Recordset.h"
#include "db/StatementLog.h"
#include "framework/ISubSystem.h"
#include "host/HostOptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <cstdio>

HostSession::HostSession() = default;
HostSession::~HostSession() = default; // the module stays loaded until the process ends

QString HostSession::demoDatabasePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/demo.db");
}

bool HostSession::openDatabase(const HostOptions& options, QString* error)
{
    if (!openConnection(options, error))
        return false;
    if (!options.traceSql.isEmpty()) {
        const auto log = StatementLog::create(options.traceSql, error);
        if (!log)
            return false;
        StatementLog::attach(log, *m_connection);
    }
    return true;
}

bool HostSession::openConnection(const HostOptions& options, QString* error)
{
    try {
        if (!options.odbc.isEmpty()) {
            m_connection = Connection::openOdbc(options.odbc, SqlDialect::MsSql);
            m_databaseName = QStringLiteral("ODBC");
            return true;
        }
        if (!options.pg.isEmpty()) {
            m_connection = Connection::openPostgres(options.pg);
            PostgresConnectOptions where;
            QString ignored;
            PostgresConnectOptions::parse(options.pg, &where, &ignored);
            m_databaseName = QStringLiteral("PostgreSQL ") + where.describe();
            return true;
        }
        QString path = options.dbFile;
        if (path.isEmpty()) {
            path = demoDatabasePath();
            if (!QFileInfo::exists(path) && !createDemoDatabase(path, error))
                return false;
        } else if (!QFileInfo(path).isFile()) {
            *error = QStringLiteral("database file not found: %1").arg(path);
            return false;
        }
        m_connection = Connection::openSqlite(path);
        m_databaseName = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
        return true;
    } catch (const SqlError& e) {
        *error = QStringLiteral("cannot open the database: %1").arg(e.message());
        return false;
    }
}

bool HostSession::createDemoDatabase(const QString& path, QString* error)
{
    const QString generator = QCoreApplication::applicationDirPath() + QStringLiteral("/vtxdemodb");
    if (!QFileInfo(generator).isExecutable()) {
        *error = QStringLiteral("no database given and the demo database generator is missing "
                                "(%1); build vtxdemodb or pass --db FILE or --odbc STRING")
                     .arg(generator);
        return false;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    std::fprintf(stderr, "vtxhost: creating the demo database %s\n", qPrintable(path));
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(generator, {QStringLiteral("--out"), path});
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0 || !QFileInfo::exists(path)) {
        QFile::remove(path);
        *error = QStringLiteral("vtxdemodb could not create the demo database %1").arg(path);
        return false;
    }
    return true;
}

bool HostSession::loadModule(QString* error)
{
    const QString file = QCoreApplication::applicationDirPath() + QStringLiteral("/vtxQueryApp.so");
    m_loader = std::make_unique<QPluginLoader>(file);
    m_moduleObject = m_loader->instance();
    m_module = qobject_cast<ISubSystem*>(m_moduleObject);
    if (!m_module) {
        *error = QStringLiteral("cannot load the module %1: %2").arg(file, m_loader->errorString());
        return false;
    }
    return true;
}

QList<QPair<QString, QString>> HostSession::users() const
{
    QList<QPair<QString, QString>> list;
    if (!m_connection)
        return list;
    try {
        auto rs = m_connection->execute(QStringLiteral("SELECT * FROM pv_User ORDER BY UserID"));
        const bool hasName = rs->fieldIndex(QStringLiteral("UserName")) >= 0;
        for (; !rs->atEnd(); rs->moveNext()) {
            const QString id = rs->value(QStringLiteral("UserID")).toString();
            const QString name =
                hasName ? rs->value(QStringLiteral("UserName")).toString() : QString();
            list.append({id, name.isEmpty() ? id : id + QLatin1Char(' ') + name});
        }
    } catch (const SqlError&) {
    }
    return list;
}

bool HostSession::knowsUser(const QString& user, QString* error) const
{
    try {
        auto rs = m_connection->execute(QStringLiteral("select UserID from pv_User where UserID=?"),
                                        {user});
        if (!rs->atEnd())
            return true;
        *error = QStringLiteral("no user %1 in pv_User").arg(user);
    } catch (const SqlError& e) {
        *error = QStringLiteral("cannot read the users (pv_User): %1").arg(e.message());
    }
    return false;
}
