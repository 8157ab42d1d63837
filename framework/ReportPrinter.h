#pragma once

#include "db/Connection.h"
#include "framework/PrintReport.h"

#include <memory>

// The host's report printer: bound to a connection, it hands out its reports by name
// ("OldBill"), which are then given their parameters and printed.
class ReportPrinter
{
public:
    // Bound to the print service's connection until bind() is called.
    ReportPrinter();
    void bind(ConnectionPtr connection);
    // The report with this name (case-insensitive), owned by the printer; null when the
    // printer has no such report.
    PrintReport* report(const QString& name);

    // Where "print with default options" goes instead of the default printer: a PDF file (an
    // empty path: the printer again). Without a call, the VTX_PRINT_PDF environment variable.
    static void setPdfOutput(const QString& path);
    static QString pdfOutput();

private:
    ConnectionPtr m_connection;
    std::unique_ptr<PrintReport> m_report;
};
