#include "reports/bills/frmBillQuery.h"

#include "core/HostContext.h"
#include "core/LanguageSection.h"
#include "core/modMessage.h"
#include "core/mod_ADO.h"
#include "framework/DataList.h"
#include "reports/bills/frmBillInfo.h"
#include "screens/BranchCriterion.h"
#include "screens/DropDownComboBox.h"
#include "screens/QueryColumn.h"
#include "screens/ctlQuery.h"
#include "screens/sheet/Sheet.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QRadioButton>

namespace {

const QString Title = QStringLiteral("历史账单查询");

const LanguageSection kTexts("frmBillQuery",
                             {
                                 {"frmBillQuery", "Caption", "历史账单查询"},
                                 {"lblBar", "Caption", "历史账单查询"},
                                 {"lblBegin", "Caption", "开始日期:"},
                                 {"lblEnd", "Caption", "结束日期:"},
                                 {"lblBranch", "Caption", "统计分店:"},
                                 {"lblBillPeriod", "Caption", "餐段:"},
                                 {"lblDiscountName", "Caption", "打折方式:"},
                                 {"lblOrderBy", "Caption", "排序:"},
                                 {"optOrderBy_0", "RadioCaption", "顺序"},
                                 {"optOrderBy_1", "RadioCaption", "倒序"},
                                 {"lblShiftID", "Caption", "交班号:"},
                                 {"lblFilter", "Caption", "过滤:"},
                                 {"chkHaveDiscount", "Caption", "有打折"},
                                 {"chkWithMemberCheck", "Caption", "按会员价打折"},
                                 {"chkNotOnlyInCash", "Caption", "非现金结账"},
                                 {"chkCheckOutNull", "Caption", "零结账"},
                                 {"chkSumOfInvoice", "Caption", "含发票"},
                                 {"chkPrintCount", "Caption", "多次埋单"},
                                 {"chkSumPaid", "Caption", "应收实收不相等"},
                                 {"lblTableAreaName", "Caption", "台区:"},
                                 {"lblTableName", "Caption", "房台:"},
                                 {"lblCreatePerson", "Caption", "开台:"},
                                 {"lblChargePerson", "Caption", "埋单:"},
                                 {"lblCheckOutPerson", "Caption", "收银:"},
                                 {"lblUseTrueData", "Caption", "包含已经删除的数据"},
                                 {"lblSaving", "Caption", "不含会员卡充值的数据"},
                                 {"Msg_MemberPrice", "Default", "会员价"},
                                 {"ctlQuery1", "Title", "历史账单查询"},
                                 {"ctlQuery1", "BillID", "单号"},
                                 {"ctlQuery1", "TableFullName", "房台"},
                                 {"ctlQuery1", "BillPeriod", "餐段"},
                                 {"ctlQuery1", "PeopleCount", "人数"},
                                 {"ctlQuery1", "ChargeMan", "负责人"},
                                 {"ctlQuery1", "CreatePerson", "开台人"},
                                 {"ctlQuery1", "ChargePerson", "埋单人"},
                                 {"ctlQuery1", "CheckOutPerson", "收银员"},
                                 {"ctlQuery1", "SumOfConsume", "消费总额"},
                                 {"ctlQuery1", "SumOfService", "服务费"},
                                 {"ctlQuery1", "ServiceRate", "服务费率"},
                                 {"ctlQuery1", "Discount", "折扣"},
                                 {"ctlQuery1", "DiscountName", "打折方式"},
                                 {"ctlQuery1", "DiscountRate", "折扣率"},
                                 {"ctlQuery1", "SumForDiscount", "折扣额"},
                                 {"ctlQuery1", "SumToPay", "应收金额"},
                                 {"ctlQuery1", "SumPaid", "实收金额"},
                                 {"ctlQuery1", "SumInCash", "现金"},
                                 {"ctlQuery1", "SumOfOther", "其他"},
                                 {"ctlQuery1", "SumOfInvoice", "发票金额"},
                                 {"ctlQuery1", "PrintCount", "埋单次数"},
                                 {"ctlQuery1", "TableID", "台号"},
                             });

constexpr int Grey = 0xE0E0E0;   // light grey, as BGR
constexpr int Yellow = 0xC0FFFF; // light yellow, as BGR
constexpr int RowHeight = 300;
constexpr int Row1 = 60, Row2 = 420, Row3 = 780, Row4 = 1140, Row5 = 1500;

} // namespace

frmBillQuery::frmBillQuery(QWidget* parent)
    : QueryReportScreen(QStringLiteral("frmBillQuery"), Title, Title, QSize(11070, 7980), parent)
{
    setCriteriaHeight(1860);

    place(lblBegin, 120, Row1, 900, RowHeight);
    place(dtpBegin, 1020, Row1, 1800, RowHeight);
    place(lblEnd, 2940, Row1, 900, RowHeight);
    place(dtpEnd, 3840, Row1, 1800, RowHeight);
    lblBranch = addLabel("lblBranch", "统计分店:", 5760, Row1, 900);
    cboBranch = addCombo("cboBranch", 6660, Row1, 1500);
    lblBillPeriod = addLabel("lblBillPeriod", "餐段:", 8280, Row1, 600);
    cboBillPeriod = addCombo("cboBillPeriod", 8880, Row1, 1300);

    lblDiscountName = addLabel("lblDiscountName", "打折方式:", 120, Row2, 900);
    cboDiscountName = addCombo("cboDiscountName", 1020, Row2, 1800);
    lblOrderBy = addLabel("lblOrderBy", "排序:", 2940, Row2, 900);
    cboOrderBy = addControl<QComboBox>("cboOrderBy", 3840, Row2, 1800);
    const char* directions[2] = {"顺序", "倒序"};
    for (int i = 0; i < 2; ++i) {
        optOrderBy[i] = new QRadioButton(QString::fromUtf8(directions[i]), picTop);
        optOrderBy[i]->setObjectName(QStringLiteral("optOrderBy_%1").arg(i));
        place(optOrderBy[i], 5760 + i * 840, Row2, 800, RowHeight);
    }
    optOrderBy[0]->setChecked(true);
    lblShiftID = addLabel("lblShiftID", "交班号:", 7500, Row2, 780);
    cboShiftID = addControl<QComboBox>("cboShiftID", 8280, Row2, 1900);
    cboShiftID->setEditable(true);

    lblFilter = addLabel("lblFilter", "过滤:", 120, Row3, 900);
    chkHaveDiscount = addCheck("chkHaveDiscount", "有打折", 1020, Row3, 900);
    chkWithMemberCheck = addCheck("chkWithMemberCheck", "按会员价打折", 1980, Row3, 1500);
    chkNotOnlyInCash = addCheck("chkNotOnlyInCash", "非现金结账", 3540, Row3, 1300);
    chkCheckOutNull = addCheck("chkCheckOutNull", "零结账", 4900, Row3, 900);
    chkSumOfInvoice = addCheck("chkSumOfInvoice", "含发票", 5860, Row3, 900);
    chkPrintCount = addCheck("chkPrintCount", "多次埋单", 6820, Row3, 1100);
    chkSumPaid = addCheck("chkSumPaid", "应收实收不相等", 7980, Row3, 1700);

    lblTableAreaName = addLabel("lblTableAreaName", "台区:", 120, Row4, 600);
    cboTableAreaName = addCombo("cboTableAreaName", 720, Row4, 1300);
    lblTableName = addLabel("lblTableName", "房台:", 2100, Row4, 600);
    cboTableName = addCombo("cboTableName", 2700, Row4, 1300);
    lblCreatePerson = addLabel("lblCreatePerson", "开台:", 4080, Row4, 600);
    cboCreatePerson = addCombo("cboCreatePerson", 4680, Row4, 1100);
    lblChargePerson = addLabel("lblChargePerson", "埋单:", 5860, Row4, 600);
    cboChargePerson = addCombo("cboChargePerson", 6460, Row4, 1100);
    lblCheckOutPerson = addLabel("lblCheckOutPerson", "收银:", 7640, Row4, 600);
    cboCheckOutPerson = addCombo("cboCheckOutPerson", 8240, Row4, 1100);

    place(chkUseTrueData, 120, Row5, 260, RowHeight);
    place(lblUseTrueData, 400, Row5, 2300, RowHeight);
    place(chkSaving, 2760, Row5, 260, RowHeight);
    place(lblSaving, 3040, Row5, 2300, RowHeight);

    connect(chkCheckOutNull, &QCheckBox::clicked, this, [this] { applyCheckOutNullCondition(); });

    m_branch = new BranchCriterion(cboBranch, QStringLiteral("bi_Bill"), this);
    connect(cboBillPeriod, &DropDownComboBox::dropDown, this, [this] {
        if (!cboBillPeriod->takeFirstDropDown())
            return;
        DataList periods(DataList::MealPeriods, hostContext().connection());
        periods.initialise(1, 1);
        periods.load();
        for (int i = 1; i <= periods.Count(); ++i)
            cboBillPeriod->addItem(periods.item(i).Name);
    });
    fillListOnFirstDropDown(
        cboChargePerson,
        QStringLiteral(
            "SELECT DISTINCT ChargePersonID,ChargePerson FROM bi_Bill ORDER BY ChargePersonID"),
        QStringLiteral("ChargePerson"));
    fillListOnFirstDropDown(cboCheckOutPerson,
                            QStringLiteral("SELECT DISTINCT CheckOutPersonID,CheckOutPerson FROM "
                                           "bi_Bill ORDER BY CheckOutPersonID"),
                            QStringLiteral("CheckOutPerson"));
    fillListOnFirstDropDown(
        cboCreatePerson,
        QStringLiteral(
            "SELECT DISTINCT CreatePersonID,CreatePerson FROM bi_Bill ORDER BY CreatePersonID"),
        QStringLiteral("CreatePerson"));
    fillListOnFirstDropDown(
        cboTableName,
        QStringLiteral("SELECT DISTINCT TableID,TableName FROM bi_Bill ORDER BY TableID"),
        QStringLiteral("TableName"));
    fillListOnFirstDropDown(
        cboTableAreaName,
        QStringLiteral(
            "SELECT DISTINCT TableAreaID,TableAreaName FROM bi_Bill ORDER BY TableAreaID"),
        QStringLiteral("TableAreaName"));
    fillListOnFirstDropDown(
        cboDiscountName,
        QStringLiteral("SELECT DISTINCT DiscountID,DiscountName FROM bi_Bill ORDER BY DiscountID"),
        QStringLiteral("DiscountName"));
}

const LanguageSection* frmBillQuery::languageTexts() const
{
    return &kTexts;
}

DropDownComboBox* frmBillQuery::addCombo(const char* name, int left, int top, int width)
{
    auto* combo = addControl<DropDownComboBox>(name, left, top, width);
    combo->setEditable(true); // a name can be typed; one that matches no item adds nothing
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

void frmBillQuery::fillListOnFirstDropDown(DropDownComboBox* combo, const QString& sql,
                                           const QString& field)
{
    connect(combo, &DropDownComboBox::dropDown, this, [combo, sql, field] {
        if (combo->takeFirstDropDown())
            FillComboFromQuery(combo, field, sql);
    });
}

void frmBillQuery::formLoad()
{
    m_memberPriceName = kTexts.text(QStringLiteral("Msg_MemberPrice"), QStringLiteral("Default"));
    for (int i = 0; i < 2; ++i)
        optOrderBy[i]->setText(
            kTexts.text(QStringLiteral("optOrderBy_%1").arg(i), QStringLiteral("RadioCaption")));
    const QString all = Msg(QStringLiteral("Msg_ComboBox_All"));
    for (QComboBox* combo :
         {static_cast<QComboBox*>(cboBillPeriod), static_cast<QComboBox*>(cboCreatePerson),
          static_cast<QComboBox*>(cboChargePerson), static_cast<QComboBox*>(cboCheckOutPerson),
          static_cast<QComboBox*>(cboTableName), static_cast<QComboBox*>(cboTableAreaName),
          static_cast<QComboBox*>(cboDiscountName)}) {
        combo->clear();
        combo->addItem(all);
        combo->setCurrentIndex(0);
    }
    m_branch->reset();
}

QList<QList<QWidget*>> frmBillQuery::englishLayoutRows() const
{
    return {
        {lblBegin, dtpBegin, lblEnd, dtpEnd, lblBranch, cboBranch, lblBillPeriod, cboBillPeriod},
        {lblDiscountName, cboDiscountName, lblOrderBy, cboOrderBy, optOrderBy[0], optOrderBy[1],
         lblShiftID, cboShiftID},
        {lblFilter, chkHaveDiscount, chkWithMemberCheck, chkNotOnlyInCash, chkCheckOutNull,
         chkSumOfInvoice, chkPrintCount, chkSumPaid},
        {lblTableAreaName, cboTableAreaName, lblTableName, cboTableName, lblCreatePerson,
         cboCreatePerson, lblChargePerson, cboChargePerson, lblCheckOutPerson, cboCheckOutPerson},
        {chkUseTrueData, lblUseTrueData, chkSaving, lblSaving},
    };
}

void frmBillQuery::cmdSetColumn1()
{
    ctlQuery1->ClearColumns();
    ctlQuery1->SetTitle(Title);
    QueryColumns& c = ctlQuery1->Columns();
    //     field                      caption        condition      sum  kind width  back
    c.Add("BillID", "单号", "", "", false, 0, false, 1, 1500, -1, true);
    c.Add("TableFullName", "房台", "", "", false, 0, false, 1, 1100, -1, true);
    c.Add("BillPeriod", "餐段", "", "", false, 0, false, 1, 600, -1, true);
    c.Add("PeopleCount", "人数", "", "", false, 0, true, 13, 550, -1, true);
    QueryColumns& chargeMan =
        c.Add("|ChargeMan", "负责人", "", "", false, 0, false, 1, -1, -1, true)->SubColumns();
    chargeMan.add("CreatePerson", "开台人", "", "", false, 0, false, 1, 700, -1, true);
    chargeMan.add("ChargePerson", "埋单人", "", "", false, 0, false, 1, 700, -1, true);
    chargeMan.add("CheckOutPerson", "收银员", "", "", false, 0, false, 1, 700, -1, true);
    c.Add("SumOfConsume", "消费总额", "", "", false, 0, true, 13, 850, Grey, true);
    QueryColumns& service =
        c.Add("|SumOfService", "服务费", "", "", false, 0, false, 1, -1, -1, true)->SubColumns();
    service.add("ServiceRate", "服务费率", "", "", false, 0, false, 14, 840, Grey, true);
    service.add("SumOfService", "服务费", "", "", false, 0, true, 13, 700, Grey, true);
    QueryColumns& discount =
        c.Add("|Discount", "折扣", "", "", false, 0, false, 1, -1, -1, true)->SubColumns();
    discount.add("DiscountName", "打折方式", "", "", false, 0, false, 1, 840, Grey, true);
    discount.add("DiscountRate", "折扣率", "", "", false, 0, false, 14, 700, Grey, true);
    discount.add("SumForDiscount", "折扣额", "", "", false, 0, true, 13, 700, Grey, true);
    c.Add("SumToPay", "应收金额", "", "", false, 0, true, 13, 850, Grey, true);
    QueryColumns& paid =
        c.Add("|SumPaid", "实收金额", "", "", false, 0, false, 1, -1, -1, true)->SubColumns();
    paid.add("SumInCash", "现金", "", "", false, 0, true, 13, 800, Yellow, true);
    paid.add("SumPaid-SumInCash|SumOfOther", "其他", "", "", false, 0, true, 13, 750, Yellow, true);
    paid.add("SumPaid", "实收金额", "", "", false, 0, true, 13, 850, Yellow, true);
    c.Add("SumOfInvoice", "发票金额", "", "", false, 0, true, 13, 850, Grey, true);
    c.Add("PrintCount", "埋单次数", "", "", false, 0, false, 1, 500, -1, true);

    applyCheckOutNullCondition();
    TranslateQueryControl(this, ctlQuery1);
    ctlQuery1->ApplyQuery(true, false, false);

    mSpread1->setReDraw(false);
    mSpread1->setMaxRows(0);
    mSpread1->setMaxRows(28);
    CellStyle centred;
    centred.hAlign = Qt::AlignHCenter;
    CellStyle right;
    right.hAlign = Qt::AlignRight;
    for (int col : {1, 2, 3, 5, 6, 7, mSpread1->maxCols()})
        mSpread1->setColumnStyle(col, centred);
    mSpread1->setColumnStyle(11, right);
    mSpread1->setReDraw(true);

    cboOrderBy->clear();
    for (const BillQuerySortChoice& choice : BillQuerySortChoices)
        cboOrderBy->addItem(
            kTexts.text(QStringLiteral("ctlQuery1"), QString::fromLatin1(choice.field)));
    cboOrderBy->setCurrentIndex(0);
}

void frmBillQuery::applyCheckOutNullCondition()
{
    const QString condition =
        chkCheckOutNull->isChecked() ? QString() : QStringLiteral("CheckOutNull=0");
    for (const auto& column : ctlQuery1->Columns()) {
        if (column->isSummed())
            column->setCondition(condition);
        for (const auto& sub : column->SubColumns())
            if (sub->isSummed())
                sub->setCondition(condition);
    }
}

QString frmBillQuery::chosenText(const QComboBox* combo)
{
    // Only an item chosen from the list counts; "(全部)" and unmatched typing add nothing.
    const int index = combo->findText(combo->currentText(), Qt::MatchExactly);
    return index > 0 ? combo->itemText(index) : QString();
}

bool frmBillQuery::criteria(BillQueryCriteria* out, QString* reason)
{
    BillQueryCriteria c;
    c.billPeriod = chosenText(cboBillPeriod);
    c.useTrueData = chkUseTrueData->isChecked();
    c.saving = chkSaving->isChecked();
    c.haveDiscount = chkHaveDiscount->isChecked();
    c.notOnlyInCash = chkNotOnlyInCash->isChecked();
    c.checkOutNull = chkCheckOutNull->isChecked();
    c.withMemberCheck = chkWithMemberCheck->isChecked();
    c.sumOfInvoice = chkSumOfInvoice->isChecked();
    c.printCount = chkPrintCount->isChecked();
    c.sumPaid = chkSumPaid->isChecked();
    c.memberPriceName = m_memberPriceName;
    c.shiftId = cboShiftID->currentText();
    c.createPerson = chosenText(cboCreatePerson);
    c.chargePerson = chosenText(cboChargePerson);
    c.checkOutPerson = chosenText(cboCheckOutPerson);
    c.tableName = chosenText(cboTableName);
    c.tableAreaName = chosenText(cboTableAreaName);
    c.discountName = chosenText(cboDiscountName);
    c.orderBy = cboOrderBy->currentIndex();
    c.descending = optOrderBy[1]->isChecked();
    if (!m_branch->choose(&c.branch, reason))
        return false;
    *out = c;
    return true;
}

void frmBillQuery::cmdQuery1()
{
    BillQueryCriteria c;
    QString refusal;
    if (!criteria(&c, &refusal))
        throw std::runtime_error(refusal.toStdString());
    ctlQuery1->SetConnection(hostContext().connection());
    ctlQuery1->SetSQL(BillQuerySql(c));
    ctlQuery1->SetParameter(1, dtpBegin->date());
    ctlQuery1->SetParameter(2, dtpEnd->date().addDays(1));
    if (!ctlQuery1->ApplyQuery(false, true, false))
        throw std::runtime_error(ctlQuery1->lastError().toStdString());
    highlightRepeatedSettlements();
}

void frmBillQuery::highlightRepeatedSettlements()
{
    const int last = mSpread1->maxCols();
    mSpread1->setReDraw(false);
    CellStyle red;
    red.foreColor = QColor(255, 0, 0);
    for (int row = 1; row <= mSpread1->maxRows() - 1; ++row) {
        if (mSpread1->text(row, last).toDouble() > 1)
            mSpread1->applyStyle({row, 1, row, last}, red);
    }
    mSpread1->setReDraw(true);
}

void frmBillQuery::cmdOpen()
{
    // The detail window reads the bill number from column 1 of the grid's active row; it is
    // modal, so the screen stays disabled until it closes.
    auto* info = new frmBillInfo();
    info->ShowMe(mSpread1, 1, QString());
}
