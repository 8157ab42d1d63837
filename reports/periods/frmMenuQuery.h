#pragma once

#include "ui/QueryReportScreen.h"

// The menu query: every dish with each of its sale units, their prices, category and flags,
// filtered by department type, menu type, number or name, price band and flags. The menu as it
// stands: no dates, no branches.
class frmMenuQuery : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmMenuQuery(QWidget* parent = nullptr);

protected:
    QString printHeader() const override;
};
