#pragma once

#include <QString>
#include <QVariant>

#include <cstdint>
#include <stdexcept>

// An amount that Money cannot hold: beyond ±922,337,203,685,477.5807 (or not a number). Thrown
// by every conversion and every sum that would leave that range, so that an amount never wraps
// round; whoever knows the column adds its name (MoneyInColumn) and stops the report with it.
class MoneyOverflow : public std::overflow_error
{
public:
    explicit MoneyOverflow(const QString& column = QString());
    // The column whose amount overflowed; empty when not known.
    QString column() const { return m_column; }

private:
    QString m_column;
};

// An amount of money in fixed point: ten-thousandths of a unit, as SQL Server's decimal(18,4)
// stores it. Sums of money are always made in Money, never in double. Arithmetic and
// conversions throw MoneyOverflow rather than wrap round.
class Money
{
public:
    static constexpr std::int64_t Scale = 10000;

    constexpr Money() = default;
    static constexpr Money fromUnits(std::int64_t tenThousandths) { return Money(tenThousandths); }
    // The amount rounded to four decimals (half away from zero).
    static Money fromDouble(double value);
    // Parses "12", "-3.5", "1,234.5678" (thousands separators ignored); text that is not a
    // number gives zero and sets *ok to false.
    static Money fromString(QStringView text, bool* ok = nullptr);
    // A database value: integers and decimals exactly, text parsed, NULL and empty text as zero.
    static Money fromVariant(const QVariant& value, bool* ok = nullptr);

    constexpr std::int64_t units() const { return m_units; }
    double toDouble() const { return double(m_units) / Scale; }
    // Fixed decimals, rounded half away from zero, no thousands separators: "1234.50".
    QString toString(int decimals = 2) const;
    // The same with thousands separators when `grouped`: "1,234.50".
    QString toString(int decimals, bool grouped) const;
    // Rounded to `decimals` places the way toString rounds: the amount as it is shown.
    Money rounded(int decimals = 2) const;
    constexpr bool isZero() const { return m_units == 0; }

    Money operator+(Money o) const
    {
        std::int64_t r;
        return __builtin_add_overflow(m_units, o.m_units, &r) ? overflow() : Money(r);
    }
    Money operator-(Money o) const
    {
        std::int64_t r;
        return __builtin_sub_overflow(m_units, o.m_units, &r) ? overflow() : Money(r);
    }
    Money operator-() const { return Money() - *this; }
    Money& operator+=(Money o) { return *this = *this + o; }
    Money& operator-=(Money o) { return *this = *this - o; }
    Money operator*(std::int64_t n) const
    {
        std::int64_t r;
        return __builtin_mul_overflow(m_units, n, &r) ? overflow() : Money(r);
    }
    constexpr auto operator<=>(const Money&) const = default;

private:
    constexpr explicit Money(std::int64_t units) : m_units(units) {}
    [[noreturn]] static Money overflow();
    std::int64_t m_units = 0;
};

// Runs `f`, a conversion or a sum of column `column`'s amounts: an overflow names the column.
template <typename F> auto MoneyInColumn(const QString& column, F&& f) -> decltype(f())
{
    try {
        return f();
    } catch (const MoneyOverflow&) {
        throw MoneyOverflow(column);
    }
}

// A number as a grid, a print or an export shows it: `decimals` places, rounded half away from
// zero on its decimal value (a double's binary error, as in 106.335 held as 106.33499999...,
// does not turn a half cent down), with thousands separators when `grouped`; never "-0.00".
QString DecimalText(double value, int decimals, bool grouped = false);
