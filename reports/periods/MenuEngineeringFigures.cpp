#include "reports/periods/MenuEngineeringFigures.h"

#include "db/Recordset.h"
#include "db/SqlError.h"

#include <algorithm>

namespace {

// num / den rounded half away from zero (den > 0), in 128 bits.
qint64 roundedRatio(__int128 num, __int128 den)
{
    const __int128 q = (2 * (num < 0 ? -num : num) + den) / (2 * den);
    return qint64(num < 0 ? -q : q);
}

Money ratio(__int128 amountUnits, qint64 quantity)
{
    return Money::fromUnits(roundedRatio(amountUnits * Money::Scale, quantity));
}

double percentOf(qint64 part, qint64 whole)
{
    return whole > 0
               ? double(roundedRatio(__int128(part) * 100 * Money::Scale, whole)) / Money::Scale
               : 0;
}

Money moneyOf(const Recordset& rs, const QString& column)
{
    return MoneyInColumn(column, [&] { return Money::fromVariant(rs.value(column)); });
}

} // namespace

MenuEngineeringFigures MenuEngineeringFigures::classify(std::vector<MenuDish> dishes)
{
    MenuEngineeringFigures f;
    std::erase_if(dishes, [](const MenuDish& d) { return d.quantity <= 0; });
    f.dishCount = int(dishes.size());
    __int128 marginSum = 0;
    for (MenuDish& d : dishes) {
        f.totalQuantity += d.quantity;
        d.averagePrice = ratio(d.sales.units(), d.quantity);
        if (d.costedQuantity > 0) {
            d.unitCost = ratio(d.cost.units(), d.costedQuantity);
            d.unitMargin = d.averagePrice - *d.unitCost;
            // Sales less the cost of the whole quantity (the lines without a cost price
            // taken at the others' unit cost).
            d.totalMargin = d.sales - Money::fromUnits(roundedRatio(
                                          __int128(d.cost.units()) * d.quantity, d.costedQuantity));
            f.costedQuantity += d.quantity;
            marginSum += d.totalMargin.units();
        }
    }
    f.totalMargin = Money::fromUnits(qint64(marginSum));
    if (f.costedQuantity > 0)
        f.averageMargin = ratio(marginSum, f.costedQuantity);
    if (f.dishCount > 0)
        f.popularityPercent = 70.0 / f.dishCount;
    for (MenuDish& d : dishes) {
        d.sharePercent = percentOf(d.quantity, f.totalQuantity);
        if (!d.unitCost) {
            d.menuClass = MenuClass::NoCost;
            continue;
        }
        // share >= 0.7 / N, and unit margin >= sum of margins / costed quantity, exactly.
        const bool popular =
            __int128(d.quantity) * f.dishCount * 10 >= __int128(f.totalQuantity) * 7;
        const bool high =
            __int128(d.unitMargin.units()) * f.costedQuantity >= marginSum * Money::Scale;
        d.menuClass = popular ? (high ? MenuClass::Star : MenuClass::Plowhorse)
                              : (high ? MenuClass::Puzzle : MenuClass::Dog);
    }
    std::stable_sort(dishes.begin(), dishes.end(), [](const MenuDish& a, const MenuDish& b) {
        if (a.menuClass != b.menuClass)
            return a.menuClass < b.menuClass;
        if (a.totalMargin != b.totalMargin)
            return a.totalMargin > b.totalMargin;
        return std::tie(a.menuId, a.unitId) < std::tie(b.menuId, b.unitId);
    });
    f.dishes = std::move(dishes);
    return f;
}

MenuEngineeringFigures::Totals MenuEngineeringFigures::totals(std::optional<MenuClass> only) const
{
    Totals t;
    __int128 margins = 0, costs = 0;
    for (const MenuDish& d : dishes) {
        if (only && d.menuClass != *only)
            continue;
        t.quantity += d.quantity;
        t.sales += d.sales;
        if (d.unitCost) {
            t.costedQuantity += d.quantity;
            margins += d.totalMargin.units();
            costs += __int128(d.unitCost->units()) * d.quantity;
        }
    }
    t.totalMargin = Money::fromUnits(qint64(margins));
    t.sharePercent = percentOf(t.quantity, totalQuantity);
    if (t.quantity > 0)
        t.averagePrice = ratio(t.sales.units(), t.quantity);
    if (t.costedQuantity > 0) {
        t.unitCost = Money::fromUnits(roundedRatio(costs, t.costedQuantity));
        t.unitMargin = ratio(margins, t.costedQuantity);
    }
    return t;
}

MenuEngineeringFigures MenuEngineeringFigures::read(const ConnectionPtr& db,
                                                    const Statement& statement)
{
    statement.requireFilled();
    auto rs = db->execute(statement.text(), statement.parameters());
    std::vector<MenuDish> dishes;
    for (; !rs->atEnd(); rs->moveNext()) {
        MenuDish d;
        d.menuId = rs->value(QStringLiteral("MenuID")).toString();
        d.menuName = rs->value(QStringLiteral("MenuName")).toString();
        d.unitId = rs->value(QStringLiteral("MenuUnitID")).toString();
        d.unitName = rs->value(QStringLiteral("MenuUnitName")).toString();
        d.menuType = rs->value(QStringLiteral("MenuTypeName")).toString();
        d.quantity = moneyOf(*rs, QStringLiteral("MenuAmount")).units();
        d.sales = moneyOf(*rs, QStringLiteral("theSumOfConsume"));
        d.cost = moneyOf(*rs, QStringLiteral("SumOfCost"));
        d.costedQuantity = moneyOf(*rs, QStringLiteral("CostAmount")).units();
        dishes.push_back(std::move(d));
    }
    return classify(std::move(dishes));
}
