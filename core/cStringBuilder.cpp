#include "core/cStringBuilder.h"

#include <algorithm>
#include <limits>

namespace {
constexpr qint64 kMaxSize = std::numeric_limits<int>::max();

const char* errorText(int number)
{
    return number == StringBuilderError::SubscriptOutOfRange ? "Subscript out of range"
                                                             : "Overflow";
}
} // namespace

StringBuilderError::StringBuilderError(int number)
    : std::runtime_error(errorText(number)), m_number(number)
{
}

void cStringBuilder::setChunkSize(int chunkSize)
{
    if (chunkSize >= 1)
        m_chunkSize = chunkSize;
}

void cStringBuilder::grow(qint64 needed)
{
    if (needed > kMaxSize)
        throw StringBuilderError(StringBuilderError::Overflow);
    if (needed <= m_capacity)
        return;
    const qint64 chunks = (needed - m_capacity + m_chunkSize - 1) / m_chunkSize;
    const qint64 capacity = m_capacity + chunks * m_chunkSize;
    if (capacity > kMaxSize)
        throw StringBuilderError(StringBuilderError::Overflow);
    m_buffer.resize(capacity, QLatin1Char(' '));
    m_capacity = static_cast<int>(capacity);
}

QString cStringBuilder::toString() const
{
    return m_buffer.left(m_length);
}

void cStringBuilder::setTheString(const QString& text)
{
    if (text.isEmpty()) {
        clear();
        return;
    }
    grow(text.size());
    m_buffer.replace(0, text.size(), text);
    m_length = static_cast<int>(text.size());
}

void cStringBuilder::clear()
{
    m_buffer.clear();
    m_buffer.squeeze();
    m_length = 0;
    m_capacity = 0;
}

void cStringBuilder::Append(const QString& text)
{
    if (text.isEmpty())
        return;
    grow(qint64(m_length) + text.size());
    m_buffer.replace(m_length, text.size(), text);
    m_length += static_cast<int>(text.size());
}

void cStringBuilder::add(const QString& text)
{
    Append(text);
    Append(QStringLiteral("\r\n"));
}

void cStringBuilder::insert(int position, const QString& text)
{
    if (position < 0 || position > m_length)
        throw StringBuilderError(StringBuilderError::SubscriptOutOfRange);
    if (text.isEmpty())
        return;
    const int n = static_cast<int>(text.size());
    grow(qint64(m_length) + n);
    QChar* data = m_buffer.data();
    std::copy_backward(data + position, data + m_length, data + m_length + n);
    std::copy(text.constBegin(), text.constEnd(), data + position);
    m_length += n;
}

void cStringBuilder::Remove(int position, int count)
{
    if (position < 0 || count < 0 || position > m_length || qint64(position) + count > m_length)
        throw StringBuilderError(StringBuilderError::SubscriptOutOfRange);
    QChar* data = m_buffer.data();
    std::copy(data + position + count, data + m_length, data + position);
    m_length -= count;
}

int cStringBuilder::Find(const QString& text, int start, Qt::CaseSensitivity compare) const
{
    const int from = start >= 1 ? start - 1 : 0;
    if (m_buffer.isEmpty() || from >= m_buffer.size())
        return 0;
    const qsizetype found = m_buffer.indexOf(text, from, compare);
    if (found < 0 || found + text.size() > m_length)
        return 0;
    return static_cast<int>(found) + 1;
}

void cStringBuilder::HeapMinimize()
{
    while (m_capacity - m_length > m_chunkSize)
        m_capacity -= m_chunkSize;
    m_buffer.truncate(m_capacity);
    m_buffer.squeeze();
}
