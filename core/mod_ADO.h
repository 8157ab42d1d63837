#pragma once

#include "db/Recordset.h"
#include "db/Statement.h"

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

// Failures are swallowed: the rows collected so far are returned. For the entries of a list
// (a combo box) only, where an empty list is an answer; `error`, when given, gets the reason.
RowCollection ExecuteRows(const QString& sql, const QVariantList& params = {},
                          QString* error = nullptr);
KeyedRows ExecuteKeyedRows(const QString& sql, const QString& keyColumn,
                           const QVariantList& params = {});
RowDict ExecuteFirstRow(const QString& sql, const QVariantList& params = {});
// The same for a statement with its parameters; a statement with a fragment still to be written
// is a programming error (std::logic_error), never run.
RowCollection ExecuteRows(const Statement& statement, QString* error = nullptr);

// The same shapes for figures, settings and columns of a report: a failure is passed to the
// caller (SqlError), never a partial or empty result that looks complete.
RowCollection ReadRows(const QString& sql, const QVariantList& params = {});
KeyedRows ReadKeyedRows(const QString& sql, const QString& keyColumn,
                        const QVariantList& params = {});
RowDict ReadFirstRow(const QString& sql, const QVariantList& params = {});

// Probes: false on any failure.
bool TableExists(const QString& table);
bool TableHasRows(const QString& table);
bool CheckConnection();

// Adds each distinct, non-blank value of `column` to the combo's list; stops quietly on failure
// (and marks the combo with the reason, ListFailure).
void FillComboFromQuery(QComboBox* combo, const QString& column, const QString& sql);

// Why the entries of a combo's list could not be read (a script setting it is told), or empty.
QString ListFailure(const QComboBox* combo);
// Marks the combo's list as not read for `reason`; an empty reason clears the mark.
void MarkListFailure(QComboBox* combo, const QString& reason);
