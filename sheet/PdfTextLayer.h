#pragma once

#include <QFont>
#include <QList>
#include <QRawFont>
#include <QString>

#include <vector>

// Makes the text layer of a PDF written by Qt give back the characters that were drawn.
//
// Qt's PDF writer maps each glyph of an embedded font back to text through the font's
// ToUnicode table, and for a glyph that several characters share it takes the lowest of them,
// whatever character was drawn. The Noto CJK fonts draw many ideographs with the glyph of the
// Kangxi radical or radical supplement form of the same character (人 U+4EBA and ⼈ U+2F08,
// 页 U+9875 and ⻚ U+2EDA, ...), so copying or searching the PDF found radicals instead of the
// ideographs on the page.
//
// While pages are painted, the printer tells this object the characters and the fonts of every
// text; `repair` then rewrites each ToUnicode table entry whose character was not drawn but
// shares its glyph (in that font) with one that was, to that character. Only the ToUnicode
// tables change, appended to the file as an incremental update.
class PdfTextLayer
{
public:
    PdfTextLayer();

    void addText(const QString& text);
    // A font a text was drawn in (as set on the painter); its fallback fonts count too.
    void addFont(const QFont& font);
    // A font a glyph run was drawn in.
    void addRawFont(const QRawFont& font);

    bool repair(const QString& path, QString* error = nullptr) const;

    // A font's PostScript name (the name PDF files give embedded fonts); empty if it has none.
    static QString postScriptName(const QRawFont& font);

private:
    std::vector<bool> m_drawn; // per UTF-16 code unit
    QList<QFont> m_fonts;
    QList<QRawFont> m_rawFonts;

    bool drawn(char16_t unit) const { return m_drawn[unit]; }
    QList<QRawFont> allRawFonts() const;
};
