#pragma once

#include <QString>

#include <stdexcept>

// The error a string builder raises: Number 9 (subscript out of range) for a position or range
// beyond the content, 6 (overflow) when a size leaves the 32-bit range. The builder is unchanged.
class StringBuilderError : public std::runtime_error
{
public:
    static constexpr int SubscriptOutOfRange = 9;
    static constexpr int Overflow = 6;
    explicit StringBuilderError(int number);
    int Number() const { return m_number; }

private:
    int m_number;
};

// A growable text buffer for long SQL statements: appends copy only the new text, and the
// buffer grows in whole chunks. Sizes and positions count UTF-16 units.
class cStringBuilder
{
public:
    int Length() const { return m_length; }
    int Capacity() const { return m_capacity; }
    int ChunkSize() const { return m_chunkSize; }
    // A step below 1 is ignored (the step in force stays).
    void setChunkSize(int chunkSize);

    QString toString() const;
    void setTheString(const QString& text); // an empty text acts as clear()
    void clear();

    void Append(const QString& text);
    void AppendByVal(QString text) { Append(text); }
    void add(const QString& text); // text + "\r\n"
    void AppendNL(const QString& text) { add(text); }
    void insert(int position, const QString& text); // 0-based; position <= Length
    void InsertByVal(int position, QString text) { insert(position, text); }
    void Remove(int position, int count); // 0-based; position + count <= Length
    // 1-based position of the first match inside the content, searching from `start` (1-based;
    // below 1 means the beginning); 0 when there is none.
    int Find(const QString& text, int start = 1,
             Qt::CaseSensitivity compare = Qt::CaseSensitive) const;
    // Gives back spare capacity beyond one chunk.
    void HeapMinimize();

private:
    void grow(qint64 needed);

    QString m_buffer; // m_capacity units: the content, then spare room
    int m_length = 0;
    int m_capacity = 0;
    int m_chunkSize = 8192;
};
