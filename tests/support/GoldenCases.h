#pragma once

// The end-to-end cases of tests/golden/cases.txt, shared by tst_golden (SQLite) and tst_goldenpg
// (PostgreSQL): reading the cases, running a program, comparing an export with its golden file.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <algorithm>

struct Case
{
    QString name, action;
    QStringList arguments;
};

inline const QString kGoldenDir = QStringLiteral(VTX_SOURCE_DIR "/tests/golden");

// The cases and the demo database's options from cases.txt.
inline bool readCases(QList<Case>* cases, QStringList* databaseOptions)
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
            *databaseOptions = words.mid(1);
            continue;
        }
        if (words.size() < 2)
            return false;
        cases->append({words.at(0), words.at(1), words.mid(2)});
    }
    return true;
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
