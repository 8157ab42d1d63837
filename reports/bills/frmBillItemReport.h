#pragma once

#include "reports/bills/BillItemReportSql.h"
#include "ui/QueryReportScreen.h"

// The sales daily report: the item sales the branches uploaded as daily summaries, summed over
// a date range by item, by department and menu type, by department type or by preparing
// department. The department types listed are those the chosen branches uploaded, and the menu
// types those of the chosen department type.
class frmBillItemReport : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmBillItemReport(QWidget* parent = nullptr);

protected:
    void fillList(const QString& name, QComboBox* combo) override;
};
