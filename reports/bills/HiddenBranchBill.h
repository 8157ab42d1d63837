#pragma once

#include <QString>

class QWidget;
class Sheet;

// Before a report opens the bill detail on the active row of `grid` (the bill number in
// `column`): false, after telling the user `message` (%1: the bill number), when the bill
// belongs to a branch he may not see, or the database's reason when that cannot be read; true
// otherwise (the bill detail then shows the bill, or nothing for a bill it cannot load).
bool OpenableBill(Sheet* grid, int column, const QString& message, QWidget* parent);
