#include "ui/frmSaveCriteria.h"

#include "core/LanguageSection.h"
#include "core/modMessage.h"
#include "query/DatePeriod.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

const LanguageSection& frmSaveCriteria::texts()
{
    static const LanguageSection kTexts("frmSaveCriteria",
                                        {
                                            {"frmSaveCriteria", "Caption", "保存条件"},
                                            {"lblName", "Caption", "名称:"},
                                            {"optRelative", "Caption", "相对日期:"},
                                            {"optFixed", "Caption", "固定日期:"},
                                            {"cmdOK", "Caption", "确定"},
                                            {"cmdCancel", "Caption", "取消"},
                                        });
    return kTexts;
}

frmSaveCriteria::frmSaveCriteria(const QStringList& names, const QDate& begin, const QDate& end,
                                 const QDate& today, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSaveCriteria"));
    setModal(true);
    auto* lblName = new QLabel(this);
    lblName->setObjectName(QStringLiteral("lblName"));
    cboName = new QComboBox(this);
    cboName->setObjectName(QStringLiteral("cboName"));
    cboName->setEditable(true);
    cboName->setInsertPolicy(QComboBox::NoInsert);
    cboName->addItems(names);
    cboName->setEditText(QString());
    cboName->setMinimumWidth(220);
    optRelative = new QRadioButton(this);
    optRelative->setObjectName(QStringLiteral("optRelative"));
    cboPeriod = new QComboBox(this);
    cboPeriod->setObjectName(QStringLiteral("cboPeriod"));
    optFixed = new QRadioButton(this);
    optFixed->setObjectName(QStringLiteral("optFixed"));
    lblFixed = new QLabel(this);
    lblFixed->setObjectName(QStringLiteral("lblFixed"));
    cmdOK = new QPushButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    texts().translate(this);

    const bool hasRange = begin.isValid() && end.isValid();
    int matching = -1;
    for (const QString& key : RelativePeriodKeys()) {
        cboPeriod->addItem(Msg(QStringLiteral("Msg_Date_") + key), key);
        if (matching < 0 && hasRange && DatePeriodRange(key, today) == DateRange{begin, end})
            matching = cboPeriod->count() - 1;
    }
    const QString format = QStringLiteral("yyyy-MM-dd");
    lblFixed->setText(hasRange
                          ? begin.toString(format) + QStringLiteral(" - ") + end.toString(format)
                          : QString());
    optRelative->setEnabled(hasRange);
    cboPeriod->setEnabled(hasRange && matching >= 0);
    optFixed->setEnabled(hasRange);
    (matching >= 0 ? optRelative : optFixed)->setChecked(true);
    cboPeriod->setCurrentIndex(std::max(matching, 0));
    connect(optRelative, &QRadioButton::toggled, cboPeriod, &QWidget::setEnabled);

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblName, 0, 0);
    grid->addWidget(cboName, 0, 1);
    grid->addWidget(optRelative, 1, 0);
    grid->addWidget(cboPeriod, 1, 1);
    grid->addWidget(optFixed, 2, 0);
    grid->addWidget(lblFixed, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 3, 0, 1, 2);
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        if (name().isEmpty()) {
            MsgBox(Msg(QStringLiteral("Msg_Criteria_NoName")), QMessageBox::Information,
                   QMessageBox::Ok, this);
            cboName->setFocus();
            return;
        }
        accept();
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString frmSaveCriteria::name() const
{
    return cboName->currentText().trimmed();
}

QString frmSaveCriteria::period() const
{
    return optRelative->isChecked() ? cboPeriod->currentData().toString() : QString();
}
