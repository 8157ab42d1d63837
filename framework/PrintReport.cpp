#include "PrintReport.h"

#include "Bill.h"
#include "FrameworkSql.h"
#include "Money.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

PrintReport::PrintReport(const QString& name, ConnectionPtr connection)
    : m_name(name), m_connection(std::move(connection))
{
}

void PrintReport::setParameter(const QString& name, const QVariant& value)
{
    m_parameters.insert(name.toLower(), value);
}

QVariant PrintReport::parameter(const QString& name) const
{
    return m_parameters.value(name.toLower());
}

QStringList PrintReport::lines() const
{
    Bill bill(m_connection);
    if (!bill.load(parameter(QStringLiteral("BillID")).toString()))
        return {};
    auto time = [](const QDateTime& t) {
        return t.isValid() ? t.toString(QStringLiteral("yyyy-MM-dd HH:mm")) : QString();
    };
    QStringList out;
    out << QStringLiteral("账单 %1").arg(bill.BillID());
    if (!bill.OriginalID().trimmed().isEmpty())
        out << QStringLiteral("原始单号: %1").arg(bill.OriginalID());
    out << QStringLiteral("房台: %1    人数: %2").arg(bill.TableFullName()).arg(bill.PeopleCount())
        << QStringLiteral("开台: %1 %2").arg(time(bill.CreateTime()), bill.CreatePerson())
        << QStringLiteral("结账: %1 %2").arg(time(bill.CheckOutTime()), bill.CheckOutPerson())
        << QString();
    QList<QVariantMap> items;
    FrameworkSql::rows(m_connection,
                       QStringLiteral("SELECT MenuName,MenuUnitName,AmountOrder,AmountCancel,"
                                      "SumOfConsume FROM bi_BillItem WHERE BillID=? "
                                      "ORDER BY BillItemID"),
                       {bill.BillID()}, &items);
    for (const QVariantMap& item : items) {
        const double amount = item.value(QStringLiteral("AmountOrder")).toDouble() -
                              item.value(QStringLiteral("AmountCancel")).toDouble();
        out << QStringLiteral("%1 %2 x %3    %4")
                   .arg(item.value(QStringLiteral("MenuName")).toString(),
                        item.value(QStringLiteral("MenuUnitName")).toString())
                   .arg(amount)
                   .arg(Money::fromVariant(item.value(QStringLiteral("SumOfConsume"))).toString());
    }
    out << QString() << QStringLiteral("消费总额: %1").arg(bill.SumOfConsume().toString())
        << QStringLiteral("服务费: %1").arg(bill.SumOfService().toString())
        << QStringLiteral("折扣额: %1").arg(bill.SumForDiscount().toString())
        << QStringLiteral("实收金额: %1").arg(bill.SumPaid().toString());
    QList<QVariantMap> payments;
    FrameworkSql::rows(
        m_connection,
        QStringLiteral("SELECT SubjectName,PaySum FROM bi_BillPayment WHERE BillID=?"),
        {bill.BillID()}, &payments);
    for (const QVariantMap& p : payments)
        out << QStringLiteral("  %1: %2")
                   .arg(p.value(QStringLiteral("SubjectName")).toString(),
                        Money::fromVariant(p.value(QStringLiteral("PaySum"))).toString());
    return out;
}

bool PrintReport::paint(QPagedPaintDevice* device) const
{
    if (m_name.compare(QLatin1String("OldBill"), Qt::CaseInsensitive) != 0)
        return false;
    const QStringList text = lines();
    if (text.isEmpty())
        return false;
    QPainter painter;
    if (!painter.begin(device))
        return false;
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSize(10);
    painter.setFont(font);
    const int lineHeight = QFontMetrics(font, device).lineSpacing();
    const int pageHeight = device->height();
    int y = lineHeight;
    for (const QString& line : text) {
        if (y > pageHeight - lineHeight) {
            device->newPage();
            y = lineHeight;
        }
        painter.drawText(0, y, line);
        y += lineHeight;
    }
    return painter.end();
}

bool PrintReport::print()
{
    if (QPrinterInfo::defaultPrinter().isNull())
        return false;
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    printer.setDocName(m_name);
    return paint(&printer);
}

bool PrintReport::printToPdf(const QString& path)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setDocName(m_name);
    return paint(&printer);
}
