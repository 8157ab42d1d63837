#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A PostgreSQL 15 server of the test's own: a cluster made by initdb in a temporary folder,
// listening on a Unix socket in that folder only (no TCP port), stopped and removed by the
// destructor. A watcher process stops it as well once the test process is gone, so a crashed
// test leaves no server behind for more than a few seconds. As root (CI) the server runs as the
// `postgres` system user, which PostgreSQL requires.
//
//   PgServer server;
//   if (!server.isRunning()) QSKIP(qPrintable(server.skipReason()));
//   const QString conn = server.createDatabase("golden"); // "host=... port=... dbname=golden ..."
class PgServer
{
public:
    PgServer();
    ~PgServer();
    PgServer(const PgServer&) = delete;
    PgServer& operator=(const PgServer&) = delete;

    bool isRunning() const { return m_running; }
    // Why the server is not running: the binaries are missing (a skip), or it failed to start.
    QString skipReason() const { return m_reason; }
    // Whether the binaries are there at all (a missing server is a skip, a failing one an error).
    bool binariesFound() const { return m_binariesFound; }

    // The connection text of a database on the server.
    QString connection(const QString& database) const;
    // Creates an empty database; its connection text, or an empty text (error in *error).
    QString createDatabase(const QString& name, QString* error = nullptr) const;

    // Where the binaries are looked for: $VTX_PG_BIN, else /usr/lib/postgresql/15/bin.
    static QString binDir();

private:
    bool runAsServerUser(const QString& program, const QStringList& arguments, QString* output,
                         int timeoutMs = 60000) const;

    QTemporaryDir m_dir;
    QString m_data;
    bool m_asRoot = false;
    bool m_running = false;
    bool m_binariesFound = false;
    QString m_reason;
};
