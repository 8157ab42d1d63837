#pragma once

#include "db/Statement.h"
#include "query/BranchChoice.h"

#include <QMetaType>
#include <QString>
#include <vector>

// The columns by which a statement's rows belong to a branch:
//   {.id = "BL.BranchID", .name = "BL.BranchName"}: rows that carry the branch's id and name;
//   {.name = "StockName", .local = "本地"}: rows that carry its name only, where `local` names
//   rows that count for whatever branch is chosen (the kitchen's own stock).
struct BranchColumns
{
    QString id;
    QString name;
    QString local = QString();
    bool operator==(const BranchColumns&) const = default;
};
Q_DECLARE_METATYPE(BranchColumns)

// Where the branch condition on `columns` stands in a statement. The report's branch scope
// writes it (BranchScope::fill); a report never writes a branch condition itself.
Statement BranchMark(const BranchColumns& columns);
// Says that a statement of a report with a branch scope ignores the branch, as its definition
// gives (the expense figure of the daily report); it writes nothing.
Statement NoBranchCondition();

// The condition of a branch choice on `columns`:
//   All:     the user's branches by privilege: " and <id> in ( '1','2' ) ", " and 1<>1 " when he
//            may see none, nothing when privileges grant everything (rows that carry the name
//            only: the same over the names of his branches);
//   Several: " and <id> in (<ids>) "; names only: " and (<name> in (<names>) or <name>='<local>')
//   "; One:     " and <name>='<name>' " and the privilege condition on <id>, so that a name that is
//            not one of his branches gives no rows; names only:
//            " and (<name>='<name>' or <name>='<local>') ".
QString BranchCondition(const BranchChoice& choice, const BranchColumns& columns);

// The branch scope of a report: the columns it declares and the user's choice with his
// privileges. It fills the branch marks of the report's statements.
class BranchScope
{
public:
    BranchScope() = default; // a report without branches
    BranchScope(std::vector<BranchColumns> declared, BranchChoice choice);

    const std::vector<BranchColumns>& declared() const { return m_declared; }
    const BranchChoice& choice() const { return m_choice; }

    // The statement with its branch marks written. Throws std::logic_error for a statement that
    // fails check().
    Statement fill(const Statement& statement) const;

    // Throws std::logic_error, naming the statement, when it marks columns that `declared` does
    // not hold, or when `declared` holds columns and the statement has no branch mark (a
    // statement that ignores the branch says so with NoBranchCondition).
    static void check(const Statement& statement, const std::vector<BranchColumns>& declared);

private:
    std::vector<BranchColumns> m_declared;
    BranchChoice m_choice;
};

// The condition on {idColumn, nameColumn} for the reports that still write it themselves.
inline QString BranchChoiceFilter(const BranchChoice& choice, const QString& idColumn,
                                  const QString& nameColumn)
{
    return BranchCondition(choice, {idColumn, nameColumn, QString()});
}
