#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The operations logged against bills, from the log of open bills and the log of settled
// bills together, by the time they were made; `logType` 1..9 keeps one kind of operation
// (LogTypeID), 0 every kind. Its two parameters are the begin date and the day after the end
// date, both bounds included. With `branches` (LimitedBranchIds) only the operations on bills
// of those branches: a settled bill's branch, or for a bill still open its table's.
QString BillLogQuerySql(int logType, const std::optional<QStringList>& branches = std::nullopt);
