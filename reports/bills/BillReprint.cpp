#include "reports/bills/BillReprint.h"

#include "core/HostContext.h"
#include "core/modMessage.h"
#include "framework/ReportPrinter.h"

#include <QCoreApplication>

bool ReprintBill(const QString& billId, const QString& confirm, const QString& fault,
                 QWidget* parent, QString* why)
{
    if (MsgBox(confirm, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, parent) !=
        QMessageBox::Yes)
        return false;
    QCoreApplication::processEvents();
    ReportPrinter printer;
    printer.bind(hostContext().connection());
    bool printed = false;
    QString error = QStringLiteral("the report printer has no bill report");
    if (PrintReport* report = printer.report(QStringLiteral("OldBill"))) {
        report->setParameter(QStringLiteral("BillID"), billId);
        printed = report->print();
        error = report->lastError();
    }
    if (!printed) {
        MsgBox(fault, QMessageBox::Information, QMessageBox::Ok, parent);
        if (why)
            *why = error;
    }
    return printed;
}
