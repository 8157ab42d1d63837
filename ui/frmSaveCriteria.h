#pragma once

#include <QDate>
#include <QDialog>
#include <QStringList>

class LanguageSection;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

// Asks under which name the screen's criteria are kept and how their dates are: as a date
// period worked out again on the day they are opened ("上月"), or fixed as they stand. The
// period the current range matches today is offered first; a screen without a date range keeps
// no dates.
class frmSaveCriteria : public QDialog
{
    Q_OBJECT
public:
    frmSaveCriteria(const QStringList& names, const QDate& begin, const QDate& end,
                    const QDate& today, QWidget* parent = nullptr);

    QString name() const;
    // The chosen period's key; empty for fixed dates.
    QString period() const;

    static const LanguageSection& texts();

private:
    QComboBox* cboName;
    QRadioButton* optRelative;
    QComboBox* cboPeriod;
    QRadioButton* optFixed;
    QLabel* lblFixed;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};
