#include "modPublic.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <dlfcn.h>

QString PluginDirectory()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&PluginDirectory), &info) && info.dli_fname)
        return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath();
    return QCoreApplication::applicationDirPath();
}

QString PluginBaseName() { return QStringLiteral("vtxQueryApp"); }

QString PluginTempDirectory()
{
    const QString dir = PluginDirectory();
    if (QFileInfo(dir).isWritable())
        return dir;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    QDir().mkpath(cache);
    return cache;
}
