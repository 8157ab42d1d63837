#pragma once

#include <QString>

// The text of a user-typed value for use between single quotes in SQL: every ' is doubled, so
// ordinary input is unchanged and no input can end the literal early.
QString sqlQuote(const QString& text);
