#pragma once

#include "db/Connection.h"
#include "db/Money.h"
#include "reports/periods/MenuEngineeringSql.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

// The four classes of menu engineering, by popularity and contribution margin, and the dishes
// that cannot be classed because no cost is known for them. In this order on the report.
enum class MenuClass
{
    Star,      // popular, high margin
    Plowhorse, // popular, low margin
    Puzzle,    // unpopular, high margin
    Dog,       // unpopular, low margin
    NoCost     // no cost price: listed apart, not classed
};

// One dish (a menu item in one unit) sold in the range. Quantities are in ten-thousandths, as
// Money holds amounts (the item lines' quantities have four decimals at most).
struct MenuDish
{
    QString menuId, menuName, unitId, unitName, menuType;
    qint64 quantity = 0; // net of returns
    Money sales;
    Money cost;                // quantity x cost price, over the lines that carry one
    qint64 costedQuantity = 0; // the quantity of those lines

    // Worked out by MenuEngineeringFigures::classify:
    double sharePercent = 0;       // of all dishes sold, to four decimals
    Money averagePrice;            // sales / quantity
    std::optional<Money> unitCost; // cost / costed quantity; none: no cost known
    Money unitMargin;              // average price - unit cost
    Money totalMargin;             // sales - unit cost x quantity
    MenuClass menuClass = MenuClass::NoCost;
};

// The report's figures: every dish sold (net quantity above zero) classed against the range's
// averages. A dish is popular when its share of all dishes sold is at least 70% of an even
// share (1 / number of dishes); it has a high margin when its unit margin is at least the
// average unit margin of the dishes with a cost, weighted by their quantities (their total
// margin / their quantity). Both are compared exactly, not on rounded figures. Each figure is
// rounded half away from zero to four decimals where it is worked out.
struct MenuEngineeringFigures
{
    std::vector<MenuDish> dishes; // by class, then total margin (largest first), then number
    int dishCount = 0;            // dishes sold, with or without a cost
    qint64 totalQuantity = 0;     // of every dish
    qint64 costedQuantity = 0;    // of the dishes with a cost
    Money totalMargin;            // of the dishes with a cost
    Money averageMargin;          // totalMargin / costedQuantity: the margin line
    double popularityPercent = 0; // 70 / dishCount: the popularity line, in per cent

    // Sums over some of the dishes (a class): the figures of a totals row.
    struct Totals
    {
        qint64 quantity = 0, costedQuantity = 0;
        double sharePercent = 0;
        Money sales, totalMargin;
        std::optional<Money> averagePrice, unitCost, unitMargin; // none without the quantity
    };
    // The dishes of `only` (all of them when none).
    Totals totals(std::optional<MenuClass> only = std::nullopt) const;

    static MenuEngineeringFigures classify(std::vector<MenuDish> dishes);
    // Runs the statement (MenuEngineeringStatement, its branch condition written) and classes its
    // dishes.
    static MenuEngineeringFigures read(const ConnectionPtr& db, const Statement& statement);
    // A quantity as a number (ten-thousandths to units).
    static double quantityValue(qint64 quantity) { return double(quantity) / Money::Scale; }
};
