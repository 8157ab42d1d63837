#pragma once

#include <QString>

// Where the plug-in library lives: its folder (no trailing separator) and its base name
// ("vtxQueryApp"). Languages/, help.chm and temp.Spread are found beside it. In a test
// executable, which has the plug-in's code linked in, the executable's folder and the plug-in's
// base name stand in.
QString PluginDirectory();
QString PluginBaseName();

// A folder where the plug-in may write its temporary files ("temp.Spread", "temp.Chart2D"):
// the plug-in's folder when it is writable, else the user's cache folder.
QString PluginTempDirectory();
