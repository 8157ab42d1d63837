#include "sheet/BoundedStream.h"

#include <QBuffer>
#include <QFont>
#include <QIODevice>
#include <QtEndian>

#include <cmath>

namespace {

constexpr qint64 MostFamilyLength = 256;
constexpr qint64 MostFamilies = 16;
// QFont's encoding (Qt 6.4) between its two texts and its list of families: point size,
// pixel size, style hint and strategy, weight, flags, stretch, spacings, hinting.
constexpr qint64 FontFixedBytes = 31;

} // namespace

BoundedStream::BoundedStream(QIODevice* device)
    : m_device(device), m_in(device), m_size(device->size())
{
    m_in.setVersion(QDataStream::Qt_6_4);
}

qint64 BoundedStream::left() const
{
    return m_size - m_device->pos(); // the size once: a file's size is a system call each time
}

bool BoundedStream::fail(const QString& problem)
{
    if (m_problem.isEmpty())
        m_problem = problem;
    return false;
}

bool BoundedStream::check()
{
    if (!m_problem.isEmpty())
        return false;
    return m_in.status() == QDataStream::Ok || fail(QStringLiteral("it ends too early"));
}

bool BoundedStream::count(qint64* n, qint64 bytes, qint64 most, const char* what)
{
    quint32 raw = 0;
    m_in >> raw;
    if (!check())
        return false;
    *n = raw;
    if (*n > most)
        return fail(QStringLiteral("it holds %1 %2 (at most %3)")
                        .arg(*n)
                        .arg(QLatin1String(what))
                        .arg(most));
    if (*n * bytes > left())
        return fail(QStringLiteral("it ends too early"));
    return true;
}

bool BoundedStream::text(QString* text, qint64 mostLength)
{
    if (!m_problem.isEmpty())
        return false;
    const QByteArray head = m_device->peek(4);
    if (head.size() < 4)
        return fail(QStringLiteral("it ends too early"));
    const quint32 bytes = qFromBigEndian<quint32>(head.constData());
    if (bytes != 0xffffffffu) {
        if (bytes / 2 > mostLength)
            return fail(QStringLiteral("a text of %1 characters (at most %2)")
                            .arg(bytes / 2)
                            .arg(mostLength));
        if (bytes > left() - 4)
            return fail(QStringLiteral("it ends too early"));
    }
    m_in >> *text;
    return check();
}

bool BoundedStream::texts(QStringList* list, qint64 most, qint64 mostLength, const char* what)
{
    qint64 n = 0;
    if (!count(&n, 4, most, what))
        return false;
    list->clear();
    list->reserve(n);
    for (qint64 i = 0; i < n; ++i) {
        QString t;
        if (!text(&t, mostLength))
            return false;
        list->append(t);
    }
    return true;
}

bool BoundedStream::number(double* value, double most)
{
    m_in >> *value;
    if (!check())
        return false;
    if (!std::isfinite(*value) || std::abs(*value) > most)
        return fail(QStringLiteral("a number is %1").arg(*value));
    return true;
}

bool BoundedStream::integer(qint32* value, qint32 least, qint32 most, const char* what)
{
    m_in >> *value;
    if (!check())
        return false;
    if (*value < least || *value > most)
        return fail(QStringLiteral("%1 is %2 (from %3 to %4)")
                        .arg(QLatin1String(what))
                        .arg(*value)
                        .arg(least)
                        .arg(most));
    return true;
}

bool BoundedStream::flag(bool* value)
{
    m_in >> *value;
    return check();
}

bool BoundedStream::font(QFont* font)
{
    // The font's texts and list are checked here; Qt then reads the checked bytes again.
    const qint64 start = m_device->pos();
    QString family, style;
    QStringList families;
    if (!text(&family, MostFamilyLength) || !text(&style, MostFamilyLength))
        return false;
    if (left() < FontFixedBytes || m_in.skipRawData(int(FontFixedBytes)) != FontFixedBytes)
        return fail(QStringLiteral("it ends too early"));
    if (!texts(&families, MostFamilies, MostFamilyLength, "font families"))
        return false;
    const qint64 end = m_device->pos();
    if (!m_device->seek(start))
        return fail(m_device->errorString());
    const QByteArray bytes = m_device->read(end - start);
    QDataStream in(bytes);
    in.setVersion(m_in.version());
    in >> *font;
    if (in.status() != QDataStream::Ok || !in.atEnd())
        return fail(QStringLiteral("a font is damaged"));
    if (font->pointSizeF() > 400 || font->pixelSize() > 500)
        return fail(QStringLiteral("a font is %1 points, %2 pixels large")
                        .arg(font->pointSizeF())
                        .arg(font->pixelSize()));
    return true;
}
