#pragma once

#include <QDataStream>
#include <QString>
#include <QStringList>

class QFont;
class QIODevice;

// Reads the fields of one of our binary files (QDataStream, Qt 6.4 encoding) from a file that
// may be damaged or hostile: every count and length is checked against its limit and against
// the bytes left before anything is allocated, numbers must be finite, and the first failure is
// kept as the reason. Reading so takes time and memory in proportion to the file's size.
class BoundedStream
{
public:
    // Reads `device` (a file or buffer opened for reading, not growing meanwhile) to its end.
    explicit BoundedStream(QIODevice* device);

    QDataStream& stream() { return m_in; }
    bool ok() const { return m_problem.isEmpty(); }
    QString problem() const { return m_problem; }
    qint64 left() const;

    // Keeps the first reason given; always false.
    bool fail(const QString& problem);
    // False (and the reason "it ends too early") once a read went past the end.
    bool check();

    // A count (quint32) of items of at least `bytes` bytes each, at most `most`.
    bool count(qint64* n, qint64 bytes, qint64 most, const char* what);
    // A text of at most `mostLength` characters (a null text reads as empty).
    bool text(QString* text, qint64 mostLength);
    // A list of texts (QStringList's encoding).
    bool texts(QStringList* list, qint64 most, qint64 mostLength, const char* what);
    // A finite number no larger in magnitude than `most`.
    bool number(double* value, double most);
    // An integer within [least, most].
    bool integer(qint32* value, qint32 least, qint32 most, const char* what);
    bool flag(bool* value);
    // A font (QFont's encoding): family names of sound length and number, a point size up to
    // 400 and a pixel size up to 500.
    bool font(QFont* font);

    template <class T> bool raw(T* value)
    {
        m_in >> *value;
        return check();
    }

private:
    QIODevice* m_device;
    QDataStream m_in;
    qint64 m_size;
    QString m_problem;
};
