#pragma once

#include "reports/bills/BillItemCostSql.h"
#include "reports/bills/ItemPriceSource.h"
#include "ui/QueryReportScreen.h"

// The sales commission report: quantity x the commission price of each item and unit sold,
// line by line, by item and unit, by department and menu type, and by waiter. Only items with a
// commission price are listed. Whether the item lines carry their own price is found out once,
// when the screen loads. A double click on a line opens its bill.
class frmBillItemCost : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmBillItemCost(QWidget* parent = nullptr);

    // The item lines carry their own commission price (bi_BillItem.CostPrice).
    bool itemPrice() const { return m_prices.lastAnswer(); }

protected:
    void completeCriteria(CriteriaValue& criteria) override;
    void formLoad() override;
    // By item and by item type from the bill summaries.
    Statement planned(int view, const CriteriaValue& criteria, const Statement& statement) override;

private:
    ItemPriceSource m_prices;
};
