#include "core/mod_API_Help.h"

#include "core/modPublic.h"

#include <QFileInfo>
#include <QWidget>

namespace {
QString& applicationHelpFile()
{
    static QString file;
    return file;
}

QString helpFilePath()
{
    return PluginDirectory() + QStringLiteral("/help.chm");
}

const char* const kHelpContextProperty = "HelpContextID";
} // namespace

void InitHelpFile()
{
    const QString path = helpFilePath();
    applicationHelpFile() = QFileInfo(path).isFile() ? path : QString();
}

QString HelpFile()
{
    return applicationHelpFile();
}

void SetHelpContext(QWidget* control, const QString& contextText)
{
    if (!control)
        return;
    const int context =
        QFileInfo(helpFilePath()).isFile() ? RoundHalfEven(LeadingNumber(contextText)) : 0;
    control->setProperty(kHelpContextProperty, context);
}

int HelpContext(const QWidget* control)
{
    return control ? control->property(kHelpContextProperty).toInt() : 0;
}
