#pragma once

#include <QString>

class QWidget;

// Sets the criteria control named `name` inside `screen` from text, as a user would: a date
// picker from YYYY-MM-DD; a check box from 0 or 1 (clicked when it changes, so the screen
// reacts); an option button from 1 (chosen) or 0 (left as it is when not chosen); a push button
// from 1 (pressed); a combo box by item text or "#n" (its list filled first as on a drop-down;
// an editable combo also takes other text); a text box from its text. False for an unknown
// control or a value the control cannot take, with the reason in *why when given. A date
// outside the picker's range is refused, not moved to its nearest bound. A script can do no
// more than the window: a control hidden from the user (the include-deleted box of a user who
// may not see deleted bills, a window that is not open) or disabled is refused, and so is a
// button that changes the database (HostUi::WritesDatabase) in a headless run without --yes.
bool SetCriterion(QWidget* screen, const QString& name, const QString& value,
                  QString* why = nullptr);
