#pragma once

#include "db/Recordset.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <vector>

// One value while a row is evaluated: NULL, a number or a text. Text values point into the
// row's fetched values or the expression's constants; they live as long as the row does.
// A cell of the result as it is read (Recordset::cell) is one as it stands.
struct QueryValue : SqlCell
{
    QueryValue() = default;
    QueryValue(const SqlCell& cell) : SqlCell(cell) {}

    static QueryValue fromNumber(double v) { return SqlCell{Number, v, {}}; }
    static QueryValue fromText(QStringView t) { return SqlCell{Text, 0, t}; }
    bool isNull() const { return kind == Null; }
    // The numeric reading: numbers as they are, texts parsed (0 when they are not numbers).
    double toNumber(bool* ok = nullptr) const;
    bool isTrue() const; // non-zero numbers, texts that read as non-zero
};

// A field spec or a column condition, compiled once per query into a small stack program over
// the result's column indexes:
//   expression := or;  or := and {OR and};  and := not {AND not};  not := NOT not | compare
//   compare := sum [(= | <> | != | < | > | <= | >=) sum];  sum := product {(+ | -) product}
//   product := unary {(* | /) unary};  unary := (- | +) unary | primary
//   primary := number | 'text' ('' for a quote) | field | [field] | alias.field | ( expression )
// Keywords are case-insensitive. Comparisons with NULL are false; a text compared with a
// number is read as a number when it is one. Division by zero gives NULL.
class QueryExpression
{
public:
    // Resolves a field name to the result's column index, or -1 when there is no such column.
    using Resolver = std::function<int(const QString&)>;

    // Compiles `text`. On failure returns false and sets `error` (an unknown field names the
    // field); an empty text compiles to an empty program.
    bool compile(const QString& text, const Resolver& resolve, QString* error);

    bool isEmpty() const { return m_code.empty(); }
    // The result column when the expression is a bare field, else -1.
    int singleField() const
    {
        return m_code.size() == 1 && m_code[0].op == Op::Field ? m_code[0].arg : -1;
    }
    // The result columns read by the expression, ascending, each once.
    const std::vector<int>& fields() const { return m_fields; }

    // Evaluates over a row whose fetched values are `row[columnIndex]`.
    QueryValue evaluate(const QueryValue* row) const;
    bool test(const QueryValue* row) const { return m_code.empty() || evaluate(row).isTrue(); }

private:
    enum class Op : quint8
    {
        Field,
        Number,
        Text,
        Neg,
        Not,
        Add,
        Sub,
        Mul,
        Div,
        Eq,
        Ne,
        Lt,
        Gt,
        Le,
        Ge,
        And,
        Or
    };
    struct Instr
    {
        Op op;
        int arg = 0;    // field index or constant text index
        double num = 0; // numeric constant
    };
    std::vector<Instr> m_code;
    QStringList m_texts;
    std::vector<int> m_fields;
    int m_depth = 0;
    mutable std::vector<QueryValue> m_stack; // sized once at compile time

    friend class QueryExpressionParser;
};
