#pragma once

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// The host's command line.
struct HostOptions
{
    QString dbFile; // --db FILE: an SQLite database
    QString odbc;   // --odbc "CONNECTION STRING": SQL Server through ODBC
    QString pg;     // --pg "host=... dbname=..." or postgresql://...: a PostgreSQL database
    QString user;   // --user ID
    bool userGiven = false;
    bool trueData = false; // --true-data
    QString traceSql;      // --trace-sql FILE: every statement run, written as JSON lines
    // Headless run: --action NAME and what to do with the screen it opens.
    QString action;
    QString from, to;                        // --from/--to YYYY-MM-DD
    QString exportFile;                      // --export FILE
    QString screenshotFile;                  // --screenshot FILE.png
    QList<QPair<QString, QString>> settings; // --set NAME=VALUE, in order
    QString savedCriteria;                   // --criteria NAME: the user's saved criteria
    QString drill;                           // --drill ROW[,COLUMN]: the list behind a row
    bool yes = false;                        // --yes: confirm, and let the screen write
    QString menuScreenshot;                  // --menu-screenshot FILE.png (documentation picture)
    // The bill summaries (db/Summaries.h), an administrator's commands run instead of the window:
    // --install-summaries, --drop-summaries, --verify-summaries (rebuild every date, compare).
    QString summaries; // "install", "drop", "verify" or empty

    bool headless() const { return !action.isEmpty(); }
    bool actsOnScreen() const
    {
        return !from.isEmpty() || !to.isEmpty() || !exportFile.isEmpty() ||
               !screenshotFile.isEmpty() || !settings.isEmpty() || !savedCriteria.isEmpty() ||
               !drill.isEmpty();
    }

    // Parses the arguments (argv[0] first). False with a one-line reason on a bad command line;
    // *helpText is set instead when --help was asked for.
    bool parse(const QStringList& arguments, QString* error, QString* helpText);
};
