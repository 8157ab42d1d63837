#include "CriteriaControl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

static bool isFlag(const QString& value)
{
    return value == QLatin1String("0") || value == QLatin1String("1");
}

bool SetCriterion(QWidget* screen, const QString& name, const QString& value)
{
    QWidget* w = screen ? screen->findChild<QWidget*>(name) : nullptr;
    if (!w)
        return false;
    const bool on = value == QLatin1String("1");
    if (auto* date = qobject_cast<QDateEdit*>(w)) {
        const QDate d = QDate::fromString(value, QStringLiteral("yyyy-MM-dd"));
        if (!d.isValid())
            return false;
        date->setDate(d);
        return true;
    }
    if (auto* option = qobject_cast<QRadioButton*>(w)) {
        if (!isFlag(value) || (!on && option->isChecked()))
            return false;
        if (on && !option->isChecked())
            option->click();
        return true;
    }
    if (auto* check = qobject_cast<QCheckBox*>(w)) {
        if (!isFlag(value))
            return false;
        if (check->isChecked() != on)
            check->click();
        return true;
    }
    if (auto* button = qobject_cast<QPushButton*>(w)) {
        if (!on)
            return false;
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
                return false;
        } else {
            index = combo->findText(value, Qt::MatchExactly);
            if (index < 0 && !combo->isEditable())
                return false;
        }
        if (index >= 0)
            combo->setCurrentIndex(index);
        else
            combo->setEditText(value);
        return true;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(value);
        return true;
    }
    return false;
}
