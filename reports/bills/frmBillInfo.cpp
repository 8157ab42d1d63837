#include "reports/bills/frmBillInfo.h"

#include "core/HostContext.h"
#include "core/LanguageSection.h"
#include "core/frmHelp.h"
#include "core/modBranch.h"
#include "core/modMessage.h"
#include "db/Money.h"
#include "db/Recordset.h"
#include "framework/Bill.h"
#include "framework/FrameworkSql.h"
#include "framework/HostUi.h"
#include "query/QueryColumn.h"
#include "query/QueryColumns.h"
#include "reports/bills/BillHeaderPanel.h"
#include "reports/bills/BillInfoSql.h"
#include "reports/bills/BillPanel.h"
#include "reports/bills/BillReprint.h"
#include "sheet/Sheet.h"
#include "sheet/Twips.h"
#include "ui/ctlQuery.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QHeaderView>
#include <QPushButton>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const LanguageSection kTexts("frmBillInfo",
                             {
                                 {"frmBillInfo", "Caption", "账单详细信息"},
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
                                 {"cmdUnCheckBill", "Caption", "反结账记录"},
                                 {"Msg_Print_Confirm", "Default", "确定要重新打印历史账单吗？"},
                                 {"Msg_Print_Fault", "Default", "重新打印账单失败！"},
                                 {"Msg_UnCheckBill_Index", "Default", "序"},
                                 {"Msg_UnCheckBill_UnCheckTime", "Default", "反结账时间"},
                                 {"Msg_UnCheckBill_UnCheckPerson", "Default", "反结账人"},
                                 {"Msg_UnCheckBill_SumPaid", "Default", "结账金额"},
                                 {"ctlQuery1", "Title", "消费明细表"},
                                 {"ctlQuery1", "MenuID", "菜号"},
                                 {"ctlQuery1", "MenuName", "菜名"},
                                 {"ctlQuery1", "CookWay", "做法"},
                                 {"ctlQuery1", "CreatePerson", "点菜人"},
                                 {"ctlQuery1", "IsSentMenu", "赠送"},
                                 {"ctlQuery1", "AmountOfConsume", "消费数量"},
                                 {"ctlQuery1", "AmountOrder", "点菜"},
                                 {"ctlQuery1", "AmountCancel", "退菜"},
                                 {"ctlQuery1", "AmountOrder_AmountCancel", "消费"},
                                 {"ctlQuery1", "MenuUnitName", "单位"},
                                 {"ctlQuery1", "SumOfConsume", "消费额"},
                                 {"ctlQuery1", "SumOfService", "服务费"},
                                 {"ctlQuery1", "SumForDiscount", "折扣额"},
                                 {"ctlQuery1", "theSum", "小计"},
                                 {"ctlQuery1", "CreateTime", "点菜时间"},
                                 {"ctlQuery2", "Title", "支付明细表"},
                                 {"ctlQuery2", "SubjectID", "编码"},
                                 {"ctlQuery2", "SubjectName", "支付方式"},
                                 {"ctlQuery2", "ExchangeRate", "汇率"},
                                 {"ctlQuery2", "PaySum", "支付金额"},
                                 {"ctlQuery2", "SumPaid", "换算后金额"},
                             });

constexpr int Grey = 0xE0E0E0;   // light grey, as BGR
constexpr int Yellow = 0xC0FFFF; // light yellow, as BGR
constexpr int ListWidthTwips = 6000;
constexpr int ListHeightTwips = 2200;

struct Key
{
    const char* key;
    const char* caption;
};
const Key ToolbarKeys[] = {{"Refresh", "刷新"}, {"Prev", "前单"}, {"Next", "后单"},
                           {"Print", "打印"},   {"Help", "帮助"}, {"Exit", "退出"}};

// The item lines' columns: the dish, gift mark, quantities ordered, returned and consumed,
// amounts and the time it was ordered.
void itemColumns(QueryColumns& c)
{
    //     field                      caption   condition                      sum  kind width back
    c.Add("MenuID", "菜号", "", "", false, 0, false, 1, 800, -1, true);
    c.Add("MenuName", "菜名", "", "", false, 0, false, 1, 1500, -1, true);
    c.Add("CookWay", "做法", "", "", false, 0, false, 1, 750, -1, true);
    c.Add("CreatePerson", "点菜人", "", "", false, 0, false, 1, 700, -1, true);
    c.Add("'√'|IsSentMenu", "赠送", "IsSentMenu<>0", "", false, 0, false, 1, 550, -1, true);
    QueryColumns& amount =
        c.Add("|AmountOfConsume", "消费数量", "", "", false, 0, false, 1, -1, -1, true)
            ->SubColumns();
    amount.add("AmountOrder", "点菜", "AmountOrder<>0", "", false, 0, true, 13, 500, Grey, true);
    amount.add("AmountCancel", "退菜", "AmountCancel<>0", "", false, 0, true, 13, 500, Grey, true);
    amount.add("AmountOrder-AmountCancel|AmountOrder_AmountCancel", "消费",
               "(AmountOrder-AmountCancel)<>0", "", false, 0, true, 13, 500, Grey, true);
    c.Add("MenuUnitName", "单位", "", "", false, 0, false, 1, 650, -1, true);
    c.Add("SumOfConsume", "消费额", "SumOfConsume<>0 AND IsSentMenu=0", "", false, 0, true, 13, 700,
          Yellow, true);
    c.Add("SumOfService", "服务费", "SumOfService<>0 AND IsSentMenu=0", "", false, 0, true, 13, 700,
          Yellow, true);
    c.Add("SumForDiscount", "折扣额", "SumForDiscount<>0 AND IsSentMenu=0", "", false, 0, true, 13,
          700, Yellow, true);
    c.Add("theSum", "小计", "theSum<>0 AND IsSentMenu=0", "", false, 0, true, 13, 700, Yellow,
          true);
    c.Add("CreateTime", "点菜时间", "", "", false, 0, false, 1, 1650, -1, true);
}

void paymentColumns(QueryColumns& p)
{
    p.Add("SubjectID", "编码", "", "", false, 0, false, 1, 2000, -1, true);
    p.Add("SubjectName", "支付方式", "", "", false, 0, false, 1, 3060, -1, true);
    p.Add("ExchangeRate", "汇率", "", "", false, 0, false, 13, 2000, Yellow, true);
    p.Add("PaySum", "支付金额", "", "", false, 0, false, 13, 2000, Grey, true);
    p.Add("SumPaid", "换算后金额", "", "", false, 0, true, 13, 2000, -1, true);
}

// The last row of the grid that holds anything (0 for an empty grid).
int lastDataRow(const Sheet& sheet)
{
    for (int row = sheet.maxRows(); row >= 1; --row)
        for (int col = 1; col <= sheet.maxCols(); ++col)
            if (!sheet.isEmpty(row, col))
                return row;
    return 0;
}

} // namespace

const LanguageSection& frmBillInfo::texts()
{
    return kTexts;
}

frmBillInfo::frmBillInfo(QWidget* parent)
    : QDialog(parent), m_bill(std::make_unique<Bill>(hostContext().connection()))
{
    m_bill->setScope(UserBillScope()); // a number typed or stepped to shows only the user's bills
    setObjectName(QStringLiteral("frmBillInfo"));
    setWindowTitle(QStringLiteral("账单详细信息"));
    resize(twipsToPixelsX(11700, this), twipsToPixelsY(8400, this));
    connect(this, &QDialog::finished, this, &QObject::deleteLater);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 4);
    layout->setSpacing(4);

    tlbMain = new QToolBar(this);
    tlbMain->setObjectName(QStringLiteral("tlbMain"));
    tlbMain->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const Key& k : ToolbarKeys) {
        auto* action = tlbMain->addAction(QString::fromUtf8(k.caption));
        action->setObjectName(QString::fromLatin1(k.key));
        const QString key = action->objectName();
        connect(action, &QAction::triggered, this, [this, key] { onToolbarKey(key); });
    }
    layout->addWidget(tlbMain);

    m_panel = new BillPanel({itemColumns, {1, 3, 4, 5, 9, 14}, paymentColumns}, this);
    cmdUnCheckBill = new QPushButton(QStringLiteral("反结账记录"), m_panel->header());
    cmdUnCheckBill->setObjectName(QStringLiteral("cmdUnCheckBill"));
    cmdUnCheckBill->setAutoDefault(false);
    m_panel->header()->addTrailingWidget(cmdUnCheckBill);
    connect(cmdUnCheckBill, &QPushButton::clicked, this, [this] { cmdUnCheckBill_Click(); });
    layout->addWidget(m_panel, 1);

    lvwUnCheckBill = new QTreeWidget(this);
    lvwUnCheckBill->setObjectName(QStringLiteral("lvwUnCheckBill"));
    lvwUnCheckBill->setRootIsDecorated(false);
    lvwUnCheckBill->setSelectionMode(QAbstractItemView::SingleSelection);
    lvwUnCheckBill->resize(twipsToPixelsX(ListWidthTwips, this),
                           twipsToPixelsY(ListHeightTwips, this));
    lvwUnCheckBill->hide();
    lvwUnCheckBill->installEventFilter(this);
    connect(lvwUnCheckBill, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        if (item)
            runQueries();
    });

    // Load: captions and messages through the language file, then both grids' columns.
    kTexts.translate(this);
    TranslateToolbar(tlbMain);
    m_panel->setUpGrids(this);
}

frmBillInfo::~frmBillInfo() = default;

QString frmBillInfo::billId() const
{
    return m_panel->header()->billTag();
}

Sheet* frmBillInfo::grid() const
{
    return m_panel->items()->Grid();
}

void OpenBillDetail(Sheet* grid, int column)
{
    // Modal: the report stays disabled until it closes; a window that finds no bill goes away.
    auto* info = new frmBillInfo();
    info->ShowMe(grid, column, QString());
}

bool frmBillInfo::ShowMe(Sheet* grid, int billColumn, const QString& billID)
{
    m_grid = grid;
    m_billColumn = billColumn;
    const bool gridMode = grid != nullptr;
    if (!gridMode) {
        fillHeader(billID);
        runQueries();
    } else {
        bool found = false;
        ShowBillInfo(QString(), found);
        if (!found) {
            // No bill, or one that cannot be read: the latter is said, not taken for the former.
            if (!m_bill->lastError().isEmpty())
                MsgBox(m_bill->lastError(), QMessageBox::Warning, QMessageBox::Ok, this);
            deleteLater();
            return false;
        }
    }
    for (const char* key : {"Prev", "Next"})
        if (auto* action = tlbMain->findChild<QAction*>(QString::fromLatin1(key)))
            action->setEnabled(gridMode);
    QCoreApplication::processEvents();
    if (!isVisible()) {
        if (HostUi::isHeadless())
            show(); // a headless run never waits on a window
        else
            exec();
    }
    QCoreApplication::processEvents();
    return true;
}

void frmBillInfo::ShowBillInfo(const QString& direction, bool& found)
{
    found = false;
    Sheet* grid = m_grid;
    if (!grid)
        return;
    const int last = lastDataRow(*grid);
    if (last == 0)
        return;
    const int active = grid->activeRow();
    auto qualifies = [&](int row) {
        const QString id = grid->text(row, m_billColumn);
        return !id.isEmpty() && m_bill->load(id);
    };
    int chosen = 0;
    if (direction == QLatin1String("+")) {
        if (active >= last)
            return;
        for (int row = active + 1; row <= last && !chosen; ++row)
            if (qualifies(row))
                chosen = row;
    } else if (direction == QLatin1String("-")) {
        if (active < 2)
            return;
        for (int row = active - 1; row >= 1 && !chosen; --row)
            if (qualifies(row))
                chosen = row;
    } else {
        if (active < 0)
            return;
        if (active >= 1 && qualifies(active))
            chosen = active;
    }
    if (!chosen)
        return; // the window keeps what it showed
    if (direction == QLatin1String("+") || direction == QLatin1String("-"))
        grid->setActiveCell(chosen, 1);
    found = true;
    fillHeader(grid->text(chosen, m_billColumn));
    runQueries();
}

void frmBillInfo::fillHeader(const QString& billId)
{
    m_panel->showHeader(m_bill->load(billId.trimmed()) ? m_bill.get() : nullptr);

    if (lvwUnCheckBill->property("Tag").toString() != QLatin1String("Loaded")) {
        const int width = ListWidthTwips;
        lvwUnCheckBill->setColumnCount(4);
        lvwUnCheckBill->setHeaderLabels(
            {kTexts.text(QStringLiteral("Msg_UnCheckBill_Index"), QStringLiteral("Default")),
             kTexts.text(QStringLiteral("Msg_UnCheckBill_UnCheckTime"), QStringLiteral("Default")),
             kTexts.text(QStringLiteral("Msg_UnCheckBill_UnCheckPerson"),
                         QStringLiteral("Default")),
             kTexts.text(QStringLiteral("Msg_UnCheckBill_SumPaid"), QStringLiteral("Default"))});
        const int widths[4] = {500, (width - 1000) / 2, (width - 1000) / 4, (width - 1000) / 4};
        for (int i = 0; i < 4; ++i)
            lvwUnCheckBill->setColumnWidth(i, twipsToPixelsX(widths[i], this));
        lvwUnCheckBill->setProperty("Tag", QStringLiteral("Loaded"));
    }
    lvwUnCheckBill->clear();
    const ConnectionPtr connection = hostContext().connection();
    if (!connection)
        return;
    try {
        auto rs = connection->execute(UnCheckBillListSql(billId.trimmed()));
        int n = 0;
        for (; !rs->atEnd(); rs->moveNext()) {
            auto* item = new QTreeWidgetItem(lvwUnCheckBill);
            item->setText(0, QString::number(++n) + QLatin1Char(' '));
            item->setData(0, Qt::UserRole, rs->value(QStringLiteral("UnCheckBillID")).toString());
            const QDateTime time =
                FrameworkSql::toDateTime(rs->value(QStringLiteral("UnCheckTime")));
            item->setText(1, time.isValid() ? time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                            : QString());
            item->setText(2, rs->value(QStringLiteral("UnCheckPerson")).toString());
            item->setText(3, Money::fromVariant(rs->value(QStringLiteral("SumPaid"))).toString(2));
            item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
        }
    } catch (const SqlError& e) {
        // A list that cannot be read says so in place of its rows (an empty one would read
        // "never reversed").
        lvwUnCheckBill->clear();
        auto* item = new QTreeWidgetItem(lvwUnCheckBill);
        item->setText(1, QStringLiteral("cannot read the reverse settlements (bi_UnCheckBill): ") +
                             e.message());
        item->setToolTip(1, item->text(1));
        item->setFlags(Qt::NoItemFlags);
        item->setFirstColumnSpanned(true);
        item->setText(0, item->text(1));
        item->setText(1, QString());
    }
}

void frmBillInfo::runQueries()
{
    QString snapshot;
    if (lvwUnCheckBill->isVisible())
        if (QTreeWidgetItem* item = lvwUnCheckBill->currentItem(); item && item->isSelected())
            snapshot = item->data(0, Qt::UserRole).toString();
    const QString bill = billId();
    m_panel->showLines(BillInfoItemsSql(bill, snapshot), BillInfoPaymentsSql(bill, snapshot));
}

void frmBillInfo::onToolbarKey(const QString& key)
{
    try {
        bool found = false;
        if (key == QLatin1String("Refresh"))
            runQueries();
        else if (key == QLatin1String("Prev"))
            ShowBillInfo(QStringLiteral("-"), found);
        else if (key == QLatin1String("Next"))
            ShowBillInfo(QStringLiteral("+"), found);
        else if (key == QLatin1String("Print"))
            cmdPrint();
        else if (key == QLatin1String("Help"))
            frmHelp::showHelp(this, windowTitle());
        else if (key == QLatin1String("Exit"))
            reject();
    } catch (const std::exception&) {
        // The window stays as it was.
    }
}

void frmBillInfo::cmdPrint()
{
    ReprintBill(billId(),
                kTexts.text(QStringLiteral("Msg_Print_Confirm"), QStringLiteral("Default")),
                kTexts.text(QStringLiteral("Msg_Print_Fault"), QStringLiteral("Default")), this);
}

void frmBillInfo::cmdUnCheckBill_Click()
{
    const QPoint below =
        cmdUnCheckBill->mapTo(this, QPoint(cmdUnCheckBill->width(), cmdUnCheckBill->height()));
    const int left = std::max(0, below.x() - lvwUnCheckBill->width());
    lvwUnCheckBill->move(left, below.y() + 2);
    lvwUnCheckBill->show();
    lvwUnCheckBill->raise();
    lvwUnCheckBill->setFocus();
}

bool frmBillInfo::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lvwUnCheckBill && event->type() == QEvent::FocusOut)
        lvwUnCheckBill->hide();
    return QDialog::eventFilter(watched, event);
}
