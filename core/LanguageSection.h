#pragma once

#include <QString>

#include <initializer_list>
#include <vector>

class QWidget;

// One text a window looks up in the language file: the element (key), the attribute (property)
// and the built-in default.
struct LanguageEntry
{
    QString key;
    QString property;
    QString defaultText;
};

// Every text of one window, declared in one place: the window's own section of the language
// file. Declare it exactly in this form, with plain string literals, so that the language-file
// test finds the keys and checks that Languages/vtxQueryApp.eng and .big carry them all:
//
//   static const LanguageSection kTexts("frmHelp", {
//       {"frmHelp", "Caption", "在线帮助"},       // the window caption: key = window name
//       {"lblTitle", "Caption", "操作说明:"},     // a label, button, check box or frame
//       {"ctlQuery1", "Title", "历史账单查询"},   // a query control's title ...
//       {"ctlQuery1", "BillNo", "账单号"},        // ... and one of its column keys
//       {"Msg_Help_Own", "Default", "..."},       // a message of the window's own
//   });
//
// A carriage return in a text is written "\r" here and "//" in the file.
class LanguageSection
{
public:
    LanguageSection(const char* name, std::initializer_list<LanguageEntry> entries);
    // A section derived from a window's description (see query/ScreenSpec.h).
    LanguageSection(const QString& name, std::vector<LanguageEntry> entries);

    QString name() const { return m_name; }
    const std::vector<LanguageEntry>& entries() const { return m_entries; }

    // The declared default of one text; empty when it is not declared.
    QString defaultText(const QString& key, const QString& property) const;

    // The text from the language file (section := this window), the declared default when the
    // file lacks it.
    QString text(const QString& key, const QString& property = QStringLiteral("Caption")) const;

    // Translates a window: its caption (entry keyed by the window's name) and each "Caption"
    // entry that names a child widget (TranslateCaption). Leaves the section set to this window.
    void translate(QWidget* window) const;

private:
    QString m_name;
    std::vector<LanguageEntry> m_entries;
};
