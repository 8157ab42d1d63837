#include "reports/periods/frmExpense.h"

#include "core/HostContext.h"
#include "core/LanguageSection.h"
#include "core/modMessage.h"
#include "db/Recordset.h"
#include "framework/HostUi.h"
#include "sheet/Sheet.h"
#include "sheet/SheetView.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QVBoxLayout>

namespace {

const LanguageSection
    kTexts("frmExpense", {
                             {"frmExpense", "Caption", "费用登记"},
                             {"lblBegin", "Caption", "开始日期:"},
                             {"lblEnd", "Caption", "结束日期:"},
                             {"cmdRefresh", "Caption", "刷新"},
                             {"cmdMonth", "Caption", "本月"},
                             {"cmdSetting", "Caption", "费用项目设置"},
                             {"cmdClose", "Caption", "关闭"},
                             {"cmdAdd", "Caption", "增加"},
                             {"cmdDelete", "Caption", "删除"},
                             {"cmdOK", "Caption", "确定"},
                             {"cmdCancel", "Caption", "取消"},
                             {"Msg_BillDate", "Default", "日期"},
                             {"Msg_Expense", "Default", "费用"},
                             {"Msg_ExpenseID", "Default", "编码"},
                             {"Msg_ExpenseName", "Default", "项目"},
                             {"Msg_Total", "Default", "合计"},
                             {"Msg_SaveFault", "Default", "保存数据失败："},
                             {"Msg_TheSame", "Default", "保存数据失败：项目编码或名称不允许重复！"},
                             {"Msg_NotNull", "Default", "保存数据失败：项目编码或名称不允许为空！"},
                         });

QString msgText(const char* key)
{
    return kTexts.text(QString::fromLatin1(key), QStringLiteral("Default"));
}

constexpr int FirstItemCol = 3;

} // namespace

const LanguageSection& frmExpense::texts()
{
    return kTexts;
}

frmExpense::frmExpense(QWidget* parent)
    : QDialog(parent), m_report(std::make_unique<Sheet>()), m_data(std::make_unique<Sheet>())
{
    setObjectName(QStringLiteral("frmExpense"));
    setWindowTitle(QStringLiteral("费用登记"));
    resize(820, 560);

    auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    auto* lblBegin = new QLabel(QStringLiteral("开始日期:"), this);
    lblBegin->setObjectName(QStringLiteral("lblBegin"));
    auto* lblEnd = new QLabel(QStringLiteral("结束日期:"), this);
    lblEnd->setObjectName(QStringLiteral("lblEnd"));
    dtpBegin = new QDateEdit(this);
    dtpBegin->setObjectName(QStringLiteral("dtpBegin"));
    dtpEnd = new QDateEdit(this);
    dtpEnd->setObjectName(QStringLiteral("dtpEnd"));
    for (QDateEdit* d : {dtpBegin, dtpEnd}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    }
    cmdRefresh = button("cmdRefresh", "刷新");
    cmdMonth = button("cmdMonth", "本月");
    cmdSetting = button("cmdSetting", "费用项目设置");
    cmdClose = button("cmdClose", "关闭");

    auto* top = new QHBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(lblBegin), static_cast<QWidget*>(dtpBegin),
                       static_cast<QWidget*>(lblEnd), static_cast<QWidget*>(dtpEnd),
                       static_cast<QWidget*>(cmdRefresh), static_cast<QWidget*>(cmdMonth),
                       static_cast<QWidget*>(cmdSetting)})
        top->addWidget(w);
    top->addStretch(1);
    top->addWidget(cmdClose);

    m_report->setObjectName(QStringLiteral("sprReport"));
    sprReport = new SheetView(m_report.get(), this);
    sprReport->setObjectName(QStringLiteral("sprReport"));

    picSetting = new QWidget(this);
    picSetting->setObjectName(QStringLiteral("picSetting"));
    m_data->setObjectName(QStringLiteral("sprData"));
    sprData = new SheetView(m_data.get(), picSetting);
    sprData->setObjectName(QStringLiteral("sprData"));
    cmdAdd = button("cmdAdd", "增加");
    cmdDelete = button("cmdDelete", "删除");
    cmdOK = button("cmdOK", "确定");
    cmdCancel = button("cmdCancel", "取消");
    cmdOK->setProperty(HostUi::WritesDatabase, true); // a headless run presses it with --yes
    auto* settingButtons = new QHBoxLayout;
    for (QPushButton* b : {cmdAdd, cmdDelete, cmdOK, cmdCancel})
        settingButtons->addWidget(b);
    auto* settingLayout = new QVBoxLayout(picSetting);
    settingLayout->setContentsMargins(0, 0, 0, 0);
    settingLayout->addWidget(sprData, 1);
    settingLayout->addLayout(settingButtons);
    picSetting->setMinimumWidth(300);
    picSetting->hide();

    auto* body = new QHBoxLayout;
    body->addWidget(sprReport, 1);
    body->addWidget(picSetting);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(body, 1);

    kTexts.translate(this);

    connect(cmdRefresh, &QPushButton::clicked, this,
            [this] { load(dtpBegin->date(), dtpEnd->date()); });
    connect(cmdMonth, &QPushButton::clicked, this, [this] {
        const QDate today = QDate::currentDate();
        const QDate first(today.year(), today.month(), 1);
        load(first, first.addMonths(1).addDays(-1));
    });
    connect(cmdSetting, &QPushButton::clicked, this, &frmExpense::cmdSetting_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdAdd, &QPushButton::clicked, this, &frmExpense::cmdAdd_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmExpense::cmdDelete_Click);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &frmExpense::cmdCancel_Click);
    connect(m_report.get(), &Sheet::cellsChanged, this, [this](const CellBlock& block) {
        if (m_filling)
            return;
        for (int row = block.row; row <= block.row2; ++row)
            dayChanged(row);
    });
}

frmExpense::~frmExpense()
{
    sprReport->setSheet(nullptr);
    sprData->setSheet(nullptr);
}

void frmExpense::ShowMe(const QDate& begin, const QDate& end, const QDate& reportDate,
                        bool& changed)
{
    Q_UNUSED(reportDate);
    m_changed = false;
    load(begin, end);
    if (!HostUi::isHeadless())
        exec();
    changed = m_changed;
}

// -- storage ---------------------------------------------------------------------------------

void frmExpense::CreateTables(const ConnectionPtr& db)
{
    const QString statements[] = {
        QStringLiteral(" select BillDate,                     ") +
            QStringLiteral("        SumToPay as Expense           ") +
            QStringLiteral("   into bi_Expense                    ") +
            QStringLiteral("   from bi_Bill                       ") +
            QStringLiteral("  where 1<>1 "),
        QStringLiteral(" select MenuTypeID   as ExpenseID,    ") +
            QStringLiteral("        MenuTypeName as ExpenseName,  ") +
            QStringLiteral("        PrintPRI     as ListIndex     ") +
            QStringLiteral("   into dd_Expense                    ") +
            QStringLiteral("   from mn_MenuType                   ") +
            QStringLiteral("  where 1<>1                          "),
        QStringLiteral(" select *                             ") +
            QStringLiteral("   into bi_ExpenseItem                ") +
            QStringLiteral("   from bi_Expense,                   ") +
            QStringLiteral("        dd_Expense                    ") +
            QStringLiteral("  where 1<>1                          "),
    };
    for (const QString& sql : statements) {
        try {
            db->executeNonQuery(sql);
        } catch (const SqlError&) {
            // The table is there already.
        }
    }
}

QList<frmExpense::Item> frmExpense::LoadItems(const ConnectionPtr& db)
{
    QList<Item> items;
    try {
        auto rs =
            db->execute(QStringLiteral("select *,0 as Expense from dd_Expense order by ListIndex"));
        for (; !rs->atEnd(); rs->moveNext())
            items.append({rs->value(QStringLiteral("ExpenseID")).toString(),
                          rs->value(QStringLiteral("ExpenseName")).toString(),
                          rs->value(QStringLiteral("ListIndex")).toInt(), Money()});
    } catch (const SqlError&) {
    }
    return items;
}

bool frmExpense::SaveDay(const ConnectionPtr& db, const QDate& day, const QList<Item>& items,
                         QString* error)
{
    Money total;
    for (const Item& item : items)
        total += item.expense;
    try {
        db->beginTransaction();
    } catch (const SqlError& e) {
        if (error)
            *error = QString::fromUtf8(e.what());
        return false;
    }
    try {
        db->executeNonQuery(QStringLiteral(" delete from bi_Expense     where BillDate=? "), {day});
        db->executeNonQuery(QStringLiteral(" insert into bi_Expense values(?,?) "),
                            {day, total.toDouble()});
        db->executeNonQuery(QStringLiteral(" delete from bi_ExpenseItem where BillDate=? "), {day});
        for (const Item& item : items)
            db->executeNonQuery(QStringLiteral(" insert into bi_ExpenseItem values(?,?,  ?,?,?) "),
                                {day, item.expense.toDouble(), item.id, item.name, item.listIndex});
        db->commit();
        return true;
    } catch (const std::exception& e) {
        if (error)
            *error = QString::fromUtf8(e.what());
        try {
            db->rollback();
        } catch (const SqlError&) {
        }
        return false;
    }
}

QString frmExpense::ValidateItems(const QList<QPair<QString, QString>>& rows)
{
    QSet<QString> ids, names;
    for (const auto& [id, name] : rows) {
        if (id.trimmed().isEmpty() || name.trimmed().isEmpty())
            return QStringLiteral("Msg_NotNull");
        if (ids.contains(id.trimmed()) || names.contains(name.trimmed()))
            return QStringLiteral("Msg_TheSame");
        ids.insert(id.trimmed());
        names.insert(name.trimmed());
    }
    return QString();
}

bool frmExpense::SaveItems(const ConnectionPtr& db, const QList<QPair<QString, QString>>& rows,
                           QString* error)
{
    try {
        db->beginTransaction();
        try {
            db->executeNonQuery(QStringLiteral(" delete from dd_Expense "));
            for (int r = 1; r <= rows.size(); ++r)
                db->executeNonQuery(
                    QStringLiteral(" insert into dd_Expense values(?,?,?) "),
                    {rows.at(r - 1).first.trimmed(), rows.at(r - 1).second.trimmed(), r});
            db->commit();
        } catch (...) {
            db->rollback();
            throw;
        }
        return true;
    } catch (const std::exception& e) {
        if (error)
            *error = QString::fromUtf8(e.what());
        return false;
    }
}

// -- the expense sheet -------------------------------------------------------------------------

void frmExpense::load(const QDate& begin, const QDate& end)
{
    dtpBegin->setDate(begin);
    dtpEnd->setDate(end);
    reload();
}

void frmExpense::reload()
{
    const ConnectionPtr db = hostContext().connection();
    if (HostUi::mayWrite()) // a headless run changes nothing without --yes
        CreateTables(db);
    m_items = LoadItems(db);
    const QDate begin = dtpBegin->date(), end = dtpEnd->date();
    const int days = begin <= end ? int(begin.daysTo(end)) + 1 : 0;
    const int cols = FirstItemCol - 1 + int(m_items.size());

    m_filling = true;
    Sheet& s = *m_report;
    s.setReDraw(false);
    s.clear();
    s.setMaxCols(cols);
    s.setMaxRows(days + 1);
    s.setHeaderRows(1);
    s.setLocked(false);
    s.setHeaderText(1, 1, msgText("Msg_BillDate"));
    s.setHeaderText(1, 2, msgText("Msg_Expense"));
    s.setColumnWidth(1, 1500);
    for (int col = 2; col <= cols; ++col) {
        s.setColumnType(col, CellType::Number);
        s.setColumnDecimals(col, 2);
        s.setColumnWidth(col, 1300);
    }
    CellStyle fixedCells;
    fixedCells.backColor = QColor(0xF2, 0xF2, 0xF2);
    s.setColumnStyle(1, fixedCells);
    s.setColumnStyle(2, fixedCells);
    for (int i = 0; i < m_items.size(); ++i)
        s.setHeaderText(1, FirstItemCol + i, m_items.at(i).name);

    for (int d = 0; d < days; ++d) {
        const QDate day = begin.addDays(d);
        const int row = d + 1;
        s.setText(row, 1, day.toString(QStringLiteral("yyyy-MM-dd")));
        try {
            auto total =
                db->execute(QStringLiteral(" select * from bi_Expense where BillDate=? "), {day});
            if (!total->atEnd())
                s.setNumber(row, 2,
                            Money::fromVariant(total->value(QStringLiteral("Expense"))).toDouble());
            QHash<QString, Money> amounts;
            for (auto rs = db->execute(
                     QStringLiteral(" select * from bi_ExpenseItem where BillDate=? "), {day});
                 !rs->atEnd(); rs->moveNext()) {
                const QString id = rs->value(QStringLiteral("ExpenseID")).toString();
                if (!amounts.contains(id))
                    amounts.insert(id, Money::fromVariant(rs->value(QStringLiteral("Expense"))));
            }
            for (int i = 0; i < m_items.size(); ++i)
                s.setNumber(row, FirstItemCol + i, amounts.value(m_items.at(i).id).toDouble());
        } catch (const SqlError&) {
        }
        if (s.isEmpty(row, 2))
            s.setNumber(row, 2, 0);
    }
    CellStyle totals;
    totals.backColor = QColor(0xFF, 0xFF, 0xE0);
    QFont bold = s.defaultFont();
    bold.setBold(true);
    totals.font = bold;
    s.setRowStyle(days + 1, totals);
    recomputeTotals();
    s.setReDraw(true);
    m_filling = false;
}

int frmExpense::dayRow(const QDate& day) const
{
    const qint64 d = dtpBegin->date().daysTo(day);
    return d >= 0 && d < m_report->maxRows() - 1 ? int(d) + 1 : 0;
}

void frmExpense::recomputeRow(int row)
{
    Money total;
    for (int col = FirstItemCol; col <= m_report->maxCols(); ++col)
        total += Money::fromDouble(m_report->number(row, col));
    m_report->setNumber(row, 2, total.toDouble());
    m_report->setText(row, 1,
                      dtpBegin->date().addDays(row - 1).toString(QStringLiteral("yyyy-MM-dd")));
}

void frmExpense::recomputeTotals()
{
    const int last = m_report->maxRows();
    if (last < 1)
        return;
    const bool filling = m_filling;
    m_filling = true;
    m_report->setText(last, 1, msgText("Msg_Total"));
    for (int col = 2; col <= m_report->maxCols(); ++col) {
        Money sum;
        for (int row = 1; row < last; ++row)
            sum += Money::fromDouble(m_report->number(row, col));
        m_report->setNumber(last, col, sum.toDouble());
    }
    m_filling = filling;
}

void frmExpense::dayChanged(int row)
{
    const int last = m_report->maxRows();
    m_filling = true;
    if (row < 1 || row >= last) {
        recomputeTotals(); // the totals row is not typed into
        m_filling = false;
        return;
    }
    recomputeRow(row);
    recomputeTotals();
    m_filling = false;

    const QDate day = dtpBegin->date().addDays(row - 1);
    QList<Item> items = m_items;
    for (int i = 0; i < items.size(); ++i)
        items[i].expense = Money::fromDouble(m_report->number(row, FirstItemCol + i));
    QString error;
    if (SaveDay(hostContext().connection(), day, items, &error)) {
        m_changed = true;
        return;
    }
    MsgBox(msgText("Msg_SaveFault") + error, QMessageBox::Information, QMessageBox::Ok, this);
    reload(); // show what the database still holds
}

bool frmExpense::editAmount(const QDate& day, int item, const QString& text)
{
    const int row = dayRow(day);
    if (!row || item < 0 || item >= m_items.size())
        return false;
    const bool before = m_changed;
    m_changed = false;
    m_report->setText(row, FirstItemCol + item, text); // saves through cellsChanged
    const bool saved = m_changed;
    m_changed = before || saved;
    return saved;
}

// -- settings mode -----------------------------------------------------------------------------

bool frmExpense::inSettings() const
{
    return picSetting->isVisibleTo(this);
}

void frmExpense::setSettingsMode(bool on)
{
    cmdRefresh->setEnabled(!on);
    cmdMonth->setEnabled(!on);
    picSetting->setVisible(on);
}

void frmExpense::cmdSetting_Click()
{
    Sheet& s = *m_data;
    s.setReDraw(false);
    s.clear();
    s.setMaxCols(2);
    s.setHeaderRows(1);
    s.setLocked(false);
    s.setHeaderText(1, 1, msgText("Msg_ExpenseID"));
    s.setHeaderText(1, 2, msgText("Msg_ExpenseName"));
    s.setColumnWidth(1, 1200);
    s.setColumnWidth(2, 2400);
    const QList<Item> items = LoadItems(hostContext().connection());
    s.setMaxRows(int(items.size()));
    for (int r = 1; r <= items.size(); ++r) {
        s.setText(r, 1, items.at(r - 1).id);
        s.setText(r, 2, items.at(r - 1).name);
    }
    s.setReDraw(true);
    setSettingsMode(true);
}

void frmExpense::cmdAdd_Click()
{
    m_data->setMaxRows(m_data->maxRows() + 1);
    m_data->setActiveCell(m_data->maxRows(), 1);
}

void frmExpense::cmdDelete_Click()
{
    Sheet& s = *m_data;
    const int row = s.activeRow();
    if (row < 1 || row > s.maxRows())
        return;
    for (int r = row; r < s.maxRows(); ++r)
        for (int c = 1; c <= 2; ++c)
            s.setText(r, c, s.text(r + 1, c));
    s.setMaxRows(s.maxRows() - 1);
}

bool frmExpense::cmdOK_Click()
{
    QList<QPair<QString, QString>> rows;
    for (int r = 1; r <= m_data->maxRows(); ++r)
        rows.append({m_data->text(r, 1), m_data->text(r, 2)});
    const QString refused = ValidateItems(rows);
    if (!refused.isEmpty()) {
        MsgBox(msgText(refused.toLatin1().constData()), QMessageBox::Information, QMessageBox::Ok,
               this);
        return false;
    }
    QString error;
    if (!SaveItems(hostContext().connection(), rows, &error)) {
        MsgBox(msgText("Msg_SaveFault") + error, QMessageBox::Information, QMessageBox::Ok, this);
        return false;
    }
    reload();
    setSettingsMode(false);
    return true;
}

void frmExpense::cmdCancel_Click()
{
    setSettingsMode(false);
}
