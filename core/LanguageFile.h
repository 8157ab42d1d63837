#pragma once

#include <QByteArrayView>
#include <QString>

class QDomDocument;

// Reading a language file within bounds. The files we ship hold about 800 elements four levels
// deep (at most 23 attributes on one element) in 50 KB; a file far beyond that shape is damaged
// or hostile, and parsing it unchecked costs time that grows with the square of its depth or of
// an element's attributes. So the file's bytes are first scanned once for their shape, and only
// a file within the limits below is parsed.
class LanguageFile
{
public:
    static constexpr qint64 MostBytes = 2 << 20;
    static constexpr int MostDepth = 16;
    static constexpr int MostElements = 50000;
    static constexpr int MostAttributes = 100; // on one element

    // Loads `path` into `document`; false, with the reason, when the file cannot be read, is
    // larger, deeper or wider than the limits, declares a document type (entities), or is not
    // well-formed XML. Time and memory are linear in the file's size, itself bounded.
    static bool read(const QString& path, QDomDocument* document, QString* reason = nullptr);
    // Why the bytes are beyond the limits; empty when they are within them (they may still not
    // be well-formed).
    static QString shapeProblem(QByteArrayView bytes);
};
