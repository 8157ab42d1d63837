#include "sheet/XmlText.h"

bool XmlText::isAllowed(char32_t ch)
{
    if (ch < 0x20)
        return ch == 0x09 || ch == 0x0A || ch == 0x0D;
    if (ch >= 0xD800 && ch <= 0xDFFF)
        return false;
    return ch != 0xFFFE && ch != 0xFFFF && ch <= 0x10FFFF;
}

QString XmlText::clean(const QString& text)
{
    const qsizetype n = text.size();
    const QChar* s = text.constData();
    // The position of the first character to drop; most texts have none.
    auto allowedAt = [&](qsizetype i, int* units) {
        *units = 1;
        const char16_t u = s[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(s[i + 1].unicode())) {
            *units = 2;
            return true;
        }
        return isAllowed(u);
    };
    qsizetype i = 0;
    int units = 1;
    while (i < n && allowedAt(i, &units))
        i += units;
    if (i == n)
        return text;
    QString out;
    out.reserve(n);
    out.append(s, i);
    while (i < n) {
        if (allowedAt(i, &units))
            out.append(s + i, units);
        i += units;
    }
    return out;
}
