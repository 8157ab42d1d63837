#pragma once

#include "db/Recordset.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <memory>

class QComboBox;

// Data access on the host context's connection. Parameters bind to `?` markers in order; a list
// holding just one list is unwrapped (however deep), so parameter lists can be handed on.

// One row: column name -> value, NULL read as "" (an empty QString).
using RowDict = QHash<QString, QVariant>;
// Rows in the order the server returned them.
using RowCollection = QList<RowDict>;
// Rows keyed by one column's value (as text); the first row with a key wins.
using KeyedRows = QHash<QString, RowDict>;

// Failures are passed to the caller (SqlError).
std::unique_ptr<Recordset> ExecuteRecordset(const QString& sql, const QVariantList& params = {});
int CountRows(const QString& sql, const QVariantList& params = {});

// Failures are swallowed: the rows collected so far are returned.
RowCollection ExecuteRows(const QString& sql, const QVariantList& params = {});
KeyedRows ExecuteKeyedRows(const QString& sql, const QString& keyColumn,
                           const QVariantList& params = {});
RowDict ExecuteFirstRow(const QString& sql, const QVariantList& params = {});

// Probes: false on any failure.
bool TableExists(const QString& table);
bool TableHasRows(const QString& table);
bool CheckConnection();

// Adds each distinct, non-blank value of `column` to the combo's list; stops quietly on failure.
void FillComboFromQuery(QComboBox* combo, const QString& column, const QString& sql);
