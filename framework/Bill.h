#pragma once

#include "db/Connection.h"
#include "db/Money.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

// Which bills may be read one by one: those of the listed branches (all when none are listed)
// and, unless allowed, none flagged deleted.
struct BillScope
{
    std::optional<QStringList> branchIds;
    bool includeDeleted = true;

    // The condition on bi_Bill's columns ("" when everything is in scope), its values
    // appended to `params`.
    QString condition(QVariantList* params) const;
};

// One bill header of bi_Bill, loaded by bill number. Before a successful load (and after a
// failed one) every property is empty or zero.
class Bill
{
public:
    // Reads from `connection`, or from the bill service's connection when none is given.
    explicit Bill(ConnectionPtr connection = {});

    // Loads the bill with this number (trimmed); false when it is not found, outside the scope
    // or cannot be read.
    bool load(const QString& billId);
    // Why the last load could not read the bill (empty when it was read, or simply not found).
    const QString& lastError() const { return m_error; }
    void setScope(const BillScope& scope) { m_scope = scope; }
    bool isLoaded() const { return !m_row.isEmpty(); }
    // Fills the bill from a row already read (the bill collection's rows).
    void setRow(const QVariantMap& row);

    // Any column of the header row, NULL and missing columns as empty text.
    QVariant value(const QString& column) const;
    QString text(const QString& column) const { return value(column).toString(); }

    QString BillID() const { return text(QStringLiteral("BillID")); }
    QString OriginalID() const { return text(QStringLiteral("OriginalID")); }
    QDateTime BillDate() const;
    QString BillPeriod() const { return text(QStringLiteral("BillPeriod")); }
    QString TableFullName() const { return text(QStringLiteral("TableFullName")); }
    QString MemberCardID() const { return text(QStringLiteral("MemberCardID")); }
    // The card holder's name from mb_MemberInfo, when the bill has a member.
    QString MemberName() const { return m_memberName; }
    int PeopleCount() const { return value(QStringLiteral("PeopleCount")).toInt(); }
    QDateTime CreateTime() const;
    QString CreatePerson() const { return text(QStringLiteral("CreatePerson")); }
    QDateTime CheckOutTime() const;
    QString CheckOutPerson() const { return text(QStringLiteral("CheckOutPerson")); }
    QString ChargePerson() const { return text(QStringLiteral("ChargePerson")); }
    QString DiscountPerson() const { return text(QStringLiteral("DiscountPerson")); }
    QString DiscountName() const { return text(QStringLiteral("DiscountName")); }
    double DiscountRate() const { return value(QStringLiteral("DiscountRate")).toDouble(); }
    double ServiceRate() const { return value(QStringLiteral("ServiceRate")).toDouble(); }
    Money SumForDiscount() const { return money(QStringLiteral("SumForDiscount")); }
    Money SumOfService() const { return money(QStringLiteral("SumOfService")); }
    Money SumOfConsume() const { return money(QStringLiteral("SumOfConsume")); }
    Money SumPaid() const { return money(QStringLiteral("SumPaid")); }

private:
    Money money(const QString& column) const { return Money::fromVariant(value(column)); }

    ConnectionPtr m_connection;
    BillScope m_scope;
    QVariantMap m_row;
    QString m_memberName;
    QString m_error;
};
