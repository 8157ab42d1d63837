#pragma once

#include <QString>

// Whether the bill lines carry their own price (bi_BillItem.CostPrice), else the menu's is read.
// A missing column means they do not; any other failure (a lock, a damaged page) leaves it
// unknown, and the report refuses to run until a later probe can tell.
class ItemPriceSource
{
public:
    // Asks the database (at a screen's load).
    void probe();
    // For a refresh: asks again while unknown; throws SqlError with the reason if still unknown.
    bool linesCarryPrice();
    // The last answer, without asking.
    bool lastAnswer() const { return m_linesCarryPrice; }

private:
    bool m_linesCarryPrice = false;
    QString m_error; // why the last probe could not tell
};
