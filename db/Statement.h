#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <functional>

// A statement as it runs: its T-SQL text and the values of its positional ? markers, written
// together fragment by fragment, so that a value always travels beside the text of its marker.
//
//   Statement s = QStringLiteral(" SELECT * FROM bi_Bill WHERE ");
//   s += range.bound(QStringLiteral("BillDate")); // "BillDate>=? AND BillDate<?", two dates
//   s += QStringLiteral(" ORDER BY BillID ");
//
// A text may hold marks: places where a fragment belongs that the statement's writer does not
// write (the user's branch scope). A mark carries what its fragment is for; whoever knows writes
// them all (filled), and a statement runs only when it has none left.
class Statement
{
public:
    struct Mark
    {
        qsizetype at = 0; // the fragment goes before the text's character `at`
        QVariant what;
    };

    Statement() = default;
    Statement(const QString& text, const QVariantList& parameters = {})
        : m_text(text), m_parameters(parameters)
    {
    }

    const QString& text() const { return m_text; }
    const QVariantList& parameters() const { return m_parameters; }
    const QList<Mark>& marks() const { return m_marks; }
    bool hasMarks() const { return !m_marks.isEmpty(); }

    // A statement that is only a mark.
    static Statement mark(const QVariant& what);

    Statement& operator+=(const Statement& more);
    friend Statement operator+(Statement a, const Statement& b)
    {
        a += b;
        return a;
    }

    // The statement with each mark's fragment, fragment(mark.what), written in its place. A
    // fragment is text only: it adds no parameter.
    Statement filled(const std::function<QString(const QVariant& what)>& fragment) const;

    // Every `before` in the text replaced by `after`, the marks kept in their places (the
    // fragments they stand for are not written yet, so nothing of theirs is replaced).
    Statement replaced(const QString& before, const QString& after) const;

    // Throws std::logic_error when a mark is left: a statement cannot run with a fragment
    // missing.
    void requireFilled() const;

    bool operator==(const Statement& other) const;

private:
    QString m_text;
    QVariantList m_parameters;
    QList<Mark> m_marks;
};
