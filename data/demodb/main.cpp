// vtxdemodb --out FILE [--branches N] [--days N] [--bills-per-day N] [--seed N] [--last-day
// YYYY-MM-DD] [--midnight]
// vtxdemodb --pg "host=... dbname=..." [the same options]: the same chain in a PostgreSQL database
// vtxdemodb --pg "..." --copy FILE: a demo file written before, copied into PostgreSQL
#include "data/demodb/DemoDatabase.h"
#include "data/demodb/PostgresCopy.h"
#include "db/Connection.h"
#include "db/Summaries.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vtxdemodb"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes the demo restaurant database (SQLite, or PostgreSQL with --pg)."));
    parser.addHelpOption();
    const QCommandLineOption out(QStringLiteral("out"),
                                 QStringLiteral("Database file to write (replaced)."),
                                 QStringLiteral("file"));
    const QCommandLineOption branches(QStringLiteral("branches"),
                                      QStringLiteral("Number of branches (default 5)."),
                                      QStringLiteral("n"), QStringLiteral("5"));
    const QCommandLineOption days(QStringLiteral("days"),
                                  QStringLiteral("Days of business up to today (default 60)."),
                                  QStringLiteral("n"), QStringLiteral("60"));
    const QCommandLineOption bills(QStringLiteral("bills-per-day"),
                                   QStringLiteral("Bills per branch and day (default 40)."),
                                   QStringLiteral("n"), QStringLiteral("40"));
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QStringLiteral("Random seed (default 1)."), QStringLiteral("n"),
                                  QStringLiteral("1"));
    const QCommandLineOption lastDay(QStringLiteral("last-day"),
                                     QStringLiteral("Last business day (default today)."),
                                     QStringLiteral("yyyy-mm-dd"));
    const QCommandLineOption midnight(
        QStringLiteral("midnight"),
        QStringLiteral("Also stamp some records of every day at exactly midnight."));
    const QCommandLineOption pg(
        QStringLiteral("pg"),
        QStringLiteral("PostgreSQL database to write instead of a file (its tables replaced): "
                       "\"host=... port=... dbname=... user=...\" or a postgresql:// URL."),
        QStringLiteral("connection"));
    const QCommandLineOption copy(
        QStringLiteral("copy"),
        QStringLiteral("With --pg: copy this demo database file instead of building one."),
        QStringLiteral("file"));
    parser.addOptions({out, pg, copy, branches, days, bills, seed, lastDay, midnight});
    parser.process(app);

    if (parser.isSet(copy)) {
        if (!parser.isSet(pg)) {
            std::fprintf(stderr, "vtxdemodb: --copy needs --pg\n");
            return 2;
        }
        QElapsedTimer timer;
        timer.start();
        try {
            copyDemoToPostgres(parser.value(copy), parser.value(pg),
                               [](double share, const QString& text) {
                                   std::fprintf(stderr, "\r%3d%% PostgreSQL: %s          ",
                                                int(share * 100), qPrintable(text));
                                   std::fflush(stderr);
                               });
        } catch (const std::exception& e) {
            std::fprintf(stderr, "\nvtxdemodb: %s\n", e.what());
            return 1;
        }
        std::fprintf(stderr, "\n%s copied to PostgreSQL, %.1f s\n", qPrintable(parser.value(copy)),
                     timer.elapsed() / 1000.0);
        return 0;
    }
    DemoDatabase::Options options;
    options.out = parser.value(out);
    // On PostgreSQL the chain is built as a file first and copied over: the same rows.
    QTemporaryDir staging;
    const QString server = parser.value(pg);
    if (parser.isSet(pg)) {
        if (options.out.isEmpty() && staging.isValid())
            options.out = staging.filePath(QStringLiteral("demo.db"));
    }
    bool ok1 = false, ok2 = false, ok3 = false, ok4 = false;
    options.branches = parser.value(branches).toInt(&ok1);
    options.days = parser.value(days).toInt(&ok2);
    options.billsPerDay = parser.value(bills).toInt(&ok3);
    options.seed = parser.value(seed).toULongLong(&ok4);
    options.midnight = parser.isSet(midnight);
    if (parser.isSet(lastDay))
        options.lastDay = QDate::fromString(parser.value(lastDay), Qt::ISODate);
    if (options.out.isEmpty() || !ok1 || !ok2 || !ok3 || !ok4 || options.branches < 1 ||
        options.branches > 99 || options.days < 1 || options.billsPerDay < 1 ||
        !options.lastDay.isValid()) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.helpText()));
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    try {
        DemoDatabase demo(options);
        demo.build([](double share, const QString& text) {
            std::fprintf(stderr, "\r%3d%% %s   ", int(share * 100), qPrintable(text));
            std::fflush(stderr);
        });
        if (server.isEmpty()) {
            // The embedded demo database comes with the bill summaries.
            std::fprintf(stderr, "\r100%% bill summaries   ");
            std::fflush(stderr);
            Summaries::install(*Connection::openSqlite(options.out));
        } else {
            std::fprintf(stderr, "\n");
            copyDemoToPostgres(options.out, server, [](double share, const QString& text) {
                std::fprintf(stderr, "\r%3d%% PostgreSQL: %s          ", int(share * 100),
                             qPrintable(text));
                std::fflush(stderr);
            });
        }
        std::fprintf(stderr, "\n%s: %lld bills, %lld items, %.1f s\n",
                     qPrintable(server.isEmpty() ? options.out : QStringLiteral("PostgreSQL")),
                     (long long)demo.billCount(), (long long)demo.itemCount(),
                     timer.elapsed() / 1000.0);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "\nvtxdemodb: %s\n", e.what());
        return 1;
    }
    return 0;
}
