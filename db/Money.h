#pragma once

#include <QString>
#include <QVariant>

#include <cstdint>

// An amount of money in fixed point: ten-thousandths of a unit, as SQL Server's decimal(18,4)
// stores it. Sums of money are always made in Money, never in double.
class Money
{
public:
    static constexpr std::int64_t Scale = 10000;

    constexpr Money() = default;
    static constexpr Money fromUnits(std::int64_t tenThousandths) { return Money(tenThousandths); }
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
    // Rounded to `decimals` places the way toString rounds: the amount as it is shown.
    Money rounded(int decimals = 2) const;
    constexpr bool isZero() const { return m_units == 0; }

    constexpr Money operator+(Money o) const { return Money(m_units + o.m_units); }
    constexpr Money operator-(Money o) const { return Money(m_units - o.m_units); }
    constexpr Money operator-() const { return Money(-m_units); }
    constexpr Money& operator+=(Money o)
    {
        m_units += o.m_units;
        return *this;
    }
    constexpr Money& operator-=(Money o)
    {
        m_units -= o.m_units;
        return *this;
    }
    constexpr Money operator*(std::int64_t n) const { return Money(m_units * n); }
    constexpr auto operator<=>(const Money&) const = default;

private:
    constexpr explicit Money(std::int64_t units) : m_units(units) {}
    std::int64_t m_units = 0;
};
