#include "reports/bills/frmBillLogQuery.h"

#include "query/ScreenSpec.h"
#include "reports/bills/BillLogQuerySql.h"
#include "reports/bills/HiddenBranchBill.h"
#include "reports/bills/frmBillInfo.h"

namespace {

// The kinds of operation, in the order of their LogTypeID (item 0 is every kind).
const ScreenSpec kSpec{
    .name = "frmBillLogQuery",
    .title = "账单操作记录查询",
    .size = {11070, 7980},
    .criteria = CriteriaOf<BillLogQueryCriteria>(BillLogQueryStatement),
    .branch = {BillLogBranch},
    .rows = {{BeginDate,
              EndDate,
              {.name = "cboLogType",
               .kind = CriterionKind::List,
               .label = "操作类型:",
               .labelWidth = 900,
               .width = 1800,
               .source = {.kind = ListSource::Items,
                          .items = {{"Msg_ComboBox_All"},
                                    {"Msg_DoDiscount", "打折"},
                                    {"Msg_TransferTable", "转台"},
                                    {"Msg_MergeTable", "并台"},
                                    {"Msg_UnPreCheckOut", "撤销埋单"},
                                    {"Msg_ChangeServiceRate", "修改服务费率"},
                                    {"Msg_ChangePersonCount", "修改就餐人数"},
                                    {"Msg_UnCheckBill", "反结账"},
                                    {"Msg_ChangeMenuAmount", "修改菜品数量"},
                                    {"Msg_ChangeMenuPrice", "修改菜品价格"}}},
               .into = Into(&BillLogQueryCriteria::logType)}}},
    .views = {{
        .title = "账单操作记录查询",
        .columns =
            {
                TextColumn("BillID", "单号", 1800),
                TextColumn("TableID", "台号", 1000),
                TextColumn("TableName", "台名", 1500),
                TextColumn("CreatePerson", "操作员", 1000),
                TextColumn("CreateTime", "操作时间", 1800),
                TextColumn("LogTypeName", "操作类型", 1500),
                TextColumn("Remark", "操作说明", 5000),
            },
        .centred = {1, 2, 3, 4, 5, 6},
        // A bill still open is not found by the bill detail, which then opens nothing.
        .detailColumn = 1,
        .openDetail = OpenBillDetail,
    }},
    .texts = {{"Msg_Bill_OtherBranch", "账单 %1 属于您无权查看的分店，不能打开。"}},
};

} // namespace

frmBillLogQuery::frmBillLogQuery(QWidget* parent) : QueryReportScreen(kSpec, parent) {}

void frmBillLogQuery::cmdOpen()
{
    if (!OpenableBill(grid(), 1, ownText("Msg_Bill_OtherBranch"), this))
        return;
    QueryReportScreen::cmdOpen();
}
