#include "framework/FrameworkSql.h"

#include "db/Recordset.h"

#include <QDateTime>

bool FrameworkSql::rows(const ConnectionPtr& connection, const QString& sql,
                        const QVariantList& params, QList<QVariantMap>* out, QString* error,
                        SqlError::Kind* kind)
{
    if (kind)
        *kind = SqlError::Kind::Other;
    if (!connection) {
        if (error)
            *error = QStringLiteral("the database connection is not open");
        return false;
    }
    QList<QVariantMap> read;
    try {
        auto rs = connection->execute(sql, params);
        const int n = rs->fieldCount();
        for (; !rs->atEnd(); rs->moveNext()) {
            QVariantMap row;
            for (int i = 0; i < n; ++i)
                row.insert(rs->fieldName(i), rs->isNull(i) ? QVariant(QString()) : rs->value(i));
            read.append(row);
        }
    } catch (const SqlError& e) {
        if (error)
            *error = e.message();
        if (kind)
            *kind = e.kind();
        return false;
    } catch (const std::exception& e) {
        if (error)
            *error = QString::fromUtf8(e.what());
        return false;
    }
    out->append(read);
    if (error)
        error->clear();
    return true;
}

QDateTime FrameworkSql::toDateTime(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime();
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().startOfDay();
    const QString text = value.toString().trimmed();
    for (const char* format : {"yyyy-MM-dd HH:mm:ss.zzz", "yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd"}) {
        QDateTime t = QDateTime::fromString(text, QLatin1String(format));
        if (t.isValid())
            return t;
    }
    return QDateTime::fromString(text, Qt::ISODateWithMs);
}
