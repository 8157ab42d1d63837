#pragma once

#include "db/Connection.h"

#include <QList>
#include <QVariantList>
#include <QVariantMap>

// Reading rows for the framework objects. A failure is no exception: the caller gets false,
// no rows, and in `error` (when given) the database's reason, which it keeps for its own
// callers (a report must not take a list that could not be read for an empty one).
namespace FrameworkSql {

// Rows as column name -> value, NULL read as an empty text.
bool rows(const ConnectionPtr& connection, const QString& sql, const QVariantList& params,
          QList<QVariantMap>* out, QString* error = nullptr, SqlError::Kind* kind = nullptr);

// A stored date or date-time: a QDateTime value, or text "yyyy-MM-dd[ HH:mm:ss[.zzz]]" or ISO.
QDateTime toDateTime(const QVariant& value);

} // namespace FrameworkSql
