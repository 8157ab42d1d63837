#include "core/mod_ADO.h"

#include "core/HostContext.h"
#include "db/SqlError.h"

#include <QComboBox>
#include <QMdiSubWindow>

namespace {

// A list holding exactly one list stands for that inner list, however deep the nesting.
QVariantList unwrapParameters(QVariantList params)
{
    while (params.size() == 1 && params.first().typeId() == QMetaType::QVariantList)
        params = params.first().toList();
    return params;
}

RowDict rowOf(const Recordset& rs)
{
    RowDict row;
    const int count = rs.fieldCount();
    row.reserve(count);
    for (int i = 0; i < count; ++i)
        row.insert(rs.fieldName(i), rs.isNull(i) ? QVariant(QStringLiteral("")) : rs.value(i));
    return row;
}

// The report screen a control sits on (the widget inside its MDI frame, or its window).
QWidget* screenOf(QWidget* widget)
{
    QWidget* screen = widget;
    while (screen->parentWidget() && !screen->isWindow() &&
           !qobject_cast<QMdiSubWindow*>(screen->parentWidget()))
        screen = screen->parentWidget();
    return screen;
}

} // namespace

std::unique_ptr<Recordset> ExecuteRecordset(const QString& sql, const QVariantList& params)
{
    return hostContext().connection()->execute(sql, unwrapParameters(params));
}

RowCollection ExecuteRows(const QString& sql, const QVariantList& params, QString* error)
{
    RowCollection rows;
    try {
        auto rs = ExecuteRecordset(sql, params);
        while (!rs->atEnd()) {
            rows.append(rowOf(*rs));
            rs->moveNext();
        }
    } catch (const std::exception& e) {
        if (error) // the rows read so far
            *error = QString::fromUtf8(e.what());
    }
    return rows;
}

KeyedRows ExecuteKeyedRows(const QString& sql, const QString& keyColumn, const QVariantList& params)
{
    KeyedRows rows;
    try {
        for (auto rs = ExecuteRecordset(sql, params); !rs->atEnd(); rs->moveNext()) {
            RowDict row = rowOf(*rs);
            const QString key = row.value(keyColumn).toString();
            if (!rows.contains(key))
                rows.insert(key, std::move(row));
        }
    } catch (const std::exception&) {
        // the rows read so far
    }
    return rows;
}

RowDict ExecuteFirstRow(const QString& sql, const QVariantList& params)
{
    try {
        return ReadFirstRow(sql, params);
    } catch (const std::exception&) {
        return {}; // nothing read
    }
}

RowCollection ReadRows(const QString& sql, const QVariantList& params)
{
    RowCollection rows;
    for (auto rs = ExecuteRecordset(sql, params); !rs->atEnd(); rs->moveNext())
        rows.append(rowOf(*rs));
    return rows;
}

KeyedRows ReadKeyedRows(const QString& sql, const QString& keyColumn, const QVariantList& params)
{
    KeyedRows rows;
    for (auto rs = ExecuteRecordset(sql, params); !rs->atEnd(); rs->moveNext()) {
        RowDict row = rowOf(*rs);
        const QString key = row.value(keyColumn).toString();
        if (!rows.contains(key))
            rows.insert(key, std::move(row));
    }
    return rows;
}

RowDict ReadFirstRow(const QString& sql, const QVariantList& params)
{
    auto rs = ExecuteRecordset(sql, params);
    return rs->atEnd() ? RowDict() : rowOf(*rs);
}

int CountRows(const QString& sql, const QVariantList& params)
{
    QString query = sql;
    if (!sql.toUpper().contains(QLatin1String(" TOP ")))
        query = QStringLiteral("SELECT TOP 100 PERCENT ") + sql.trimmed().mid(6);
    auto rs = hostContext().connection()->execute(QStringLiteral("SELECT COUNT(*) FROM (") + query +
                                                      QStringLiteral(") AS THE_VIEW"),
                                                  unwrapParameters(params));
    if (rs->atEnd())
        throw SqlError(QStringLiteral("the row count returned no row"));
    return rs->value(0).toInt();
}

bool TableExists(const QString& table)
{
    try {
        hostContext().connection()->execute(QStringLiteral(" SELECT * FROM [") + table +
                                            QStringLiteral("] WHERE 1<>1 "));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool TableHasRows(const QString& table)
{
    return !ExecuteRows(QStringLiteral("select top 1 * from [") + table + QStringLiteral("]"))
                .isEmpty();
}

bool CheckConnection()
{
    try {
        ExecuteRecordset(QStringLiteral("select getdate()"));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void FillComboFromQuery(QComboBox* combo, const QString& column, const QString& sql)
{
    if (!combo)
        return;
    QWidget* screen = screenOf(combo);
    screen->setCursor(Qt::WaitCursor);
    try {
        auto rs = hostContext().connection()->execute(sql);
        const int index = rs->fieldIndex(column);
        if (index < 0)
            throw SqlError(QStringLiteral("no column %1").arg(column));
        while (!rs->atEnd()) {
            if (!rs->isNull(index)) {
                const QString text = rs->value(index).toString();
                if (!text.trimmed().isEmpty() &&
                    combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0)
                    combo->addItem(text);
            }
            rs->moveNext();
        }
        MarkListFailure(combo, QString());
    } catch (const std::exception& e) {
        // stop quietly; the items added so far stay
        MarkListFailure(combo, QString::fromUtf8(e.what()));
    }
    screen->unsetCursor();
}

QString ListFailure(const QComboBox* combo)
{
    return combo ? combo->property("vtxListFailure").toString() : QString();
}

void MarkListFailure(QComboBox* combo, const QString& reason)
{
    if (combo)
        combo->setProperty("vtxListFailure", reason.isEmpty() ? QVariant() : QVariant(reason));
}

RowCollection ExecuteRows(const Statement& statement, QString* error)
{
    statement.requireFilled();
    return ExecuteRows(statement.text(), statement.parameters(), error);
}
