#include "reports/bookings/frmBookQuery.h"

#include "core/LanguageSection.h"
#include "core/modBranch.h"
#include "screens/CriteriaBar.h"
#include "screens/ScreenSpec.h"
#include "screens/ctlQuery.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateEdit>

#include <stdexcept>

namespace {

using K = CriterionKind;

// A date range with its own box: "chkByDate_<n>" before "dtpBegin_<n>", "到" "dtpEnd_<n>".
std::vector<CriterionSpec> range(const char* box, const char* caption, const char* begin,
                                 const char* end)
{
    return {{.name = box, .kind = K::Check, .width = 1300, .text = caption},
            {.name = begin, .kind = K::Date, .width = 1800},
            {.name = end, .kind = K::Date, .label = "到", .labelWidth = 300, .width = 1800}};
}

CriterionSpec option(const char* name, const char* caption)
{
    return {.name = name, .kind = K::Option, .width = 850, .text = caption};
}

CriterionSpec fromBookings(const char* name, const char* label, const char* sql, const char* field)
{
    return QueryListSpec(name, label, 700, 1400, sql, field);
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
    .rows =
        {
            range("chkByDate_0", "抵达时间: 从", "dtpBegin_0", "dtpEnd_0") +
                std::vector<CriterionSpec>{
                    {.name = "lblBook", .kind = K::Label, .label = "状态:", .width = 550},
                    option("optBook_0", "有效"),
                    option("optBook_1", "已完成"),
                    option("optBook_2", "已撤销"),
                    option("optBook_3", "全部")},
            range("chkByDate_1", "预定时间: 从", "dtpBegin_1", "dtpEnd_1") +
                std::vector<CriterionSpec>{
                    fromBookings("cboBookType", "类型:", "SELECT DISTINCT BookType FROM tb_Book",
                                 "BookType"),
                    fromBookings("cboCreatePerson", "负责人:",
                                 "SELECT DISTINCT CreatePerson FROM tb_Book", "CreatePerson")},
            {{.name = "cboOrderBy",
              .kind = K::List,
              .label = "排序方式: 按",
              .labelWidth = 1100,
              .width = 1500},
             option("optOrderBy_0", "顺序"),
             option("optOrderBy_1", "倒序")},
            {{.name = "chkPeriod",
              .kind = K::MealPeriods,
              .label = "餐段:",
              .labelWidth = 550,
              .width = 750,
              .text = "全部"}},
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
    .texts = {{"Msg_OrderBy_None", "(不排序)"}},
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
    fillSortChoices("cboOrderBy", languageTexts()->text(QStringLiteral("Msg_OrderBy_None"),
                                                        QStringLiteral("Default")));
    static_cast<QAbstractButton*>(m_criteria->control("optOrderBy_0"))->setChecked(true);
    // Today's arrivals, whatever their status.
    static_cast<QAbstractButton*>(m_criteria->control("optBook_3"))->setChecked(true);
    static_cast<QAbstractButton*>(m_criteria->control("chkByDate_0"))->setChecked(true);
}

bool frmBookQuery::criteria(BookQueryCriteria* out, QString* reason) const
{
    const CriteriaBar& bar = *m_criteria;
    BookQueryCriteria c;
    if (!bar.mealPeriodNames(&c.periods, reason))
        return false;
    c.status = 3;
    for (int status = 0; status <= 2; ++status)
        if (bar.checked(QStringLiteral("optBook_%1").arg(status).toLatin1().constData()))
            c.status = status;
    c.bookType = bar.chosen("cboBookType");
    c.createPerson = bar.chosen("cboCreatePerson");
    c.byArrival = bar.checked("chkByDate_0");
    c.byBooking = bar.checked("chkByDate_1");
    c.orderBy = sortField("cboOrderBy");
    c.descending = bar.checked("optOrderBy_1");
    c.branches = LimitedBranchIds();
    *out = c;
    return true;
}

QString frmBookQuery::viewSql(int)
{
    BookQueryCriteria c;
    QString refusal;
    if (!criteria(&c, &refusal))
        throw std::runtime_error(refusal.toStdString());
    return BookQuerySql(c);
}

QList<QPair<QDate, QDate>> frmBookQuery::tickedRanges() const
{
    QList<QPair<QDate, QDate>> ranges;
    if (m_criteria->checked("chkByDate_0"))
        ranges.append({m_criteria->date("dtpBegin_0"), m_criteria->date("dtpEnd_0")});
    if (m_criteria->checked("chkByDate_1"))
        ranges.append({m_criteria->date("dtpBegin_1"), m_criteria->date("dtpEnd_1")});
    return ranges;
}

QList<QPair<QDate, QDate>> frmBookQuery::rangesToCheck() const
{
    return tickedRanges();
}

QVariantList frmBookQuery::viewParameters(int)
{
    QVariantList parameters;
    for (const auto& [begin, end] : tickedRanges())
        parameters << begin << end.addDays(1);
    return parameters;
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
