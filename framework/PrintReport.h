#pragma once

#include "db/Connection.h"

#include <QHash>
#include <QString>
#include <QVariant>

class QPrinter;

// A report the host prints. The one report is "OldBill", the reprint of a settled bill as a
// till receipt (80 mm wide, as long as the bill): branch and bill header, item lines
// (bi_BillItem), totals, payments (bi_BillPayment) and the reprint time. Its one parameter is
// "BillID".
class PrintReport
{
public:
    PrintReport(const QString& name, ConnectionPtr connection);

    QString name() const { return m_name; }
    void setParameter(const QString& name, const QVariant& value);
    QVariant parameter(const QString& name) const;

    // Prints with default options: to the PDF file chosen with ReportPrinter::setPdfOutput
    // (or the VTX_PRINT_PDF environment variable) when there is one, else on the default
    // printer. False when the bill cannot be read, there is no printer or printing fails.
    bool print();
    // Writes the receipt as a one-page PDF file; false when the bill cannot be read or the
    // file cannot be written.
    bool printToPdf(const QString& path);
    // Why the last print or printToPdf failed (empty after success).
    QString lastError() const { return m_lastError; }
    // The receipt's lines as plain text (empty when the bill cannot be read).
    QStringList lines() const;

private:
    bool printOn(QPrinter* printer);

    QString m_name;
    ConnectionPtr m_connection;
    QHash<QString, QVariant> m_parameters;
    QString m_lastError;
};
