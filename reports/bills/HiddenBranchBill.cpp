#include "reports/bills/HiddenBranchBill.h"

#include "core/modBranch.h"
#include "core/modMessage.h"
#include "sheet/Sheet.h"

bool OpenableBill(Sheet* grid, int column, const QString& message, QWidget* parent)
{
    const int row = grid ? grid->activeRow() : 0;
    const QString billId = row > 0 ? grid->text(row, column).trimmed() : QString();
    if (billId.isEmpty())
        return true;
    QString refusal;
    try {
        if (!BillOfHiddenBranch(billId))
            return true;
        refusal = message.arg(billId);
    } catch (const std::exception& e) {
        refusal = QString::fromUtf8(e.what());
    }
    MsgBox(refusal, QMessageBox::Information, QMessageBox::Ok, parent);
    return false;
}
