#include "reports/periods/frmBomReport.h"

#include "core/mod_ADO.h"
#include "query/QueryColumn.h"
#include "query/QueryColumns.h"
#include "query/ScreenSpec.h"
#include "reports/periods/StockReports.h"
#include "ui/CriteriaBar.h"
#include "ui/ctlQuery.h"

namespace {

using K = CriterionKind;
using BackColour::Grey;

// Standard and actual consumption, their difference and the difference relative to standard.
std::vector<ColumnSpec> comparison(std::vector<ColumnSpec> leading)
{
    leading.push_back(SumColumn("theQtyBom", "标准耗量", 1200, "theQtyBom<>0", Grey));
    leading.push_back(SumColumn("theQtyUse", "实际耗量", 1200, "theQtyUse<>0", Grey));
    leading.push_back(SumColumn("theQtyUse-theQtyBom|DifferenceSum", "差异额", 1200,
                                "theQtyUse-theQtyBom<>0", Grey));
    leading.push_back({.field = "(theQtyUse-theQtyBom)/theQtyBom|DifferenceRate",
                       .caption = "差异率",
                       .kind = ColumnKind::Percent,
                       .width = 1200,
                       .back = Grey});
    return leading;
}

const char kStandard[] = "标耗";
const char kActual[] = "实耗";

const ScreenSpec kSpec{
    .name = "frmBomReport",
    .title = "原材料耗量对比表",
    .size = {11595, 8490},
    .criteria = CriteriaOf<StockCriteria>(BomReportStatement),
    .branch = {StockBranch},
    .rows =
        {
            {BeginDate, EndDate, BranchCriterionSpec("分店:", 1500, "st_BOM")},
            {QueryListSpec("cboItemType", "物品类别:", 900, 1500,
                           "SELECT DISTINCT ItemTypeID,ItemTypeName FROM st_BOM ORDER BY "
                           "ItemTypeID",
                           "ItemTypeName", Into(&StockCriteria::itemType)),
             {.name = "cboItemID",
              .kind = K::Text,
              .label = "物品:",
              .labelWidth = 600,
              .width = 1600,
              .text = "输入物品的编码（前面部分）或者名称（任何部分）",
              .into = Into(&StockCriteria::itemText)},
             {.name = "chkNotNull",
              .kind = K::LabelledCheck,
              .label = "只显示有耗量的物品",
              .labelWidth = 1900,
              .into = Into(&StockCriteria::notNull)}},
            {{.name = "optQuery", .kind = K::Views, .width = 1800}, Compare},
        },
    .views =
        {
            {.option = "按原材料对比",
             .title = "原材料耗量明细对比表",
             .columns = comparison(
                 {TextColumn("ItemID", "编码", 800), TextColumn("ItemName", "品名", 1600),
                  TextColumn("Spec", "规格", 800), TextColumn("ItemTypeName", "类别", 1200),
                  TextColumn("Unit", "单位", 800)}),
             .emptyRows = 36,
             .centred = {1, 3, 4, 5}},
            {.option = "按分类对比",
             .title = "原材料耗量分类对比表",
             .columns = comparison(
                 {TextColumn("ItemTypeID", "编码", 800), TextColumn("ItemTypeName", "类别", 1200)}),
             .emptyRows = 36,
             .centred = {1, 2}},
            {.option = "按分店对比",
             .title = "原材料耗量分店对比表",
             .columns = {TextColumn("ItemID", "编码", 800), TextColumn("ItemName", "品名", 1600),
                         TextColumn("Unit", "单位", 800)},
             .keyFields = "ItemID",
             .keyLevel = 1,
             .emptyRows = 36,
             .centred = {1, 3}},
        },
    .refusedRangeFocusesEnd = true,
};

} // namespace

frmBomReport::frmBomReport(QWidget* parent) : QueryReportScreen(kSpec, parent) {}

void frmBomReport::addColumns(int view, QueryColumns& columns)
{
    if (view != 2)
        return;
    // One pair per branch that recorded consumption at any time, so a branch without any in
    // the range still has its (empty) pair.
    for (const RowDict& row : ReadRows(BomBranchesSql())) {
        const QString id = row.value(QStringLiteral("BranchID")).toString();
        QueryColumn* header = columns.Add(
            QStringLiteral("|Branch") + id, row.value(QStringLiteral("BranchName")).toString(),
            QString(), QString(), false, 0, false, ColumnKind::Text, -1, BackColour::None, true);
        const QString branch = QStringLiteral(" AND BranchID='") + id + QStringLiteral("'");
        header->SubColumns().Add(QStringLiteral("theQtyBom"), QString::fromUtf8(kStandard),
                                 QStringLiteral("theQtyBom<>0") + branch, QString(), false, 0, true,
                                 ColumnKind::Number, 800, BackColour::Grey, true);
        header->SubColumns().Add(QStringLiteral("theQtyUse"), QString::fromUtf8(kActual),
                                 QStringLiteral("theQtyUse<>0") + branch, QString(), false, 0, true,
                                 ColumnKind::Number, 800, BackColour::Grey, true);
    }
}

std::vector<LanguageEntry> frmBomReport::ownTexts() const
{
    return {
        {QStringLiteral("ctlQuery3"), QStringLiteral("theQtyBom"), QString::fromUtf8(kStandard)},
        {QStringLiteral("ctlQuery3"), QStringLiteral("theQtyUse"), QString::fromUtf8(kActual)}};
}

QString frmBomReport::printHeader() const
{
    // The title; the date range and the category at the left, the branch at the right.
    const QString format = QStringLiteral("yyyy-MM-dd");
    return StockPrintHeader(queryControl()->Title(),
                            beginDate().toString(format) + QStringLiteral(" - ") +
                                endDate().toString(format) + QStringLiteral("  ") +
                                LabelAndChoice(*m_criteria, "cboItemType"),
                            LabelAndChoice(*m_criteria, "cboBranch"));
}
