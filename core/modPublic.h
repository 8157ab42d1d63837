#pragma once

#include <QString>

// Where the plug-in library lives: its folder (no trailing separator) and its base name
// ("vtxQueryApp"). Languages/, help.chm and temp.Spread are found beside it. In a test
// executable, which has the plug-in's code linked in, the executable's folder and the plug-in's
// base name stand in.
QString PluginDirectory();
QString PluginBaseName();

// Points PluginDirectory() at another folder (tests with their own Languages/ or help.chm);
// an empty text goes back to the library's own folder.
void SetPluginDirectory(const QString& dir);

// The folder for the plug-in's temporary files ("temp.Spread", "temp.Chart2D"): the signed-in
// user's own cache folder, readable by him alone (a report copy is nobody else's business).
QString UserTempDirectory();

// The number a text starts with, as the settings store and help contexts are read: leading
// blanks skipped, an optional sign, digits with an optional decimal part and exponent
// ("040404_InventoryQuery" gives 40404, "2.5x" gives 2.5); 0 when the text does not start with
// a number.
double LeadingNumber(const QString& text);

// A plain number's text with thousands separators in its whole part, as the grids show amounts:
// "1234567.80" gives "1,234,567.80", "-1234" gives "-1,234"; other text comes back unchanged.
QString GroupThousands(const QString& number);

// `value` rounded to the nearest integer, halves to the even neighbour (2.5 gives 2, 3.5 gives
// 4), clamped to the 32-bit range.
int RoundHalfEven(double value);
