#include "tests/support/TestDatabase.h"

#include "db/SqlError.h"
#include "db/StatementLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

QString readText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw SqlError(QStringLiteral("cannot read %1").arg(path));
    return QString::fromUtf8(file.readAll());
}

} // namespace

TestDatabase::TestDatabase(const QString& fixture, Driver driver) : m_driver(driver)
{
    if (!m_dir.isValid())
        throw SqlError(QStringLiteral("cannot create a temporary folder"));
    m_path = m_dir.filePath(QStringLiteral("test.db"));
    {
        ConnectionPtr builder = Connection::openSqlite(m_path);
        builder->executeScript(
            QStringLiteral("PRAGMA journal_mode=MEMORY; PRAGMA synchronous=OFF;"));
        QString script = QStringLiteral("BEGIN;\n") + readText(schemaPath());
        if (!fixture.isEmpty())
            script += QStringLiteral(";\n") + readText(fixturePath(fixture));
        builder->executeScript(script + QStringLiteral(";\nCOMMIT;"));
    }
    m_connection = driver == Driver::Sqlite
                       ? Connection::openSqlite(m_path)
                       : Connection::openOdbc(odbcConnectionString(m_path), SqlDialect::Sqlite);
    // A test database need not survive a crash: no waiting for the disk.
    m_connection->executeScript(QStringLiteral("PRAGMA synchronous=OFF"));
    // VTX_TSQL_TRACE_DIR: the statements the test runs go to <dir>/<test>.jsonl (StatementLog)
    // for the T-SQL check.
    const QString traceDir = qEnvironmentVariable("VTX_TSQL_TRACE_DIR");
    if (!traceDir.isEmpty()) {
        static const std::shared_ptr<StatementLog> log = [&] {
            QDir().mkpath(traceDir);
            QString error;
            auto created = StatementLog::create(traceDir + QLatin1Char('/') +
                                                    QCoreApplication::applicationName() +
                                                    QStringLiteral(".jsonl"),
                                                &error);
            if (!created)
                throw SqlError(error);
            return created;
        }();
        StatementLog::attach(log, *m_connection);
    }
}

TestDatabase::~TestDatabase()
{
    if (m_uninstall)
        m_uninstall(m_connection);
}

void TestDatabase::run(const QString& script) const
{
    m_connection->executeScript(script);
}

void TestDatabase::runFile(const QString& fixture) const
{
    run(readText(fixturePath(fixture)));
}

void TestDatabase::writeDamagedCopy(const QString& copyPath, const QString& table) const
{
    QFile::remove(copyPath);
    run(QStringLiteral("VACUUM INTO '%1'").arg(copyPath));
    int pageSize = 0, rootPage = 0;
    const QString name = QStringLiteral("damage-") + copyPath;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(copyPath);
        if (db.open()) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("PRAGMA journal_mode=DELETE")); // no WAL to read pages from
            if (q.exec(QStringLiteral("PRAGMA page_size")) && q.next())
                pageSize = q.value(0).toInt();
            q.prepare(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name=?"));
            q.addBindValue(table);
            if (q.exec() && q.next())
                rootPage = q.value(0).toInt();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    QFile file(copyPath);
    if (pageSize <= 0 || rootPage <= 1 || !file.open(QIODevice::ReadWrite) ||
        !file.seek(qint64(rootPage - 1) * pageSize) ||
        file.write(QByteArray(pageSize, '\xff')) != pageSize)
        throw SqlError(QStringLiteral("cannot damage %1 in %2").arg(table, copyPath));
}

QString TestDatabase::writeDemo(const QString& dir, const QStringList& options)
{
    const QString generator = QStringLiteral(VTX_BIN_DIR "/vtxdemodb");
    const QString path = dir + QStringLiteral("/demo.db");
    QProcess p;
    p.start(generator, QStringList{QStringLiteral("--out"), path} + options);
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0
               ? path
               : QString();
}

QString TestDatabase::fixturePath(const QString& name)
{
    if (QFileInfo(name).isAbsolute())
        return name;
    return QStringLiteral(VTX_SOURCE_DIR "/tests/fixtures/") + name;
}

QString TestDatabase::schemaPath()
{
    return QStringLiteral(VTX_SOURCE_DIR "/data/schema/sqlite.sql");
}

QString TestDatabase::odbcConnectionString(const QString& path)
{
    return QStringLiteral("DRIVER=SQLite3;Database=%1").arg(path);
}
