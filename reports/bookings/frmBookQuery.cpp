#include "reports/bookings/frmBookQuery.h"

#include "query/ScreenSpec.h"
#include "ui/CriteriaBar.h"
#include "ui/ctlQuery.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateEdit>

#include <stdexcept>

namespace {

using K = CriterionKind;
using C = BookQueryCriteria;

// A date range with its own box: "chkByDate_<n>" before "dtpBegin_<n>", "到" "dtpEnd_<n>".
std::vector<CriterionSpec> range(const char* box, const char* caption, const char* begin,
                                 const char* end, bool C::*ticked, DateRange C::*dates)
{
    return {{.name = box, .kind = K::Check, .width = 1300, .text = caption, .into = Into(ticked)},
            {.name = begin, .kind = K::Date, .width = 1800, .into = Into(dates, &DateRange::begin)},
            {.name = end,
             .kind = K::Date,
             .label = "到",
             .labelWidth = 300,
             .width = 1800,
             .into = Into(dates, &DateRange::end)}};
}

CriterionSpec option(const char* name, const char* caption, CriterionBinding into = {})
{
    return {.name = name, .kind = K::Option, .width = 850, .text = caption, .into = into};
}

CriterionSpec fromBookings(const char* name, const char* label, const char* sql, const char* field,
                           QString C::*into)
{
    return QueryListSpec(name, label, 700, 1400, sql, field, Into(into));
}

std::vector<CriterionSpec> operator+(std::vector<CriterionSpec> a,
                                     const std::vector<CriterionSpec>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const ScreenSpec kSpec{
    .name = "frmBookQuery",
    .title = "预定单查询",
    .size = {11070, 7980},
    .criteria = CriteriaOf<C>(BookQueryStatement),
    .branch = {BookQueryBranch},
    .rows =
        {
            range("chkByDate_0", "抵达时间: 从", "dtpBegin_0", "dtpEnd_0", &C::byArrival,
                  &C::arrival) +
                std::vector<CriterionSpec>{
                    {.name = "lblBook", .kind = K::Label, .label = "状态:", .width = 550},
                    // the status: the number of the option chosen
                    option("optBook_0", "有效", Into(&C::status)),
                    option("optBook_1", "已完成"),
                    option("optBook_2", "已撤销"),
                    option("optBook_3", "全部")},
            range("chkByDate_1", "预定时间: 从", "dtpBegin_1", "dtpEnd_1", &C::byBooking,
                  &C::booking) +
                std::vector<CriterionSpec>{
                    fromBookings("cboBookType", "类型:", "SELECT DISTINCT BookType FROM tb_Book",
                                 "BookType", &C::bookType),
                    fromBookings("cboCreatePerson",
                                 "负责人:", "SELECT DISTINCT CreatePerson FROM tb_Book",
                                 "CreatePerson", &C::createPerson)},
            {{.name = "cboOrderBy",
              .kind = K::List,
              .label = "排序方式: 按",
              .labelWidth = 1100,
              .width = 1500,
              .source = {.kind = ListSource::Columns, .items = {{"Msg_OrderBy_None", "(不排序)"}}},
              .into = Into(&C::orderBy)},
             option("optOrderBy_0", "顺序"),
             option("optOrderBy_1", "倒序", Into(&C::descending))},
            {{.name = "chkPeriod",
              .kind = K::MealPeriods,
              .label = "餐段:",
              .labelWidth = 550,
              .width = 750,
              .text = "全部",
              .into = Into(&C::periods)}},
        },
    .views = {{
        .title = "预定单查询",
        .columns =
            {
                TextColumn("BookID", "单号", 1400),
                TextColumn("TableID", "房台号", 950),
                TextColumn("CreatePerson", "负责人", 1000),
                TextColumn("BookPerson", "预定人", 1000),
                TextColumn("BookType", "类型", 1000),
                TextColumn("ArriveTime", "抵达时间", 1600),
                TextColumn("Period", "餐段", 1200),
                SumColumn("PeopleCout", "人数", 1000),
                SumColumn("Prepay", "预交款", 1200),
                SumColumn("Paid", "消费额", 1200),
            },
    }},
};

} // namespace

frmBookQuery::frmBookQuery(QWidget* parent) : QueryReportScreen(kSpec, parent)
{
    // The date toolbar sets the arrival range.
    dtpBegin = static_cast<QDateEdit*>(m_criteria->control("dtpBegin_0"));
    dtpEnd = static_cast<QDateEdit*>(m_criteria->control("dtpEnd_0"));
}

void frmBookQuery::formLoad()
{
    static_cast<QAbstractButton*>(m_criteria->control("optOrderBy_0"))->setChecked(true);
    // Today's arrivals, whatever their status.
    static_cast<QAbstractButton*>(m_criteria->control("optBook_3"))->setChecked(true);
    static_cast<QAbstractButton*>(m_criteria->control("chkByDate_0"))->setChecked(true);
}

QList<QPair<QDate, QDate>> frmBookQuery::tickedRanges() const
{
    QList<QPair<QDate, QDate>> ranges;
    for (const DateRange& range : m_criteria->readAsShown().as<BookQueryCriteria>().tickedRanges())
        ranges.append({range.begin, range.end});
    return ranges;
}

QList<QPair<QDate, QDate>> frmBookQuery::rangesToCheck() const
{
    return tickedRanges();
}

QString frmBookQuery::printHeader() const
{
    // The first range queried; with none, the title alone.
    const QString title = queryControl()->Title();
    const QList<QPair<QDate, QDate>> ranges = tickedRanges();
    if (ranges.isEmpty())
        return PrintHeader(title, QDate(), QDate()).section(QStringLiteral("/n/n"), 0, 0) +
               QStringLiteral("/n/n");
    return PrintHeader(title, ranges.first().first, ranges.first().second);
}
