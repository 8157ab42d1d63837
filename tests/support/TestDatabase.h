#pragma once

#include "db/Connection.h"

#include <QString>
#include <QTemporaryDir>

// A throw-away SQLite database for a test: the schema of data/schema/sqlite.sql, then an
// optional fixture script (a file name under tests/fixtures/ or an absolute path), opened as a
// Connection through QSQLITE or through the SQLite ODBC driver.
//
//   TestDatabase db("bills.sql");          // build + open
//   db.install();                          // hostContext().Connection = db.connection()
//
// install() lives in this header so that test folders without vtxCore can use the rest.
class TestDatabase
{
public:
    enum class Driver
    {
        Sqlite,
        Odbc
    };

    explicit TestDatabase(const QString& fixture = QString(), Driver driver = Driver::Sqlite);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    const ConnectionPtr& connection() const { return m_connection; }
    QString path() const { return m_path; }
    Driver driver() const { return m_driver; }

    // Runs a native SQLite script on the database (more fixture rows, say).
    void run(const QString& script) const;
    void runFile(const QString& fixture) const;
    // Writes a copy of the database to `copyPath` in which the first page of `table` is
    // overwritten, as a damaged disk leaves it: reading that table fails ("database disk image
    // is malformed"), the rest of the file reads. Throws SqlError when it cannot.
    void writeDamagedCopy(const QString& copyPath, const QString& table) const;

    static QString fixturePath(const QString& name);
    // Writes the demo chain with vtxdemodb's `options` to demo.db in `dir`: its path, or an empty
    // text when vtxdemodb is not built or fails.
    static QString writeDemo(const QString& dir, const QStringList& options);
    static QString schemaPath();
    static QString odbcConnectionString(const QString& path);

    // Makes this database the host context's connection (and undoes it on destruction).
    inline void install();

private:
    void (*m_uninstall)(const ConnectionPtr&) = nullptr;
    QTemporaryDir m_dir;
    QString m_path;
    Driver m_driver;
    ConnectionPtr m_connection;
};

#include "core/HostContext.h"

inline void TestDatabase::install()
{
    hostContext().Connection = m_connection;
    m_uninstall = [](const ConnectionPtr& c) {
        if (hostContext().Connection == c)
            hostContext().Connection.reset();
    };
}
