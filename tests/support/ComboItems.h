#pragma once

#include <QComboBox>
#include <QStringList>

// The items of a criteria combo as a user sees them on dropping it down (lists fill then).
inline QStringList DroppedDownItems(QComboBox* combo)
{
    combo->showPopup();
    combo->hidePopup();
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}
