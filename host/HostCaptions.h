#pragma once

#include <QString>

// The host window's own texts: a Simplified Chinese default and an English text for each key,
// chosen by the user's language setting (Valtrix settings, [Language] Language; 3 is English).
namespace HostCaptions {

// The language code from the settings store (0 when unset).
int languageCode();
// The text for `key` in the current language; the key itself when the table lacks it.
QString text(const QString& key);

} // namespace HostCaptions
