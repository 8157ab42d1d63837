#include "db/Money.h"

#include <cmath>

Money Money::fromDouble(double value)
{
    return Money(std::int64_t(std::llround(value * Scale)));
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
    bool seenDigit = false, inFraction = false, roundUp = false;
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
            whole = whole * 10 + digit;
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
    std::int64_t units = whole * Scale + frac + (roundUp ? 1 : 0);
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
    case QMetaType::ULongLong:
        return Money(value.toLongLong() * Scale);
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

QString Money::toString(int decimals) const
{
    decimals = qBound(0, decimals, 4);
    std::int64_t divisor = 1;
    for (int i = decimals; i < 4; ++i)
        divisor *= 10;
    const bool negative = m_units < 0;
    std::uint64_t magnitude = negative ? std::uint64_t(-m_units) : std::uint64_t(m_units);
    magnitude = (magnitude + std::uint64_t(divisor / 2)) / std::uint64_t(divisor);
    std::uint64_t scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    QString text = QString::number(magnitude / scale);
    if (decimals > 0)
        text +=
            QLatin1Char('.') + QString::number(magnitude % scale).rightJustified(decimals, u'0');
    if (negative && magnitude != 0)
        text.prepend(QLatin1Char('-'));
    return text;
}

Money Money::rounded(int decimals) const
{
    decimals = qBound(0, decimals, 4);
    std::int64_t divisor = 1;
    for (int i = decimals; i < 4; ++i)
        divisor *= 10;
    const std::int64_t magnitude = (m_units < 0 ? -m_units : m_units) + divisor / 2;
    const std::int64_t units = magnitude / divisor * divisor;
    return Money(m_units < 0 ? -units : units);
}
