#include "reports/periods/frmDailyReport.h"

#include "core/HostContext.h"
#include "core/LanguageSection.h"
#include "core/modBranch.h"
#include "core/modMessage.h"
#include "framework/HostUi.h"
#include "reports/periods/frmExpense.h"
#include "reports/periods/frmGroupType.h"
#include "screens/BranchCriterion.h"
#include "screens/DropDownComboBox.h"
#include "screens/frmPrintSpread.h"
#include "screens/frmViewSpread.h"
#include "screens/sheet/Sheet.h"
#include "screens/sheet/SheetOutput.h"
#include "screens/sheet/SheetView.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

const QString Title = QStringLiteral("营业收入日报表");

const LanguageSection
    kTexts("frmDailyReport",
           {
               {"frmDailyReport", "Caption", "营业收入日报表"},
               {"lblBar", "Caption", "营业收入日报表"},
               {"lblBegin", "Caption", "开始日期:"},
               {"lblEnd", "Caption", "结束日期:"},
               {"lblToday", "Caption", "当前日期:"},
               {"lblBranch", "Caption", "统计分店:"},
               {"lblCosting", "Caption", "成本范围:"},
               {"lblUseTrueData", "Caption", "包含已经删除的数据"},
               {"lblSaving", "Caption", "不含会员卡充值的数据"},
               {"cmdQuery0", "Caption", "查询"},
               {"cmdExpense", "Caption", "费用登记"},
               {"cmdGroupType", "Caption", "项目设置"},
               {"cmdSave", "Caption", "导出"},
               {"Msg_ReportTitle", "Default", "营业收入日报表"},
               {"Msg_DateTime", "Default", "日期："},
               {"Msg_DateTime", "From", "统计期间：从"},
               {"Msg_DateTime", "To", "至"},
               {"Msg_DateTime", "Year", "年"},
               {"Msg_DateTime", "Month", "月"},
               {"Msg_DateTime", "Day", "日"},
               {"Msg_Subject", "Default", "项目名称"},
               {"Msg_DateIncome", "Default", "本日收入"},
               {"Msg_Percent", "Default", "百分比"},
               {"Msg_MonthTotal", "Default", "本月累计"},
               {"Msg_DepartType", "Default", "项目名称"},
               {"Msg_MonthIncome", "Default", "本月收入"},
               {"Msg_DateCost", "Default", "本日成本"},
               {"Msg_MonthCost", "Default", "本月成本"},
               {"Msg_DateExpenses", "Default", "本日费用"},
               {"Msg_MonthExpenses", "Default", "本月费用"},
               {"Msg_MonthProfits", "Default", "月毛利润"},
               {"Msg_PeopleCount", "Default", "人数"},
               {"Msg_AverageConsume", "Default", "人均消费"},
               {"Msg_Total", "Default", "合计"},
               {"Msg_TotalIncome", "Default", "出品小计"},
               {"Msg_SumOfService", "Default", "服务费"},
               {"Msg_SumForDiscount", "Default", "折扣额"},
               {"Msg_BalanceType_0", "Default", "收入小计"},
               {"Msg_BalanceType_1", "Default", "费用小计"},
               {"Msg_Costing_Use", "Default", "生产成本"},
               {"Msg_Costing_Sale", "Default", "提成成本"},
               {"Msg_BillDate", "Default", "营业日期必须在所选的时间段内，请调整时间段！"},
               {"Msg_Filter_XLS", "Default", "Excel文件 (*.xls)"},
               {"Msg_Filter_HTM", "Default", "网页文件 (*.htm; *.html)"},
               {"Msg_Filter_RPT", "Default", "报表文件 (*.rpt)"},
               {"Msg_Filter_TXT", "Default", "文本文件 (*.txt)"},
               {"Msg_Filter_XML", "Default", "XML文件 (*.xml)"},
               {"Msg_PartsFailed", "Default", "报表未能全部生成，以下部分读取失败，相关数字留空："},
               {"Msg_Part_PaymentsDay", "Default", "收款方式·本日收入"},
               {"Msg_Part_PaymentsPeriod", "Default", "收款方式·本月累计"},
               {"Msg_Part_SalesDay", "Default", "出品部门·本日收入"},
               {"Msg_Part_SalesPeriod", "Default", "出品部门·本月收入"},
               {"Msg_Part_CostDay", "Default", "本日成本"},
               {"Msg_Part_CostPeriod", "Default", "本月成本"},
               {"Msg_Part_ExpensesDay", "Default", "本日费用"},
               {"Msg_Part_ExpensesPeriod", "Default", "本月费用"},
           });

// The caption table: key and property of captions 0 to 27.
const char* const CaptionKeys[DailyReportSheet::CaptionCount][2] = {
    {"Msg_ReportTitle", "Default"},   {"Msg_DateTime", "Default"},
    {"Msg_DateTime", "From"},         {"Msg_DateTime", "To"},
    {"Msg_DateTime", "Year"},         {"Msg_DateTime", "Month"},
    {"Msg_DateTime", "Day"},          {"Msg_Subject", "Default"},
    {"Msg_DateIncome", "Default"},    {"Msg_Percent", "Default"},
    {"Msg_MonthTotal", "Default"},    {"Msg_DepartType", "Default"},
    {"Msg_MonthIncome", "Default"},   {"Msg_DateCost", "Default"},
    {"Msg_MonthCost", "Default"},     {"Msg_DateExpenses", "Default"},
    {"Msg_MonthExpenses", "Default"}, {"Msg_MonthProfits", "Default"},
    {"Msg_PeopleCount", "Default"},   {"Msg_AverageConsume", "Default"},
    {"Msg_Total", "Default"},         {"Msg_TotalIncome", "Default"},
    {"Msg_SumOfService", "Default"},  {"Msg_SumForDiscount", "Default"},
    {"Msg_BalanceType_0", "Default"}, {"Msg_BalanceType_1", "Default"},
    {"Msg_Costing_Use", "Default"},   {"Msg_Costing_Sale", "Default"},
};

const char* const FilterKeys[5] = {"Msg_Filter_XLS", "Msg_Filter_HTM", "Msg_Filter_RPT",
                                   "Msg_Filter_TXT", "Msg_Filter_XML"};
const char* const FilterPatterns[5] = {"*.xls", "*.htm; *.html", "*.rpt", "*.txt", "*.xml"};
const char* const FilterExtensions[5] = {"xls", "htm", "rpt", "txt", "xml"};

// The names of the parts of a run, by DailyReportSheet::Part.
const char* const PartKeys[DailyReportSheet::PartCount] = {
    "Msg_Part_PaymentsDay", "Msg_Part_PaymentsPeriod", "Msg_Part_SalesDay",
    "Msg_Part_SalesPeriod", "Msg_Part_CostDay",        "Msg_Part_CostPeriod",
    "Msg_Part_ExpensesDay", "Msg_Part_ExpensesPeriod"};

constexpr int RowHeight = 300;
constexpr int Row1 = 60, Row2 = 420, Row3 = 780;

QString msgText(const char* key)
{
    return kTexts.text(QString::fromLatin1(key), QStringLiteral("Default"));
}

// "...: cost of the day, cost of the period (no such table: st_Bill ...); ...": the parts that
// failed alike named together before their error.
QString failureText(const QList<DailyReportSheet::Failure>& failures)
{
    QStringList errors;
    QList<QStringList> parts;
    for (const DailyReportSheet::Failure& f : failures) {
        qsizetype i = errors.indexOf(f.error);
        if (i < 0) {
            i = errors.size();
            errors << f.error;
            parts << QStringList();
        }
        parts[i] << msgText(PartKeys[f.part]);
    }
    QStringList text;
    for (qsizetype i = 0; i < errors.size(); ++i)
        text << parts.at(i).join(QStringLiteral(", ")) + QStringLiteral(" (") + errors.at(i) +
                    QLatin1Char(')');
    return msgText("Msg_PartsFailed") + text.join(QStringLiteral("; "));
}

} // namespace

frmDailyReport::frmDailyReport(QWidget* parent)
    : ReportScreen(QStringLiteral("frmDailyReport"), Title, Title, QSize(11070, 7980), parent),
      m_sheet(std::make_unique<Sheet>())
{
    setCriteriaHeight(1140);

    place(lblBegin, 120, Row1, 900, RowHeight);
    place(dtpBegin, 1020, Row1, 1800, RowHeight);
    place(lblEnd, 2940, Row1, 900, RowHeight);
    place(dtpEnd, 3840, Row1, 1800, RowHeight);
    lblToday = addLabel("lblToday", "当前日期:", 5760, Row1, 900);
    dtpToday = addControl<QDateEdit>("dtpToday", 6660, Row1, 1800);
    dtpToday->setCalendarPopup(true);
    dtpToday->setMaximumDate(LastDate);

    lblBranch = addLabel("lblBranch", "统计分店:", 120, Row2, 900);
    cboBranch = addControl<DropDownComboBox>("cboBranch", 1020, Row2, 1800);
    lblCosting = addLabel("lblCosting", "成本范围:", 2940, Row2, 900);
    cboCosting = addControl<QComboBox>("cboCosting", 3840, Row2, 1800);
    cmdQuery0 = addButton("cmdQuery0", "查询", 5760, Row2 - 30, 1000);
    cmdExpense = addButton("cmdExpense", "费用登记", 6820, Row2 - 30, 1000);
    cmdGroupType = addButton("cmdGroupType", "项目设置", 7880, Row2 - 30, 1000);
    cmdSave = addButton("cmdSave", "导出", 8940, Row2 - 30, 1000);

    place(chkUseTrueData, 120, Row3, 260, RowHeight);
    place(lblUseTrueData, 400, Row3, 2300, RowHeight);
    place(chkSaving, 2760, Row3, 260, RowHeight);
    place(lblSaving, 3040, Row3, 2300, RowHeight);

    m_sheet->setObjectName(QStringLiteral("sprDateReport"));
    sprDateReport = new SheetView(m_sheet.get());
    sprDateReport->setObjectName(QStringLiteral("sprDateReport"));
    setBody(sprDateReport);

    connect(cmdQuery0, &QPushButton::clicked, this, [this] { runRefresh(); });
    connect(cmdExpense, &QPushButton::clicked, this, [this] { cmdExpense_Click(); });
    connect(cmdGroupType, &QPushButton::clicked, this, [this] { cmdGroupType_Click(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { saveGrid(); });
    m_branch = new BranchCriterion(cboBranch, QStringLiteral("bi_Bill"), this);
}

frmDailyReport::~frmDailyReport()
{
    // The view goes with the widget tree; it must not outlive its sheet's signals.
    sprDateReport->setSheet(nullptr);
}

const LanguageSection* frmDailyReport::languageTexts() const
{
    return &kTexts;
}

QStringList frmDailyReport::captions()
{
    QStringList list;
    for (const auto& key : CaptionKeys)
        list << kTexts.text(QString::fromLatin1(key[0]), QString::fromLatin1(key[1]));
    return list;
}

void frmDailyReport::formLoad()
{
    m_captions = captions();
    m_report = std::make_unique<DailyReportSheet>(m_sheet.get(), m_captions);

    const QDate today = QDate::currentDate();
    dtpToday->setDisplayFormat(dtpEnd->displayFormat());
    dtpToday->setDate(today);
    dtpBegin->setDate(QDate(today.year(), today.month(), 1));
    dtpEnd->setDate(today);

    const QString all = Msg(QStringLiteral("Msg_ComboBox_All"));
    m_branch->reset();
    cboCosting->clear();
    cboCosting->addItems({all, m_captions.at(DailyReportSheet::CostingUse),
                          m_captions.at(DailyReportSheet::CostingSale)});
    cboCosting->setCurrentIndex(0);
    chkSaving->setChecked(false);

    m_sheet->setReDraw(false);
    layoutSheet();
    m_sheet->setReDraw(true);
}

QList<QList<QWidget*>> frmDailyReport::englishLayoutRows() const
{
    return {
        {lblBegin, dtpBegin, lblEnd, dtpEnd, lblToday, dtpToday},
        {lblBranch, cboBranch, lblCosting, cboCosting, cmdQuery0, cmdExpense, cmdGroupType,
         cmdSave},
        {chkUseTrueData, lblUseTrueData, chkSaving, lblSaving},
    };
}

void frmDailyReport::layoutSheet()
{
    const ConnectionPtr db = hostContext().connection();
    const DailyReportLists lists =
        DailyReportLists::load(db, m_captions.at(DailyReportSheet::BalanceType0),
                               m_captions.at(DailyReportSheet::BalanceType1));
    m_report->layout(lists, dtpToday->date(), dtpBegin->date(), dtpEnd->date());
}

bool frmDailyReport::criteria(DailyReportCriteria* c, QString* reason)
{
    c->useTrueData = chkUseTrueData->isChecked();
    c->saving = chkSaving->isChecked();
    c->costing = std::max(0, cboCosting->currentIndex());
    return m_branch->choose(&c->branch, reason);
}

void frmDailyReport::cmdQuery1()
{
    if (dtpToday->date() < dtpBegin->date() || dtpToday->date() > dtpEnd->date()) {
        MsgBox(msgText("Msg_BillDate"), QMessageBox::Information, QMessageBox::Ok, this);
        throw std::runtime_error(msgText("Msg_BillDate").toStdString());
    }
    DailyReportCriteria c;
    QString refusal;
    if (!criteria(&c, &refusal))
        throw std::runtime_error(refusal.toStdString());
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct Restore
    {
        Sheet* sheet;
        ~Restore()
        {
            sheet->setReDraw(true);
            QApplication::restoreOverrideCursor();
        }
    } restore{m_sheet.get()};
    m_sheet->setReDraw(false);
    layoutSheet();
    const QList<DailyReportSheet::Failure> failures = m_report->fill(
        hostContext().connection(), c, dtpToday->date(), dtpBegin->date(), dtpEnd->date());
    const int dpi = logicalDpiX() > 0 ? logicalDpiX() : 96;
    m_report->fitColumns(1440.0 / dpi);
    if (!failures.isEmpty())
        throw std::runtime_error(failureText(failures).toStdString());
}

void frmDailyReport::cmdPrint1()
{
    auto* dialog = new frmPrintSpread(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->ShowMe(m_sheet.get(), windowTitle());
}

void frmDailyReport::toggleFullScreen()
{
    auto* viewer = new frmViewSpread(this);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->ShowSpread(m_sheet.get(), windowTitle());
}

void frmDailyReport::saveGrid()
{
    if (HostUi::isHeadless())
        return;
    QStringList filters;
    for (int i = 0; i < 5; ++i)
        filters << frmViewSpread::qtFilter(msgText(FilterKeys[i]),
                                           QString::fromLatin1(FilterPatterns[i]));
    QString selected = filters.first();
    const QString path = QFileDialog::getSaveFileName(
        this, QString(), windowTitle(), filters.join(QStringLiteral(";;")), &selected);
    if (path.isEmpty())
        return;
    saveTo(path, int(filters.indexOf(selected)) + 1);
}

bool frmDailyReport::saveTo(const QString& path, int filter)
{
    if (path.isEmpty())
        return false;
    QString target = path;
    if (filter >= 1 && filter <= 5) {
        const QString ext = QFileInfo(path).suffix().toLower();
        const QString patterns = QString::fromLatin1(FilterPatterns[filter - 1]);
        const bool matches = !ext.isEmpty() && patterns.contains(QStringLiteral("*.") + ext) &&
                             (patterns.contains(QStringLiteral("*.") + ext + QLatin1Char(';')) ||
                              patterns.endsWith(QStringLiteral("*.") + ext));
        if (!matches && !(filter == 1 && ext == QLatin1String("xlsx")))
            target += QLatin1Char('.') + QString::fromLatin1(FilterExtensions[filter - 1]);
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = SheetOutput::save(*m_sheet, target, windowTitle());
    QApplication::restoreOverrideCursor();
    return ok;
}

void frmDailyReport::cmdExpense_Click()
{
    bool changed = false;
    frmExpense expense(this);
    expense.ShowMe(dtpBegin->date(), dtpEnd->date(), dtpToday->date(), changed);
    if (changed)
        runRefresh();
}

void frmDailyReport::cmdGroupType_Click()
{
    auto* groups = new frmGroupType(this);
    groups->setAttribute(Qt::WA_DeleteOnClose);
    groups->ShowMe();
}
