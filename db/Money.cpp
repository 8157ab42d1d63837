#include "db/Money.h"

#include <charconv>
#include <cmath>
#include <string>

MoneyOverflow::MoneyOverflow(const QString& column)
    : std::overflow_error((column.isEmpty()
                               ? QStringLiteral("amount out of range (beyond "
                                                "±922,337,203,685,477.5807)")
                               : QStringLiteral("amount out of range in column \"%1\" (beyond "
                                                "±922,337,203,685,477.5807)")
                                     .arg(column))
                              .toStdString()),
      m_column(column)
{
}

Money Money::overflow()
{
    throw MoneyOverflow();
}

Money Money::fromDouble(double value)
{
    const double scaled = value * Scale;
    if (!(std::fabs(scaled) < 9223372036854775808.0)) // 2^63; also NaN
        overflow();
    return Money(std::int64_t(std::llround(scaled)));
}

Money Money::fromString(QStringView text, bool* ok)
{
    text = text.trimmed();
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text = text.mid(1);
    }
    std::int64_t whole = 0, frac = 0;
    int fracDigits = 0;
    bool seenDigit = false, inFraction = false, roundUp = false, tooLarge = false;
    for (QChar c : text) {
        if (c == u',' && !inFraction)
            continue;
        if (c == u'.' && !inFraction) {
            inFraction = true;
            continue;
        }
        if (!c.isDigit()) {
            if (ok)
                *ok = false;
            return Money();
        }
        seenDigit = true;
        const int digit = c.digitValue();
        if (!inFraction)
            tooLarge |= __builtin_mul_overflow(whole, 10, &whole) ||
                        __builtin_add_overflow(whole, digit, &whole);
        else if (fracDigits < 4) {
            frac = frac * 10 + digit;
            ++fracDigits;
        } else if (fracDigits == 4) {
            roundUp = digit >= 5;
            ++fracDigits;
        }
    }
    while (fracDigits < 4) {
        frac *= 10;
        ++fracDigits;
    }
    if (ok)
        *ok = seenDigit;
    if (!seenDigit)
        return Money();
    std::int64_t units = 0;
    if (tooLarge || __builtin_mul_overflow(whole, Scale, &units) ||
        __builtin_add_overflow(units, frac + (roundUp ? 1 : 0), &units))
        overflow();
    return Money(negative ? -units : units);
}

Money Money::fromVariant(const QVariant& value, bool* ok)
{
    if (ok)
        *ok = true;
    if (!value.isValid() || value.isNull())
        return Money();
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
        return Money(value.toLongLong()) * Scale;
    case QMetaType::ULongLong:
        if (value.toULongLong() > std::uint64_t(INT64_MAX))
            overflow();
        return Money(value.toLongLong()) * Scale;
    case QMetaType::Double:
    case QMetaType::Float:
        return fromDouble(value.toDouble());
    default: {
        const QString text = value.toString();
        if (text.trimmed().isEmpty())
            return Money();
        return fromString(text, ok);
    }
    }
}

namespace {

// "1234567" as "1,234,567".
std::string grouped(const std::string& digits)
{
    std::string out;
    out.reserve(digits.size() + digits.size() / 3);
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

// A non-negative decimal, `digits` with `decimals` of them after the point, as text.
QString decimalText(std::string digits, int decimals, bool negative, bool group)
{
    while (int(digits.size()) <= decimals)
        digits.insert(digits.begin(), '0');
    std::string whole = digits.substr(0, digits.size() - size_t(decimals));
    const std::string fraction = digits.substr(whole.size());
    const size_t firstDigit = whole.find_first_not_of('0');
    whole = firstDigit == std::string::npos ? std::string("0") : whole.substr(firstDigit);
    std::string text = group ? grouped(whole) : whole;
    if (decimals > 0)
        text += '.' + fraction;
    if (negative && digits.find_first_not_of('0') != std::string::npos)
        text.insert(text.begin(), '-');
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

} // namespace

QString Money::toString(int decimals) const
{
    return toString(decimals, false);
}

QString Money::toString(int decimals, bool grouped) const
{
    decimals = qBound(0, decimals, 4);
    std::uint64_t divisor = 1;
    for (int i = decimals; i < 4; ++i)
        divisor *= 10;
    const bool negative = m_units < 0;
    std::uint64_t magnitude = negative ? 0 - std::uint64_t(m_units) : std::uint64_t(m_units);
    magnitude = (magnitude + divisor / 2) / divisor;
    return decimalText(std::to_string(magnitude), decimals, negative, grouped);
}

Money Money::rounded(int decimals) const
{
    decimals = qBound(0, decimals, 4);
    std::uint64_t divisor = 1;
    for (int i = decimals; i < 4; ++i)
        divisor *= 10;
    const std::uint64_t magnitude =
        m_units < 0 ? 0 - std::uint64_t(m_units) : std::uint64_t(m_units);
    const std::uint64_t units = (magnitude + divisor / 2) / divisor * divisor;
    if (units > std::uint64_t(INT64_MAX))
        overflow();
    return Money(m_units < 0 ? -std::int64_t(units) : std::int64_t(units));
}

QString DecimalText(double value, int decimals, bool grouped)
{
    decimals = qBound(0, decimals, 15);
    if (!std::isfinite(value))
        return QString::number(value);
    // Fifteen significant digits: all that a double holds of a decimal figure, without the
    // binary error that arithmetic leaves beyond them.
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                       std::chars_format::scientific, 14);
    const std::string scientific(buffer, written.ptr); // "d.dddddddddddddde+XX"
    const size_t e = scientific.find('e');
    const int exponent = std::stoi(scientific.substr(e + 1));
    std::string digits = scientific.substr(0, 1) + scientific.substr(2, e - 2);
    // digits = the value's digits with `point` of them before the decimal point.
    int point = exponent + 1;
    if (point < 0) {
        digits.insert(0, size_t(-point), '0');
        point = 0;
    }
    if (int(digits.size()) < point)
        digits.append(size_t(point) - digits.size(), '0');
    // Keep `decimals` places; the first digit dropped decides (half away from zero).
    const size_t keep = size_t(point + decimals);
    const bool up = digits.size() > keep && digits[keep] >= '5';
    digits.resize(keep, '0');
    if (up) {
        size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9')
            digits[--i] = '0';
        if (i == 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[i - 1];
    }
    return decimalText(digits, decimals, value < 0, grouped);
}
