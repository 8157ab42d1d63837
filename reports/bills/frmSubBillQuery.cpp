#include "reports/bills/frmSubBillQuery.h"

#include "reports/bills/frmBillInfo.h"
#include "screens/CriteriaBar.h"
#include "screens/ScreenSpec.h"

#include <stdexcept>

namespace {

using K = CriterionKind;
using namespace ColumnKind;
using namespace BackColour;

CriterionSpec dataList(const char* name, const char* label, int labelWidth, int width,
                       DataList::Kind list, const char* owner = nullptr)
{
    return {.name = name,
            .kind = K::List,
            .label = label,
            .labelWidth = labelWidth,
            .width = width,
            .source = {.kind = ListSource::DataList, .list = list, .owner = owner}};
}

ColumnSpec text(const char* field, const char* caption, int width)
{
    return {.field = field, .caption = caption, .width = width};
}

ColumnSpec figure(const char* field, const char* caption)
{
    return {.field = field,
            .caption = caption,
            .sum = true,
            .kind = Number,
            .width = 1000,
            .back = Grey};
}

const ScreenSpec kSpec{
    .name = "frmSubBillQuery",
    .title = "退菜记录查询",
    .size = {11070, 7980},
    .rows =
        {
            {BeginDate, EndDate, BranchCriterionSpec("分店:"),
             dataList("cboBillPeriod", "餐段:", 600, 1300, DataList::MealPeriods)},
            {dataList("cboDepartTypes", "部门类别:", 900, 1800, DataList::DepartTypes),
             dataList("cboMenuTypes", "菜品类别:", 900, 1500, DataList::MenuTypes,
                      "cboDepartTypes"),
             {.name = "cboMenuID",
              .kind = K::Text,
              .label = "菜品:",
              .labelWidth = 600,
              .width = 1500,
              .text = "输入菜品的编码（前面部分）或者名称（任何部分）"},
             dataList("cboReason", "原因:", 600, 1600, DataList::ReturnReasons)},
            {{.name = "cboCreatePerson",
              .kind = K::List,
              .label = "退菜人:",
              .labelWidth = 900,
              .width = 1500,
              .source = {.kind = ListSource::Query,
                         .sql = "SELECT DISTINCT CreatePerson FROM bi_SubBill WHERE "
                                "SubBillType=2 ORDER BY CreatePerson",
                         .field = "CreatePerson"}},
             UseTrueData,
             Saving},
        },
    .views = {{
        .title = "退菜记录明细表",
        .columns =
            {
                text("BillID", "单号", 1400),
                text("TableName", "房台", 1100),
                text("MenuID", "菜号", 800),
                text("MenuName", "菜名", 1500),
                text("MenuTypeName", "菜品类别", 1000),
                text("DepartTypeName", "部门类别", 1000),
                text("CreatePerson", "退菜人", 1000),
                figure("MenuAmount", "退菜数量"),
                figure("MenuPrice", "单价"),
                figure("SumPaid", "金额"),
                text("OrderTime", "点菜时间", 1800),
                text("CreateTime", "退菜时间", 1800),
                text("Remark", "退菜原因", 2000),
            },
        .centred = {1, 2, 3, 4, 5, 6, 7, 11, 12},
        .detailColumn = 1,
        .openDetail = OpenBillDetail,
    }},
};

} // namespace

frmSubBillQuery::frmSubBillQuery(QWidget* parent) : QueryReportScreen(kSpec, parent) {}

bool frmSubBillQuery::criteria(SubBillQueryCriteria* out, QString* reason) const
{
    const CriteriaBar& bar = *m_criteria;
    SubBillQueryCriteria c;
    c.billPeriod = bar.chosen("cboBillPeriod");
    c.departType = bar.chosen("cboDepartTypes");
    c.menuType = bar.chosen("cboMenuTypes");
    c.menuText = bar.text("cboMenuID");
    c.reason = bar.chosen("cboReason");
    c.createPerson = bar.chosen("cboCreatePerson");
    c.useTrueData = bar.checked("chkUseTrueData");
    c.saving = bar.checked("chkSaving");
    if (!bar.branch(&c.branch, reason))
        return false;
    *out = c;
    return true;
}

QString frmSubBillQuery::viewSql(int)
{
    SubBillQueryCriteria c;
    QString refusal;
    if (!criteria(&c, &refusal))
        throw std::runtime_error(refusal.toStdString());
    return SubBillQuerySql(c);
}
