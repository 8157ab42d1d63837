#pragma once

#include "ui/QueryReportScreen.h"

// The inventory report: the stock on hand the branches uploaded (a snapshot, no dates), listed
// per item and branch, summed per item or per stock type and category, and the warning list of
// items within, above or below their stock levels. The categories listed are those of the
// chosen branches.
class frmInventoryReport : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmInventoryReport(QWidget* parent = nullptr);

protected:
    QString printHeader() const override;
    void fillList(const QString& name, QComboBox* combo) override;
};
