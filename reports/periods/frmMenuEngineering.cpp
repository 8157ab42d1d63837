#include "reports/periods/frmMenuEngineering.h"

#include "core/HostContext.h"
#include "core/mod_ADO.h"
#include "db/SqlError.h"
#include "framework/HostUi.h"
#include "query/ItemCriteria.h"
#include "query/ScreenSpec.h"
#include "query/SummaryPlanner.h"
#include "reports/bills/BillItemCostSql.h"
#include "reports/periods/MenuEngineeringChart.h"
#include "sheet/Sheet.h"
#include "ui/ctlQuery.h"

#include <QGuiApplication>
#include <QKeySequence>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QShortcut>

namespace {

using K = CriterionKind;
using namespace ColumnKind;
using namespace BackColour;

ColumnSpec number(const char* field, const char* caption, int width, int back = Yellow,
                  int kind = Number)
{
    return {.field = field, .caption = caption, .kind = kind, .width = width, .back = back};
}

std::vector<ColumnSpec> dishColumns()
{
    return {TextColumn("MenuID", "菜号", 500),
            TextColumn("MenuName", "菜名", 1100),
            TextColumn("MenuUnitName", "单位", 500),
            TextColumn("MenuTypeName", "菜品类别", 600),
            number("MenuAmount", "销售数量", 800, Grey),
            number("MenuShare", "销售占比", 800, Grey, Percent),
            number("theSumOfConsume", "销售金额", 1100, Grey),
            number("AveragePrice", "平均售价", 900),
            number("UnitCost", "单位成本", 900),
            number("UnitMargin", "单位毛利", 900),
            number("TotalMargin", "毛利合计", 1100),
            TextColumn("MenuClass", "分类", 600)};
}

ViewSpec dishView(const char* option, const char* title)
{
    return {.option = option,
            .title = title,
            .columns = dishColumns(),
            .centred = {1, 3, 12},
            .ownCells = true};
}

const ScreenSpec kSpec{
    .name = "frmMenuEngineering",
    .title = "菜单工程分析表",
    .size = {11595, 8490},
    .criteria = CriteriaOf<MenuEngineeringCriteria, ItemLineCriteria>(MenuEngineeringStatement),
    .branch = {ItemLineBranch},
    .rows =
        {
            {BeginDate, EndDate, BranchCriterionSpec(),
             IsSentMenuSpec(Into(&ItemLineCriteria::giftScope))},
            {DepartTypesSpec(Into(&ItemLineCriteria::departType)),
             MenuTypesSpec(Into(&ItemLineCriteria::menuType)), UseTrueData, Saving},
            {{.name = "optQuery", .kind = K::Views, .width = 1150}},
        },
    .views =
        {
            dishView("全部菜品", "菜单工程分析表"),
            dishView("明星", "菜单工程分析表(明星)"),
            dishView("耕马", "菜单工程分析表(耕马)"),
            dishView("谜题", "菜单工程分析表(谜题)"),
            dishView("瘦狗", "菜单工程分析表(瘦狗)"),
            dishView("无成本", "菜单工程分析表(无成本)"),
            {.option = "象限图",
             .title = "菜单工程象限图",
             .columns = {TextColumn("MenuID", "菜号", 800), TextColumn("MenuName", "菜名", 1500),
                         TextColumn("MenuUnitName", "单位", 700),
                         number("MenuShare", "销售占比", 1000, Grey, Percent),
                         number("UnitMargin", "单位毛利", 1000),
                         TextColumn("MenuClass", "分类", 800)},
             .centred = {1, 3, 6},
             .ownCells = true},
        },
    .texts = {{"Msg_Total", "合计"},
              {"Msg_Class_Star", "明星"},
              {"Msg_Class_Plowhorse", "耕马"},
              {"Msg_Class_Puzzle", "谜题"},
              {"Msg_Class_Dog", "瘦狗"},
              {"Msg_Class_NoCost", "无成本"},
              {"Msg_PopularityLine", "人气线"},
              {"Msg_MarginLine", "平均毛利"},
              {"Msg_ChartLines", "分界线"}},
};

// Grid columns of the dish views.
enum DishColumn
{
    ColMenuID = 1,
    ColMenuName,
    ColUnit,
    ColMenuType,
    ColAmount,
    ColShare,
    ColSales,
    ColPrice,
    ColCost,
    ColUnitMargin,
    ColTotalMargin,
    ColClass
};

std::optional<MenuClass> classOfView(int view)
{
    switch (view) {
    case frmMenuEngineering::Stars:
        return MenuClass::Star;
    case frmMenuEngineering::Plowhorses:
        return MenuClass::Plowhorse;
    case frmMenuEngineering::Puzzles:
        return MenuClass::Puzzle;
    case frmMenuEngineering::Dogs:
        return MenuClass::Dog;
    case frmMenuEngineering::WithoutCost:
        return MenuClass::NoCost;
    default:
        return std::nullopt;
    }
}

void putMoney(Sheet* grid, int row, int col, const std::optional<Money>& m)
{
    if (m)
        grid->setNumber(row, col, m->toDouble());
}

void boldRow(Sheet* grid, int row)
{
    QFont bold = grid->defaultFont();
    bold.setBold(true);
    CellStyle style;
    style.font = bold;
    grid->setRowStyle(row, style);
}

} // namespace

frmMenuEngineering::frmMenuEngineering(QWidget* parent) : QueryReportScreen(kSpec, parent)
{
    m_chart = new MenuEngineeringChart(this);
    m_chart->setObjectName(QStringLiteral("Chart2D1"));
    setViewBody(Chart, m_chart);
}

void frmMenuEngineering::formLoad()
{
    m_prices.probe();
}

void frmMenuEngineering::completeCriteria(CriteriaValue& criteria)
{
    criteria.as<MenuEngineeringCriteria>().itemPrice = m_prices.linesCarryPrice();
}

QString frmMenuEngineering::className(MenuClass c) const
{
    switch (c) {
    case MenuClass::Star:
        return ownText("Msg_Class_Star");
    case MenuClass::Plowhorse:
        return ownText("Msg_Class_Plowhorse");
    case MenuClass::Puzzle:
        return ownText("Msg_Class_Puzzle");
    case MenuClass::Dog:
        return ownText("Msg_Class_Dog");
    default:
        return ownText("Msg_Class_NoCost");
    }
}

int frmMenuEngineering::writeCells(int view, Sheet* grid, QString*)
{
    const CriteriaValue criteria = readCriteria(); // throws when refused
    const Statement raw = branchScope(criteria).fill(m_spec.criteria.statement(view, criteria));
    m_figures = MenuEngineeringFigures::read(
        hostContext().connection(),
        SummaryPlanner::answerItems(*hostContext().connection(), true, raw));
    grid->setReDraw(false);
    grid->setMaxRows(0);
    return view == Chart ? writePoints(grid) : writeDishes(view, grid);
}

int frmMenuEngineering::writeDishes(int view, Sheet* grid)
{
    const std::optional<MenuClass> only = classOfView(view);
    int row = 0;
    for (const MenuDish& d : m_figures.dishes) {
        if (only && d.menuClass != *only)
            continue;
        grid->setMaxRows(++row);
        grid->setText(row, ColMenuID, d.menuId);
        grid->setText(row, ColMenuName, d.menuName);
        grid->setText(row, ColUnit, d.unitName);
        grid->setText(row, ColMenuType, d.menuType);
        grid->setNumber(row, ColAmount, MenuEngineeringFigures::quantityValue(d.quantity));
        grid->setNumber(row, ColShare, d.sharePercent);
        grid->setNumber(row, ColSales, d.sales.toDouble());
        grid->setNumber(row, ColPrice, d.averagePrice.toDouble());
        if (d.unitCost) {
            grid->setNumber(row, ColCost, d.unitCost->toDouble());
            grid->setNumber(row, ColUnitMargin, d.unitMargin.toDouble());
            grid->setNumber(row, ColTotalMargin, d.totalMargin.toDouble());
        }
        grid->setText(row, ColClass, className(d.menuClass));
    }
    const MenuEngineeringFigures::Totals t = m_figures.totals(only);
    const int total = row + 1;
    grid->setMaxRows(total);
    grid->setText(total, ColMenuID, ownText("Msg_Total"));
    grid->setNumber(total, ColAmount, MenuEngineeringFigures::quantityValue(t.quantity));
    grid->setNumber(total, ColShare, t.sharePercent);
    grid->setNumber(total, ColSales, t.sales.toDouble());
    putMoney(grid, total, ColPrice, t.averagePrice);
    putMoney(grid, total, ColCost, t.unitCost);
    putMoney(grid, total, ColUnitMargin, t.unitMargin);
    if (t.costedQuantity > 0)
        grid->setNumber(total, ColTotalMargin, t.totalMargin.toDouble());
    boldRow(grid, total);
    return total;
}

int frmMenuEngineering::writePoints(Sheet* grid)
{
    MenuChartData data = MenuChartData::from(m_figures);
    int row = 0;
    for (const MenuDish& d : m_figures.dishes) {
        if (d.menuClass == MenuClass::NoCost)
            continue;
        grid->setMaxRows(++row);
        grid->setText(row, 1, d.menuId);
        grid->setText(row, 2, d.menuName);
        grid->setText(row, 3, d.unitName);
        grid->setNumber(row, 4, d.sharePercent);
        grid->setNumber(row, 5, d.unitMargin.toDouble());
        grid->setText(row, 6, className(d.menuClass));
    }
    // The lines that part the quadrants, as the row after the points.
    const int lines = row + 1;
    grid->setMaxRows(lines);
    grid->setText(lines, 2, ownText("Msg_ChartLines"));
    grid->setNumber(lines, 4, m_figures.popularityPercent);
    grid->setNumber(lines, 5, m_figures.averageMargin.toDouble());
    boldRow(grid, lines);

    const LanguageSection* texts = languageTexts();
    const QString control = queryControl(Chart)->objectName();
    data.title = queryControl(Chart)->Title();
    data.xAxis = texts->text(control, QStringLiteral("MenuShare"));
    data.yAxis = texts->text(control, QStringLiteral("UnitMargin"));
    for (MenuClass c : {MenuClass::Star, MenuClass::Plowhorse, MenuClass::Puzzle, MenuClass::Dog})
        data.classNames << className(c);
    data.popularityLine = ownText("Msg_PopularityLine");
    data.marginLine = ownText("Msg_MarginLine");
    m_chart->setData(data);
    return lines;
}

bool frmMenuEngineering::exportGrid(const QString& path)
{
    if (currentView() != Chart || !MenuEngineeringChart::isPicture(path))
        return QueryReportScreen::exportGrid(path);
    QString error;
    const bool ok = m_chart->save(path, &error);
    setLastError(error);
    return ok;
}

void frmMenuEngineering::cmdPrint1()
{
    if (currentView() != Chart) {
        QueryReportScreen::cmdPrint1();
        return;
    }
    if (HostUi::isHeadless())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        m_chart->print(&printer);
}

void frmMenuEngineering::toggleFullScreen()
{
    if (currentView() != Chart) {
        QueryReportScreen::toggleFullScreen();
        return;
    }
    // The chart alone, as large as the screen; Esc closes it.
    auto* full = new MenuEngineeringChart;
    full->setAttribute(Qt::WA_DeleteOnClose);
    full->setWindowTitle(windowTitle());
    full->setData(m_chart->data());
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), full);
    connect(esc, &QShortcut::activated, full, &QWidget::close);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        full->setGeometry(screen->availableGeometry());
    full->show();
    // It takes the keyboard, so Esc closes it and not the screen underneath (a window shown
    // without a window manager is not activated by itself).
    full->raise();
    full->activateWindow();
    full->setFocus(Qt::ActiveWindowFocusReason);
}
