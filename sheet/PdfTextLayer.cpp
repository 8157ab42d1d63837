#include "sheet/PdfTextLayer.h"

#include <QFile>
#include <QGlyphRun>
#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QTextLayout>
#include <QtEndian>

#include <algorithm>
#include <cctype>
#include <optional>

namespace {

// The letters and digits of a PostScript name, as PDF writers keep them.
QByteArray fontKey(QByteArray name)
{
    const qsizetype plus = name.indexOf('+');
    if (plus == 6) // a subset tag "ABCDEF+"
        name.remove(0, 7);
    QByteArray key;
    for (char c : name)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-')
            key += c;
    return key;
}

QByteArray hex(const QString& units)
{
    QByteArray out;
    for (QChar ch : units)
        out += QByteArray::number(ch.unicode(), 16).rightJustified(4, '0').toUpper();
    return out;
}

// A ToUnicode CMap: code -> text. Reads the bfchar and bfrange sections.
class CMap
{
public:
    QMap<quint32, QString> map;
    int codeBytes = 2;

    bool parse(const QByteArray& text)
    {
        enum class Mode
        {
            None,
            Char,
            Range
        } mode = Mode::None;
        std::vector<QByteArray> hexes; // pending operands
        bool inArray = false;
        std::vector<QByteArray> array;
        qsizetype i = 0;
        const qsizetype n = text.size();
        while (i < n) {
            const char c = text[i];
            if (c == '<' && i + 1 < n && text[i + 1] != '<') {
                const qsizetype end = text.indexOf('>', i);
                if (end < 0)
                    return false;
                const QByteArray h = QByteArray::fromHex(text.mid(i + 1, end - i - 1));
                i = end + 1;
                if (mode == Mode::None)
                    continue;
                if (inArray) {
                    array.push_back(h);
                    continue;
                }
                hexes.push_back(h);
                if (mode == Mode::Char && hexes.size() == 2) {
                    map.insert(code(hexes[0]), utf16(hexes[1]));
                    hexes.clear();
                } else if (mode == Mode::Range && hexes.size() == 3) {
                    const quint32 first = code(hexes[0]), last = code(hexes[1]);
                    QString dst = utf16(hexes[2]);
                    for (quint32 k = first; k <= last && !dst.isEmpty(); ++k) {
                        map.insert(k, dst);
                        dst.back() = QChar(char16_t(dst.back().unicode() + 1));
                    }
                    hexes.clear();
                }
            } else if (c == '[') {
                inArray = true;
                array.clear();
                ++i;
            } else if (c == ']') {
                inArray = false;
                if (mode == Mode::Range && hexes.size() == 2) {
                    const quint32 first = code(hexes[0]);
                    for (size_t k = 0; k < array.size(); ++k)
                        map.insert(first + quint32(k), utf16(array[k]));
                }
                hexes.clear();
                ++i;
            } else if (std::isalpha(uchar(c))) {
                qsizetype end = i;
                while (end < n && std::isalpha(uchar(text[end])))
                    ++end;
                const QByteArray word = text.mid(i, end - i);
                if (word == "beginbfchar")
                    mode = Mode::Char;
                else if (word == "beginbfrange")
                    mode = Mode::Range;
                else if (word == "endbfchar" || word == "endbfrange")
                    mode = Mode::None;
                hexes.clear();
                i = end;
            } else {
                ++i;
            }
        }
        return true;
    }

    QByteArray write() const
    {
        QByteArray out =
            "/CIDInit /ProcSet findresource begin\n"
            "12 dict begin\n"
            "begincmap\n"
            "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
            "/CMapName /Adobe-Identity-UCS def\n"
            "/CMapType 2 def\n"
            "1 begincodespacerange\n";
        const QByteArray zero(codeBytes * 2, '0'), full(codeBytes * 2, 'F');
        out += '<' + zero + "> <" + full + ">\nendcodespacerange\n";
        auto it = map.constBegin();
        while (it != map.constEnd()) {
            QByteArray block;
            int count = 0;
            for (; it != map.constEnd() && count < 100; ++it, ++count)
                block +=
                    '<' +
                    QByteArray::number(it.key(), 16).rightJustified(codeBytes * 2, '0').toUpper() +
                    "> <" + hex(it.value()) + ">\n";
            out += QByteArray::number(count) + " beginbfchar\n" + block + "endbfchar\n";
        }
        out += "endcmap\n"
               "CMapName currentdict /CMap defineresource pop\n"
               "end\n"
               "end\n";
        return out;
    }

private:
    quint32 code(const QByteArray& bytes)
    {
        quint32 v = 0;
        for (char b : bytes)
            v = (v << 8) | uchar(b);
        codeBytes = std::max(codeBytes, int(bytes.size()));
        return v;
    }

    static QString utf16(const QByteArray& bytes)
    {
        QString s;
        for (qsizetype k = 0; k + 1 < bytes.size(); k += 2)
            s += QChar(char16_t((uchar(bytes[k]) << 8) | uchar(bytes[k + 1])));
        return s;
    }
};

// The parts of a PDF file the repair reads: its cross-reference table, its trailer and the
// objects asked for, read where they stand (the pages are never read).
class PdfFile
{
public:
    QHash<int, qint64> offsets; // object number -> offset (generation 0 objects in use)
    QByteArray root, info;
    qint64 size = 0, xref = -1, length = 0;

    bool open(const QString& path, QString* error)
    {
        m_file.setFileName(path);
        if (!m_file.open(QIODevice::ReadOnly)) {
            *error = m_file.errorString();
            return false;
        }
        length = m_file.size();
        const QByteArray tail = read(std::max<qint64>(0, length - 1024), 1024);
        const qsizetype start = tail.lastIndexOf("startxref");
        if (start < 0)
            return fail(error);
        xref = tail.mid(start + 9).trimmed().split('\n').value(0).trimmed().toLongLong();
        if (xref <= 0 || xref >= length)
            return fail(error);
        const QByteArray table = read(xref, length - xref);
        if (!table.startsWith("xref"))
            return fail(error);
        qsizetype p = 4;
        auto line = [&]() {
            while (p < table.size() && std::isspace(uchar(table.at(p))))
                ++p;
            const qsizetype end = table.indexOf('\n', p);
            const QByteArray l = table.mid(p, (end < 0 ? table.size() : end) - p).trimmed();
            p = end < 0 ? table.size() : end + 1;
            return l;
        };
        for (QByteArray head = line(); !head.startsWith("trailer"); head = line()) {
            const QList<QByteArray> parts = head.split(' ');
            if (parts.size() != 2 || p >= table.size())
                return fail(error);
            const int first = parts[0].toInt(), count = parts[1].toInt();
            for (int k = 0; k < count; ++k) {
                const QList<QByteArray> entry = line().split(' ');
                if (entry.size() >= 3 && entry[2] == "n" && entry[1].toInt() == 0)
                    offsets.insert(first + k, entry[0].toLongLong());
            }
        }
        const QString trailer = QString::fromLatin1(table.mid(p));
        static const QRegularExpression ref(QStringLiteral("/(Root|Info)\\s+(\\d+\\s+\\d+\\s+R)"));
        for (const auto& m : ref.globalMatch(trailer))
            (m.captured(1) == QLatin1String("Root") ? root : info) = m.captured(2).toLatin1();
        static const QRegularExpression sizeRe(QStringLiteral("/Size\\s+(\\d+)"));
        size = sizeRe.match(trailer).captured(1).toLongLong();
        if (root.isEmpty() || size <= 0)
            return fail(error);
        return true;
    }

    // The dictionary of object `number`: what stands before its stream or its end, read from
    // its first 4 KB (all a font or ToUnicode dictionary needs).
    QByteArray dictionary(int number, qint64* streamStart = nullptr)
    {
        if (streamStart)
            *streamStart = -1;
        const qint64 at = offsets.value(number, -1);
        if (at < 0 || at >= length)
            return QByteArray();
        const QByteArray head = read(at, 4096);
        const qsizetype end = head.indexOf("endobj");
        const qsizetype stream = head.indexOf("stream");
        if (stream < 0 || (end >= 0 && end < stream))
            return head.left(end < 0 ? head.size() : end);
        if (streamStart) {
            qsizetype s = stream + 6;
            if (s < head.size() && head.at(s) == '\r')
                ++s;
            if (s < head.size() && head.at(s) == '\n')
                ++s;
            *streamStart = at + s;
        }
        return head.left(stream);
    }

    QByteArray read(qint64 at, qint64 bytes)
    {
        return m_file.seek(at) ? m_file.read(bytes) : QByteArray();
    }

    void close() { m_file.close(); }

private:
    QFile m_file;

    static bool fail(QString* error)
    {
        *error = QStringLiteral("not a PDF file this program can update");
        return false;
    }
};

} // namespace

PdfTextLayer::PdfTextLayer() : m_drawn(0x10000, false)
{
    for (char16_t c = 0x20; c < 0x7F; ++c) // printable ASCII: the lowest of any glyph's characters
        m_drawn[c] = true;
}

void PdfTextLayer::addText(const QString& text)
{
    for (QChar ch : text)
        m_drawn[ch.unicode()] = true;
}

void PdfTextLayer::addFont(const QFont& font)
{
    if (!m_fonts.contains(font))
        m_fonts.append(font);
}

void PdfTextLayer::addRawFont(const QRawFont& font)
{
    if (font.isValid() && !m_rawFonts.contains(font))
        m_rawFonts.append(font);
}

QString PdfTextLayer::postScriptName(const QRawFont& font)
{
    const QByteArray table = font.fontTable("name");
    auto u16 = [&](qsizetype at) {
        return at + 2 <= table.size() ? qFromBigEndian<quint16>(table.constData() + at) : 0;
    };
    const int count = u16(2), strings = u16(4);
    QString mac;
    for (int k = 0; k < count; ++k) {
        const qsizetype rec = 6 + k * 12;
        const int platform = u16(rec), id = u16(rec + 6), length = u16(rec + 8);
        const qsizetype at = strings + u16(rec + 10);
        if (id != 6 || at + length > table.size())
            continue;
        if (platform == 3 || platform == 0) {
            QString name;
            for (int b = 0; b + 1 < length; b += 2)
                name += QChar(u16(at + b));
            return name;
        }
        if (platform == 1)
            mac = QString::fromLatin1(table.constData() + at, length);
    }
    return mac;
}

QList<QRawFont> PdfTextLayer::allRawFonts() const
{
    // The drawn characters laid out in each font give the fonts (fallbacks included) they
    // were drawn in.
    QString chars;
    for (int u = 0x80; u < 0x10000; ++u)
        if (m_drawn[size_t(u)] && !QChar::isSurrogate(char32_t(u)))
            chars += QChar(char16_t(u));
    QList<QRawFont> fonts = m_rawFonts;
    for (const QFont& font : m_fonts) {
        QTextLayout layout(chars.isEmpty() ? QStringLiteral("0") : chars, font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        for (const QGlyphRun& run : layout.glyphRuns())
            if (!fonts.contains(run.rawFont()))
                fonts.append(run.rawFont());
    }
    return fonts;
}

bool PdfTextLayer::repair(const QString& path, QString* error) const
{
    QString ignored;
    QString& why = error ? *error : ignored;
    PdfFile pdf;
    if (!pdf.open(path, &why))
        return false;

    // Fonts by PostScript name, each with the drawn characters by glyph.
    struct Font
    {
        QRawFont raw;
        std::optional<QHash<quint32, char16_t>> drawnByGlyph;
    };
    QHash<QByteArray, Font> fonts;
    for (const QRawFont& raw : allRawFonts())
        fonts.insert(fontKey(postScriptName(raw).toLatin1()), {raw, std::nullopt});
    QString drawnChars;
    for (int u = 0x20; u < 0x10000; ++u)
        if (m_drawn[size_t(u)] && !QChar::isSurrogate(char32_t(u)))
            drawnChars += QChar(char16_t(u));

    static const QRegularExpression baseFont(QStringLiteral("/BaseFont\\s*/([^\\s/<>\\[\\]()]+)"));
    static const QRegularExpression toUnicode(QStringLiteral("/ToUnicode\\s+(\\d+)\\s+0\\s+R"));
    static const QRegularExpression length(QStringLiteral("/Length\\s+(\\d+)(\\s+\\d+\\s+R)?"));
    QMap<int, QByteArray> updated; // object number -> new object body
    for (auto it = pdf.offsets.constBegin(); it != pdf.offsets.constEnd(); ++it) {
        const QByteArray raw = pdf.dictionary(it.key());
        if (!raw.contains("/Type0"))
            continue;
        const QString dict = QString::fromLatin1(raw);
        const auto unicode = toUnicode.match(dict);
        const auto name = baseFont.match(dict);
        if (!unicode.hasMatch() || !name.hasMatch())
            continue;
        auto font = fonts.find(fontKey(name.captured(1).toLatin1()));
        if (font == fonts.end())
            continue;
        const int mapObject = unicode.captured(1).toInt();
        qint64 streamStart = -1;
        const QString mapDict = QString::fromLatin1(pdf.dictionary(mapObject, &streamStart));
        const auto len = length.match(mapDict);
        // Compressed or indirectly sized tables (Qt writes neither) are left as they are.
        if (streamStart < 0 || !len.hasMatch() || !len.captured(2).isEmpty() ||
            mapDict.contains(QLatin1String("/Filter")))
            continue;
        CMap cmap;
        if (!cmap.parse(pdf.read(streamStart, len.captured(1).toLongLong())))
            continue;

        bool changed = false;
        for (auto entry = cmap.map.begin(); entry != cmap.map.end(); ++entry) {
            if (entry.value().size() != 1 || drawn(entry.value().front().unicode()))
                continue;
            if (!font->drawnByGlyph) {
                QList<quint32> glyphs = font->raw.glyphIndexesForString(drawnChars);
                QHash<quint32, char16_t> byGlyph;
                for (qsizetype k = 0; k < glyphs.size() && k < drawnChars.size(); ++k)
                    if (glyphs[k] != 0 && !byGlyph.contains(glyphs[k]))
                        byGlyph.insert(glyphs[k], drawnChars[k].unicode());
                font->drawnByGlyph = std::move(byGlyph);
            }
            const QList<quint32> glyph = font->raw.glyphIndexesForString(entry.value());
            if (glyph.size() != 1 || glyph.front() == 0)
                continue;
            const auto found = font->drawnByGlyph->constFind(glyph.front());
            if (found != font->drawnByGlyph->constEnd()) {
                entry.value() = QString(QChar(*found));
                changed = true;
            }
        }
        if (changed) {
            const QByteArray stream = cmap.write();
            updated.insert(mapObject, "<< /Length " + QByteArray::number(stream.size()) +
                                          " >>\nstream\n" + stream + "\nendstream\n");
        }
    }
    if (updated.isEmpty())
        return true;

    // The incremental update: the new objects, their cross-reference section and a trailer
    // pointing back to the previous one.
    QByteArray update = "\n";
    QByteArray xref = "xref\n";
    const qint64 at = pdf.length;
    for (auto it = updated.constBegin(); it != updated.constEnd(); ++it) {
        const QByteArray object =
            QByteArray::number(it.key()) + " 0 obj\n" + it.value() + "endobj\n";
        xref += QByteArray::number(it.key()) + " 1\n" +
                QByteArray::number(at + update.size()).rightJustified(10, '0') + " 00000 n \n";
        update += object;
    }
    const qint64 xrefAt = at + update.size();
    update += xref + "trailer\n<< /Size " + QByteArray::number(pdf.size) + " /Root " + pdf.root +
              (pdf.info.isEmpty() ? QByteArray() : " /Info " + pdf.info) + " /Prev " +
              QByteArray::number(pdf.xref) + " >>\nstartxref\n" + QByteArray::number(xrefAt) +
              "\n%%EOF\n";
    pdf.close();
    QFile file(path);
    if (!file.open(QIODevice::Append) || file.write(update) != update.size() || !file.flush()) {
        why = file.errorString();
        return false;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        why = file.errorString();
        return false;
    }
    return true;
}
