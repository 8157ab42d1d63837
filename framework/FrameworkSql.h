#pragma once

#include "db/Connection.h"

#include <QList>
#include <QVariantList>
#include <QVariantMap>

// Reading rows for the framework objects. Failures are swallowed: the caller gets false and
// whatever rows were read before the failure.
namespace FrameworkSql {

// Rows as column name -> value, NULL read as an empty text.
bool rows(const ConnectionPtr& connection, const QString& sql, const QVariantList& params,
          QList<QVariantMap>* out);

// A stored date or date-time: a QDateTime value, or text "yyyy-MM-dd[ HH:mm:ss[.zzz]]" or ISO.
QDateTime toDateTime(const QVariant& value);

} // namespace FrameworkSql
