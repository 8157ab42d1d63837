#include "sheet/PrintCodeParser.h"

#include <QHash>

QString PrintLine::text(Section section, int page, int pageCount) const
{
    QString s;
    for (const PrintRun& run : sections[section]) {
        switch (run.field) {
        case PrintRun::Field::Text:
            s += run.text;
            break;
        case PrintRun::Field::Page:
            s += QString::number(page);
            break;
        case PrintRun::Field::PageCount:
            s += QString::number(pageCount);
            break;
        }
    }
    return s;
}

bool PrintLine::isEmpty() const
{
    return sections[Left].isEmpty() && sections[Center].isEmpty() && sections[Right].isEmpty();
}

namespace {

// The quoted argument of /fn"..." and /fz"..." starting at `pos` (just after the code).
// Moves `pos` past the closing quote.
QString quoted(const QString& code, qsizetype& pos)
{
    if (pos >= code.size() || code.at(pos) != QLatin1Char('"'))
        return QString();
    const qsizetype end = code.indexOf(QLatin1Char('"'), pos + 1);
    if (end < 0) {
        const QString rest = code.mid(pos + 1);
        pos = code.size();
        return rest;
    }
    const QString arg = code.mid(pos + 1, end - pos - 1);
    pos = end + 1;
    return arg;
}

// The 0/1 flag after /fb, /fi, /fu, /fk (missing flag means on).
bool flag(const QString& code, qsizetype& pos)
{
    if (pos < code.size() && (code.at(pos) == QLatin1Char('0') || code.at(pos) == QLatin1Char('1')))
        return code.at(pos++) == QLatin1Char('1');
    return true;
}

} // namespace

QList<PrintLine> PrintCodeParser::parse(const QString& code, const QFont& defaultFont)
{
    QList<PrintLine> lines(1);
    QFont font = defaultFont;
    QHash<int, QFont> stored;
    PrintLine::Section section = PrintLine::Left;
    QString pending;

    auto flush = [&] {
        if (pending.isEmpty())
            return;
        QList<PrintRun>& runs = lines.last().sections[section];
        if (!runs.isEmpty() && runs.last().field == PrintRun::Field::Text &&
            runs.last().font == font)
            runs.last().text += pending;
        else
            runs.append({PrintRun::Field::Text, pending, font});
        pending.clear();
    };
    auto field = [&](PrintRun::Field f) {
        flush();
        lines.last().sections[section].append({f, QString(), font});
    };
    auto setFont = [&](const QFont& f) {
        flush();
        font = f;
    };

    const qsizetype n = code.size();
    qsizetype pos = 0;
    while (pos < n) {
        const QChar ch = code.at(pos);
        if (ch != QLatin1Char('/') || pos + 1 >= n) {
            pending += ch;
            ++pos;
            continue;
        }
        const QChar c1 = code.at(pos + 1);
        const QChar c2 = pos + 2 < n ? code.at(pos + 2) : QChar();
        if (c1 == QLatin1Char('f')) {
            qsizetype p = pos + 3;
            QFont f = font;
            if (c2 == QLatin1Char('n')) {
                f.setFamily(quoted(code, p));
            } else if (c2 == QLatin1Char('z')) {
                const double size = quoted(code, p).toDouble();
                if (size > 0)
                    f.setPointSizeF(size);
            } else if (c2 == QLatin1Char('b')) {
                f.setBold(flag(code, p));
            } else if (c2 == QLatin1Char('i')) {
                f.setItalic(flag(code, p));
            } else if (c2 == QLatin1Char('u')) {
                f.setUnderline(flag(code, p));
            } else if (c2 == QLatin1Char('k')) {
                f.setStrikeOut(flag(code, p));
            } else if (c2 == QLatin1Char('s') && p < n && code.at(p).isDigit()) {
                stored.insert(code.at(p).digitValue(), font);
                pos = p + 1;
                continue;
            } else if (c2.isDigit()) {
                setFont(stored.value(c2.digitValue(), font));
                pos += 3;
                continue;
            } else {
                pending += ch;
                ++pos;
                continue;
            }
            setFont(f);
            pos = p;
            continue;
        }
        if (c1 == QLatin1Char('p')) {
            if (c2 == QLatin1Char('c')) {
                field(PrintRun::Field::PageCount);
                pos += 3;
            } else {
                field(PrintRun::Field::Page);
                pos += 2;
            }
            continue;
        }
        if (c1 == QLatin1Char('n')) {
            flush();
            lines.last().font = font;
            lines.append(PrintLine());
            section = PrintLine::Left;
            pos += 2;
            continue;
        }
        if (c1 == QLatin1Char('l') || c1 == QLatin1Char('c') || c1 == QLatin1Char('r')) {
            flush();
            section = c1 == QLatin1Char('l')   ? PrintLine::Left
                      : c1 == QLatin1Char('c') ? PrintLine::Center
                                               : PrintLine::Right;
            pos += 2;
            continue;
        }
        pending += ch;
        ++pos;
    }
    flush();
    lines.last().font = font;
    // A code that ends with /n leaves a final empty line; it keeps its height as spacing.
    if (lines.size() == 1 && lines.first().isEmpty())
        lines.clear();
    return lines;
}
