#pragma once

#include "reports/bills/ItemPriceSource.h"
#include "reports/periods/MenuEngineeringFigures.h"
#include "ui/QueryReportScreen.h"

class MenuEngineeringChart;

// The menu engineering report: each dish sold in a date range with its quantity, its share of
// all dishes sold, average price, unit cost, unit and total contribution margin, classed as a
// star, plowhorse, puzzle or dog against the range's averages (MenuEngineeringFigures). Views:
// every dish, one per class, the dishes without a cost, and the chart of popularity against
// margin in four quadrants (its grid holds the points). Whether the item lines carry their own
// cost price is found out once, when the screen loads; otherwise the menu's is read.
class frmMenuEngineering : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmMenuEngineering(QWidget* parent = nullptr);

    enum View
    {
        AllDishes,
        Stars,
        Plowhorses,
        Puzzles,
        Dogs,
        WithoutCost,
        Chart
    };

    bool itemPrice() const { return m_prices.lastAnswer(); }
    MenuEngineeringChart* chart() const { return m_chart; }
    // The figures of the last refresh.
    const MenuEngineeringFigures& figures() const { return m_figures; }

public slots:
    // The chart view writes pictures (.png, .svg, .pdf) from the chart, its points otherwise.
    bool exportGrid(const QString& path) override;

protected:
    int writeCells(int view, Sheet* grid, QString* failure) override;
    // The probe's answer: whether the item lines carry their own cost price.
    void completeCriteria(CriteriaValue& criteria) override;
    void formLoad() override;
    void cmdPrint1() override;
    void toggleFullScreen() override;

private:
    QString className(MenuClass c) const;
    int writeDishes(int view, Sheet* grid);
    int writePoints(Sheet* grid);

    ItemPriceSource m_prices;
    MenuEngineeringFigures m_figures;
    MenuEngineeringChart* m_chart = nullptr;
};
