#include "reports/bills/frmBillCheck.h"

#include "core/HostContext.h"
#include "core/LanguageSection.h"
#include "core/modBranch.h"
#include "core/modMessage.h"
#include "framework/Bill.h"
#include "framework/BillCollection.h"
#include "framework/HostUi.h"
#include "query/QueryColumn.h"
#include "query/QueryColumns.h"
#include "reports/bills/BillHeaderPanel.h"
#include "reports/bills/BillInfoSql.h"
#include "reports/bills/BillPanel.h"
#include "reports/bills/BillReprint.h"
#include "sheet/Sheet.h"
#include "sheet/Twips.h"
#include "ui/CriteriaControl.h"
#include "ui/MDIActiveX.h"
#include "ui/ReportScreen.h"
#include "ui/ctlQuery.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const LanguageSection kTexts("frmBillCheck",
                             {
                                 {"frmBillCheck", "Caption", "历史账单稽查"},
                                 {"fraQuery", "Caption", "查询条件"},
                                 {"optQuery_0", "Caption", "按营业日期查询:"},
                                 {"optQuery_1", "Caption", "按原始单号范围查询:"},
                                 {"optQuery_2", "Caption", "按账单编号查询:"},
                                 {"lblOriginalTo", "Caption", "至"},
                                 {"optOrder_0", "Caption", "按账单编号排序"},
                                 {"optOrder_1", "Caption", "按原始单号排序"},
                                 {"cmdQuery", "Caption", "查询"},
                                 {"cmdPrint", "Caption", "打印"},
                                 {"cmdExit", "Caption", "退出"},
                                 {"lvwBills", "BillID", "账单编号"},
                                 {"lvwBills", "OriginalID", "原始单号"},
                                 {"lblBillID", "Caption", "账单编号:"},
                                 {"lblTableFullName", "Caption", "用餐房台:"},
                                 {"lblMemberCardID", "Caption", "会员卡号:"},
                                 {"lblPeopleCount", "Caption", "就餐人数:"},
                                 {"lblCreateTime", "Caption", "开台时间:"},
                                 {"lblCreatePerson", "Caption", "开台:"},
                                 {"lblCheckOutTime", "Caption", "结账时间:"},
                                 {"lblCheckOutPerson", "Caption", "收银:"},
                                 {"lblChargePerson", "Caption", "埋单:"},
                                 {"lblDiscountPerson", "Caption", "打折人:"},
                                 {"lblDiscountName", "Caption", "打折方式:"},
                                 {"lblSumForDiscount", "Caption", "折扣额:"},
                                 {"lblSumOfService", "Caption", "服务费:"},
                                 {"lblSumOfConsume", "Caption", "消费总额:"},
                                 {"lblSumPaid", "Caption", "实收金额:"},
                                 {"Msg_Print_Confirm", "Default", "确定要重新打印历史账单吗？"},
                                 {"Msg_Print_Fault", "Default", "重新打印账单失败！"},
                                 {"Msg_Print_NoData", "Default", "没有需要打印的历史账单！"},
                                 {"ctlQuery1", "Title", "消费明细表"},
                                 {"ctlQuery1", "MenuID", "菜号"},
                                 {"ctlQuery1", "MenuName", "菜名"},
                                 {"ctlQuery1", "CookWay", "做法"},
                                 {"ctlQuery1", "CreatePerson", "点菜人"},
                                 {"ctlQuery1", "IsSentMenu", "赠"},
                                 {"ctlQuery1", "Amount", "数量"},
                                 {"ctlQuery1", "AmountOrder", "点菜"},
                                 {"ctlQuery1", "AmountCancel", "退菜"},
                                 {"ctlQuery1", "AmountConsume", "消费"},
                                 {"ctlQuery1", "MenuUnitName", "单位"},
                                 {"ctlQuery1", "SumOfConsume", "消费额"},
                                 {"ctlQuery1", "SumOfService", "服务费"},
                                 {"ctlQuery1", "SumForDiscount", "折扣额"},
                                 {"ctlQuery1", "theSum", "小计"},
                                 {"ctlQuery2", "Title", "支付明细表"},
                                 {"ctlQuery2", "SubjectID", "编码"},
                                 {"ctlQuery2", "SubjectName", "支付方式"},
                                 {"ctlQuery2", "PaySum", "支付金额"},
                                 {"ctlQuery2", "ExchangeRate", "汇率"},
                                 {"ctlQuery2", "SumPaid", "换算后金额"},
                             });

// The window's size in twips: wide enough for the item grid's columns beside the search.
constexpr int WidthTwips = 15600, HeightTwips = 8400;
// The search column: its frame and the list of bills found.
constexpr int SearchWidthTwips = 3200;

constexpr int Grey = 0xE0E0E0;   // light grey, as BGR
constexpr int Yellow = 0xC0FFFF; // light yellow, as BGR

// The item lines' columns: the dish, gift mark, quantities ordered, returned and consumed and
// the amounts, narrower than the bill detail's to leave room for the search beside them.
void itemColumns(QueryColumns& c)
{
    //     field                      caption   condition                      sum  kind width back
    c.Add("MenuID", "菜号", "", "", false, 0, false, 1, 700, -1, true);
    c.Add("MenuName", "菜名", "", "", false, 0, false, 1, 1500, -1, true);
    c.Add("CookWay", "做法", "", "", false, 0, false, 1, 700, -1, true);
    c.Add("CreatePerson", "点菜人", "", "", false, 0, false, 1, 700, -1, true);
    c.Add("'√'|IsSentMenu", "赠", "IsSentMenu<>0", "", false, 0, false, 1, 500, -1, true);
    QueryColumns& amount =
        c.Add("|Amount", "数量", "", "", false, 0, false, 1, -1, -1, true)->SubColumns();
    amount.add("AmountOrder", "点菜", "AmountOrder<>0", "", false, 0, true, 13, 600, Grey, true);
    amount.add("AmountCancel", "退菜", "AmountCancel<>0", "", false, 0, true, 13, 600, Grey, true);
    amount.add("AmountOrder-AmountCancel|AmountConsume", "消费", "(AmountOrder-AmountCancel)<>0",
               "", false, 0, true, 13, 600, Grey, true);
    c.Add("MenuUnitName", "单位", "", "", false, 0, false, 1, 500, -1, true);
    c.Add("SumOfConsume", "消费额", "SumOfConsume<>0 AND IsSentMenu=0", "", false, 0, true, 13, 700,
          Yellow, true);
    c.Add("SumOfService", "服务费", "SumOfService<>0 AND IsSentMenu=0", "", false, 0, true, 13, 700,
          Yellow, true);
    c.Add("SumForDiscount", "折扣额", "SumForDiscount<>0 AND IsSentMenu=0", "", false, 0, true, 13,
          700, Yellow, true);
    c.Add("theSum", "小计", "theSum<>0 AND IsSentMenu=0", "", false, 0, true, 13, 700, Yellow,
          true);
}

void paymentColumns(QueryColumns& p)
{
    p.Add("SubjectID", "编码", "", "", false, 0, false, 1, 1740, -1, true);
    p.Add("SubjectName", "支付方式", "", "", false, 0, false, 1, 2200, -1, true);
    p.Add("PaySum", "支付金额", "", "", false, 0, false, 13, 1800, Grey, true);
    p.Add("ExchangeRate", "汇率", "", "", false, 0, false, 13, 1800, Yellow, true);
    p.Add("SumPaid", "换算后金额", "", "", false, 0, true, 13, 1800, Yellow, true);
}

QComboBox* editableCombo(const QString& name, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

} // namespace

const LanguageSection& frmBillCheck::texts()
{
    return kTexts;
}

frmBillCheck::frmBillCheck(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmBillCheck"));
    setWindowTitle(QStringLiteral("历史账单稽查"));
    resize(twipsToPixelsX(WidthTwips, this), twipsToPixelsY(HeightTwips, this));

    auto* fraQuery = new QGroupBox(QStringLiteral("查询条件"), this);
    fraQuery->setObjectName(QStringLiteral("fraQuery"));
    auto* criteria = new QGridLayout(fraQuery);
    auto* queryGroup = new QButtonGroup(this);
    const char* queryCaptions[3] = {"按营业日期查询:", "按原始单号范围查询:", "按账单编号查询:"};
    for (int i = 0; i < 3; ++i) {
        optQuery[i] = new QRadioButton(QString::fromUtf8(queryCaptions[i]), fraQuery);
        optQuery[i]->setObjectName(QStringLiteral("optQuery_%1").arg(i));
        queryGroup->addButton(optQuery[i], i);
        connect(optQuery[i], &QRadioButton::clicked, this, [this, i] { chooseQuery(i); });
    }
    dtpBillDate = new QDateEdit(QDate::currentDate(), fraQuery);
    dtpBillDate->setObjectName(QStringLiteral("dtpBillDate"));
    dtpBillDate->setCalendarPopup(true);
    dtpBillDate->setMaximumDate(ReportScreen::LastDate); // the day after it is bound too
    dtpBillDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    for (int i = 0; i < 2; ++i)
        cboOriginalID[i] = editableCombo(QStringLiteral("cboOriginalID_%1").arg(i), fraQuery);
    auto* lblOriginalTo = new QLabel(QStringLiteral("至"), fraQuery);
    lblOriginalTo->setObjectName(QStringLiteral("lblOriginalTo"));
    cboBillID = editableCombo(QStringLiteral("cboBillID"), fraQuery);
    auto* range = new QHBoxLayout;
    range->addWidget(cboOriginalID[0], 1);
    range->addWidget(lblOriginalTo);
    range->addWidget(cboOriginalID[1], 1);
    criteria->addWidget(optQuery[0], 0, 0);
    criteria->addWidget(dtpBillDate, 1, 0);
    criteria->addWidget(optQuery[1], 2, 0);
    criteria->addLayout(range, 3, 0);
    criteria->addWidget(optQuery[2], 4, 0);
    criteria->addWidget(cboBillID, 5, 0);

    auto* orderGroup = new QButtonGroup(this);
    const char* orderCaptions[2] = {"按账单编号排序", "按原始单号排序"};
    auto* orders = new QVBoxLayout;
    for (int i = 0; i < 2; ++i) {
        optOrder[i] = new QRadioButton(QString::fromUtf8(orderCaptions[i]), fraQuery);
        optOrder[i]->setObjectName(QStringLiteral("optOrder_%1").arg(i));
        orderGroup->addButton(optOrder[i], i);
        orders->addWidget(optOrder[i]);
    }
    criteria->addLayout(orders, 6, 0);
    cmdQueryButton = new QPushButton(QStringLiteral("查询"), fraQuery);
    cmdQueryButton->setObjectName(QStringLiteral("cmdQuery"));
    cmdQueryButton->setAutoDefault(false);
    criteria->addWidget(cmdQueryButton, 7, 0);
    connect(cmdQueryButton, &QPushButton::clicked, this, [this] {
        QString why;
        if (!cmdQuery(&why))
            MsgBox(why, QMessageBox::Warning, QMessageBox::Ok, this);
    });

    lvwBills = new QTreeWidget(this);
    lvwBills->setObjectName(QStringLiteral("lvwBills"));
    lvwBills->setRootIsDecorated(false);
    lvwBills->setColumnCount(2);
    // Each column as wide as its widest number (the list scrolls sideways when they need more).
    lvwBills->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lvwBills->header()->setStretchLastSection(false);
    connect(lvwBills, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        QString why;
        if (!showBill(item, &why))
            MsgBox(why, QMessageBox::Warning, QMessageBox::Ok, this);
    });

    cmdPrintButton = new QPushButton(QStringLiteral("打印"), this);
    cmdPrintButton->setObjectName(QStringLiteral("cmdPrint"));
    cmdPrintButton->setAutoDefault(false);
    connect(cmdPrintButton, &QPushButton::clicked, this, [this] { cmdPrint(); });
    cmdExit = new QPushButton(QStringLiteral("退出"), this);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    cmdExit->setAutoDefault(false);
    connect(cmdExit, &QPushButton::clicked, this, &QDialog::reject);

    auto* left = new QVBoxLayout;
    left->addWidget(fraQuery);
    left->addWidget(lvwBills, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdPrintButton);
    buttons->addWidget(cmdExit);
    left->addLayout(buttons);

    m_panel = new BillPanel({itemColumns, {1, 3, 4, 5, 9}, paymentColumns}, this);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(left, 0);
    layout->addWidget(m_panel, 1);
    fraQuery->setFixedWidth(twipsToPixelsX(SearchWidthTwips, this));
    lvwBills->setFixedWidth(fraQuery->width());

    // Load: captions and messages through the language file, both grids' columns, today's date.
    kTexts.translate(this);
    lvwBills->setHeaderLabels(
        {kTexts.text(QStringLiteral("lvwBills"), QStringLiteral("BillID")),
         kTexts.text(QStringLiteral("lvwBills"), QStringLiteral("OriginalID"))});
    m_panel->setUpGrids(this);
    optQuery[0]->setChecked(true);
    optOrder[0]->setChecked(true);
}

frmBillCheck::~frmBillCheck() = default;

void frmBillCheck::ShowMe()
{
    QCoreApplication::processEvents();
    if (!isVisible()) {
        if (HostUi::isHeadless()) {
            // A headless run never waits on a window: the audit opens in the host window.
            MDIActiveX embedding;
            embedding.embed(this, WidthTwips, HeightTwips);
            embedding.activate(this);
        } else {
            exec();
        }
    }
    QCoreApplication::processEvents();
}

QStringList frmBillCheck::listedBills() const
{
    QStringList ids;
    for (int i = 0; i < lvwBills->topLevelItemCount(); ++i)
        ids << lvwBills->topLevelItem(i)->text(0);
    return ids;
}

QString frmBillCheck::billId() const
{
    return m_panel->header()->billTag();
}

void frmBillCheck::chooseQuery(int index)
{
    // By date or bill number: bill number order; by original numbers: original number order.
    optOrder[index == 1 ? 1 : 0]->setChecked(true);
}

bool frmBillCheck::cmdQuery(QString* why)
{
    setEnabled(false);
    BillCollection bills(hostContext().connection());
    bills.setScope(UserBillScope());
    if (optQuery[0]->isChecked()) {
        bills.addCondition(BillCollection::FieldBillDate, ListCriteria::Equal, dtpBillDate->date(),
                           1);
    } else if (optQuery[1]->isChecked()) {
        bills.addCondition(BillCollection::FieldOriginalID, ListCriteria::From,
                           cboOriginalID[0]->currentText().trimmed(), 1);
        bills.addCondition(BillCollection::FieldOriginalID, ListCriteria::To,
                           cboOriginalID[1]->currentText().trimmed(), 1);
    } else if (optQuery[2]->isChecked()) {
        bills.addCondition(BillCollection::FieldBillID, ListCriteria::Equal,
                           cboBillID->currentText().trimmed(), 1);
    }
    if (optOrder[1]->isChecked())
        bills.addSortKey(BillCollection::FieldOriginalID, ListCriteria::Ascending);
    bills.addSortKey(BillCollection::FieldBillID, ListCriteria::Ascending);
    const bool read = bills.load();
    lvwBills->clear();
    for (int i = 1; i <= bills.Count(); ++i) {
        const Bill& bill = bills.item(i);
        auto* item = new QTreeWidgetItem(lvwBills);
        item->setText(0, bill.BillID());
        item->setData(0, Qt::UserRole, bill.BillID());
        item->setText(1, bill.OriginalID());
    }
    setEnabled(true);
    if (!read && why) // no list that looks like "no bills found"
        *why = bills.lastError();
    return read;
}

bool frmBillCheck::showBill(QTreeWidgetItem* item, QString* why)
{
    if (!item)
        return true;
    const QString id = item->data(0, Qt::UserRole).toString();
    if (id.isEmpty())
        return true;
    Bill bill(hostContext().connection());
    bill.setScope(UserBillScope());
    m_panel->showHeader(bill.load(id) ? &bill : nullptr);
    const bool lines = m_panel->showLines(BillCheckItemsSql(id), BillCheckPaymentsSql(id), why);
    if (!bill.lastError().isEmpty() && why)
        *why = bill.lastError();
    return bill.lastError().isEmpty() && lines;
}

bool frmBillCheck::showListedBill(const QString& billId, QString* why)
{
    // A script names the bill before the search has run: search first.
    if (!listedBills().contains(billId) && !cmdQuery(why))
        return false;
    for (int i = 0; i < lvwBills->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = lvwBills->topLevelItem(i);
        if (item->text(0) == billId) {
            lvwBills->setCurrentItem(item);
            return showBill(item, why);
        }
    }
    if (why)
        *why = QStringLiteral("bill %1 is not among the bills found").arg(billId);
    return false;
}

bool frmBillCheck::cmdPrint()
{
    m_lastError.clear();
    const QString id = billId();
    if (id.isEmpty()) {
        m_lastError = kTexts.text(QStringLiteral("Msg_Print_NoData"), QStringLiteral("Default"));
        MsgBox(m_lastError, QMessageBox::Information, QMessageBox::Ok, this);
        return false;
    }
    const QString fault = kTexts.text(QStringLiteral("Msg_Print_Fault"), QStringLiteral("Default"));
    QString why;
    if (ReprintBill(id, kTexts.text(QStringLiteral("Msg_Print_Confirm"), QStringLiteral("Default")),
                    fault, this, &why))
        return true;
    m_lastError = why.isEmpty() ? fault : fault + QLatin1Char(' ') + why;
    return false;
}

bool frmBillCheck::applyCriterion(const QString& name, const QString& value)
{
    m_lastError.clear();
    if (name == QLatin1String("lvwBills"))
        return showListedBill(value, &m_lastError);
    if (name == QLatin1String("cmdPrint") && value == QLatin1String("1"))
        return cmdPrint();
    return SetCriterion(this, name, value, &m_lastError); // also "cmdQuery" pressed by 1
}

bool frmBillCheck::runRefresh()
{
    m_lastError.clear();
    return cmdQuery(&m_lastError);
}

Sheet* frmBillCheck::grid() const
{
    return m_panel->items()->Grid();
}

bool frmBillCheck::exportGrid(const QString& path)
{
    m_lastError.clear();
    return exportGridTo(path, &m_lastError);
}
