// The shipped language files carry every text the code looks up: the message table, every
// window's declared texts (LanguageSection tables), and every Msg / MsgText key, found by
// reading the sources of core/, query/, sheet/, ui/ and reports/, and the section every screen
// of the action table derives from its description. A new screen's texts are checked as soon as
// it has a row in the action table.
#include "core/ActionTable.h"
#include "core/LanguageSection.h"
#include "core/modMessage.h"
#include "framework/HostUi.h"
#include "plugin/ActionRows.h"
#include "ui/ReportScreen.h"

#include <QDirIterator>
#include <QDomDocument>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

namespace {

struct Text
{
    QString section, key, property, where;
};

// A whole string literal argument (not the start of a concatenation): the key is captured by
// group 1 or 2.
const QString kLiteral = QStringLiteral("(?:(?:QStringLiteral|QLatin1String)\\(\\s*\"([^\"\\\\]+)"
                                        "\"\\s*\\)|u?\"([^\"\\\\]+)\"(?:_s)?)\\s*[),]");

QString literalKey(const QRegularExpressionMatch& m)
{
    return m.captured(1).isEmpty() ? m.captured(2) : m.captured(1);
}

QList<QPair<QString, QString>> sources()
{
    QList<QPair<QString, QString>> files;
    for (const char* folder : {"core", "query", "sheet", "ui", "reports"}) {
        QDirIterator it(QStringLiteral(VTX_SOURCE_DIR "/") + QLatin1String(folder),
                        {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (!file.open(QIODevice::ReadOnly))
                continue;
            // Comment lines (examples in headers) do not count.
            QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
            lines.removeIf(
                [](const QString& line) { return line.trimmed().startsWith(QLatin1String("//")); });
            files.append(
                {file.fileName().mid(int(sizeof(VTX_SOURCE_DIR))), lines.join(QLatin1Char('\n'))});
        }
    }
    return files;
}

// The LanguageSection tables of one source file: section -> (key, property) entries.
QList<Text> declaredTexts(const QString& path, const QString& source)
{
    static const QRegularExpression table(
        QStringLiteral(
            "LanguageSection\\s+\\w+\\s*[({]\\s*\"(\\w+)\"\\s*,\\s*\\{(.*?)\\}\\s*[)}]\\s*;"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression entry(QStringLiteral("\\{\\s*\"(\\w+)\"\\s*,\\s*\"(\\w+)\""));
    QList<Text> texts;
    for (const auto& t : table.globalMatch(source))
        for (const auto& e : entry.globalMatch(t.captured(2)))
            texts.append({t.captured(1), e.captured(1), e.captured(2), path});
    return texts;
}

QString attribute(const QDomDocument& doc, const Text& text, bool* found)
{
    const QDomElement key = doc.documentElement()
                                .firstChildElement("vtxQueryApp")
                                .firstChildElement(text.section)
                                .firstChildElement(text.key);
    *found = doc.documentElement().tagName() == QLatin1String("Language") &&
             key.hasAttribute(text.property);
    return key.attribute(text.property);
}

} // namespace

class LanguageFilesTest : public QObject
{
    Q_OBJECT
private slots:
    void everyTextIsTranslated()
    {
        QList<Text> required;
        QSet<QString> tableKeys;
        for (const auto& [key, text] : MessageTableDefaults()) {
            required.append({"Main", key, "Default", "message table"});
            tableKeys.insert(key);
        }
        const QRegularExpression msgCall(QStringLiteral("\\bMsg\\(\\s*") + kLiteral);
        const QRegularExpression msgTextCall(QStringLiteral("\\bMsgText\\(\\s*") + kLiteral);
        const QRegularExpression getValueCall(QStringLiteral("\\bgetValue\\(\\s*") + kLiteral);
        QStringList problems;
        int windows = 0;
        for (const auto& [path, source] : sources()) {
            const QList<Text> declared = declaredTexts(path, source);
            QSet<QString> declaredKeys;
            for (const Text& t : declared)
                declaredKeys.insert(t.key);
            windows += int(
                QSet<QString>(declared.isEmpty() ? QSet<QString>() : QSet<QString>{path}).size());
            required += declared;
            for (const auto& m : msgCall.globalMatch(source))
                if (!tableKeys.contains(literalKey(m)))
                    problems.append(path + ": Msg(\"" + literalKey(m) +
                                    "\") is not in the message table");
            for (const auto& m : msgTextCall.globalMatch(source))
                required.append({"Main", literalKey(m), "Default", path});
            for (const auto& m : getValueCall.globalMatch(source))
                if (!declaredKeys.contains(literalKey(m)) && !tableKeys.contains(literalKey(m)))
                    problems.append(path + ": getValue(\"" + literalKey(m) +
                                    "\") is not declared in the file's LanguageSection");
        }
        QVERIFY(windows >= 2); // frmHelp and frmBranch at least
        QVERIFY(required.size() >= 58);

        // The sections the report screens derive from their descriptions.
        HostUi::setHeadless(true);
        ActionTable table;
        AddActionRows(table);
        int derived = 0;
        for (const QString& action : table.actions()) {
            const auto* screen = qobject_cast<const ReportScreen*>(table.screen(action));
            if (!screen)
                continue;
            const LanguageSection* section = screen->languageTexts();
            for (const LanguageEntry& e : section->entries())
                required.append({section->name(), e.key, e.property, action});
            ++derived;
        }
        QVERIFY(derived >= 2); // the bill query and the daily report at least

        static const QRegularExpression han(
            QStringLiteral("[\\x{3400}-\\x{9FFF}\\x{3000}-\\x{303F}\\x{FF01}-\\x{FF5E}]"));
        for (const char* name : {"vtxQueryApp.eng", "vtxQueryApp.big"}) {
            QFile file(QStringLiteral(VTX_SOURCE_DIR "/Languages/") + QLatin1String(name));
            QVERIFY2(file.open(QIODevice::ReadOnly), name);
            QDomDocument doc;
            const auto parsed = doc.setContent(&file);
            QVERIFY2(static_cast<bool>(parsed), name);
            const bool english = QLatin1String(name).endsWith(QLatin1String(".eng"));
            for (const Text& t : required) {
                bool found = false;
                const QString value = attribute(doc, t, &found);
                if (!found)
                    problems.append(
                        QStringLiteral("%1 lacks %2/%3 %4 (%5)")
                            .arg(QLatin1String(name), t.section, t.key, t.property, t.where));
                else if (english && value.contains(han))
                    problems.append(
                        QStringLiteral("%1 has Chinese in %2/%3 %4: %5")
                            .arg(QLatin1String(name), t.section, t.key, t.property, value));
            }
        }
        for (const QString& problem : problems)
            qWarning().noquote() << problem;
        QVERIFY2(problems.isEmpty(), "the language files lack texts (listed above)");
    }
};

QTEST_MAIN(LanguageFilesTest)
#include "tst_languagefiles.moc"
