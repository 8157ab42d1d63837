#include "reports/periods/frmInventoryReport.h"

#include "core/mod_ADO.h"
#include "query/ScreenSpec.h"
#include "reports/periods/StockReports.h"
#include "ui/CriteriaBar.h"
#include "ui/ctlQuery.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>

namespace {

using K = CriterionKind;
using BackColour::Grey;

ColumnSpec greyNumber(const char* field, const char* caption, int width, const char* condition,
                      bool sum)
{
    return {.field = field,
            .caption = caption,
            .condition = condition,
            .sum = sum,
            .kind = ColumnKind::Number,
            .width = width,
            .back = Grey};
}

// The item's number, name, specification, category and unit.
std::vector<ColumnSpec> itemColumns(int nameWidth, int typeWidth)
{
    return {TextColumn("ItemID", "编码", 800), TextColumn("ItemName", "品名", nameWidth),
            TextColumn("Spec", "规格", 800), TextColumn("ItemTypeName", "类别", typeWidth),
            TextColumn("Unit", "单位", 800)};
}

std::vector<ColumnSpec> with(std::vector<ColumnSpec> columns, std::vector<ColumnSpec> more)
{
    columns.insert(columns.end(), more.begin(), more.end());
    return columns;
}

const char* const kRanges[] = {"optRage_0", "optRage_1", "optRage_2"};

// A range option; the first is read as the number of the one chosen (StockRange).
CriterionSpec range(int n, const char* caption, int width)
{
    return {.name = kRanges[n],
            .kind = K::Option,
            .width = width,
            .text = caption,
            .into = n == 0 ? Into(&StockCriteria::stockRange) : CriterionBinding()};
}

const ScreenSpec kSpec{
    .name = "frmInventoryReport",
    .title = "库存报表",
    .size = {11595, 8325},
    .criteria = CriteriaOf<StockCriteria>(InventoryReportStatement),
    .branch = {StockBranch},
    .rows =
        {
            {BranchCriterionSpec("分店:", 1500, "rp_Inventory_Upload"),
             {.name = "cboItemType",
              .kind = K::List,
              .label = "物品类别:",
              .labelWidth = 900,
              .width = 1500,
              .source = {.kind = ListSource::Screen, .owner = "cboBranch"},
              .into = Into(&StockCriteria::itemType)},
             {.name = "cboItemID",
              .kind = K::Text,
              .label = "物品:",
              .labelWidth = 600,
              .width = 1600,
              .text = "输入物品的编码（前面部分）或者名称、简拼（任何部分）",
              .into = Into(&StockCriteria::itemText)},
             {.name = "chkNotNull",
              .kind = K::LabelledCheck,
              .label = "只显示有库存的物品",
              .labelWidth = 1900,
              .into = Into(&StockCriteria::notNull)}},
            {{.name = "optQuery", .kind = K::Views, .width = 1500}},
            {{.name = "lblRage", .kind = K::Label, .label = "范围:", .labelWidth = 600},
             range(0, "正常库存", 1100),
             range(1, "超过最高库存", 1400),
             range(2, "低于最低库存", 1400)},
        },
    .views =
        {
            {.option = "库存明细",
             .title = "库存物品明细表",
             .columns = with(itemColumns(1600, 1200),
                             {greyNumber("UnitPrice", "单价", 900, "UnitPrice<>0", false),
                              greyNumber("OnHandQty", "数量", 1000, "OnHandQty<>0", true),
                              greyNumber("OnHandSum", "金额", 1000, "OnHandSum<>0", true),
                              TextColumn("BranchName", "分店", 1200)}),
             .centred = {1, 3, 5, 9}},
            {.option = "库存汇总",
             .title = "库存物品汇总表",
             .columns = with(itemColumns(1600, 1200),
                             {greyNumber("theSum/theQty|theSum_theQty", "单价", 900,
                                         "theSum/theQty<>0 AND theQty<>0", false),
                              greyNumber("theQty", "数量合计", 1300, "theQty<>0", true),
                              greyNumber("theSum", "金额合计", 1300, "theSum<>0", true)}),
             .centred = {1, 3, 5}},
            {.option = "分类汇总",
             .title = "库存物品分类汇总表",
             .columns = {TextColumn("StockType", "库存类型", 1400),
                         TextColumn("ItemTypeName", "物品类别", 1400),
                         {.field = "theQty",
                          .caption = "数量合计",
                          .condition = "theQty<>0",
                          .sum = true,
                          .kind = ColumnKind::Number,
                          .width = 1300,
                          .back = Grey,
                          .value6 = 1},
                         {.field = "theSum",
                          .caption = "金额合计",
                          .condition = "theSum<>0",
                          .sum = true,
                          .kind = ColumnKind::Number,
                          .width = 1300,
                          .back = Grey,
                          .value6 = 1}},
             .keyFields = "ItemTypeName",
             .keyLevel = 1,
             .centred = {1, 2}},
            {.option = "库存预警",
             .title = "库存物品预警报表",
             .columns = with(itemColumns(1500, 1000),
                             {{.field = "UnitPrice",
                               .caption = "单价",
                               .kind = ColumnKind::Number,
                               .width = 900},
                              greyNumber("OnHandQty", "数量", 1000, "", true),
                              greyNumber("OnHandSum", "金额", 1000, "", true),
                              greyNumber("MinQty", "最低库存", 1000, "MinQty<>0", false),
                              greyNumber("MaxQty", "最高库存", 1000, "MaxQty<>0", false),
                              TextColumn("BranchName", "分店", 1000)}),
             .centred = {1, 3, 5, 11}},
        },
    .helpContext = "040404_InventoryQuery",
};

} // namespace

frmInventoryReport::frmInventoryReport(QWidget* parent) : QueryReportScreen(kSpec, parent) {}

QString frmInventoryReport::printHeader() const
{
    // A snapshot: no dates; the warning list says which range it shows.
    QString range;
    if (currentView() == 3) {
        const int chosen = m_criteria->shown(&StockCriteria::stockRange);
        range = static_cast<QLabel*>(m_criteria->control("lblRage"))->text() +
                static_cast<QAbstractButton*>(
                    m_criteria->control(kRanges[chosen < 0 ? int(WithinRange) : chosen]))
                    ->text();
    }
    QString right = LabelAndChoice(*m_criteria, "cboBranch");
    if (!range.isEmpty())
        right += QStringLiteral("  ") + range;
    return StockPrintHeader(queryControl()->Title(), LabelAndChoice(*m_criteria, "cboItemType"),
                            right);
}

void frmInventoryReport::fillList(const QString&, QComboBox* combo)
{
    // The categories the chosen branches uploaded; nothing while "(部分)" has none ticked.
    QString refused;
    const CriteriaValue criteria = criteriaAsShown(&refused);
    if (!refused.isEmpty())
        return;
    QString error;
    for (const RowDict& row :
         ExecuteRows(branchScope(criteria).fill(InventoryItemTypesStatement()), &error))
        combo->addItem(row.value(QStringLiteral("ItemTypeName")).toString());
    MarkListFailure(combo, error);
}
