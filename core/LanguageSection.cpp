#include "core/LanguageSection.h"

#include "core/HostContext.h"
#include "core/cLanguage.h"
#include "core/modMessage.h"
#include "core/modPublic.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

LanguageSection::LanguageSection(const char* name, std::initializer_list<LanguageEntry> entries)
    : m_name(QString::fromUtf8(name)), m_entries(entries)
{
}

LanguageSection::LanguageSection(const QString& name, std::vector<LanguageEntry> entries)
    : m_name(name), m_entries(std::move(entries))
{
}

QString LanguageSection::defaultText(const QString& key, const QString& property) const
{
    for (const LanguageEntry& entry : m_entries)
        if (key == entry.key && property == entry.property)
            return entry.defaultText;
    return QString();
}

QString LanguageSection::text(const QString& key, const QString& property) const
{
    const QString fallback = defaultText(key, property);
    cLanguage* language = hostContext().Language;
    if (!language)
        return fallback;
    language->setAppExeName(PluginBaseName());
    language->setSection(m_name);
    return language->getValue(key, property, fallback);
}

namespace {
void setCaption(QWidget* control, const QString& text)
{
    QString shown = text;
    shown.replace(QChar(13), QChar(10));
    if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(shown);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(shown);
    else if (auto* group = qobject_cast<QGroupBox*>(control))
        group->setTitle(shown);
    else
        control->setWindowTitle(shown);
}
} // namespace

void LanguageSection::translate(QWidget* window) const
{
    if (!window)
        return;
    const QString caption = QStringLiteral("Caption");
    const QString windowDefault = defaultText(m_name, caption);
    if (cLanguage* language = hostContext().Language) {
        language->setAppExeName(PluginBaseName());
        language->setSection(m_name);
        window->setWindowTitle(language->getValue(
            m_name, caption, windowDefault.isEmpty() ? window->windowTitle() : windowDefault));
    } else if (!windowDefault.isEmpty()) {
        window->setWindowTitle(windowDefault);
    }
    const QString radioCaption = QStringLiteral("RadioCaption");
    for (const LanguageEntry& entry : m_entries) {
        const QString& key = entry.key;
        if (entry.property == radioCaption) {
            if (auto* option = window->findChild<QAbstractButton*>(key))
                option->setText(text(key, radioCaption));
            continue;
        }
        if (key == m_name || caption != entry.property)
            continue;
        if (auto* control = window->findChild<QWidget*>(key)) {
            // The declared text is the designer caption; the file may replace it.
            setCaption(control, entry.defaultText);
            TranslateCaption(control);
        }
    }
}
