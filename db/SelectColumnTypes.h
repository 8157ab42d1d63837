#pragma once

#include <QMetaType>
#include <QString>

#include <functional>
#include <vector>

// The types SQL Server would give a SELECT's result columns, worked out from the statement for
// SQLite, which declares a type only for plain column references. A grid shows whole amounts
// of a money column as "68.00" and counts as "68", so a computed column must know which of the
// two it is: (SumOfConsume+SumOfService-SumForDiscount) is money, SUM(PeopleCount) and
// COUNT(*) are counts.
//
// An item is a number when it reads only number columns and literals; it is an integer when
// every column it reads is declared integer, it uses no division and no decimal literal, and it
// calls no averaging function (COUNT(...) counts as an integer). Parts joined by UNION give a
// column the wider of their types (decimal over integer). "SELECT * FROM (derived table)" has
// the derived table's types; anything else, and any item of a statement whose select list has
// "*" otherwise, is left unknown.
namespace SelectColumnTypes {

// The declared type of a column by name (any table), QMetaType() when no table has it.
using ColumnType = std::function<QMetaType(const QString& column)>;

// One entry per top-level select item, in order; QMetaType() where unknown.
std::vector<QMetaType> infer(const QString& sql, const ColumnType& columnType);

// A declared SQL type as the reader reports it: Int for the integer types, Double for the
// decimal and floating ones, QString for text types, QMetaType() for none.
QMetaType fromDeclared(const QString& declared);

} // namespace SelectColumnTypes
