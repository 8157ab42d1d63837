#include "framework/PrintReport.h"

#include "db/Money.h"
#include "framework/Bill.h"
#include "framework/FrameworkSql.h"
#include "framework/ReportPrinter.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

// The bill as the receipt shows it.
struct Receipt
{
    struct Item
    {
        QString name, unit;
        double quantity = 0;
        Money amount;
        bool gift = false;
    };
    struct Payment
    {
        QString subject;
        Money paySum, sumPaid;
        double rate = 1;
    };
    QString branch, billId, originalId, table, member, createPerson, checkOutPerson;
    int people = 0;
    QDateTime createTime, checkOutTime;
    double serviceRate = 0, discountRate = 1;
    Money consume, service, discount, paid;
    QList<Item> items;
    QList<Payment> payments;
};

QString timeText(const QDateTime& t)
{
    return t.isValid() ? t.toString(QStringLiteral("yyyy-MM-dd HH:mm")) : QString();
}

QString quantityText(double q)
{
    return QString::number(q, 'g', 10);
}

QString percentText(double rate)
{
    return QString::number(qRound(rate * 100.0)) + QLatin1Char('%');
}

// False with the reason when the bill, its items or its payments cannot be read (a receipt
// without its items would print as a complete one).
bool readReceipt(const ConnectionPtr& connection, const QString& billId, Receipt* r, QString* why)
{
    Bill bill(connection);
    if (!bill.load(billId)) {
        *why = bill.lastError();
        return false;
    }
    r->branch = bill.text(QStringLiteral("BranchName"));
    r->billId = bill.BillID();
    r->originalId = bill.OriginalID().trimmed();
    r->table = bill.TableFullName();
    r->member = bill.MemberCardID();
    if (!bill.MemberName().isEmpty())
        r->member += QLatin1Char(' ') + bill.MemberName();
    r->people = bill.PeopleCount();
    r->createTime = bill.CreateTime();
    r->createPerson = bill.CreatePerson();
    r->checkOutTime = bill.CheckOutTime();
    r->checkOutPerson = bill.CheckOutPerson();
    r->serviceRate = bill.ServiceRate();
    r->discountRate = bill.DiscountRate();
    r->consume = bill.SumOfConsume();
    r->service = bill.SumOfService();
    r->discount = bill.SumForDiscount();
    r->paid = bill.SumPaid();

    QList<QVariantMap> rows;
    QString error;
    if (!FrameworkSql::rows(connection,
                            QStringLiteral("SELECT MenuName,MenuUnitName,AmountOrder,AmountCancel,"
                                           "IsSentMenu,SumOfConsume FROM bi_BillItem WHERE "
                                           "BillID=? ORDER BY BillItemID"),
                            {r->billId}, &rows, &error)) {
        *why = QStringLiteral("cannot read the items of bill %1 (bi_BillItem): %2")
                   .arg(r->billId, error);
        return false;
    }
    for (const QVariantMap& row : rows) {
        Receipt::Item item;
        item.name = row.value(QStringLiteral("MenuName")).toString();
        item.unit = row.value(QStringLiteral("MenuUnitName")).toString();
        item.quantity = row.value(QStringLiteral("AmountOrder")).toDouble() -
                        row.value(QStringLiteral("AmountCancel")).toDouble();
        item.amount = Money::fromVariant(row.value(QStringLiteral("SumOfConsume")));
        item.gift = row.value(QStringLiteral("IsSentMenu")).toInt() != 0;
        r->items << item;
    }
    rows.clear();
    if (!FrameworkSql::rows(connection,
                            QStringLiteral("SELECT SubjectName,PaySum,ExchangeRate,SumPaid "
                                           "FROM bi_BillPayment WHERE BillID=? ORDER BY SubjectID"),
                            {r->billId}, &rows, &error)) {
        *why = QStringLiteral("cannot read the payments of bill %1 (bi_BillPayment): %2")
                   .arg(r->billId, error);
        return false;
    }
    for (const QVariantMap& row : rows) {
        Receipt::Payment p;
        p.subject = row.value(QStringLiteral("SubjectName")).toString();
        p.paySum = Money::fromVariant(row.value(QStringLiteral("PaySum")));
        p.sumPaid = Money::fromVariant(row.value(QStringLiteral("SumPaid")));
        p.rate = row.value(QStringLiteral("ExchangeRate")).toDouble();
        r->payments << p;
    }
    return true;
}

// -- layout, in tenths of a millimetre ---------------------------------------------------------
constexpr int PageWidth = 800; // 80 mm till roll
constexpr int Margin = 40;
constexpr int Content = PageWidth - 2 * Margin;
constexpr int BodyFont = 30; // about 8.5 pt
constexpr int TitleFont = 44;
constexpr int BodyLine = 44;
constexpr int TitleLine = 64;
constexpr int RuleLine = 26;
constexpr int QuantityRight = 520; // right edge of the quantity column, from the content's left

// One line of the receipt: up to three texts (left, middle ending at `midRight`, right).
struct Line
{
    enum Kind
    {
        Title,
        Centre,
        Text,
        Rule,
        Strong
    };
    Kind kind = Text;
    QString left, middle, right;
    int midRight = QuantityRight;
};

QList<Line> layOut(const Receipt& r)
{
    QList<Line> out;
    auto text = [&out](const QString& left, const QString& right = QString(),
                       Line::Kind kind = Line::Text) {
        Line l;
        l.kind = kind;
        l.left = left;
        l.right = right;
        out << l;
    };
    auto rule = [&out] {
        Line l;
        l.kind = Line::Rule;
        out << l;
    };
    text(r.branch.isEmpty() ? QStringLiteral("结账单") : r.branch, {}, Line::Title);
    text(QStringLiteral("结账单 (重印)"), {}, Line::Centre);
    text(QStringLiteral("单号: ") + r.billId,
         r.originalId.isEmpty() ? QString() : QStringLiteral("原始单号: ") + r.originalId);
    text(QStringLiteral("房台: ") + r.table, QStringLiteral("人数: %1").arg(r.people));
    text(QStringLiteral("开台: ") + timeText(r.createTime), r.createPerson);
    text(QStringLiteral("结账: ") + timeText(r.checkOutTime), r.checkOutPerson);
    if (!r.member.trimmed().isEmpty())
        text(QStringLiteral("会员: ") + r.member);
    rule();
    Line head;
    head.left = QStringLiteral("品名");
    head.middle = QStringLiteral("数量");
    head.right = QStringLiteral("金额");
    out << head;
    for (const Receipt::Item& item : r.items) {
        Line l;
        l.left = item.name;
        l.middle = quantityText(item.quantity) + item.unit;
        l.right = item.gift ? QStringLiteral("赠送") : item.amount.toString(2);
        out << l;
    }
    rule();
    text(QStringLiteral("消费总额"), r.consume.toString(2));
    if (r.service != Money())
        text(QStringLiteral("服务费 ") + percentText(r.serviceRate), r.service.toString(2));
    if (r.discount != Money())
        text(QStringLiteral("折扣额 ") + percentText(r.discountRate), r.discount.toString(2));
    text(QStringLiteral("实收金额"), r.paid.toString(2), Line::Strong);
    rule();
    for (const Receipt::Payment& p : r.payments) {
        Line l;
        l.left = p.subject;
        if (p.rate != 1.0 && p.rate != 0.0)
            l.middle =
                p.paySum.toString(2) + QStringLiteral(" × ") + QString::number(p.rate, 'g', 8);
        l.right = p.sumPaid.toString(2);
        out << l;
    }
    rule();
    text(QStringLiteral("重印时间: ") + timeText(QDateTime::currentDateTime()), {}, Line::Centre);
    return out;
}

int lineHeight(const Line& l)
{
    switch (l.kind) {
    case Line::Title:
        return TitleLine;
    case Line::Rule:
        return RuleLine;
    default:
        return BodyLine;
    }
}

} // namespace

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
    Receipt r;
    QString why;
    if (!readReceipt(m_connection, parameter(QStringLiteral("BillID")).toString(), &r, &why))
        return {};
    QStringList out;
    out << QStringLiteral("账单 %1").arg(r.billId);
    if (!r.originalId.isEmpty())
        out << QStringLiteral("原始单号: %1").arg(r.originalId);
    out << QStringLiteral("房台: %1    人数: %2").arg(r.table).arg(r.people)
        << QStringLiteral("开台: %1 %2").arg(timeText(r.createTime), r.createPerson)
        << QStringLiteral("结账: %1 %2").arg(timeText(r.checkOutTime), r.checkOutPerson)
        << QString();
    for (const Receipt::Item& item : r.items)
        out << QStringLiteral("%1 %2 x %3    %4")
                   .arg(item.name, item.unit, quantityText(item.quantity),
                        item.gift ? QStringLiteral("赠送") : item.amount.toString(2));
    out << QString() << QStringLiteral("消费总额: %1").arg(r.consume.toString(2))
        << QStringLiteral("服务费: %1").arg(r.service.toString(2))
        << QStringLiteral("折扣额: %1").arg(r.discount.toString(2))
        << QStringLiteral("实收金额: %1").arg(r.paid.toString(2));
    for (const Receipt::Payment& p : r.payments)
        out << QStringLiteral("  %1: %2").arg(p.subject, p.paySum.toString(2));
    return out;
}

bool PrintReport::printOn(QPrinter* printer)
{
    m_lastError.clear();
    if (m_name.compare(QLatin1String("OldBill"), Qt::CaseInsensitive) != 0) {
        m_lastError = QStringLiteral("no report %1").arg(m_name);
        return false;
    }
    Receipt receipt;
    const QString billId = parameter(QStringLiteral("BillID")).toString();
    QString why;
    if (!readReceipt(m_connection, billId, &receipt, &why)) {
        m_lastError = why.isEmpty() ? QStringLiteral("bill %1 cannot be read").arg(billId) : why;
        return false;
    }
    const QList<Line> lines = layOut(receipt);
    int height = 2 * Margin;
    for (const Line& l : lines)
        height += lineHeight(l);

    printer->setDocName(m_name + QLatin1Char(' ') + receipt.billId);
    printer->setFullPage(true);
    printer->setPageSize(QPageSize(QSizeF(PageWidth / 10.0, height / 10.0), QPageSize::Millimeter,
                                   QStringLiteral("Receipt"), QPageSize::ExactMatch));
    printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);

    QPainter painter;
    if (!painter.begin(printer)) {
        m_lastError = QStringLiteral("the printer cannot be opened");
        return false;
    }
    const double unit = printer->resolution() / 254.0; // device pixels per 0.1 mm
    painter.scale(unit, unit);
    QFont body(QStringLiteral("Noto Sans CJK SC"));
    body.setPixelSize(BodyFont);
    QFont title = body;
    title.setPixelSize(TitleFont);
    title.setBold(true);
    QFont strong = body;
    strong.setBold(true);

    int y = Margin;
    for (const Line& l : lines) {
        const int h = lineHeight(l);
        const QRect row(Margin, y, Content, h);
        switch (l.kind) {
        case Line::Title:
            painter.setFont(title);
            painter.drawText(row, Qt::AlignCenter, l.left);
            break;
        case Line::Centre:
            painter.setFont(body);
            painter.drawText(row, Qt::AlignCenter, l.left);
            break;
        case Line::Rule: {
            QPen pen(Qt::black, 3, Qt::DashLine);
            painter.setPen(pen);
            painter.drawLine(Margin, y + h / 2, Margin + Content, y + h / 2);
            painter.setPen(Qt::black);
            break;
        }
        case Line::Text:
        case Line::Strong: {
            painter.setFont(l.kind == Line::Strong ? strong : body);
            const QFontMetrics metrics(painter.font());
            const int leftWidth = l.middle.isEmpty() ? Content / 2 + 120 : QuantityRight - 120;
            painter.drawText(QRect(Margin, y, leftWidth, h), Qt::AlignLeft | Qt::AlignVCenter,
                             metrics.elidedText(l.left, Qt::ElideRight, leftWidth));
            if (!l.middle.isEmpty())
                painter.drawText(QRect(Margin, y, l.midRight, h), Qt::AlignRight | Qt::AlignVCenter,
                                 l.middle);
            painter.drawText(row, Qt::AlignRight | Qt::AlignVCenter, l.right);
            break;
        }
        }
        y += h;
    }
    if (!painter.end() || printer->printerState() == QPrinter::Error) {
        m_lastError = QStringLiteral("printing failed");
        return false;
    }
    return true;
}

bool PrintReport::print()
{
    const QString pdf = ReportPrinter::pdfOutput();
    if (!pdf.isEmpty())
        return printToPdf(pdf);
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        m_lastError = QStringLiteral("there is no default printer");
        return false;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    return printOn(&printer);
}

bool PrintReport::printToPdf(const QString& path)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    if (!printOn(&printer))
        return false;
    if (QFileInfo(path).size() <= 0) {
        m_lastError = QStringLiteral("%1 cannot be written").arg(path);
        return false;
    }
    return true;
}
