#include "framework/DataListService.h"
#include "framework/HostObject.h"
#include "framework/HostUi.h"
#include "framework/ISubSystem.h"
#include "framework/VersionInfo.h"
#include "tests/support/TestDatabase.h"

#include <QPluginLoader>
#include <QtTest>

// The built plug-in, loaded the way the host loads it.
class tst_SubSystem : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void versionIsCreatedOnce();
    void unknownActionsAreNotSupported();
    void bindingReachesTheSharedServices();

private:
    QPluginLoader m_loader{QStringLiteral(VTX_BIN_DIR "/vtxQueryApp.so")};
    ISubSystem* m_module = nullptr;
    ISubSystemStatus* m_status = nullptr;
};

void tst_SubSystem::initTestCase()
{
    HostUi::setHeadless(true);
    QObject* instance = m_loader.instance();
    QVERIFY2(instance, qPrintable(m_loader.errorString()));
    m_module = qobject_cast<ISubSystem*>(instance);
    m_status = qobject_cast<ISubSystemStatus*>(instance);
    QVERIFY(m_module && m_status);
}

void tst_SubSystem::versionIsCreatedOnce()
{
    VersionInfo* version = m_module->ISubSystem_Version();
    QVERIFY(version);
    QCOMPARE(version->Major, 16);
    QCOMPARE(version->Minor, 9);
    QCOMPARE(version->Revision, 1);
    QCOMPARE(version->fileVersion(), QString("16.09.0001"));
    QVERIFY(!version->CompanyName.isEmpty());
    version->CompanyName = "changed";
    QCOMPARE(m_module->ISubSystem_Version(), version);
    QCOMPARE(version->CompanyName, QString("changed")); // not refilled
}

void tst_SubSystem::unknownActionsAreNotSupported()
{
    for (const char* name : {"NoSuchAction", " DoBillQuery", "", "DoBillQuery "}) {
        m_module->ISubSystem_DoAction(name);
        QVERIFY2(!m_status->ISubSystem_LastActionMatched(), name);
    }
}

void tst_SubSystem::bindingReachesTheSharedServices()
{
    TestDatabase db;
    HostObject host(db.connection(), true, "nobody");
    m_module->ISubSystem_SetHost(&host);
    QVERIFY(DataListService::existing());
    QCOMPARE(DataListService::existing()->connection(), db.connection());
    QVERIFY(DataListService::existing()->trueDataAllowed());
}

QTEST_MAIN(tst_SubSystem)
#include "tst_subsystem.moc"
