#pragma once

#include <QFont>
#include <QString>

// The fonts Chinese text is drawn in, on screen, in print and in PDF files. The Noto CJK fonts
// hold every CJK character in Simplified and Traditional Chinese, Japanese and Korean forms, one
// family per variant; which one the system's font fallback would take depends on the machine's
// locale (the Japanese one in the C locale). Here the variant follows the language code instead:
// Traditional Chinese for 2, Simplified Chinese otherwise. The language code is the one loaded
// with the texts (LoadMessageTable sets it), so that what draws text needs no host context.
//
// `resolve` gives a font whose family list ends in the Noto CJK family of that variant, so
// that characters its own family lacks come from there. The Windows Chinese family names the
// print codes and screens use ("宋体", "幼圆", ...) stand for a Noto CJK family (serif or sans)
// when they are not installed, and any Noto CJK family of another variant is replaced by the
// language's.
class CjkFont
{
public:
    // The language the fonts follow (0 until a language is loaded).
    static void setLanguageCode(int languageCode);
    static int languageCode();

    // "Noto Sans CJK SC" (or TC for language code 2), or the serif family.
    static QString family(bool serif = false);
    static QString family(bool serif, int languageCode);

    static QFont resolve(const QFont& font);
    static QFont resolve(const QFont& font, int languageCode);

    // Gives the application font (every window's default) the family list of `resolve`.
    static void applyToApplication();
};
