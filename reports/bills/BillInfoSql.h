#pragma once

#include <QString>

// The statements of the bill detail and bill audit windows, as pure functions of the bill
// number or the reverse-settlement snapshot they read. Bill numbers and snapshot keys go
// between quotes through sqlQuote.

// The condition of the detail window's item and payment queries: the snapshot of a reverse
// settlement when `unCheckBillId` is not empty, the bill's own lines otherwise.
QString BillInfoCondition(const QString& billId, const QString& unCheckBillId);
// Item lines of the detail window, in the order they were ordered.
QString BillInfoItemsSql(const QString& billId, const QString& unCheckBillId = QString());
// Payments of the detail window, by tender code.
QString BillInfoPaymentsSql(const QString& billId, const QString& unCheckBillId = QString());
// The reverse settlements of a bill, oldest first.
QString UnCheckBillListSql(const QString& billId);
// Item lines and payments of the bill audit window (the bill's own tables only).
QString BillCheckItemsSql(const QString& billId);
QString BillCheckPaymentsSql(const QString& billId);
