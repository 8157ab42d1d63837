#pragma once

#include <QString>

#include <stdexcept>

// A statement that could not be translated, prepared or run, or a connection that is not open.
// The message is the database's reason, for the user; the statement itself is not part of it
// (the statement trace has it).
class SqlError : public std::runtime_error
{
public:
    enum class Kind
    {
        Other,
        Busy,          // another connection holds a lock longer than a statement waits
        MissingTable,  // no such table or view
        MissingColumn, // no such column
        Damaged,       // the database file is damaged
    };

    explicit SqlError(const QString& message, Kind kind = Kind::Other)
        : std::runtime_error(message.toStdString()), m_kind(kind)
    {
    }
    QString message() const { return QString::fromStdString(what()); }
    Kind kind() const { return m_kind; }
    // The table or column a statement names is not in the database (an older schema).
    bool isMissingObject() const
    {
        return m_kind == Kind::MissingTable || m_kind == Kind::MissingColumn;
    }

    // What the user is told when a lock is not released in time.
    static QString busyMessage()
    {
        return QStringLiteral("the database is busy: another program holds a lock on it");
    }

private:
    Kind m_kind;
};
