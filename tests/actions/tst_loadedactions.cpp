// Actions through the built library, as a host drives them, on the suite's display and
// window manager. Windows Control works on real windows of this test, read back with
// xwininfo and xprop, apart from the code under test. System Multimedia reaches a
// grabbing X client through the platform's own backend, and the reference host prints
// what a press sends.
#include "actioninterface.h"
#include "mediakeygrabber.h"
#include "packageinterface.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

namespace {
const QString kCategory = QStringLiteral("com.corvane.system.windowscontrol");
const QString kMultimedia = QStringLiteral("com.corvane.system.multimedia");
const QJsonObject kTrigger{{"event", QJsonObject{{"type", "tov.ky.plugin.event.app.triggered"}}}};
enum Action { Resize = 0, Minimise = 1, Maximise = 2, Close = 3 };

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished();
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

QString xprop(QWidget* window, const char* property)
{
    return run("xprop", {"-id", QString::number(window->winId()), property});
}

QRect clientGeometry(QWidget* window)
{
    const QString info = run("xwininfo", {"-id", QString::number(window->winId())});
    const auto field = [&](const char* label) {
        return QRegularExpression(QString(label) + ":\\s*(-?\\d+)").match(info).captured(1).toInt();
    };
    return QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height"));
}

// The outer frame, decorations included: xwininfo's client geometry plus the frame
// extents xprop reports.
QRect outerFrame(QWidget* window)
{
    const QStringList e = xprop(window, "_NET_FRAME_EXTENTS").section('=', 1).split(',');
    const QMargins extents = e.size() == 4 ? QMargins(e[0].toInt(), e[2].toInt(), e[1].toInt(), e[3].toInt())
                                           : QMargins();
    return clientGeometry(window).marginsAdded(extents);
}

bool isManaged(QWidget* window)
{
    return run("xprop", {"-root", "_NET_CLIENT_LIST"}).contains("0x" + QString::number(window->winId(), 16));
}

QString ownProcessName()  // as /proc has it: cut to 15 bytes
{
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName().left(15);
}
} // namespace

class tst_LoadedActions : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(!run("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("not found"), "needs a window manager");
        QVERIFY2(qEnvironmentVariableIsEmpty("SYSTEMDLL_MEDIA_BACKEND"), "the platform's own media backend is tested");
        QString error;
        m_grabber = MediaKeyGrabber::open(&error);
        QVERIFY2(m_grabber, qPrintable(error));
        QVERIFY2(m_library.load(), qPrintable(m_library.errorString()));
        auto instance = reinterpret_cast<host::InstanceFunction>(m_library.resolve("instance"));
        QVERIFY(instance);
        m_package = instance();
        QVERIFY(m_package->init({{"port", 1}, {"configDir", QDir::tempPath()}, {"cloudType", 0}}));
    }

    void cleanup()
    {
        qDeleteAll(m_actions);
        m_actions.clear();
        qDeleteAll(m_windows);
        m_windows.clear();
        QTest::qWait(50);
    }

    void trigger_data()
    {
        QTest::addColumn<QStringList>("titles");   // windows opened, in this order
        QTest::addColumn<QString>("target");        // the stored title
        QTest::addColumn<int>("action");
        QTest::addColumn<int>("affected");          // index into titles, -1 for none
        QTest::addColumn<int>("vanishing");         // closed after the key listed it, -1 for none
        QTest::addColumn<QStringList>("warnings");
        QTest::addColumn<bool>("inspected");        // the host asked for the inspector first

        const QStringList gone = {"^resize ignored: window \"Doomed\" has gone$",
                                  "^move ignored: window \"Doomed\" has gone$", "windows title: \"Doomed\" not found!$",
                                  "resizeTarget.* window \"Doomed\" has gone$"};
        const QStringList none;
        const QStringList notFound = {"windows title: \"Old Title\" not found!$"};
        QTest::newRow("same title: the first") << QStringList{"Twin", "Twin"} << "Twin" << int(Resize) << 0 << -1
                                               << none << true;
        QTest::newRow("minimise") << QStringList{"Bystander", "Target"} << "Target" << int(Minimise) << 1 << -1
                                  << none << true;
        QTest::newRow("maximise") << QStringList{"Target"} << "Target" << int(Maximise) << 0 << -1 << none << true;
        QTest::newRow("close") << QStringList{"Target", "Bystander"} << "Target" << int(Close) << 0 << -1 << none
                               << true;
        QTest::newRow("title gone, the process's only window")
            << QStringList{"Renamed"} << "Old Title" << int(Resize) << 0 << -1 << notFound << true;
        QTest::newRow("title gone, two windows of the process")
            << QStringList{"Renamed", "Other"} << "Old Title" << int(Resize) << -1 << -1 << notFound << true;
        QTest::newRow("resize, never inspected") << QStringList{"Target", "Bystander"} << "Target" << int(Resize) << 0
                                                 << -1 << none << false;
        // Within the key's one-second listing, so the lookup still finds it.
        QTest::newRow("closed after listing") << QStringList{"Doomed", "Bystander"} << "Doomed" << int(Resize) << -1 << 0
                                              << gone << true;
    }

    void trigger()
    {
        QFETCH(QStringList, titles);
        QFETCH(QString, target);
        QFETCH(int, action);
        QFETCH(int, affected);
        QFETCH(int, vanishing);
        QFETCH(QStringList, warnings);
        QFETCH(bool, inspected);

        QList<QPointer<QWidget>> windows;
        QList<QRect> before;
        for (const QString& title : titles) {
            QVERIFY((windows << open(title)).last());
            before << outerFrame(windows.last());
        }
        const QRect requested(140, 90, 500, 320);
        host::ActionInterface* key = make({{"version", 1}, {"windowTitleName", target},
                                           {"processNameOfWindow", ownProcessName()},
                                           {"windowAction", QString::number(action)},
                                           {"leftTopPositionX", requested.x()}, {"leftTopPositionY", requested.y()},
                                           {"windowSizeW", requested.width()}, {"windowSizeH", requested.height()}});
        QVERIFY(key);
        if (inspected)
            key->propertyWidget();  // the inspector lists the windows
        if (vanishing >= 0) {
            delete windows.at(vanishing);
            QTest::qWait(20);  // gone from the server
        }
        for (const QString& warning : warnings)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
        QJsonObject result{{"kept", 1}};
        key->eventReceived(kTrigger, result);
        QCOMPARE(result, QJsonObject({{"kept", 1}}));
        if (!inspected)
            QCOMPARE(inspectors(), 0);  // the trigger built none
        const QRect reached = affected >= 0 ? outerFrame(windows.at(affected)) : QRect();
        QTest::qWait(200);  // whatever the window manager would do, it has done

        for (int i = 0; i < windows.size(); ++i) {
            QWidget* w = windows.at(i);
            if (i == vanishing)
                continue;
            if (i != affected) {
                QVERIFY(w);
                QCOMPARE(outerFrame(w), before.at(i));
                QVERIFY(xprop(w, "WM_STATE").contains("Normal"));
                continue;
            }
            switch (action) {
            case Resize:  // done when the trigger returns
                QCOMPARE(reached, requested);
                break;
            case Minimise:
                QTRY_VERIFY(xprop(w, "WM_STATE").contains("Iconic"));
                break;
            case Maximise:
                QTRY_VERIFY(xprop(w, "_NET_WM_STATE").contains("_NET_WM_STATE_MAXIMIZED_VERT"));
                QVERIFY(xprop(w, "_NET_WM_STATE").contains("_NET_WM_STATE_MAXIMIZED_HORZ"));
                break;
            case Close:
                QTRY_VERIFY(!windows.at(i));
                break;
            }
        }
    }

    // A window that only takes sizes of 10 + 50 n: the attempts end, with a warning, and
    // the window at the step nearest below the request.
    void sizeIncrementsEndTheRetries()
    {
        auto* window = new QWidget;
        m_windows << window;
        window->setWindowTitle("Stepped");
        window->setGeometry(200, 200, 410, 310);
        window->winId();  // the hints reach the platform window only once it exists
        window->setBaseSize(10, 10);
        window->setSizeIncrement(50, 50);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTRY_VERIFY(isManaged(window));
        const QRect frame = outerFrame(window), client = clientGeometry(window);
        const QSize decorations = frame.size() - client.size();
        const QRect requested(60, 70, 527 + decorations.width(), 333 + decorations.height());
        host::ActionInterface* key = make({{"version", 1}, {"windowTitleName", "Stepped"}, {"windowAction", "0"},
                                           {"leftTopPositionX", requested.x()}, {"leftTopPositionY", requested.y()},
                                           {"windowSizeW", requested.width()}, {"windowSizeH", requested.height()}});
        QVERIFY(key);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("\"Stepped\" kept frame .* after 5 attempts"));
        QJsonObject result;
        key->eventReceived(kTrigger, result);
        QCOMPARE(outerFrame(window).topLeft(), requested.topLeft());
        QCOMPARE(clientGeometry(window).size(), QSize(510, 310));
    }

    // The user picks a window from the list and the fields show its frame; edits of W and
    // X are stored and the trigger applies them.
    void inspectorPicksAndApplies()
    {
        QPointer<QWidget> picked = open("Picked", QRect(250, 260, 300, 200));
        QVERIFY(picked);
        host::ActionInterface* key = make({{"version", 1}});
        QSignalSpy sent(key, host::kEventSentSignal);
        QWidget* inspector = key->propertyWidget();
        inspector->show();
        QVERIFY(QTest::qWaitForWindowExposed(inspector));
        auto* list = inspector->findChild<QComboBox*>("comboBoxWindowTitle");
        const auto field = [inspector](const char* name) { return inspector->findChild<QLineEdit*>(name); };
        QLineEdit *x = field("lineEditX"), *y = field("lineEditY"), *w = field("lineEditW"), *h = field("lineEditH");
        QVERIFY(list && w && x && y && h);
        list->showPopup();
        list->view()->setCurrentIndex(list->view()->model()->index(list->findText("Picked"), 0));
        QTest::keyClick(list->view(), Qt::Key_Return);
        // One report per setting: title and process, action, position, size, window match.
        QCOMPARE(sent.count(), 5);
        const QRect frame = outerFrame(picked);
        QCOMPARE(QRect(x->text().toInt(), y->text().toInt(), w->text().toInt(), h->text().toInt()), frame);
        const auto stored = [&] { return sent.last().first().toJsonObject()["event"].toObject()["payload"].toObject(); };
        QCOMPARE(stored()["windowTitleName"].toString(), QStringLiteral("Picked"));
        QCOMPARE(stored()["processNameOfWindow"].toString(), ownProcessName());

        x->selectAll();
        QTest::keyClicks(x, "77");
        w->selectAll();
        QTest::keyClicks(w, "444");
        QCOMPARE(stored()["leftTopPositionX"].toInt(), 77);
        QCOMPARE(stored()["windowSizeW"].toInt(), 444);
        QJsonObject result;
        key->eventReceived(kTrigger, result);
        QCOMPARE(outerFrame(picked), QRect(77, frame.y(), 444, frame.height()));
    }

    // With no player about, volume up is the X key a desktop grabs, pressed and released.
    // How each key is routed beside a player is for the media-key tests.
    void mediaPressReachesX()
    {
        host::ActionInterface* key = make({{"version", 1}, {"MultimediaIndex", 5}}, kMultimedia);
        QVERIFY(key);
        QJsonObject result;
        key->eventReceived(kTrigger, result);
        QCOMPARE(m_grabber->takeAll(2), QStringList({"+XF86AudioRaiseVolume", "-XF86AudioRaiseVolume"}));
        QCOMPARE(m_grabber->keysDown(), QStringList());
    }

    void cleanupTestCase() { delete m_package; }

private:
    static int inspectors()
    {
        const QWidgetList widgets = QApplication::allWidgets();
        return int(std::count_if(widgets.cbegin(), widgets.cend(), [](const QWidget* w) {
            return qstrcmp(w->metaObject()->className(), "WidgetPluginWindowsControl") == 0;
        }));
    }

    // A window of this process, mapped and in the window manager's client list.
    QWidget* open(const QString& title, const QRect& geometry = QRect(300, 300, 320, 240))
    {
        auto* window = new QWidget;
        m_windows << window;
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setWindowTitle(title);
        window->setGeometry(geometry);
        window->show();
        const bool shown = QTest::qWaitForWindowExposed(window) && QTest::qWaitFor([&] { return isManaged(window); });
        return shown ? window : nullptr;
    }

    host::ActionInterface* make(const QJsonObject& payload, const QString& category = kCategory)
    {
        host::ActionInterface* action = m_package->makeWidget(category, 0);
        if (!action || !action->init("key", {{"payload", payload}}))
            return nullptr;
        m_actions << action;
        return action;
    }

    QLibrary m_library{QStringLiteral(SYSTEMDLL_LIBRARY)};
    host::PackageInterface* m_package = nullptr;
    QList<QPointer<QWidget>> m_windows;
    QList<QPointer<host::ActionInterface>> m_actions;
    std::unique_ptr<MediaKeyGrabber> m_grabber;
};

QTEST_MAIN(tst_LoadedActions)
#include "tst_loadedactions.moc"
