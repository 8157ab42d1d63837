#include "framework/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace {

// Texts of Qt's file dialogs that the translation files Debian ships lack (their context was
// renamed in Qt 6), so that a Chinese file dialog does not list its folders as "Folder".
class FileTypeTexts : public QTranslator
{
public:
    explicit FileTypeTexts(bool traditional) : m_traditional(traditional) {}

    bool isEmpty() const override { return false; }

    QString translate(const char* context, const char* sourceText, const char*, int) const override
    {
        if (!context || !QByteArray(context).contains("FileIconProvider"))
            return {};
        const QByteArray text(sourceText);
        if (text == "Folder" || text == "File Folder")
            return m_traditional ? QStringLiteral("資料夾") : QStringLiteral("文件夹");
        if (text == "File")
            return m_traditional ? QStringLiteral("檔案") : QStringLiteral("文件");
        if (text == "%1 File")
            return m_traditional ? QStringLiteral("%1 檔案") : QStringLiteral("%1 文件");
        if (text == "Drive")
            return m_traditional ? QStringLiteral("磁碟機") : QStringLiteral("驱动器");
        if (text == "Shortcut" || text == "Alias")
            return m_traditional ? QStringLiteral("捷徑") : QStringLiteral("快捷方式");
        return {};
    }

private:
    bool m_traditional;
};

} // namespace

bool UseQtTranslation(int languageCode)
{
    // One translation at a time, shared by the host and the module (this library is loaded once).
    static QTranslator* installed = nullptr;
    static QTranslator* fallback = nullptr;
    for (QTranslator** t : {&installed, &fallback}) {
        if (*t) {
            QCoreApplication::removeTranslator(*t);
            delete *t;
            *t = nullptr;
        }
    }
    const bool english = languageCode == 3;
    const bool traditional = languageCode == 2;
    // Dates and month names in Qt's widgets (the file dialog's dates, calendars) follow too.
    QLocale::setDefault(english       ? QLocale(QLocale::English, QLocale::UnitedStates)
                        : traditional ? QLocale(QLocale::Chinese, QLocale::Taiwan)
                                      : QLocale(QLocale::Chinese, QLocale::China));
    if (english || !QCoreApplication::instance())
        return true;
    auto translator = std::make_unique<QTranslator>();
    const QString name =
        traditional ? QStringLiteral("qtbase_zh_TW") : QStringLiteral("qtbase_zh_CN");
    if (!translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    // Installed first, so that Qt's own translation is asked before it.
    fallback = new FileTypeTexts(traditional);
    QCoreApplication::installTranslator(fallback);
    installed = translator.release();
    QCoreApplication::installTranslator(installed);
    return true;
}
