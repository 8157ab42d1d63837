#pragma once

#include "db/Connection.h"

#include <QString>
#include <QVariantMap>

// A member of mb_MemberInfo, found by card number.
class Member
{
public:
    // Reads from `connection`, or from the member service's connection when none is given.
    explicit Member(ConnectionPtr connection = {});

    // Finds the member holding this card (trimmed); false when there is none or the lookup fails.
    bool findByCardNumber(const QString& cardNumber);
    bool isFound() const { return !m_row.isEmpty(); }
    QString MemberID() const { return text(QStringLiteral("MemberID")); }
    QString MemberName() const { return text(QStringLiteral("MemberName")); }
    QString text(const QString& column) const { return m_row.value(column).toString(); }

private:
    ConnectionPtr m_connection;
    QVariantMap m_row;
};
