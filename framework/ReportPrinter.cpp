#include "framework/ReportPrinter.h"

#include "framework/PrintService.h"

#include <optional>

namespace {
std::optional<QString> g_pdfOutput;
}

ReportPrinter::ReportPrinter()
    : m_connection(FrameworkService::connectionOf(PrintService::existing()))
{
}

void ReportPrinter::bind(ConnectionPtr connection)
{
    m_connection = connection ? std::move(connection) : std::make_shared<Connection>();
}

PrintReport* ReportPrinter::report(const QString& name)
{
    if (name.compare(QLatin1String("OldBill"), Qt::CaseInsensitive) != 0)
        return nullptr;
    m_report = std::make_unique<PrintReport>(QStringLiteral("OldBill"), m_connection);
    return m_report.get();
}

void ReportPrinter::setPdfOutput(const QString& path)
{
    g_pdfOutput = path;
}

QString ReportPrinter::pdfOutput()
{
    return g_pdfOutput ? *g_pdfOutput : qEnvironmentVariable("VTX_PRINT_PDF");
}
