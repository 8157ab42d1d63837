#pragma once

// Qt's own texts (the buttons of message boxes, the file dialogs, the context menus of text
// boxes) in the language of the user interface: Simplified Chinese for the language codes 0
// and 1, Traditional Chinese for 2, Qt's own English for 3. Called by the host at start and by
// the module each time it reads the language setting; the translation installed before is
// replaced. The translations are Qt's (qtbase_zh_CN.qm, qtbase_zh_TW.qm in Qt's translations
// folder). Returns false when the one a Chinese interface needs cannot be loaded.
bool UseQtTranslation(int languageCode);
