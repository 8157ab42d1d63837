#include "core/LanguageFile.h"

#include <QDomDocument>
#include <QFile>

namespace {

void setReason(QString* reason, const QString& text)
{
    if (reason)
        *reason = text;
}

} // namespace

QString LanguageFile::shapeProblem(QByteArrayView bytes)
{
    // One pass over the markup: comments, CDATA sections and processing instructions are
    // skipped, quotes are followed inside tags, and each start tag, end tag and attribute is
    // counted. Anything odd the scan lets through is left for the parser to refuse.
    const qsizetype size = bytes.size();
    int depth = 0, elements = 0;
    auto startsWith = [&](qsizetype at, const char* text) {
        return bytes.sliced(at).startsWith(QByteArrayView(text));
    };
    auto skipTo = [&](qsizetype at, const char* end) {
        const qsizetype found = bytes.indexOf(QByteArrayView(end), at);
        return found < 0 ? size : found + qsizetype(qstrlen(end));
    };
    for (qsizetype i = 0; i < size;) {
        if (bytes[i] != '<') {
            ++i;
            continue;
        }
        if (startsWith(i, "<!--")) {
            i = skipTo(i + 4, "-->");
            continue;
        }
        if (startsWith(i, "<![CDATA[")) {
            i = skipTo(i + 9, "]]>");
            continue;
        }
        if (startsWith(i, "<?")) {
            i = skipTo(i + 2, "?>");
            continue;
        }
        if (startsWith(i, "<!"))
            return QStringLiteral("it declares a document type");
        const bool closing = i + 1 < size && bytes[i + 1] == '/';
        int attributes = 0;
        char quote = 0;
        qsizetype j = i + 1;
        for (; j < size; ++j) {
            const char c = bytes[j];
            if (quote) {
                if (c == quote)
                    quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '=') {
                if (++attributes > MostAttributes)
                    return QStringLiteral("an element has more than %1 attributes")
                        .arg(MostAttributes);
            } else if (c == '>') {
                break;
            }
        }
        const bool empty = j > i + 1 && j < size && bytes[j - 1] == '/';
        if (closing) {
            --depth;
        } else {
            if (++elements > MostElements)
                return QStringLiteral("it has more than %1 elements").arg(MostElements);
            if (!empty && ++depth > MostDepth)
                return QStringLiteral("its elements are nested more than %1 deep").arg(MostDepth);
        }
        i = j + 1;
    }
    return QString();
}

bool LanguageFile::read(const QString& path, QDomDocument* document, QString* reason)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setReason(reason, file.errorString());
        return false;
    }
    if (file.size() > MostBytes) {
        setReason(reason,
                  QStringLiteral("it has %1 bytes (at most %2)").arg(file.size()).arg(MostBytes));
        return false;
    }
    const QByteArray bytes = file.read(MostBytes + 1);
    if (bytes.size() > MostBytes) { // grown since it was opened, or not a plain file
        setReason(reason, QStringLiteral("it has more than %1 bytes").arg(MostBytes));
        return false;
    }
    if (const QString problem = shapeProblem(bytes); !problem.isEmpty()) {
        setReason(reason, problem);
        return false;
    }
    QString message;
    int line = 0, column = 0;
    if (!document->setContent(bytes, &message, &line, &column)) {
        setReason(reason,
                  QStringLiteral("line %1, column %2: %3").arg(line).arg(column).arg(message));
        return false;
    }
    return true;
}
