#include "reports/bills/BillPanel.h"

#include "core/HostContext.h"
#include "core/modMessage.h"
#include "query/QueryColumns.h"
#include "reports/bills/BillHeaderPanel.h"
#include "sheet/Sheet.h"
#include "sheet/Twips.h"
#include "ui/ctlQuery.h"

#include <QVBoxLayout>

namespace {

void setUpGrid(ctlQuery* control, const QString& title, void (*declare)(QueryColumns&),
               QWidget* form, int rows, const std::vector<int>& centred)
{
    control->ClearColumns();
    control->SetTitle(title);
    declare(control->Columns());
    TranslateQueryControl(form, control);
    control->ApplyQuery(true, false, false);
    Sheet* grid = control->Grid();
    grid->setReDraw(false);
    grid->setScrollBars(Qt::ScrollBarAlwaysOff, Qt::ScrollBarAsNeeded);
    grid->setMaxRows(0);
    grid->setMaxRows(rows);
    CellStyle centre;
    centre.hAlign = Qt::AlignHCenter;
    for (int col : centred)
        grid->setColumnStyle(col, centre);
    grid->setReDraw(true);
}

} // namespace

BillPanel::BillPanel(const Columns& columns, QWidget* parent) : QWidget(parent), m_columns(columns)
{
    setObjectName(QStringLiteral("picBillPanel"));
    m_header = new BillHeaderPanel(this);
    m_items = new ctlQuery(this);
    m_items->setObjectName(QStringLiteral("ctlQuery1"));
    m_payments = new ctlQuery(this);
    m_payments->setObjectName(QStringLiteral("ctlQuery2"));
    m_payments->setMinimumHeight(twipsToPixelsY(2000, this));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(m_header);
    layout->addWidget(m_items, 3);
    layout->addWidget(m_payments, 1);
}

void BillPanel::setUpGrids(QWidget* form)
{
    setUpGrid(m_items, QStringLiteral("消费明细表"), m_columns.items, form, 9,
              m_columns.centredItems);
    setUpGrid(m_payments, QStringLiteral("支付明细表"), m_columns.payments, form, 6, {1, 2});
}

void BillPanel::showHeader(const Bill* bill)
{
    if (bill)
        m_header->fill(*bill);
    else
        m_header->clear();
}

bool BillPanel::showLines(const QString& itemsSql, const QString& paymentsSql, QString* why)
{
    const ConnectionPtr connection = hostContext().connection();
    m_items->SetConnection(connection);
    m_items->SetSQL(itemsSql);
    const bool items = m_items->ApplyQuery(false, true, false);
    m_payments->SetConnection(connection);
    m_payments->SetSQL(paymentsSql);
    const bool payments = m_payments->ApplyQuery(false, true, false);
    if (why && !items)
        *why = m_items->lastError();
    else if (why && !payments)
        *why = m_payments->lastError();
    return items && payments;
}
