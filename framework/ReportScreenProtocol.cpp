#include "framework/ReportScreenProtocol.h"

#include <QMetaMethod>
#include <QMetaObject>
#include <QObject>

namespace {

using ReportScreenProtocol::Result;

Result invoke(QObject* screen, const char* slot, const char* signature,
              std::initializer_list<QString> args)
{
    if (!screen)
        return Result::NotOffered;
    const QMetaObject* meta = screen->metaObject();
    if (meta->indexOfMethod(QMetaObject::normalizedSignature(signature)) < 0)
        return Result::NotOffered;
    bool ok = false;
    bool invoked = false;
    const QString* a = args.begin();
    switch (args.size()) {
    case 0:
        invoked =
            QMetaObject::invokeMethod(screen, slot, Qt::DirectConnection, Q_RETURN_ARG(bool, ok));
        break;
    case 1:
        invoked = QMetaObject::invokeMethod(screen, slot, Qt::DirectConnection,
                                            Q_RETURN_ARG(bool, ok), Q_ARG(QString, a[0]));
        break;
    default:
        invoked =
            QMetaObject::invokeMethod(screen, slot, Qt::DirectConnection, Q_RETURN_ARG(bool, ok),
                                      Q_ARG(QString, a[0]), Q_ARG(QString, a[1]));
        break;
    }
    return invoked && ok ? Result::Done : Result::Failed;
}

} // namespace

Result ReportScreenProtocol::applyCriterion(QObject* screen, const QString& name,
                                            const QString& value)
{
    return invoke(screen, "applyCriterion", "applyCriterion(QString,QString)", {name, value});
}

Result ReportScreenProtocol::runRefresh(QObject* screen)
{
    return invoke(screen, "runRefresh", "runRefresh()", {});
}

Result ReportScreenProtocol::exportGrid(QObject* screen, const QString& path)
{
    return invoke(screen, "exportGrid", "exportGrid(QString)", {path});
}

Result ReportScreenProtocol::openSavedCriteria(QObject* screen, const QString& name)
{
    return invoke(screen, "openSavedCriteria", "openSavedCriteria(QString)", {name});
}

Result ReportScreenProtocol::drillDown(QObject* screen, const QString& at)
{
    return invoke(screen, "drillDown", "drillDown(QString)", {at});
}

namespace {
QString text(QObject* screen, const char* slot, const char* signature)
{
    QString value;
    if (screen && screen->metaObject()->indexOfMethod(signature) >= 0)
        QMetaObject::invokeMethod(screen, slot, Qt::DirectConnection, Q_RETURN_ARG(QString, value));
    return value;
}
} // namespace

QString ReportScreenProtocol::lastError(QObject* screen)
{
    return text(screen, "lastError", "lastError()");
}

QString ReportScreenProtocol::lastNotice(QObject* screen)
{
    return text(screen, "lastNotice", "lastNotice()");
}

bool ReportScreenProtocol::offers(const QObject* screen, const char* slotName)
{
    if (!screen)
        return false;
    const QMetaObject* meta = screen->metaObject();
    for (int i = 0; i < meta->methodCount(); ++i)
        if (meta->method(i).name() == slotName)
            return true;
    return false;
}
