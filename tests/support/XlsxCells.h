#pragma once

// A workbook read back by a spreadsheet reader of its own (openpyxl, python3-openpyxl), to see
// what a spreadsheet program gets: each cell's type ("n" number, "s" text), value and number
// format.
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QString>

struct XlsxCell
{
    QString type, value, format;
};

// The non-empty cells of the first worksheet by reference ("C6"); empty with `error` set when
// the file cannot be read.
inline QHash<QString, XlsxCell> readXlsxCells(const QString& path, QString* error)
{
    static const char* const Script = R"(
import sys, openpyxl
ws = openpyxl.load_workbook(sys.argv[1]).worksheets[0]
for row in ws.iter_rows():
    for c in row:
        if c.value is None:
            continue
        v = repr(c.value) if isinstance(c.value, float) else str(c.value)
        print(c.coordinate, c.data_type, v, c.number_format, sep='\t')
)";
    QProcess python;
    // Debian's own python3, whose python3-openpyxl the set-up installs.
    const QString python3 = QFile::exists(QStringLiteral("/usr/bin/python3"))
                                ? QStringLiteral("/usr/bin/python3")
                                : QStringLiteral("python3");
    python.start(python3, {QStringLiteral("-c"), QString::fromUtf8(Script), path});
    QHash<QString, XlsxCell> cells;
    if (!python.waitForFinished(60000) || python.exitCode() != 0) {
        *error = QString::fromUtf8(python.readAllStandardError());
        return cells;
    }
    for (const QString& line : QString::fromUtf8(python.readAllStandardOutput()).split('\n')) {
        const QStringList f = line.split('\t');
        if (f.size() == 4)
            cells.insert(f.at(0), {f.at(1), f.at(2), f.at(3)});
    }
    return cells;
}
