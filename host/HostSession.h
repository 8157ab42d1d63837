#pragma once

#include "db/Connection.h"

#include <QPluginLoader>
#include <QString>
#include <QStringList>

#include <memory>

class HostOptions;
class ISubSystem;

// What the host holds while it runs: the database connection it opened and the module it
// loaded. Each step reports a one-line reason when it fails.
class HostSession
{
public:
    HostSession();
    ~HostSession();

    // Opens --db, --odbc or the demo database (created on first use by vtxdemodb), and starts
    // the --trace-sql log.
    bool openDatabase(const HostOptions& options, QString* error);
    // Loads vtxQueryApp.so from the host's own folder.
    bool loadModule(QString* error);

    ConnectionPtr connection() const { return m_connection; }
    ISubSystem* module() const { return m_module; }
    QObject* moduleObject() const { return m_moduleObject; }
    QString databaseName() const { return m_databaseName; }

    // The users of pv_User as "id" and "id name" pairs, in id order (empty when unreadable).
    QList<QPair<QString, QString>> users() const;
    // Whether `user` is a user of pv_User; false with the reason when nobody has that id or
    // pv_User cannot be read.
    bool knowsUser(const QString& user, QString* error) const;

    // Where the demo database lives.
    static QString demoDatabasePath();

private:
    bool openConnection(const HostOptions& options, QString* error);
    bool createDemoDatabase(const QString& path, QString* error);

    ConnectionPtr m_connection;
    QString m_databaseName;
    std::unique_ptr<QPluginLoader> m_loader;
    QObject* m_moduleObject = nullptr;
    ISubSystem* m_module = nullptr;
};
