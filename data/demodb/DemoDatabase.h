#pragma once

#include <QDate>
#include <QString>

#include <cstdint>
#include <functional>

// Builds the demo restaurant database: a Chinese restaurant chain with areas and branches,
// users and privileges, tables, menu, meal periods, payment subjects, and day after day of bills
// (with items, payments, returns, logs, reverse settlements, transfers to accounts, member
// operations, bookings, stock movements, bills of materials and branch uploads) up to `lastDay`.
// The same options give the same database.
class DemoDatabase
{
public:
    struct Options
    {
        QString out;
        int branches = 5;
        int days = 60;
        int billsPerDay = 40; // per branch
        std::uint64_t seed = 1;
        QDate lastDay = QDate::currentDate();
        // Also stamp a few records of every day at exactly 00:00:00 (the bound between two
        // days): a log entry, a card renewal, a booking made and one arriving, some new cards.
        bool midnight = false;
    };

    explicit DemoDatabase(Options options) : m_options(std::move(options)) {}

    // Writes the database file (replacing it). `progress` gets the share done (0..1) and a
    // short text. Throws std::runtime_error.
    void build(const std::function<void(double, const QString&)>& progress = {});

    std::int64_t billCount() const { return m_bills; }
    std::int64_t itemCount() const { return m_items; }

private:
    Options m_options;
    std::int64_t m_bills = 0;
    std::int64_t m_items = 0;
};
