#pragma once

#include <QString>

class QWidget;

// The compiled help file "help.chm" beside the plug-in. It cannot be shown on Linux, so it only
// decides the controls' help context numbers; the screens' Help button always opens frmHelp.

// Sets the application help file: the path of help.chm when the file exists, empty otherwise.
void InitHelpFile();
QString HelpFile();

// Gives a control its help context number (dynamic property "HelpContextID"): the leading
// number of `contextText` ("040404_InventoryQuery" gives 40404) when help.chm exists, else 0.
void SetHelpContext(QWidget* control, const QString& contextText);
int HelpContext(const QWidget* control);
