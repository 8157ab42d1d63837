#include "modMessage.h"

#include "HostUi.h"

#include <QHash>

// Minimal table until the language file arrives: the defaults the entry object needs.
void LoadMessageTable() {}

QString Msg(const QString& key)
{
    static const QHash<QString, QString> defaults = {
        {QStringLiteral("Msg_Title"), QStringLiteral("提示")},
        {QStringLiteral("Msg_NotSupport"), QStringLiteral("您所使用的软件版本不提供该功能模块!")},
        {QStringLiteral("Msg_ToUpgrade"),
         QStringLiteral("如果要升级您的软件版本,请与您的供应商或者我们联系.")},
    };
    return defaults.value(key);
}

QMessageBox::StandardButton MsgBox(const QString& text, QMessageBox::Icon icon,
                                   QMessageBox::StandardButtons buttons, QWidget* parent)
{
    return HostUi::messageBox(parent, icon, Msg(QStringLiteral("Msg_Title")), text, buttons);
}

QString MsgText(const QString& key, const QString& defaultText)
{
    Q_UNUSED(key);
    return defaultText;
}

QString LanguageText(const QString& textGB, const QString& textBig, const QString& textEnglish)
{
    Q_UNUSED(textBig);
    Q_UNUSED(textEnglish);
    return textGB;
}
