// The current-service slot: made from its variable, replaced, and freed with the
// application, also when the library that holds it is unloaded first.
#include "platform/serviceslot.h"
#include "serviceslotprobe.h"
#include "testfiles.h"

#include <QFile>
#include <QLibrary>
#include <QtTest>

namespace {
const char* const kVariable = "TST_SERVICESLOT_BACKEND";

int g_announced = 0;

void announce(const ServiceSlotProbe&)
{
    ++g_announced;
}

// Each test has an application of its own, to see what goes with it.
std::unique_ptr<QCoreApplication> application()
{
    static int argc = 1;
    static char name[] = "tst_serviceslot";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QCoreApplication>(argc, argv);
}

bool isMapped(const QString& path)
{
    return TestFiles::read(QStringLiteral("/proc/self/maps")).contains(QFile::encodeName(QFileInfo(path).canonicalFilePath()));
}
}

class tst_ServiceSlot : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        qputenv(kVariable, "first");
        g_announced = 0;
    }

    void madeOnceAndFreedWithTheApplication()
    {
        ServiceSlot<ServiceSlotProbe> slot(kVariable, announce);
        auto app = application();
        ServiceSlotProbe* service = slot.instance();
        QCOMPARE(service->backend, QStringLiteral("first"));
        qputenv(kVariable, "second");  // read at creation only
        QCOMPARE(slot.instance(), service);
        QCOMPARE(g_announced, 1);
        app.reset();
        QCOMPARE(ServiceSlotProbe::alive, 0);
        // A later application gets a new one, made from the variable as it is now.
        app = application();
        QCOMPARE(slot.instance()->backend, QStringLiteral("second"));
        app.reset();
        QCOMPARE(ServiceSlotProbe::alive, 0);
    }

    void replaced()
    {
        ServiceSlot<ServiceSlotProbe> slot(kVariable, announce);
        slot.setInstance(std::make_unique<ServiceSlotProbe>("before the application"));
        auto app = application();
        slot.setInstance(std::make_unique<ServiceSlotProbe>("set"));
        QCOMPARE(ServiceSlotProbe::alive, 1);
        QCOMPARE(slot.instance()->backend, QStringLiteral("set"));
        slot.setInstance(nullptr);
        QCOMPARE(ServiceSlotProbe::alive, 0);
        QCOMPARE(slot.instance()->backend, QStringLiteral("first"));
        QCOMPARE(g_announced, 1);  // set services are not announced
        app.reset();
        QCOMPARE(ServiceSlotProbe::alive, 0);
    }

    // A slot that goes before the application takes its post routine with it.
    void slotGoesFirst()
    {
        auto app = application();
        {
            ServiceSlot<ServiceSlotProbe> slot(kVariable, announce);
            slot.instance();
        }
        QCOMPARE(ServiceSlotProbe::alive, 0);
        app.reset();  // would call the post routine of the slot that went
    }

    // The host unloads the library before its application ends: the application must not
    // call into the unloaded code.
    void libraryUnloadedFirst()
    {
        auto app = application();
        QLibrary module(QStringLiteral(SERVICESLOT_MODULE));
        auto take = reinterpret_cast<const char* (*)()>(module.resolve("serviceSlotModuleTake"));
        QVERIFY2(take, qPrintable(module.errorString()));
        QCOMPARE(take(), "held");
        QVERIFY(module.unload());
        QVERIFY2(!isMapped(QStringLiteral(SERVICESLOT_MODULE)), "the module stayed loaded: this proves nothing");
        app.reset();
    }
};

QTEST_APPLESS_MAIN(tst_ServiceSlot)
#include "tst_serviceslot.moc"
