#pragma once

#include <QDomAttr>
#include <QDomDocument>
#include <QDomElement>
#include <QString>

#include <optional>

// The language selector: which file beside the plug-in holds the texts.
enum EnumLanguage : qint32
{
    lngDefault = 0,    // Languages/vtxQueryApp.xml
    lngChineseGB = 1,  // .gb
    lngChineseBIG = 2, // .big
    lngEnglish = 3,    // .eng
};

// The language file: an XML document
//   <Language><vtxQueryApp><Section><Key Property="text" .../></Section></vtxQueryApp></Language>
// in which every user-visible text of the plug-in can be replaced. A lookup walks
// AppExeName / Section / Key and reads attribute Property; whatever is missing on the way is
// created in the in-memory document (with the default text) and the default is returned. The
// file on disk changes only through SaveLanguage(). A line break is stored as "//".
class cLanguage
{
public:
    cLanguage();

    // Setting the language loads Languages/<base name><extension> from the plug-in's folder.
    // A missing or malformed file leaves an empty document and the language lngDefault; a file
    // that is there but cannot be used (see LanguageFile) is also reported on stderr.
    int Language() const { return m_language; }
    void setLanguage(int language);
    // Why the last file set could not be used; empty when it was used or is not there.
    QString loadProblem() const { return m_loadProblem; }

    QString AppExeName() const { return m_appExeName; }
    void setAppExeName(const QString& name) { m_appExeName = name; }
    QString Section() const { return m_section; }
    void setSection(const QString& section) { m_section = section; }
    QString Key() const { return m_key; }
    void setKey(const QString& key) { m_key = key; }
    QString Property() const { return m_property; }
    void setProperty(const QString& property) { m_property = property; }
    QString Default() const { return m_default; }
    void setDefault(const QString& text) { m_default = text; }

    // The lookup of the current AppExeName / Section / Key / Property (see above). Without a
    // document (no language set yet) it returns the text last read or written.
    QString Value();
    // Stores a text under the current AppExeName / Section / Key / Property (in memory).
    void setValue(const QString& text);

    // The one-call lookup: an empty key means "Settings", an empty property "Default"; carriage
    // returns in the default are stored as "//", and "//" in the result comes back as a carriage
    // return (character 13).
    QString getValue(const QString& sKey, const QString& sProperty, const QString& sDefault);

    QDomAttr AddAttribute(QDomElement parent, const QString& dsName, const QString& sValue);
    // Writes the document back to the file it was loaded from; false when there is nothing to
    // write or the file cannot be written.
    bool SaveLanguage();

    // The file for a language: <plug-in folder>/Languages/<base name>.xml|.gb|.big|.eng.
    static QString languageFilePath(int language);
    QString filePath() const { return m_filePath; }
    bool isModified() const { return m_modified; }
    const QDomDocument* document() const { return m_document ? &*m_document : nullptr; }

private:
    QDomElement childElement(QDomNode parent, const QString& name);
    QDomAttr walk();

    int m_language = lngDefault;
    QString m_appExeName;
    QString m_section = QStringLiteral("Main");
    QString m_key = QStringLiteral("Settings");
    QString m_property = QStringLiteral("Default");
    QString m_default;
    QString m_value;
    std::optional<QDomDocument> m_document;
    QString m_filePath;
    QString m_loadProblem;
    bool m_modified = false;
};
