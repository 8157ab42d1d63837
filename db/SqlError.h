#pragma once

#include <QString>

#include <stdexcept>

// A statement that could not be translated, prepared or run, or a connection that is not open.
class SqlError : public std::runtime_error
{
public:
    explicit SqlError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};
