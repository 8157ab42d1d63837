#include "core/modPublic.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cmath>
#include <limits>

#include <dlfcn.h>

namespace {
QString& pluginDirectoryOverride()
{
    static QString dir;
    return dir;
}
} // namespace

QString PluginDirectory()
{
    if (!pluginDirectoryOverride().isEmpty())
        return pluginDirectoryOverride();
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&PluginDirectory), &info) && info.dli_fname)
        return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath();
    return QCoreApplication::applicationDirPath();
}

QString PluginBaseName()
{
    return QStringLiteral("vtxQueryApp");
}

void SetPluginDirectory(const QString& dir)
{
    QString clean = dir;
    while (clean.size() > 1 && clean.endsWith(QLatin1Char('/')))
        clean.chop(1);
    pluginDirectoryOverride() = clean;
}

QString UserTempDirectory()
{
    QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (cache.isEmpty())
        cache = QDir::homePath() + QStringLiteral("/.cache/vtxQueryApp");
    QDir().mkpath(cache);
    QFile::setPermissions(cache, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return cache;
}

double LeadingNumber(const QString& text)
{
    static const QRegularExpression number(
        QStringLiteral("^\\s*([+-]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][+-]?\\d+)?)"));
    const QRegularExpressionMatch match = number.match(text);
    if (!match.hasMatch())
        return 0.0;
    bool ok = false;
    const double value = match.captured(1).toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

int RoundHalfEven(double value)
{
    if (!std::isfinite(value))
        return 0;
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    if (whole > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (whole < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(whole);
}

QString GroupThousands(const QString& number)
{
    const qsizetype begin = number.startsWith(QLatin1Char('-')) ? 1 : 0;
    qsizetype end = number.indexOf(QLatin1Char('.'));
    if (end < 0)
        end = number.size();
    for (qsizetype i = begin; i < end; ++i)
        if (!number.at(i).isDigit())
            return number;
    QString grouped = number;
    for (qsizetype i = end - 3; i > begin; i -= 3)
        grouped.insert(i, QLatin1Char(','));
    return grouped;
}
