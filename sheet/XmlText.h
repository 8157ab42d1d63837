#pragma once

#include <QString>

// Texts as an XML document can hold them. XML 1.0 allows tab, line feed, carriage return and
// the characters from U+0020 on, except the surrogates (other than as a pair) and U+FFFE and
// U+FFFF; a file with any other character is not well-formed, and readers refuse it. Every
// export that writes XML or markup (.xml, .xlsx, .htm) writes its texts through `clean`.
class XmlText
{
public:
    static bool isAllowed(char32_t ch);
    // `text` without the characters XML cannot hold (the same string when it has none).
    static QString clean(const QString& text);
};
