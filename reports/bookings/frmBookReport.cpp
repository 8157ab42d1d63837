#include "reports/bookings/frmBookReport.h"

#include "core/HostContext.h"
#include "core/modBranch.h"
#include "core/modMessage.h"
#include "framework/DataList.h"
#include "query/QueryColumn.h"
#include "query/QueryColumns.h"
#include "query/ScreenSpec.h"
#include "sheet/Sheet.h"
#include "ui/CriteriaBar.h"
#include "ui/ctlQuery.h"

#include <QLabel>

namespace {

using K = CriterionKind;
using namespace ColumnKind;
using C = BookReportCriteria;

CriterionSpec fromBookings(const char* name, const char* label, const char* sql, const char* field,
                           QString C::*into)
{
    return QueryListSpec(name, label, 700, 1500, sql, field, Into(into));
}

const ScreenSpec kSpec{
    .name = "frmBookReport",
    .title = "预定明细报表",
    .size = {11070, 7980},
    .criteria = CriteriaOf<C>(BookReportStatement),
    .branch = {BookReportBranch},
    .rows = {{{.name = "dtpBegin",
               .kind = K::Date,
               .label = "日期:",
               .labelWidth = 600,
               .width = 1800,
               .into = Into(&C::range, &DateRange::begin)},
              {.name = "dtpEnd",
               .kind = K::Date,
               .label = "到",
               .labelWidth = 300,
               .width = 1800,
               .into = Into(&C::range, &DateRange::end)},
              fromBookings("cboBookPerson",
                           "预定人:", "SELECT DISTINCT BookPerson FROM tb_Book ORDER BY BookPerson",
                           "BookPerson", &C::bookPerson),
              fromBookings("cboCreatePerson", "业务员:",
                           "SELECT DISTINCT CreatePerson FROM tb_Book ORDER BY CreatePerson",
                           "CreatePerson", &C::createPerson)}},
    .views = {{
        .title = "预定明细报表",
        .columns =
            {
                TextColumn("BillID", "单号", 1400),
                TextColumn("BillDate", "日期", 1000),
                TextColumn("BillPeriod", "餐段", 800),
                TextColumn("TableName", "房台号", 800),
                TextColumn("BookPerson", "预定人", 800),
                TextColumn("CreatePerson", "业务员", 800),
                {.field = "|DiscountName",
                 .caption = "打折方式",
                 .sub = {TextColumn("DiscountName", "打折方式", 900),
                         {.field = "DiscountRate",
                          .caption = "折扣率",
                          .condition = "DiscountRate<>1",
                          .kind = Percent,
                          .width = 800},
                         SumColumn("SumForDiscount", "折扣额", 800, "SumForDiscount<>0")}},
                SumColumn("SumOfInvoice", "发票金额", 900, "SumOfInvoice<>0"),
                // one sub-column per payment method, added from the payment subjects
                {.field = "|Payment", .caption = "支付明细"},
                SumColumn("SumPaid", "合计", 800, "SumPaid<>0"),
            },
        .keyFields = "BillID",
        .centred = {1, 2, 3, 4, 5, 6},
    }},
};

} // namespace

frmBookReport::frmBookReport(QWidget* parent) : QueryReportScreen(kSpec, parent) {}

void frmBookReport::addColumns(int, QueryColumns& columns)
{
    // The payment methods in the host's order, each picking its own payments of the bill.
    for (const auto& column : columns) {
        if (column->name() != QLatin1String("Payment"))
            continue;
        DataList subjects(DataList::Subjects, hostContext().connection());
        subjects.initialise(1, 1);
        subjects.loadOrThrow(); // a report without its payment columns would look complete
        for (int i = 1; i <= subjects.Count(); ++i) {
            const DataListItem& subject = subjects.item(i);
            column->SubColumns().add(QStringLiteral("PaySum|"), subject.Name,
                                     QStringLiteral("SubjectID='") + subject.id + QLatin1Char('\''),
                                     QString(), false, 0, true, Number, 800);
        }
    }
}

void frmBookReport::afterQuery(int, Sheet* grid)
{
    // A business date is a day: its midnight time is left out.
    const QString midnight = QStringLiteral(" 00:00:00");
    grid->setReDraw(false);
    for (int row = 1; row <= grid->maxRows(); ++row) {
        if (ctlQuery1->rowRole(row) != QueryFill::RowRole::Data)
            continue;
        const QString date = grid->text(row, 2);
        if (date.endsWith(midnight))
            grid->setText(row, 2, date.chopped(midnight.size()));
    }
    grid->setReDraw(true);
}

QString frmBookReport::printHeader() const
{
    // The title, then the date range joined by the caption of its "to" label, in parentheses.
    const QString format = QStringLiteral("yyyy-MM-dd");
    const auto* to = static_cast<QLabel*>(m_criteria->control("lblEnd"));
    return Msg(QStringLiteral("Msg_Report_LargeFont")) +
           Msg(QStringLiteral("Msg_Report_SmallFont")) + QStringLiteral("/f1/c  ") +
           queryControl()->Title() + QStringLiteral("  /n/n") + QStringLiteral("/f2/c (") +
           beginDate().toString(format) + QLatin1Char(' ') + to->text() + QLatin1Char(' ') +
           endDate().toString(format) + QStringLiteral(") /n/n");
}
