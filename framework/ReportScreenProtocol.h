#pragma once

#include <QString>

class QObject;

// How a host drives an open report screen without knowing its class (headless runs, scripts).
// A screen takes part by offering any of these slots (public slots or Q_INVOKABLE), found by
// name through QMetaObject:
//
//   bool applyCriterion(QString name, QString value)
//       Sets one criterion: `name` is the objectName of a criteria control (`dtpBegin`,
//       `dtpEnd`, `cboBranch`, `chkUseTrueData`, ...); a date picker takes "yyyy-MM-dd", a check
//       box or option button "1"/"0", a combo box an item's text, a text box the text. False
//       when the screen has no such control or the value does not fit it.
//   bool runRefresh()
//       Runs the screen's refresh sequence to its end; false when no report was generated
//       (for example an invalid date range).
//   bool exportGrid(QString path)
//       Saves the screen's result grid, the format chosen by the file extension (.xlsx, .html,
//       .txt, .xml, .rpt); false when the file cannot be written.
//   bool openSavedCriteria(QString name)
//       Sets the criteria the signed-in user saved under `name` on this screen; false when
//       there are none of that name or they cannot be opened (a branch he may no longer see).
//   bool drillDown(QString at)
//       After a refresh, opens the bills or item lines behind grid row ROW ("ROW" or
//       "ROW,COLUMN") in the report they belong to, and refreshes that list.
//   QString lastNotice()
//       What the last openSavedCriteria skipped (criteria the screen no longer has).
//   QString lastError()
//       Why the last of the slots above returned false: the database's or the file's error, or
//       the screen's refusal (the message it showed). Empty when it has nothing to say.
//
// The host application looks for the slots on the widget of the newest MDI subwindow after an
// action: --criteria opens saved criteria, --from and --to set `dtpBegin` and `dtpEnd`, --set
// NAME=VALUE sets control NAME; when any criterion or --export is given it then runs the refresh;
// --export saves the grid and
// --screenshot grabs the screen.
namespace ReportScreenProtocol {

enum class Result
{
    NotOffered,
    Failed,
    Done
};

Result applyCriterion(QObject* screen, const QString& name, const QString& value);
Result runRefresh(QObject* screen);
Result exportGrid(QObject* screen, const QString& path);
Result openSavedCriteria(QObject* screen, const QString& name);
Result drillDown(QObject* screen, const QString& at);
// The screen's lastError(), or an empty text when it offers none.
QString lastError(QObject* screen);
// The screen's lastNotice(), or an empty text when it offers none.
QString lastNotice(QObject* screen);

// Whether `screen` offers a slot of this name (any signature).
bool offers(const QObject* screen, const char* slotName);

} // namespace ReportScreenProtocol
