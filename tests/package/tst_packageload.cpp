// Drives the built library the way a host does: resolve the two entry points, then
// call the package only through the host's own declaration of the interface.
#include "packageinterface.h"

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLibrary>
#include <QProcess>
#include <QtTest>

class tst_PackageLoad : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void exportsOnlyEntryPoints();
    void sdkAndInstance();
    void orderOfUse();
    void operationsBySlot_data();
    void operationsBySlot();
    void cleanupTestCase();

private:
    host::PackageInterface* makePackage();

    QLibrary m_library{QStringLiteral(SYSTEMDLL_LIBRARY)};
    host::SdkFunction m_sdk = nullptr;
    host::InstanceFunction m_instance = nullptr;
};

void tst_PackageLoad::initTestCase()
{
    QVERIFY2(m_library.load(), qPrintable(m_library.errorString()));
    m_sdk = reinterpret_cast<host::SdkFunction>(m_library.resolve("sdk"));
    m_instance = reinterpret_cast<host::InstanceFunction>(m_library.resolve("instance"));
    QVERIFY(m_sdk);
    QVERIFY(m_instance);
}

host::PackageInterface* tst_PackageLoad::makePackage()
{
    return m_instance();
}

void tst_PackageLoad::exportsOnlyEntryPoints()
{
    QProcess nm;
    nm.start("nm", {"-D", "--defined-only", m_library.fileName()});
    QVERIFY(nm.waitForFinished());
    QStringList ours;
    for (const QByteArray& line : nm.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() == 3 && !fields[2].startsWith('_'))
            ours << QString::fromLatin1(fields[2]);
        else if (fields.size() == 3 && fields[2].startsWith("_Z"))
            ours << QString::fromLatin1(fields[2]);  // any C++ symbol is a leak
    }
    ours.sort();
    // The entry points and the three file icon helpers, nothing else.
    QCOMPARE(ours, QStringList({
                       "_ZN17TovDragDropStatic16saveFilenameIconERK7QString",
                       "_ZN17TovDragDropStatic17getShortcutPixmapERK7QStringR7QPixmapP16QFileSystemModel",
                       "_ZN17TovDragDropStatic17removePictureFileE7QString",
                       "instance",
                       "sdk",
                   }));
}

void tst_PackageLoad::sdkAndInstance()
{
    QCOMPARE(m_sdk(), 4);
    QCOMPARE(m_sdk(), 4);
    host::PackageInterface* a = makePackage();
    host::PackageInterface* b = makePackage();
    QVERIFY(a && b && a != b);
    QCOMPARE(a->parent(), nullptr);
    QCOMPARE(QString::fromLatin1(a->metaObject()->className()), QStringLiteral("SystemDll"));
    delete a;
    delete b;
}

void tst_PackageLoad::orderOfUse()
{
    host::PackageInterface* package = makePackage();
    QVERIFY(package->init({{"port", 0}, {"configDir", QDir::tempPath()}, {"cloudType", 0}}));
    QVERIFY(package->loadConfig());
    QCOMPARE(package->versionCode(), 20);
    QCOMPARE(package->versionName(), QStringLiteral("1.0.10"));

    QFile source(QStringLiteral(SYSTEMDLL_CONFIG));
    QVERIFY(source.open(QIODevice::ReadOnly));
    QCOMPARE(package->list(), QJsonDocument::fromJson(source.readAll()).object());

    QTranslator* translator = package->translate("de_DE");
    QVERIFY(translator);
    QCoreApplication::installTranslator(translator);
    const QMap<QString, QString> titles = package->mapping();
    QCOMPARE(titles.size(), 6);
    QCOMPARE(titles.value("LAB_SIDEBAR_SYSTEM_APP_FILE"), QStringLiteral("App/Datei"));
    QCoreApplication::removeTranslator(translator);

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("load translation failed.*fr_FR"));
    QCOMPARE(package->translate("fr_FR"), nullptr);
    delete package;
}

// Each row calls one virtual slot through the host's declaration; a shifted slot
// order would call a different function and give a different answer.
void tst_PackageLoad::operationsBySlot_data()
{
    QTest::addColumn<int>("slot");
    for (int slot = 1; slot <= 12; ++slot)
        QTest::newRow(qPrintable(QString::number(slot))) << slot;
}

void tst_PackageLoad::operationsBySlot()
{
    QFETCH(int, slot);
    host::PackageInterface* p = makePackage();
    QJsonObject result{{"kept", true}};
    switch (slot) {
    case 1: QVERIFY(p->loadConfig()); break;
    case 2: QCOMPARE(p->versionCode(), 0); break;  // before loadConfig
    case 3: QCOMPARE(p->versionName(), QStringLiteral("x.x.x")); break;
    case 4: QVERIFY(p->translate("en_US")); break;
    case 5: QCOMPARE(p->mapping().size(), 6); break;
    case 6: QCOMPARE(p->makeWidget("com.corvane.system.delay", 0), nullptr); break;
    case 7: QVERIFY(p->init({})); break;
    case 8: p->startService(nullptr, {}); break;
    case 9: p->stopService(); break;
    case 10: QVERIFY(p->list().isEmpty()); break;
    case 11: p->onTask({{"task", "x"}}, result); QCOMPARE(result, QJsonObject({{"kept", true}})); break;
    case 12: QVERIFY(p->postInit()); break;
    }
    delete p;
}

void tst_PackageLoad::cleanupTestCase()
{
    // The package's resources live only as long as the library.
    const QString config = QStringLiteral(":/SystemDll/CategoryConfig.json");
    QVERIFY(QFile::exists(config));
    QVERIFY(m_library.unload());
    QVERIFY(!QFile::exists(config));
    QVERIFY(!QFile::exists(QStringLiteral(":/SystemDll/language_de_DE.qm")));
}

QTEST_MAIN(tst_PackageLoad)
#include "tst_packageload.moc"
