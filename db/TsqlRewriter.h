#pragma once

#include <QSet>
#include <QString>
#include <QVector>

// The T-SQL that the screens write, read once into tokens and rewritten in place for another
// database. The structure is the same for every target:
// - "TOP n" becomes "LIMIT n" at the end of its SELECT, "TOP 100 PERCENT" is dropped;
// - "alias = expr" select items become "expr AS alias";
// - "(nolock)" and "WITH (NOLOCK)" table hints are dropped;
// - "SELECT ... INTO t FROM ..." becomes "CREATE TABLE t AS SELECT ... FROM ...";
// - "#2024-05-01#" date literals and date-only string literals become 'YYYY-MM-DD HH:MM:SS';
// - "+" next to a string literal becomes "||" (string concatenation);
// - "/" divides as decimals do ("a/b" becomes "a*1.0/b", so 7/2 gives 3.5 on integer-valued
//   amounts as it does on SQL Server's decimal columns);
// - the date-part word of datepart/datediff/dateadd becomes text ('hh').
// Variables (@x), temporary tables (#x) and statements such as EXEC or BEGIN are refused with an
// SqlError naming the construct. What differs (function names, names and their quoting, NULL
// order, division by zero) is left to the target's subclass (TsqlToSqlite, TsqlToPostgres).
class TsqlRewriter
{
public:
    explicit TsqlRewriter(const QString& sql);
    virtual ~TsqlRewriter() = default;

    // The rewritten statement. Throws SqlError.
    QString run();

    enum class Kind
    {
        Space,
        Comment,
        String,
        Ident,
        Word,
        Number,
        Param,
        Punct,
        Date
    };

    struct Token
    {
        Kind kind;
        QString text;     // as written
        QString pre;      // inserted before the token
        QString post;     // inserted after the token
        QString replaced; // the token's new text when changed (null: unchanged)
        bool dropped = false;
        int depth = 0;  // parenthesis depth (the parentheses themselves count outside)
        int match = -1; // for ( and ): the index of the partner
    };

protected:
    // The target's name in error messages ("not translatable to SQLite: ...").
    virtual QString targetName() const = 0;
    // Word i is called as a function (a "(" follows at `open`): rename it, rewrite its
    // arguments, or fail() when the target has no such function.
    virtual void call(int i, const QString& lower, int open) = 0;
    // Word or quoted name i is a name (a column, a table, an alias), not a call.
    virtual void name(int i, const QString& lower) = 0;
    // The text of an alias in "expr AS alias" and of the table of SELECT ... INTO.
    virtual QString aliasText(int i) const;
    virtual QString tableText(int i) const;
    // Division at token i.
    virtual void divide(int i);
    // Runs after the structural rewriting, before the text is put together.
    virtual void finish() {}

    [[noreturn]] void fail(const QString& what) const;
    bool significant(int i) const;
    int next(int i) const;
    int prev(int i) const;
    bool isWord(int i, const char* lower) const;
    bool isPunct(int i, const char* p) const;
    // The "," that ends the first argument of the call opened at `open` (or its ")").
    int firstArgumentEnd(int open) const;
    // The "(" of the parentheses around token i; -1 at the top.
    int enclosingOpen(int i) const;
    // The last token of the operand that starts at token i (a number, a name, a qualified name,
    // a call or a parenthesised expression); -1 when it is none of these.
    int operandEnd(int i) const;
    // Whether a name before "(" at `before` makes it a table and its column list, not a call.
    bool tableBeforeColumns(int before) const;
    // The calls both targets write alike: len -> length, substring -> substr, and the date-part
    // word of datepart/datediff/dateadd as text ('hh'), which the targets' functions take.
    // False when `lower` is none of these.
    bool commonCall(int i, const QString& lower, int open);
    // The end of the statement part a token at depth `depth` belongs to: the closing
    // parenthesis around it, a ";" at its depth, or the end.
    int scopeEnd(int from) const;

    static const QSet<QString>& keywords();

    QString m_sql;
    QVector<Token> t;

private:
    void matchParens();
    void checkStatement();
    void functionsAndNames();
    void tableHints();
    bool endsSelectList(int i) const;
    void selectClause(int select);
    void aliasItem(int from, int to);
    void selectInto(int select, int into);
    void operatorsAndLiterals();
};
