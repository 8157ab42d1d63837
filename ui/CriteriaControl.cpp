#include "ui/CriteriaControl.h"

#include "core/mod_ADO.h"
#include "framework/HostUi.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QValidator>

static bool isFlag(const QString& value)
{
    return value == QLatin1String("0") || value == QLatin1String("1");
}

bool SetCriterion(QWidget* screen, const QString& name, const QString& value, QString* why)
{
    auto refuse = [why](const QString& reason) {
        if (why)
            *why = reason;
        return false;
    };
    QWidget* w = screen ? screen->findChild<QWidget*>(name) : nullptr;
    if (!w)
        return refuse(QStringLiteral("there is no control %1").arg(name));
    // A script does no more than the window: what the user cannot see or use is not set.
    if (!w->isVisibleTo(screen))
        return refuse(QStringLiteral("%1 is not shown on the screen").arg(name));
    if (!w->isEnabledTo(screen) || !screen->isEnabled())
        return refuse(QStringLiteral("%1 is disabled on the screen").arg(name));
    if (w->property(HostUi::WritesDatabase).toBool() && !HostUi::mayWrite())
        return refuse(QStringLiteral("%1 changes the database, which a headless run does only "
                                     "with --yes")
                          .arg(name));
    const bool on = value == QLatin1String("1");
    if (auto* date = qobject_cast<QDateEdit*>(w)) {
        const QString format = QStringLiteral("yyyy-MM-dd");
        const QDate d = QDate::fromString(value, format);
        if (!d.isValid() || d < date->minimumDate() || d > date->maximumDate())
            return refuse(QStringLiteral("%1 takes a date from %2 to %3 (yyyy-MM-dd)")
                              .arg(name, date->minimumDate().toString(format),
                                   date->maximumDate().toString(format)));
        date->setDate(d);
        return true;
    }
    if (auto* option = qobject_cast<QRadioButton*>(w)) {
        if (!isFlag(value))
            return refuse(QStringLiteral("%1 takes 1 or 0").arg(name));
        if (!on && option->isChecked())
            return refuse(QStringLiteral("%1 is chosen; choose another option instead").arg(name));
        if (on && !option->isChecked())
            option->click();
        return true;
    }
    if (auto* check = qobject_cast<QCheckBox*>(w)) {
        if (!isFlag(value))
            return refuse(QStringLiteral("%1 takes 0 or 1").arg(name));
        if (check->isChecked() != on)
            check->click();
        return true;
    }
    if (auto* button = qobject_cast<QPushButton*>(w)) {
        if (!on)
            return refuse(QStringLiteral("%1 is pressed by 1").arg(name));
        button->click();
        return true;
    }
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        // The list may be filled on its first drop-down: give it that chance first.
        combo->showPopup();
        combo->hidePopup();
        int index = -1;
        if (value.startsWith(QLatin1Char('#'))) {
            bool ok = false;
            index = value.mid(1).toInt(&ok);
            if (!ok || index < 0 || index >= combo->count())
                return refuse(
                    ListFailure(combo).isEmpty()
                        ? QStringLiteral("%1 has items #0 to #%2").arg(name).arg(combo->count() - 1)
                        : QStringLiteral("%1: %2").arg(name, ListFailure(combo)));
        } else {
            index = combo->findText(value, Qt::MatchExactly);
            // A list that could not be read takes no item, typed or not.
            if (index < 0 && !ListFailure(combo).isEmpty())
                return refuse(QStringLiteral("%1: %2").arg(name, ListFailure(combo)));
            if (index < 0 && !combo->isEditable())
                return refuse(QStringLiteral("%1 has no item %2").arg(name, value));
        }
        if (index >= 0)
            combo->setCurrentIndex(index);
        else
            combo->setEditText(value);
        return true;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        // A box that takes only some texts (numbers) takes no other from a script either.
        QString text = value;
        int at = 0;
        if (edit->validator() && edit->validator()->validate(text, at) != QValidator::Acceptable)
            return refuse(QStringLiteral("%1 does not take %2").arg(name, value));
        edit->setText(value);
        return true;
    }
    return refuse(QStringLiteral("%1 cannot be set by name").arg(name));
}
