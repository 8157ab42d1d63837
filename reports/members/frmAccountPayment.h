#pragma once

#include "reports/members/AccountPaymentSql.h"
#include "ui/QueryReportScreen.h"

// Account payments: the movements of the charge accounts (checkouts to an account, their
// reversals, payments by the holder), their totals per account, and each account's balance
// and credit limit (this last view has no date range).
class frmAccountPayment : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmAccountPayment(QWidget* parent = nullptr);

protected:
    QList<QPair<QDate, QDate>> rangesToCheck() const override;
};
