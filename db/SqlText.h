#pragma once

#include <QString>
#include <QStringList>

// The text of a user-typed value for use between single quotes in SQL: every ' is doubled, so
// ordinary input is unchanged and no input can end the literal early.
QString sqlQuote(const QString& text);
// The value as a literal between single quotes, quoted: 'O''Brien'.
QString sqlLiteral(const QString& text);
// Each value as a literal, joined by ",": '01','02'. Empty for no value.
QString sqlQuotedList(const QStringList& values);

// The statements of an SQL script, split at ";" outside quotes, brackets and comments; "--"
// comments are dropped, blank statements skipped.
QStringList splitSqlScript(const QString& script);
