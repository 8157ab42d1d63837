#include "core/cLanguage.h"

#include "core/LanguageFile.h"
#include "core/modPublic.h"

#include <QFile>
#include <QSaveFile>

namespace {
const QString kCarriageReturn = QString(QChar(13));
const QString kStoredBreak = QStringLiteral("//");
} // namespace

cLanguage::cLanguage() : m_appExeName(PluginBaseName()) {}

QString cLanguage::languageFilePath(int language)
{
    QString extension;
    switch (language) {
    case lngChineseGB:
        extension = QStringLiteral(".gb");
        break;
    case lngChineseBIG:
        extension = QStringLiteral(".big");
        break;
    case lngEnglish:
        extension = QStringLiteral(".eng");
        break;
    default:
        extension = QStringLiteral(".xml");
        break;
    }
    QString folder = PluginDirectory();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder + QStringLiteral("Languages/") + PluginBaseName() + extension;
}

void cLanguage::setLanguage(int language)
{
    m_modified = false;
    m_filePath = languageFilePath(language);
    m_document.emplace();
    m_loadProblem.clear();
    const bool loaded =
        QFile::exists(m_filePath) && LanguageFile::read(m_filePath, &*m_document, &m_loadProblem);
    if (!loaded && !m_loadProblem.isEmpty()) {
        m_document.emplace(); // a half-parsed document must not be used
        qWarning("The language file %s is not used, the built-in texts are: %s",
                 qUtf8Printable(m_filePath), qUtf8Printable(m_loadProblem));
    }
    m_language = loaded ? language : lngDefault;
}

QDomElement cLanguage::childElement(QDomNode parent, const QString& name)
{
    QDomElement child = parent.firstChildElement(name);
    if (child.isNull()) {
        child = m_document->createElement(name);
        parent.appendChild(child);
        m_modified = true;
    }
    return child;
}

QDomAttr cLanguage::walk()
{
    QDomElement root = m_document->documentElement();
    if (root.isNull() || root.tagName() != QLatin1String("Language")) {
        // No root, or a root of another name: the texts are not ours; start a fresh tree.
        QDomElement fresh = m_document->createElement(QStringLiteral("Language"));
        if (root.isNull())
            m_document->appendChild(fresh);
        else
            m_document->replaceChild(fresh, root);
        root = fresh;
        m_modified = true;
    }
    QDomElement app = childElement(root, m_appExeName);
    QDomElement section = childElement(app, m_section);
    QDomElement key = childElement(section, m_key);
    QDomAttr attribute = key.attributeNode(m_property);
    if (attribute.isNull())
        attribute = AddAttribute(key, m_property, m_default);
    return attribute;
}

QString cLanguage::Value()
{
    if (!m_document)
        return m_value;
    m_value = walk().value();
    return m_value;
}

void cLanguage::setValue(const QString& text)
{
    m_value = text;
    if (!m_document)
        return;
    walk().setValue(text);
}

QString cLanguage::getValue(const QString& sKey, const QString& sProperty, const QString& sDefault)
{
    m_key = sKey.isEmpty() ? QStringLiteral("Settings") : sKey;
    m_property = sProperty.isEmpty() ? QStringLiteral("Default") : sProperty;
    m_default = QString(sDefault).replace(kCarriageReturn, kStoredBreak);
    return Value().replace(kStoredBreak, kCarriageReturn);
}

QDomAttr cLanguage::AddAttribute(QDomElement parent, const QString& dsName, const QString& sValue)
{
    QDomAttr attribute = m_document->createAttribute(dsName);
    attribute.setValue(sValue);
    parent.setAttributeNode(attribute);
    m_modified = true;
    return attribute;
}

bool cLanguage::SaveLanguage()
{
    if (!m_document || m_filePath.isEmpty())
        return false;
    QSaveFile file(m_filePath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(m_document->toByteArray(2));
    return file.commit();
}
