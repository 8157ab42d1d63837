#include "ui/DropDownComboBox.h"

void DropDownComboBox::showPopup()
{
    emit dropDown();
    QComboBox::showPopup();
}

bool DropDownComboBox::takeFirstDropDown()
{
    if (property("Tag").toString() == QLatin1String("Loaded"))
        return false;
    setProperty("Tag", QStringLiteral("Loaded"));
    return true;
}
