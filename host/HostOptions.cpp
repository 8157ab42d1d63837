#include "host/HostOptions.h"

#include <QCommandLineParser>

bool HostOptions::parse(const QStringList& arguments, QString* error, QString* helpText)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("The restaurant system's host: opens the query and report module."));
    const QCommandLineOption help(QStringList{"h", "help"}, QStringLiteral("Show this help."));
    const QCommandLineOption db("db", QStringLiteral("SQLite database file."), "FILE");
    const QCommandLineOption odbcOpt("odbc", QStringLiteral("ODBC connection string (SQL Server)."),
                                     "CONNECTION STRING");
    const QCommandLineOption pgOpt(
        "pg",
        QStringLiteral("PostgreSQL database: \"host=... port=... dbname=... user=...\" or a "
                       "postgresql:// URL."),
        "CONNECTION");
    const QCommandLineOption userOpt("user", QStringLiteral("The signed-in user's id."), "ID");
    const QCommandLineOption trueDataOpt("true-data",
                                         QStringLiteral("The user may see deleted data."));
    const QCommandLineOption traceOpt(
        "trace-sql",
        QStringLiteral("Write every statement run to FILE, one JSON object a line: the T-SQL, "
                       "the text and parameters SQL Server receives, the text run here."),
        "FILE");
    const QCommandLineOption actionOpt(
        "action", QStringLiteral("Run headless: open this action's screen and exit."), "NAME");
    const QCommandLineOption fromOpt("from", QStringLiteral("Begin date of the report."),
                                     "YYYY-MM-DD");
    const QCommandLineOption toOpt("to", QStringLiteral("End date of the report."), "YYYY-MM-DD");
    const QCommandLineOption exportOpt("export", QStringLiteral("Save the report grid to FILE."),
                                       "FILE");
    const QCommandLineOption shotOpt("screenshot", QStringLiteral("Save a picture of the screen."),
                                     "FILE.png");
    const QCommandLineOption setOpt("set", QStringLiteral("Set criteria control NAME to VALUE."),
                                    "NAME=VALUE");
    const QCommandLineOption criteriaOpt(
        "criteria",
        QStringLiteral("Open the criteria the user saved under NAME on the screen, before --from, "
                       "--to and --set; relative dates are worked out for today."),
        "NAME");
    const QCommandLineOption drillOpt(
        "drill",
        QStringLiteral("After the refresh, open the bills or item lines behind grid row ROW (from "
                       "1, the totals row included; COLUMN for a figure of one column) and act "
                       "on that list: --export saves it."),
        "ROW[,COLUMN]");
    const QCommandLineOption yesOpt(
        "yes", QStringLiteral("Answer Yes to the screen's confirmations and let it change the "
                              "database (statistic groups); without it a headless run declines "
                              "and is refused."));
    const QCommandLineOption menuShotOpt(
        "menu-screenshot",
        QStringLiteral("Save a picture of the main window with the report menu open, then exit."),
        "FILE.png");
    const QCommandLineOption installOpt(
        "install-summaries",
        QStringLiteral("Create the bill summaries, their triggers, and fill them; then exit."));
    const QCommandLineOption dropOpt("drop-summaries",
                                     QStringLiteral("Remove the bill summaries; then exit."));
    const QCommandLineOption verifyOpt(
        "verify-summaries",
        QStringLiteral("Rebuild the bill summaries from the bills and compare every row; then "
                       "exit (status 4 when they differ)."));
    parser.addOptions({help,        db,          odbcOpt,    pgOpt,       userOpt,
                       trueDataOpt, traceOpt,    actionOpt,  fromOpt,     toOpt,
                       exportOpt,   shotOpt,     setOpt,     criteriaOpt, drillOpt,
                       yesOpt,      menuShotOpt, installOpt, dropOpt,     verifyOpt});
    if (!parser.parse(arguments)) {
        *error = parser.errorText();
        return false;
    }
    if (parser.isSet(help)) {
        *helpText = parser.helpText();
        return true;
    }
    if (!parser.positionalArguments().isEmpty()) {
        *error =
            QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().first());
        return false;
    }
    dbFile = parser.value(db);
    odbc = parser.value(odbcOpt);
    pg = parser.value(pgOpt);
    if (int(parser.isSet(db)) + int(parser.isSet(odbcOpt)) + int(parser.isSet(pgOpt)) > 1) {
        *error = QStringLiteral("give one of --db, --odbc and --pg");
        return false;
    }
    if ((parser.isSet(db) && dbFile.isEmpty()) || (parser.isSet(odbcOpt) && odbc.isEmpty()) ||
        (parser.isSet(pgOpt) && pg.isEmpty())) {
        *error = QStringLiteral("--db, --odbc and --pg need a value");
        return false;
    }
    userGiven = parser.isSet(userOpt);
    user = parser.value(userOpt);
    trueData = parser.isSet(trueDataOpt);
    traceSql = parser.value(traceOpt);
    if (parser.isSet(traceOpt) && traceSql.isEmpty()) {
        *error = QStringLiteral("--trace-sql needs a file");
        return false;
    }
    action = parser.value(actionOpt);
    from = parser.value(fromOpt);
    to = parser.value(toOpt);
    exportFile = parser.value(exportOpt);
    screenshotFile = parser.value(shotOpt);
    menuScreenshot = parser.value(menuShotOpt);
    savedCriteria = parser.value(criteriaOpt);
    drill = parser.value(drillOpt);
    if (parser.isSet(criteriaOpt) && savedCriteria.isEmpty()) {
        *error = QStringLiteral("--criteria needs a name");
        return false;
    }
    yes = parser.isSet(yesOpt);
    if (parser.isSet(actionOpt) && action.isEmpty()) {
        *error = QStringLiteral("--action needs a name");
        return false;
    }
    for (const QString& date : {from, to}) {
        if (!date.isEmpty() && !QDate::fromString(date, QStringLiteral("yyyy-MM-dd")).isValid()) {
            *error = QStringLiteral("not a date (YYYY-MM-DD): %1").arg(date);
            return false;
        }
    }
    for (const QString& s : parser.values(setOpt)) {
        const qsizetype eq = s.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            *error = QStringLiteral("--set needs NAME=VALUE: %1").arg(s);
            return false;
        }
        settings.append({s.left(eq), s.mid(eq + 1)});
    }
    const int commands =
        int(parser.isSet(installOpt)) + int(parser.isSet(dropOpt)) + int(parser.isSet(verifyOpt));
    if (commands > 1 || (commands == 1 && parser.isSet(actionOpt))) {
        *error = QStringLiteral(
            "give one of --install-summaries, --drop-summaries, --verify-summaries and --action");
        return false;
    }
    summaries = parser.isSet(installOpt)  ? QStringLiteral("install")
                : parser.isSet(dropOpt)   ? QStringLiteral("drop")
                : parser.isSet(verifyOpt) ? QStringLiteral("verify")
                                          : QString();
    if (!headless() && actsOnScreen()) {
        *error = QStringLiteral(
            "--from, --to, --criteria, --drill, --export, --screenshot and --set need --action");
        return false;
    }
    if (!headless() && yes) {
        *error = QStringLiteral("--yes needs --action");
        return false;
    }
    return true;
}
