#pragma once

#include <QString>

class QObject;

// How a host drives an open report screen without knowing its class (headless runs, scripts).
// A screen takes part by offering any of these slots (public slots or Q_INVOKABLE), found by
// name through QMetaObject:
//
//   bool applyCriterion(QString name, QString value)
//       Sets one criterion. Names "from" and "to" set the begin and end dates, value
//       "yyyy-MM-dd"; any other name is the objectName of a criteria control (a combo box takes
//       the item with this text, a check box "1"/"0", a text box the text). False when the
//       screen has no such criterion or the value does not fit it.
//   bool runRefresh()
//       Runs the screen's refresh sequence to its end; false when no report was generated
//       (for example an invalid date range).
//   bool exportGrid(QString path)
//       Saves the screen's result grid, the format chosen by the file extension (.xlsx, .html,
//       .txt, .xml, .rpt); false when the file cannot be written.
//
// The host application looks for the slots on the widget of the newest MDI subwindow after an
// action: with --from/--to/--set it applies the criteria, then runs the refresh, then
// --export saves the grid and --screenshot grabs the screen.
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

// Whether `screen` offers a slot of this name (any signature).
bool offers(const QObject* screen, const char* slotName);

} // namespace ReportScreenProtocol
