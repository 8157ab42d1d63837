#include "tests/support/PgServer.h"

#include "db/Connection.h"
#include "db/SqlError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <unistd.h>

namespace {

constexpr int Port = 5432; // on a socket in the server's own folder: no clash with others
const QString User = QStringLiteral("vtx");

// util-linux's runuser, in root's sbin.
QString runuser()
{
    const QString found = QStandardPaths::findExecutable(
        QStringLiteral("runuser"), {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin"),
                                    QStringLiteral("/usr/bin"), QStringLiteral("/bin")});
    return found.isEmpty() ? QStringLiteral("runuser") : found;
}

} // namespace

QString PgServer::binDir()
{
    const QString env = qEnvironmentVariable("VTX_PG_BIN");
    return env.isEmpty() ? QStringLiteral("/usr/lib/postgresql/15/bin") : env;
}

PgServer::PgServer() : m_dir(QDir::tempPath() + QStringLiteral("/vtx-pg-XXXXXX"))
{
    const QString bin = binDir();
    for (const char* tool : {"initdb", "pg_ctl", "postgres"}) {
        if (!QFileInfo(bin + QLatin1Char('/') + QLatin1String(tool)).isExecutable()) {
            m_reason = QStringLiteral("PostgreSQL binaries not found in %1 (scripts/setup.sh "
                                      "installs postgresql-15): PostgreSQL not tested")
                           .arg(bin);
            return;
        }
    }
    m_binariesFound = true;
    if (!m_dir.isValid()) {
        m_reason = QStringLiteral("cannot create a temporary folder for PostgreSQL");
        return;
    }
    m_data = m_dir.filePath(QStringLiteral("data"));
    m_asRoot = geteuid() == 0;
    QString output;
    if (m_asRoot) {
        // PostgreSQL refuses to run as root: the folder goes to its system user.
        QProcess chown;
        chown.start(QStringLiteral("chown"), {QStringLiteral("postgres:postgres"), m_dir.path()});
        if (!chown.waitForFinished() || chown.exitCode() != 0) {
            m_reason = QStringLiteral("cannot hand %1 to the postgres user").arg(m_dir.path());
            return;
        }
    }
    if (!runAsServerUser(bin + QStringLiteral("/initdb"),
                         {QStringLiteral("-D"), m_data, QStringLiteral("-U"), User,
                          QStringLiteral("--auth=trust"), QStringLiteral("--encoding=UTF8"),
                          QStringLiteral("--locale=C"), QStringLiteral("--no-sync")},
                         &output)) {
        m_reason = QStringLiteral("initdb failed: ") + output;
        return;
    }
    // A test database need not survive a crash: no waiting for the disk.
    const QString serverOptions =
        QStringLiteral("-c listen_addresses='' -k %1 -p %2 -c fsync=off -c synchronous_commit=off "
                       "-c full_page_writes=off -c max_connections=40")
            .arg(m_dir.path())
            .arg(Port);
    if (!runAsServerUser(bin + QStringLiteral("/pg_ctl"),
                         {QStringLiteral("-D"), m_data, QStringLiteral("-o"), serverOptions,
                          QStringLiteral("-l"), m_dir.filePath(QStringLiteral("server.log")),
                          QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("60"),
                          QStringLiteral("start")},
                         &output)) {
        m_reason = QStringLiteral("pg_ctl start failed: ") + output;
        return;
    }
    m_running = true;
    // Stops the server once this process is gone, however it ended.
    const QString stop = (m_asRoot ? QStringLiteral("runuser -u postgres -- ") : QString()) +
                         QStringLiteral("'%1/pg_ctl' -D '%2' -m immediate stop").arg(bin, m_data);
    QProcess::startDetached(
        QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"),
         QStringLiteral("while kill -0 %1 2>/dev/null; do sleep 2; done; if [ -d '%2' ]; then "
                        "%3 >/dev/null 2>&1; rm -rf '%4'; fi")
             .arg(QCoreApplication::applicationPid())
             .arg(m_data, stop, m_dir.path())});
}

PgServer::~PgServer()
{
    if (m_running) {
        QString output;
        runAsServerUser(binDir() + QStringLiteral("/pg_ctl"),
                        {QStringLiteral("-D"), m_data, QStringLiteral("-m"), QStringLiteral("fast"),
                         QStringLiteral("-w"), QStringLiteral("stop")},
                        &output);
    }
}

bool PgServer::runAsServerUser(const QString& program, const QStringList& arguments,
                               QString* output, int timeoutMs) const
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setWorkingDirectory(m_dir.path());
    if (m_asRoot)
        p.start(runuser(), QStringList{QStringLiteral("-u"), QStringLiteral("postgres"),
                                       QStringLiteral("--"), program} +
                               arguments);
    else
        p.start(program, arguments);
    const bool finished = p.waitForFinished(timeoutMs);
    *output = QString::fromLocal8Bit(p.readAll()).trimmed();
    return finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

QString PgServer::connection(const QString& database) const
{
    return QStringLiteral("host=%1 port=%2 dbname=%3 user=%4")
        .arg(m_dir.path())
        .arg(Port)
        .arg(database, User);
}

QString PgServer::createDatabase(const QString& name, QString* error) const
{
    try {
        ConnectionPtr admin = Connection::openPostgres(connection(QStringLiteral("postgres")));
        admin->executeScript(QStringLiteral("CREATE DATABASE \"%1\"").arg(name));
        return connection(name);
    } catch (const SqlError& e) {
        if (error)
            *error = e.message();
        return QString();
    }
}
