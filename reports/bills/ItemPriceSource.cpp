#include "reports/bills/ItemPriceSource.h"

#include "core/mod_ADO.h"
#include "db/SqlError.h"
#include "reports/bills/BillItemCostSql.h"

void ItemPriceSource::probe()
{
    m_error.clear();
    try {
        ExecuteRecordset(QString::fromLatin1(ItemPriceProbe));
        m_linesCarryPrice = true;
    } catch (const SqlError& e) {
        m_linesCarryPrice = false;
        if (!e.isMissingObject())
            m_error =
                QStringLiteral("cannot tell whether the bill lines carry prices (bi_BillItem): ") +
                e.message();
    }
}

bool ItemPriceSource::linesCarryPrice()
{
    if (!m_error.isEmpty()) {
        probe();
        if (!m_error.isEmpty())
            throw SqlError(m_error);
    }
    return m_linesCarryPrice;
}
