#pragma once

#include "Connection.h"

#include <QHash>
#include <QString>
#include <QVariant>

class QPagedPaintDevice;

// A report the host prints. The one report is "OldBill", the reprint of a settled bill: header,
// item lines (bi_BillItem), payments (bi_BillPayment) and totals, laid out as text. Its one
// parameter is "BillID".
class PrintReport
{
public:
    PrintReport(const QString& name, ConnectionPtr connection);

    QString name() const { return m_name; }
    void setParameter(const QString& name, const QVariant& value);
    QVariant parameter(const QString& name) const;

    // Prints with default options on the default printer; false when the bill cannot be read
    // or there is no printer.
    bool print();
    // Writes the report as a PDF file instead; false when the bill cannot be read or the file
    // cannot be written.
    bool printToPdf(const QString& path);
    // The report's lines as printed (empty when the bill cannot be read).
    QStringList lines() const;

private:
    bool paint(QPagedPaintDevice* device) const;

    QString m_name;
    ConnectionPtr m_connection;
    QHash<QString, QVariant> m_parameters;
};
