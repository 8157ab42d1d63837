#include "framework/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

bool UseQtTranslation(int languageCode)
{
    // One translation at a time, shared by the host and the module (this library is loaded once).
    static QTranslator* installed = nullptr;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    if (languageCode == 3 || !QCoreApplication::instance())
        return true;
    auto translator = std::make_unique<QTranslator>();
    const QString name =
        languageCode == 2 ? QStringLiteral("qtbase_zh_TW") : QStringLiteral("qtbase_zh_CN");
    if (!translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    installed = translator.release();
    QCoreApplication::installTranslator(installed);
    return true;
}
