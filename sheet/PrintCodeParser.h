#pragma once

#include <QFont>
#include <QList>
#include <QString>

// One piece of a print header or footer line: text, or the page number / page count field,
// in one font.
struct PrintRun
{
    enum class Field
    {
        Text,
        Page,
        PageCount
    };
    Field field = Field::Text;
    QString text;
    QFont font;
};

// One line of a header or footer: what stands left, centred and right.
struct PrintLine
{
    enum Section
    {
        Left = 0,
        Center = 1,
        Right = 2
    };
    QList<PrintRun> sections[3];
    QFont font; // the font current at the end of the line (gives an empty line its height)

    // The section's text with the page fields filled in.
    QString text(Section section, int page, int pageCount) const;
    bool isEmpty() const;
};

// Parses the print code language of headers and footers once into lines of runs:
//   /fn"name" /fz"size" /fb1 /fb0 /fi /fu /fk   define a font (name, points, bold, italic,
//                                              underline, strikeout); text after a definition
//                                              is written in it
//   /fs1 /fs2 ...  store the font defined so far as font 1, 2, ...
//   /f1 /f2 ...    switch to a stored font
//   /l /c /r       the following text stands left, centred, right (until the next line)
//   /n             new line
//   /p /pc         current page number, page count
// Anything else is text.
class PrintCodeParser
{
public:
    static QList<PrintLine> parse(const QString& code, const QFont& defaultFont = QFont());
};
