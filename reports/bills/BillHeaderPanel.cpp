#include "reports/bills/BillHeaderPanel.h"

#include "framework/Bill.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

QString timeText(const QDateTime& time)
{
    return time.isValid() ? time.toString(QStringLiteral("HH:mm")) : QString();
}

// A rate as a whole percentage ("0%"): 0.9 shows as "90%".
QString percentText(double rate)
{
    return QString::number(qRound(rate * 100.0)) + QLatin1Char('%');
}

} // namespace

BillHeaderPanel::BillHeaderPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picBill"));
    m_layout = new QGridLayout(this);
    m_layout->setContentsMargins(4, 4, 4, 4);
    m_layout->setHorizontalSpacing(6);
    m_layout->setVerticalSpacing(4);

    addField("txtBillID", 0, 0, "账单编号:", "lblBillID");
    addField("txtTableFullName", 0, 1, "用餐房台:", "lblTableFullName");
    addField("txtMemberCardID", 0, 2, "会员卡号:", "lblMemberCardID");
    addField("txtPeopleCount", 0, 3, "就餐人数:", "lblPeopleCount");
    addField("txtCreateTime", 1, 0, "开台时间:", "lblCreateTime");
    addField("txtCreatePerson", 1, 1, "开台:", "lblCreatePerson");
    addField("txtCheckOutTime", 1, 2, "结账时间:", "lblCheckOutTime");
    addField("txtCheckOutPerson", 1, 3, "收银:", "lblCheckOutPerson");
    addField("txtChargePerson", 2, 0, "埋单:", "lblChargePerson");
    addField("txtDiscountPerson", 2, 1, "打折人:", "lblDiscountPerson");
    addField("txtDiscountName", 2, 2, "打折方式:", "lblDiscountName");
    addField("txtSumOfConsume", 2, 3, "消费总额:", "lblSumOfConsume");

    // Rate beside amount: "折扣额:" [90%][22.00] and "服务费:" [10%][20.00].
    auto pair = [this](const char* label, const char* labelName, const char* rate,
                       const char* amount, int column) {
        auto* caption = new QLabel(QString::fromUtf8(label), this);
        caption->setObjectName(QString::fromLatin1(labelName));
        auto* holder = new QWidget(this);
        auto* row = new QHBoxLayout(holder);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(2);
        for (const char* name : {rate, amount}) {
            auto* edit = new QLineEdit(holder);
            edit->setObjectName(QString::fromLatin1(name));
            edit->setReadOnly(true);
            edit->setAlignment(Qt::AlignRight);
            row->addWidget(edit, name == rate ? 2 : 3);
        }
        m_layout->addWidget(caption, 3, column * 2);
        m_layout->addWidget(holder, 3, column * 2 + 1);
    };
    pair("折扣额:", "lblSumForDiscount", "txtDiscoutRate", "txtSumForDiscount", 0);
    pair("服务费:", "lblSumOfService", "txtServiceRate", "txtSumOfService", 1);
    addField("txtSumPaid", 3, 2, "实收金额:", "lblSumPaid");
    for (const char* name : {"txtPeopleCount", "txtSumOfConsume", "txtSumPaid"})
        box(name)->setAlignment(Qt::AlignRight);
    QFont bold = box("txtSumPaid")->font();
    bold.setBold(true);
    box("txtSumPaid")->setFont(bold);
    for (int c = 1; c < 8; c += 2)
        m_layout->setColumnStretch(c, c == 1 ? 3 : 2); // the bill number with its original is long
}

QLineEdit* BillHeaderPanel::addField(const char* name, int row, int column, const char* label,
                                     const char* labelName, int span)
{
    auto* caption = new QLabel(QString::fromUtf8(label), this);
    caption->setObjectName(QString::fromLatin1(labelName));
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    m_layout->addWidget(caption, row, column * 2);
    m_layout->addWidget(edit, row, column * 2 + 1, 1, span);
    return edit;
}

QLineEdit* BillHeaderPanel::box(const char* name) const
{
    return findChild<QLineEdit*>(QString::fromLatin1(name));
}

void BillHeaderPanel::addTrailingWidget(QWidget* widget)
{
    m_layout->addWidget(widget, 3, 6, 1, 2);
}

QString BillHeaderPanel::fieldText(const QString& name) const
{
    const QLineEdit* edit = findChild<QLineEdit*>(name);
    return edit ? edit->text() : QString();
}

QString BillHeaderPanel::billTag() const
{
    return box("txtBillID")->property("Tag").toString();
}

void BillHeaderPanel::clear()
{
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->clear();
    box("txtBillID")->setProperty("Tag", QString());
}

void BillHeaderPanel::fill(const Bill& bill)
{
    const QString original = bill.OriginalID();
    QString shown = bill.BillID();
    if (!original.trimmed().isEmpty())
        shown += QLatin1Char('(') + original + QLatin1Char(')');
    box("txtBillID")->setText(shown);
    box("txtBillID")->setProperty("Tag", bill.BillID());
    box("txtTableFullName")->setText(bill.TableFullName());
    QString card = bill.MemberCardID();
    if (!bill.MemberName().isEmpty())
        card += QLatin1Char(' ') + bill.MemberName();
    box("txtMemberCardID")->setText(card);
    box("txtPeopleCount")->setText(QString::number(bill.PeopleCount()));
    box("txtCreateTime")->setText(timeText(bill.CreateTime()));
    box("txtCreatePerson")->setText(bill.CreatePerson());
    box("txtCheckOutTime")->setText(timeText(bill.CheckOutTime()));
    box("txtCheckOutPerson")->setText(bill.CheckOutPerson());
    box("txtChargePerson")->setText(bill.ChargePerson());
    box("txtDiscountPerson")->setText(bill.DiscountPerson());
    box("txtDiscoutRate")->setText(percentText(bill.DiscountRate()));
    box("txtDiscountName")->setText(bill.DiscountName());
    box("txtSumForDiscount")->setText(bill.SumForDiscount().toString(2));
    box("txtServiceRate")->setText(percentText(bill.ServiceRate()));
    box("txtSumOfService")->setText(bill.SumOfService().toString(2));
    box("txtSumOfConsume")->setText(bill.SumOfConsume().toString(2));
    box("txtSumPaid")->setText(bill.SumPaid().toString(2));
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->setCursorPosition(0);
}
