#include "core/CjkFont.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHash>
#include <QStringList>

#include <atomic>

namespace {

// Windows Chinese families: true for the serif (Song, Kai, Fang Song, Ming) ones.
const QHash<QString, bool>& windowsFamilies()
{
    static const QHash<QString, bool> families = [] {
        QHash<QString, bool> h;
        for (const char* name : {"宋体", "SimSun", "新宋体", "NSimSun", "楷体", "KaiTi",
                                 "楷体_GB2312", "仿宋", "FangSong", "仿宋_GB2312", "細明體",
                                 "新細明體", "MingLiU", "PMingLiU", "標楷體", "DFKai-SB"})
            h.insert(QString::fromUtf8(name), true);
        for (const char* name : {"幼圆", "YouYuan", "黑体", "SimHei", "微软雅黑", "Microsoft YaHei",
                                 "微軟正黑體", "Microsoft JhengHei"})
            h.insert(QString::fromUtf8(name), false);
        return h;
    }();
    return families;
}

bool isNotoCjk(const QString& family)
{
    return family.startsWith(QLatin1String("Noto ")) && family.contains(QLatin1String(" CJK "));
}

// The family to draw `family` in: a missing Windows Chinese family or a Noto CJK family of
// another variant becomes the language's Noto CJK family.
QString mapped(const QString& family, int languageCode)
{
    if (isNotoCjk(family)) {
        const bool serif = family.contains(QLatin1String("Serif"));
        if (!family.contains(QLatin1String("Mono")))
            return CjkFont::family(serif, languageCode);
        return family.left(family.size() - 2) + CjkFont::family(false, languageCode).right(2);
    }
    const auto w = windowsFamilies().constFind(family);
    if (w == windowsFamilies().constEnd() || QFontDatabase::hasFamily(family))
        return family;
    return CjkFont::family(*w, languageCode);
}

std::atomic<int> language{0};

} // namespace

void CjkFont::setLanguageCode(int languageCode)
{
    language = languageCode;
}

int CjkFont::languageCode()
{
    return language;
}

QString CjkFont::family(bool serif)
{
    return family(serif, languageCode());
}

QString CjkFont::family(bool serif, int languageCode)
{
    const QLatin1String variant = languageCode == 2 ? QLatin1String("TC") : QLatin1String("SC");
    return (serif ? QLatin1String("Noto Serif CJK ") : QLatin1String("Noto Sans CJK ")) + variant;
}

QFont CjkFont::resolve(const QFont& font)
{
    return resolve(font, languageCode());
}

QFont CjkFont::resolve(const QFont& font, int languageCode)
{
    QStringList families;
    bool serif = false;
    for (const QString& f : font.families()) {
        const QString m = mapped(f, languageCode);
        if (m != f && isNotoCjk(m))
            serif = serif || m.contains(QLatin1String("Serif"));
        if (!families.contains(m))
            families.append(m);
    }
    const QString last = family(serif, languageCode);
    if (families.isEmpty() || !isNotoCjk(families.last())) {
        families.removeAll(last);
        families.append(last);
    }
    if (families == font.families())
        return font;
    QFont f = font;
    f.setFamilies(families);
    return f;
}

void CjkFont::applyToApplication()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    const QFont current = QApplication::font();
    const QFont resolved = resolve(current);
    if (resolved.families() != current.families())
        QApplication::setFont(resolved);
}
