#include "db/StatementLog.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>

std::shared_ptr<StatementLog> StatementLog::create(const QString& path, QString* error)
{
    std::shared_ptr<StatementLog> log(new StatementLog(path));
    if (!log->m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, log->m_file.errorString());
        return nullptr;
    }
    return log;
}

void StatementLog::attach(const std::shared_ptr<StatementLog>& log, Connection& connection)
{
    connection.setStatementTrace(
        [log](const Connection::TracedStatement& statement) { log->write(statement); });
    connection.setFailureTrace(
        [log](const Connection::TracedStatement& statement, const QString& error) {
            log->writeFailure(statement, error);
        });
}

void StatementLog::writeFailure(const Connection::TracedStatement& statement, const QString& error)
{
    const QJsonObject record{{QStringLiteral("failed"), error},
                             {QStringLiteral("tsql"), statement.tsql},
                             {QStringLiteral("native"), statement.nativeSql}};
    const QByteArray line = QJsonDocument(record).toJson(QJsonDocument::Compact) + '\n';
    QMutexLocker lock(&m_mutex);
    m_file.write(line);
    m_file.flush();
}

void StatementLog::write(const Connection::TracedStatement& statement)
{
    QJsonArray params;
    for (const QVariant& v : Connection::boundParameters(statement.params, SqlDialect::MsSql))
        params.append(serverParameter(v));
    int markers = 0;
    const QString server = serverText(statement.tsql, &markers);
    const QJsonObject record{{QStringLiteral("tsql"), statement.tsql},
                             {QStringLiteral("server"), server},
                             {QStringLiteral("markers"), markers},
                             {QStringLiteral("params"), params},
                             {QStringLiteral("native"), statement.nativeSql}};
    const QByteArray line = QJsonDocument(record).toJson(QJsonDocument::Compact) + '\n';
    QMutexLocker lock(&m_mutex);
    m_file.write(line);
    m_file.flush(); // a run that crashes leaves every statement before the crash
}

QString StatementLog::serverText(const QString& tsql, int* markers)
{
    QString text;
    text.reserve(tsql.size() + 16);
    int count = 0;
    const qsizetype n = tsql.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = tsql.at(i);
        const QChar next = i + 1 < n ? tsql.at(i + 1) : QChar();
        qsizetype end = -1; // the last character of a quoted part or comment starting here
        if (c == u'\'' || c == u'"' || c == u'[') {
            // '' inside a literal and ]] inside a name read as two quoted parts in a row.
            end = tsql.indexOf(c == u'[' ? QChar(u']') : c, i + 1);
        } else if (c == u'-' && next == u'-') {
            end = tsql.indexOf(QLatin1Char('\n'), i);
            if (end >= 0)
                --end;
        } else if (c == u'/' && next == u'*') {
            end = tsql.indexOf(QLatin1String("*/"), i + 2);
            if (end >= 0)
                ++end;
        } else if (c == u'?') {
            text += QStringLiteral("@P%1").arg(++count);
            continue;
        } else {
            text += c;
            continue;
        }
        if (end < 0)
            end = n - 1; // unterminated: the rest of the text
        text += QStringView(tsql).mid(i, end - i + 1);
        i = end;
    }
    if (markers)
        *markers = count;
    return text;
}

QJsonObject StatementLog::serverParameter(const QVariant& value)
{
    // The SQL types that Qt's ODBC driver binds each value type as.
    QString type;
    QJsonValue json;
    switch (value.typeId()) {
    case QMetaType::QDateTime: {
        const QDateTime t = value.toDateTime();
        type = QStringLiteral("SQL_TIMESTAMP");
        json = t.toString(t.time().msec() ? QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")
                                          : QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        break;
    }
    case QMetaType::Int:
        type = QStringLiteral("SQL_INTEGER");
        json = value.toInt();
        break;
    case QMetaType::UInt:
        type = QStringLiteral("SQL_NUMERIC");
        json = qint64(value.toUInt());
        break;
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        type = QStringLiteral("SQL_BIGINT");
        json = value.toLongLong();
        break;
    case QMetaType::Double:
        type = QStringLiteral("SQL_DOUBLE");
        json = value.toDouble();
        break;
    case QMetaType::Bool:
        type = QStringLiteral("SQL_BIT");
        json = value.toBool();
        break;
    case QMetaType::QString: {
        const QString s = value.toString();
        type = s.size() * 2 > 254 ? QStringLiteral("SQL_WLONGVARCHAR")
                                  : QStringLiteral("SQL_WVARCHAR");
        json = s.isNull() ? QJsonValue(QJsonValue::Null) : QJsonValue(s);
        break;
    }
    default: // bound as bytes
        type = QStringLiteral("SQL_VARBINARY");
        json = value.isValid() ? QJsonValue(QString::fromLatin1(value.typeName()))
                               : QJsonValue(QJsonValue::Null);
    }
    if (value.isNull())
        json = QJsonValue(QJsonValue::Null);
    return {{QStringLiteral("odbc"), type}, {QStringLiteral("value"), json}};
}
