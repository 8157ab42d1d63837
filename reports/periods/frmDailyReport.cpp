#include "reports/periods/frmDailyReport.h"

#include "core/HostContext.h"
#include "core/LanguageSection.h"
#include "core/modBranch.h"
#include "core/modMessage.h"
#include "db/SqlError.h"
#include "framework/HostUi.h"
#include "query/ScreenSpec.h"
#include "reports/bills/BillItemQuerySql.h"
#include "reports/bills/frmBillItemQuery.h"
#include "reports/bills/frmBillQuery.h"
#include "reports/periods/frmExpense.h"
#include "reports/periods/frmGroupType.h"
#include "reports/periods/frmPaymentQuery.h"
#include "sheet/Sheet.h"
#include "sheet/SheetView.h"
#include "ui/CriteriaBar.h"
#include "ui/ctlQuery.h"

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

using K = CriterionKind;
using C = DailyReportCriteria;

const ScreenSpec kSpec{
    .name = "frmDailyReport",
    .title = "营业收入日报表",
    .size = {11070, 7980},
    .criteria = CriteriaOf<C>(DailyReportStatements),
    .branch = {DailyBillBranch, DailyItemCostBranch, DailyStockBranch},
    .rows =
        {
            {BeginDate,
             EndDate,
             {.name = "dtpToday",
              .kind = K::Date,
              .label = "当前日期:",
              .labelWidth = 900,
              .width = 1800,
              .into = Into(&C::today)}},
            {BranchCriterionSpec("统计分店:", 1800),
             {.name = "cboCosting",
              .kind = K::List,
              .label = "成本范围:",
              .labelWidth = 900,
              .width = 1800,
              .source = {.kind = ListSource::Items,
                         .items = {{"Msg_ComboBox_All"},
                                   {"Msg_Costing_Use", "生产成本"},
                                   {"Msg_Costing_Sale", "提成成本"}}},
              .into = Into(&C::costing)},
             {.name = "cmdQuery0", .kind = K::Button, .width = 1000, .text = "查询"},
             {.name = "cmdExpense", .kind = K::Button, .width = 1000, .text = "费用登记"},
             {.name = "cmdGroupType", .kind = K::Button, .width = 1000, .text = "项目设置"},
             {.name = "cmdSave", .kind = K::Button, .width = 1000, .text = "导出"}},
            {UseTrueData, Saving},
        },
    .texts =
        {
            {"Msg_ReportTitle", "营业收入日报表"},
            {"Msg_DateTime", "日期："},
            {"Msg_DateTime", "统计期间：从", "From"},
            {"Msg_DateTime", "至", "To"},
            {"Msg_DateTime", "年", "Year"},
            {"Msg_DateTime", "月", "Month"},
            {"Msg_DateTime", "日", "Day"},
            {"Msg_Subject", "项目名称"},
            {"Msg_DateIncome", "本日收入"},
            {"Msg_Percent", "百分比"},
            {"Msg_MonthTotal", "本月累计"},
            {"Msg_DepartType", "项目名称"},
            {"Msg_MonthIncome", "本月收入"},
            {"Msg_DateCost", "本日成本"},
            {"Msg_MonthCost", "本月成本"},
            {"Msg_DateExpenses", "本日费用"},
            {"Msg_MonthExpenses", "本月费用"},
            {"Msg_MonthProfits", "月毛利润"},
            {"Msg_PeopleCount", "人数"},
            {"Msg_AverageConsume", "人均消费"},
            {"Msg_Total", "合计"},
            {"Msg_TotalIncome", "出品小计"},
            {"Msg_SumOfService", "服务费"},
            {"Msg_SumForDiscount", "折扣额"},
            {"Msg_BalanceType_0", "收入小计"},
            {"Msg_BalanceType_1", "费用小计"},
            {"Msg_BillDate", "营业日期必须在所选的时间段内，请调整时间段！"},
            {"Msg_PartsFailed", "报表未能全部生成，以下部分读取失败，相关数字留空："},
            {"Msg_Part_PaymentsDay", "收款方式·本日收入"},
            {"Msg_Part_PaymentsPeriod", "收款方式·本月累计"},
            {"Msg_Part_SalesDay", "出品部门·本日收入"},
            {"Msg_Part_SalesPeriod", "出品部门·本月收入"},
            {"Msg_Part_CostDay", "本日成本"},
            {"Msg_Part_CostPeriod", "本月成本"},
            {"Msg_Part_ExpensesDay", "本日费用"},
            {"Msg_Part_ExpensesPeriod", "本月费用"},
            {"Msg_Drill_NoLines", "这个数字没有可以打开的账单或明细。"},
        },
};

// The lists a figure drills down to: the bills, the payment lines (the payment query's first
// view) and the item lines (the bill item query's first view).
const DrillSpec BillsDrill{.make = []() -> ReportScreen* { return new frmBillQuery; }};
const DrillSpec PaymentsDrill{.make = []() -> ReportScreen* { return new frmPaymentQuery; }};
const DrillSpec ItemsDrill{.make = []() -> ReportScreen* { return new frmBillItemQuery; },
                           .view = ItemLines};

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

// The names of the parts of a run, by DailyReportFigures::Part.
const char* const PartKeys[DailyReportFigures::PartCount] = {
    "Msg_Part_PaymentsDay", "Msg_Part_PaymentsPeriod", "Msg_Part_SalesDay",
    "Msg_Part_SalesPeriod", "Msg_Part_CostDay",        "Msg_Part_CostPeriod",
    "Msg_Part_ExpensesDay", "Msg_Part_ExpensesPeriod"};

QString msgText(const LanguageSection* texts, const char* key)
{
    return texts->text(QString::fromLatin1(key), QStringLiteral("Default"));
}

// "...: cost of the day, cost of the period (no such table: st_Bill ...); ...": the parts that
// failed alike named together before their error.
QString failureText(const LanguageSection* texts,
                    const QList<DailyReportFigures::Failure>& failures)
{
    QStringList errors;
    QList<QStringList> parts;
    for (const DailyReportFigures::Failure& f : failures) {
        qsizetype i = errors.indexOf(f.error);
        if (i < 0) {
            i = errors.size();
            errors << f.error;
            parts << QStringList();
        }
        parts[i] << msgText(texts, PartKeys[f.part]);
    }
    QStringList text;
    for (qsizetype i = 0; i < errors.size(); ++i)
        text << parts.at(i).join(QStringLiteral(", ")) + QStringLiteral(" (") + errors.at(i) +
                    QLatin1Char(')');
    return msgText(texts, "Msg_PartsFailed") + text.join(QStringLiteral("; "));
}

} // namespace

frmDailyReport::frmDailyReport(QWidget* parent)
    : ReportScreen(kSpec, parent), m_sheet(std::make_unique<Sheet>())
{
    m_sheet->setObjectName(QStringLiteral("sprDateReport"));
    sprDateReport = new SheetView(m_sheet.get());
    sprDateReport->setObjectName(QStringLiteral("sprDateReport"));
    setBody(sprDateReport);

    auto clicked = [this](const char* button, auto slot) {
        connect(static_cast<QPushButton*>(m_criteria->control(button)), &QPushButton::clicked, this,
                slot);
    };
    clicked("cmdQuery0", [this] { runRefresh(); });
    clicked("cmdExpense", [this] { cmdExpense_Click(); });
    clicked("cmdGroupType", [this] { cmdGroupType_Click(); });
    clicked("cmdSave", [this] { saveGrid(); });
    connect(sprDateReport, &SheetView::cellDoubleClicked, this, [this](int row, int col) {
        try {
            runWithScreenDisabled([&] {
                if (!drillTo(row, col))
                    setStatusText(lastError());
            });
        } catch (const std::exception&) {
        }
    });
}

frmDailyReport::~frmDailyReport()
{
    // The view goes with the widget tree; it must not outlive its sheet's signals.
    sprDateReport->setSheet(nullptr);
}

QStringList frmDailyReport::captions() const
{
    QStringList list;
    for (const auto& key : CaptionKeys)
        list << languageTexts()->text(QString::fromLatin1(key[0]), QString::fromLatin1(key[1]));
    return list;
}

void frmDailyReport::formLoad()
{
    m_captions = captions();
    m_report = std::make_unique<DailyReportSheet>(m_sheet.get(), m_captions);

    const QDate today = QDate::currentDate();
    dtpBegin->setDate(QDate(today.year(), today.month(), 1));

    m_sheet->setReDraw(false);
    layoutSheet();
    m_sheet->setReDraw(true);
}

QString frmDailyReport::layoutSheet()
{
    const ConnectionPtr db = hostContext().connection();
    const DailyReportLists lists =
        DailyReportLists::load(db, m_captions.at(DailyReportSheet::BalanceType0),
                               m_captions.at(DailyReportSheet::BalanceType1));
    m_report->layout(lists, m_criteria->shown(&C::today), beginDate(), endDate());
    return lists.failure;
}

void frmDailyReport::cmdQuery1()
{
    const QDate today = m_criteria->shown(&C::today);
    if (today < beginDate() || today > endDate()) {
        const QString refusal = msgText(languageTexts(), "Msg_BillDate");
        Refuse(this, refusal);
        throw std::runtime_error(refusal.toStdString());
    }
    m_shownDay = QDate();                          // no figures to drill into until these are drawn
    const CriteriaValue criteria = readCriteria(); // throws when refused
    const C& c = criteria.as<C>();
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
    // A subject or department list that cannot be read would leave its rows out of a sheet
    // that looks complete.
    if (const QString failure = layoutSheet(); !failure.isEmpty())
        throw SqlError(failure);
    const DailyReportFigures figures = DailyReportFigures::read(
        hostContext().connection(), c, m_report->lists(), branchScope(criteria));
    try {
        m_report->render(figures);
    } catch (const MoneyOverflow& e) {
        throw std::runtime_error(ctlQuery::fillTexts().overflow.arg(e.column()).toStdString());
    }
    m_shownDay = c.today;
    m_shownBegin = c.range.begin;
    m_shownEnd = c.range.end;
    const int dpi = logicalDpiX() > 0 ? logicalDpiX() : 96;
    m_report->fitColumns(1440.0 / dpi);
    if (!figures.failures.isEmpty())
        throw std::runtime_error(failureText(languageTexts(), figures.failures).toStdString());
}

bool frmDailyReport::drillTo(int row, int column)
{
    using S = DailyReportSheet::Source;
    const S source = m_report ? m_report->sourceAt(row, column) : S();
    if (!m_shownDay.isValid() || source.kind == S::None) {
        setLastError(msgText(languageTexts(), "Msg_Drill_NoLines"));
        return false;
    }
    const QString format = QStringLiteral("yyyy-MM-dd");
    QList<QPair<QString, QString>> keys{
        {QStringLiteral("dtpBegin"), (source.period ? m_shownBegin : m_shownDay).toString(format)},
        {QStringLiteral("dtpEnd"), (source.period ? m_shownEnd : m_shownDay).toString(format)}};
    switch (source.kind) {
    case S::Bills:
        keys.append({QStringLiteral("Settled"), QStringLiteral("1")});
        return openDrilled(BillsDrill, keys);
    case S::SubjectPayments:
        keys.append({QStringLiteral("SubjectID"), source.key});
        return openDrilled(PaymentsDrill, keys);
    case S::BalancePayments:
        keys.append({QStringLiteral("BalanceType"), source.key});
        return openDrilled(PaymentsDrill, keys);
    case S::DepartTypeItems:
        keys.append({QStringLiteral("DepartTypeName"), source.key});
        return openDrilled(ItemsDrill, keys);
    case S::GroupItems:
        keys.append({QStringLiteral("GroupTypeID"), source.key});
        return openDrilled(ItemsDrill, keys);
    case S::None:
        break;
    }
    return false;
}

void frmDailyReport::cmdExpense_Click()
{
    bool changed = false;
    frmExpense expense(this);
    expense.ShowMe(beginDate(), endDate(), m_criteria->shown(&C::today), changed);
    if (changed)
        runRefresh();
}

void frmDailyReport::cmdGroupType_Click()
{
    auto* groups = new frmGroupType(this);
    groups->setAttribute(Qt::WA_DeleteOnClose);
    groups->ShowMe();
}
