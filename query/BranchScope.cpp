#include "query/BranchScope.h"

#include "core/modBranch.h"
#include "db/SqlText.h"

#include <algorithm>
#include <stdexcept>

namespace {

// The mark of a statement that ignores the branch: columns that name nothing.
const BranchColumns NoColumns;

std::logic_error refusal(const char* why, const Statement& statement)
{
    return std::logic_error(std::string(why) + ": " +
                            statement.text().simplified().left(160).toStdString());
}

} // namespace

Statement BranchMark(const BranchColumns& columns)
{
    return Statement::mark(QVariant::fromValue(columns));
}

Statement NoBranchCondition()
{
    return Statement::mark(QVariant::fromValue(NoColumns));
}

QString BranchCondition(const BranchChoice& choice, const BranchColumns& columns)
{
    if (columns == NoColumns)
        return QString();
    const bool byName = columns.id.isEmpty();
    const QString orLocal = QStringLiteral(" or ") + columns.name + QStringLiteral("=") +
                            sqlLiteral(columns.local) + QStringLiteral(") ");
    switch (choice.kind) {
    case BranchChoice::All:
        return byName ? BranchIdFilter(choice.privilegedNames, columns.name)
                      : BranchIdFilter(choice.privileged, columns.id);
    case BranchChoice::Several:
        if (byName)
            return QStringLiteral(" and (") + columns.name + QStringLiteral(" in (") +
                   sqlQuotedList(choice.names) + QLatin1Char(')') + orLocal;
        return QStringLiteral(" and ") + columns.id + QStringLiteral(" in (") +
               sqlQuotedList(choice.ids) + QStringLiteral(") ");
    case BranchChoice::One:
        if (byName)
            return QStringLiteral(" and (") + columns.name + QLatin1Char('=') +
                   sqlLiteral(choice.name) + orLocal;
        return QStringLiteral(" and ") + columns.name + QLatin1Char('=') + sqlLiteral(choice.name) +
               QLatin1Char(' ') + BranchIdFilter(choice.privileged, columns.id);
    }
    return QString();
}

BranchScope::BranchScope(std::vector<BranchColumns> declared, BranchChoice choice)
    : m_declared(std::move(declared)), m_choice(std::move(choice))
{
}

void BranchScope::check(const Statement& statement, const std::vector<BranchColumns>& declared)
{
    bool marked = false;
    for (const Statement::Mark& m : statement.marks()) {
        if (m.what.metaType() != QMetaType::fromType<BranchColumns>())
            throw refusal("a statement holds a mark that is no branch mark", statement);
        marked = true;
        const auto columns = m.what.value<BranchColumns>();
        if (columns == NoColumns)
            continue;
        if (std::find(declared.begin(), declared.end(), columns) == declared.end())
            throw refusal("a branch condition on columns the report does not declare", statement);
    }
    if (!declared.empty() && !marked)
        throw refusal("a statement of a report with a branch scope has no branch mark", statement);
}

Statement BranchScope::fill(const Statement& statement) const
{
    check(statement, m_declared);
    return statement.filled([this](const QVariant& what) {
        return BranchCondition(m_choice, what.value<BranchColumns>());
    });
}
