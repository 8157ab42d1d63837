#include "core/HostBinding.h"
#include "core/HostContext.h"
#include "framework/BillService.h"
#include "framework/DataListService.h"
#include "framework/HostObject.h"
#include "framework/MemberService.h"
#include "framework/PrintService.h"
#include "tests/support/TestDatabase.h"

#include <QtTest>

#include <stdexcept>

namespace {

// A host whose true-data property cannot be read.
class BrokenHost : public HostObject
{
public:
    using HostObject::HostObject;
    bool trueDataAllowed() const override { throw std::runtime_error("unreadable"); }
};

QList<FrameworkService*> services()
{
    return {DataListService::existing(), BillService::existing(), MemberService::existing(),
            PrintService::existing()};
}

} // namespace

class tst_HostBinding : public QObject
{
    Q_OBJECT
private slots:
    void bindingAndRebinding();
    void brokenConnectionOrHost();
};

void tst_HostBinding::bindingAndRebinding()
{
    TestDatabase db;
    db.run("INSERT INTO pv_User (UserID, UserName, UserGroupID) VALUES ('001','管理员','G1');");
    HostObject host(db.connection(), true, "001");
    BindHost(&host);
    const HostContext& context = hostContext();
    QCOMPARE(context.Connection, db.connection());
    QVERIFY(context.TrueDataAllowed);
    QCOMPARE(context.UserID, QString("001"));
    QCOMPARE(context.UserGroupID, QString("G1"));
    const QList<FrameworkService*> first = services();
    for (FrameworkService* s : first) {
        QVERIFY(s);
        QCOMPARE(s->connection(), db.connection());
        QVERIFY(s->trueDataAllowed());
        QCOMPARE(s->initializeCount(), 1);
    }

    // Rebinding: a user without a pv_User row gets no group; the same services are rebound.
    HostObject second(db.connection(), false, "002");
    BindHost(&second);
    QCOMPARE(context.UserID, QString("002"));
    QCOMPARE(context.UserGroupID, QString());
    QVERIFY(!context.TrueDataAllowed);
    QCOMPARE(services(), first);
    for (FrameworkService* s : first) {
        QCOMPARE(s->initializeCount(), 2);
        QVERIFY(!s->trueDataAllowed());
    }
}

void tst_HostBinding::brokenConnectionOrHost()
{
    TestDatabase db;
    db.run("INSERT INTO pv_User (UserID, UserName, UserGroupID) VALUES ('001','管理员','G1');");
    HostObject good(db.connection(), true, "001");
    BindHost(&good);
    QCOMPARE(hostContext().UserGroupID, QString("G1"));

    // An unopened connection: the group query fails, the group is empty, binding goes on.
    auto unopened = std::make_shared<Connection>();
    HostObject closed(unopened, false, "001");
    BindHost(&closed);
    QCOMPARE(hostContext().Connection, unopened);
    QCOMPARE(hostContext().UserGroupID, QString());
    QCOMPARE(DataListService::existing()->connection(), unopened);

    // No connection at all (null): still no crash, still no group.
    HostObject none(nullptr, false, "001");
    BindHost(&none);
    QCOMPARE(hostContext().UserGroupID, QString());

    // A property that cannot be read leaves its field as it was; the later steps still run.
    BindHost(&good);
    BrokenHost broken(db.connection(), false, "003");
    BindHost(&broken);
    QVERIFY(hostContext().TrueDataAllowed);
    QCOMPARE(hostContext().UserID, QString("003"));
    QCOMPARE(hostContext().UserGroupID, QString());

    const int before = BillService::existing()->initializeCount();
    BindHost(nullptr);
    QCOMPARE(hostContext().UserID, QString("003"));
    QCOMPARE(BillService::existing()->initializeCount(), before + 1);
}

QTEST_MAIN(tst_HostBinding)
#include "tst_hostbinding.moc"
