#pragma once

// Page texts for print and PDF output, set from glyphs shaped once per distinct text and painted
// as one glyph run per font and colour: laying a text out anew for every cell dominated the
// time of a large grid's PDF.
#include <QColor>
#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QPainter>
#include <QPointF>
#include <QRawFont>
#include <QRectF>
#include <QString>
#include <QTextLayout>

#include "sheet/PdfTextLayer.h"

#include <deque>
#include <vector>

// Texts set from glyphs shaped once. A text is placed the way QPainter::drawText(rect, flags,
// text) places one line: its line box (ascent + descent high, natural width wide) aligned in the
// rectangle; a text whose box does not fit is left to drawText, which clips it to the rectangle.

struct ShapedText
{
    QList<QGlyphRun> runs; // glyph positions relative to the line's top-left corner
    double width = 0, ascent = 0, descent = 0;
};

// Glyphs of one font and colour gathered over a page, painted as one glyph run.
struct GlyphBatch
{
    QRawFont font;
    QColor color;
    QList<quint32> glyphs;
    QList<QPointF> positions;
};

class PageText
{
public:
    void add(const QRawFont& font, const QColor& color, const quint32* glyphs,
             const QPointF* positions, qsizetype count, const QPointF& origin)
    {
        GlyphBatch* batch = nullptr;
        if (m_last && m_last->color == color && m_last->font == font) {
            batch = m_last;
        } else {
            for (GlyphBatch& b : m_batches)
                if (b.color == color && b.font == font)
                    batch = &b;
            if (!batch) {
                m_batches.push_back({font, color, {}, {}});
                batch = &m_batches.back();
            }
            m_last = batch;
        }
        for (qsizetype i = 0; i < count; ++i) {
            batch->glyphs.append(glyphs[i]);
            batch->positions.append(origin + positions[i]);
        }
    }

    bool isEmpty() const { return m_batches.empty(); }

    void paint(QPainter* painter) const
    {
        for (const GlyphBatch& b : m_batches) {
            QGlyphRun run;
            run.setRawFont(b.font);
            run.setGlyphIndexes(b.glyphs);
            run.setPositions(b.positions);
            painter->setPen(b.color);
            painter->drawGlyphRun(QPointF(0, 0), run);
        }
    }

private:
    std::deque<GlyphBatch> m_batches;
    GlyphBatch* m_last = nullptr;
};

// Shapes the texts of one font on one paint device. Printable ASCII goes glyph by glyph from a
// table when no pair of neighbouring characters is kerned or joined; other texts are laid out
// once and kept.
class FontShaper
{
public:
    // `textLayer`, if given, is told the texts laid out and their fonts.
    FontShaper(const QFont& font, QPaintDevice* device, PdfTextLayer* textLayer = nullptr)
        : m_font(font), m_device(device), m_textLayer(textLayer)
    {
        const ShapedText zero = layout(QStringLiteral("0"));
        if (zero.runs.size() == 1) {
            m_primary = zero.runs.first().rawFont();
            m_ascent = zero.ascent;
            m_descent = zero.descent;
        }
        m_decorated = font.underline() || font.overline() || font.strikeOut();
    }

    // Adds the text placed in `rect` to `page`, or to `clipped` when it is wider than `rect`
    // (and fits its height): those are painted clipped to their column. False when drawText
    // must paint the text.
    bool place(const QString& text, const QRectF& rect, Qt::Alignment align, const QColor& color,
               PageText& page, PageText& clipped)
    {
        if (text.isEmpty())
            return true;
        if (m_decorated || text.front().isSpace() || text.back().isSpace())
            return false;
        switch (placeAscii(text, rect, align, color, page, clipped)) {
        case Ascii::Placed:
            return true;
        case Ascii::Unfit:
            return false;
        case Ascii::No:
            break;
        }
        for (QChar ch : text)
            if (ch.unicode() < 0x20)
                return false;
        auto it = m_texts.constFind(text);
        if (it == m_texts.constEnd()) {
            if (m_texts.size() >= MaxTexts)
                m_texts.clear();
            it = m_texts.insert(text, layout(text));
            if (m_textLayer) {
                m_textLayer->addText(text);
                for (const QGlyphRun& run : it->runs)
                    m_textLayer->addRawFont(run.rawFont());
            }
        }
        const ShapedText& shaped = *it;
        if (shaped.runs.isEmpty())
            return false;
        QPointF origin;
        PageText* to = nullptr;
        switch (fits(rect, align, shaped.width, shaped.ascent + shaped.descent, origin)) {
        case Fit::Inside:
            to = &page;
            break;
        case Fit::TooWide:
            to = &clipped;
            break;
        case Fit::No:
            return false;
        }
        for (const QGlyphRun& run : shaped.runs) {
            const QList<quint32> glyphs = run.glyphIndexes();
            const QList<QPointF> positions = run.positions();
            to->add(run.rawFont(), color, glyphs.constData(), positions.constData(), glyphs.size(),
                    origin);
        }
        return true;
    }

private:
    static constexpr qsizetype MaxTexts = 50000;
    static constexpr int First = 0x20, Count = 0x7F - 0x20;
    QFont m_font;
    QPaintDevice* m_device;
    PdfTextLayer* m_textLayer;
    QRawFont m_primary;
    double m_ascent = 0, m_descent = 0;
    bool m_decorated = false;
    // Per printable ASCII character: 0 unknown, 1 usable, 2 not (another font, several glyphs).
    quint8 m_charState[Count] = {};
    quint32 m_glyph[Count] = {};
    double m_advance[Count] = {};
    // Per pair of characters: 0 unknown, 1 set side by side, 2 kerned or joined.
    std::vector<quint8> m_pairState = std::vector<quint8>(size_t(Count) * Count, 0);
    QHash<QString, ShapedText> m_texts;
    std::vector<quint32> m_glyphs;
    std::vector<QPointF> m_positions;

    ShapedText layout(const QString& text) const
    {
        QTextLayout layout(text, m_font, m_device);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        ShapedText shaped;
        if (!line.isValid()) {
            layout.endLayout();
            return shaped;
        }
        line.setLineWidth(0x01000000);
        line.setPosition(QPointF(0, 0));
        const bool single = !layout.createLine().isValid();
        layout.endLayout();
        if (!single || line.textLength() != text.size())
            return shaped;
        shaped.width = line.naturalTextWidth();
        shaped.ascent = line.ascent();
        shaped.descent = line.descent();
        shaped.runs = layout.glyphRuns();
        return shaped;
    }

    bool usableChar(int i)
    {
        if (m_charState[i] == 0) {
            m_charState[i] = 2;
            const ShapedText s = layout(QString(QChar(First + i)));
            if (s.runs.size() == 1 && s.runs.first().rawFont() == m_primary &&
                s.runs.first().glyphIndexes().size() == 1 &&
                s.runs.first().positions().first() == QPointF(0, m_ascent) &&
                s.ascent == m_ascent && s.descent == m_descent) {
                m_glyph[i] = s.runs.first().glyphIndexes().first();
                m_advance[i] = s.width;
                m_charState[i] = 1;
            }
        }
        return m_charState[i] == 1;
    }

    bool usablePair(int a, int b)
    {
        quint8& state = m_pairState[size_t(a) * Count + size_t(b)];
        if (state == 0) {
            state = 2;
            const ShapedText s = layout(QString(QChar(First + a)) + QChar(First + b));
            if (s.runs.size() == 1 && s.runs.first().rawFont() == m_primary) {
                const QList<quint32> g = s.runs.first().glyphIndexes();
                const QList<QPointF> p = s.runs.first().positions();
                if (g.size() == 2 && g[0] == m_glyph[a] && g[1] == m_glyph[b] &&
                    p[0] == QPointF(0, m_ascent) && p[1] == QPointF(m_advance[a], m_ascent) &&
                    s.width == m_advance[a] + m_advance[b])
                    state = 1;
            }
        }
        return state == 1;
    }

    enum class Ascii
    {
        No,     // not only printable ASCII, or some neighbours are kerned
        Placed, // added to the page or the clipped texts
        Unfit   // for drawText
    };

    Ascii placeAscii(const QString& text, const QRectF& rect, Qt::Alignment align,
                     const QColor& color, PageText& page, PageText& clipped)
    {
        if (!m_primary.isValid())
            return Ascii::No;
        const qsizetype n = text.size();
        m_glyphs.resize(size_t(n));
        m_positions.resize(size_t(n));
        double x = 0;
        int previous = -1;
        for (qsizetype k = 0; k < n; ++k) {
            const int i = int(text[k].unicode()) - First;
            if (i < 0 || i >= Count || !usableChar(i) ||
                (previous >= 0 && !usablePair(previous, i)))
                return Ascii::No;
            m_glyphs[size_t(k)] = m_glyph[i];
            m_positions[size_t(k)] = QPointF(x, m_ascent);
            x += m_advance[i];
            previous = i;
        }
        QPointF origin;
        const Fit fit = fits(rect, align, x, m_ascent + m_descent, origin);
        if (fit == Fit::No)
            return Ascii::Unfit;
        (fit == Fit::Inside ? page : clipped)
            .add(m_primary, color, m_glyphs.data(), m_positions.data(), n, origin);
        return Ascii::Placed;
    }

    enum class Fit
    {
        Inside,  // drawn as it is
        TooWide, // fits the height: drawText clips it on the left and right only
        No       // left to drawText
    };

    // Where drawText puts the top-left corner of a one-line text `width` x `height` in `rect`,
    // and whether it clips it.
    static Fit fits(const QRectF& rect, Qt::Alignment align, double width, double height,
                    QPointF& origin)
    {
        double xoff = 0, yoff = 0;
        if (align & Qt::AlignBottom)
            yoff = rect.height() - height;
        else if (align & Qt::AlignVCenter)
            yoff = (rect.height() - height) / 2;
        if (align & Qt::AlignRight)
            xoff = rect.width() - width;
        else if (align & Qt::AlignHCenter)
            xoff = (rect.width() - width) / 2;
        origin = QPointF(rect.x() + xoff, rect.y() + yoff);
        const QRectF box(origin, QSizeF(width, height));
        if (rect.contains(box))
            return Fit::Inside;
        if (rect.width() > 0 && rect.height() > 0 && box.top() >= rect.top() &&
            box.bottom() <= rect.bottom())
            return Fit::TooWide;
        return Fit::No;
    }
};
