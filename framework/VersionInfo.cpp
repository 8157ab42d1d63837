#include "framework/VersionInfo.h"

QString VersionInfo::fileVersion() const
{
    return QStringLiteral("%1.%2.%3")
        .arg(Major)
        .arg(Minor, 2, 10, QLatin1Char('0'))
        .arg(Revision, 4, 10, QLatin1Char('0'));
}
