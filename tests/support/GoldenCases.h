#pragma once

// The end-to-end cases of tests/golden/cases.txt, shared by tst_golden (SQLite) and tst_goldenpg
// (PostgreSQL): reading the cases and their databases, running a program, comparing an export
// with its golden file.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <algorithm>

// A demo database of cases.txt: its vtxdemodb options and the folder of its golden files under
// tests/golden ("" for the first database, whose files lie in tests/golden itself).
struct GoldenDatabase
{
    QString name;
    QStringList options;
};

struct Case
{
    QString name; // "<database name>/<case>" for the cases of a named database
    QString action;
    QStringList arguments;
    int database = 0; // index into the databases
};

inline const QString kGoldenDir = QStringLiteral(VTX_SOURCE_DIR "/tests/golden");

// The cases and their databases from cases.txt. A line "database [NAME] OPTIONS..." starts the
// cases of one database; NAME (not starting with "-") is the folder of its golden files.
inline bool readCases(QList<Case>* cases, QList<GoldenDatabase>* databases)
{
    QFile file(kGoldenDir + QStringLiteral("/cases.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const QString t = line.trimmed();
        if (t.isEmpty() || t.startsWith(QLatin1Char('#')))
            continue;
        QStringList words = t.split(blanks);
        if (words.first() == QLatin1String("database")) {
            GoldenDatabase db;
            words.removeFirst();
            if (!words.isEmpty() && !words.first().startsWith(QLatin1Char('-')))
                db.name = words.takeFirst();
            db.options = words;
            for (const GoldenDatabase& other : std::as_const(*databases))
                if (other.name == db.name)
                    return false; // two databases would write the same golden files
            databases->append(db);
            continue;
        }
        if (words.size() < 2 || databases->isEmpty())
            return false;
        const QString& folder = databases->constLast().name;
        cases->append({folder.isEmpty() ? words.at(0) : folder + QLatin1Char('/') + words.at(0),
                       words.at(1), words.mid(2), int(databases->size() - 1)});
    }
    return !databases->isEmpty();
}

// Whether the case runs: VTX_GOLDEN_ACTIONS=A,B runs only the cases of those actions (as
// tools/mutants does).
inline bool selected(const Case& c)
{
    static const QStringList only =
        qEnvironmentVariable("VTX_GOLDEN_ACTIONS").split(QLatin1Char(','), Qt::SkipEmptyParts);
    return only.isEmpty() || only.contains(c.action);
}

// The case's name as one file name (a case of a named database lies in a folder).
inline QString flatName(const Case& c)
{
    return QString(c.name).replace(QLatin1Char('/'), QLatin1Char('-'));
}

inline int run(const QString& program, const QStringList& arguments, QString* err)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        return -1;
    *err = QString::fromUtf8(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// Compares the export `out` of case `name` with its golden file, line by line (a QtTest check);
// with VTX_UPDATE_GOLDEN=1 writes the golden file instead.
inline void compareWithGolden(const QString& name, const QString& out)
{
    QFile produced(out);
    QVERIFY(produced.open(QIODevice::ReadOnly));
    const QByteArray text = produced.readAll();
    const QString goldenPath = kGoldenDir + QLatin1Char('/') + name + QStringLiteral(".txt");
    if (qEnvironmentVariableIntValue("VTX_UPDATE_GOLDEN") == 1) {
        QVERIFY(QDir().mkpath(QFileInfo(goldenPath).path()));
        QFile golden(goldenPath);
        QVERIFY(golden.open(QIODevice::WriteOnly));
        golden.write(text);
        return;
    }
    QFile golden(goldenPath);
    QVERIFY2(golden.open(QIODevice::ReadOnly),
             qPrintable(goldenPath + " is missing: run with VTX_UPDATE_GOLDEN=1 and review it"));
    const QList<QByteArray> want = golden.readAll().split('\n');
    const QList<QByteArray> got = text.split('\n');
    for (int i = 0; i < std::max(want.size(), got.size()); ++i) {
        const QByteArray w = i < want.size() ? want.at(i) : QByteArray("(no line)");
        const QByteArray g = i < got.size() ? got.at(i) : QByteArray("(no line)");
        QVERIFY2(w == g, qPrintable(QStringLiteral("line %1\n  golden:   %2\n  produced: %3")
                                        .arg(i + 1)
                                        .arg(QString::fromUtf8(w), QString::fromUtf8(g))));
    }
}
