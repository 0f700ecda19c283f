// Pages that follow the focused application: which windows a page's fields name, the
// page the user chose by hand, and the deck following real focus changes on the X
// server (openbox) and on headless sway, bursts included.
#include "appmatch.h"
#include "deck.h"
#include "focussource.h"
#include "hostsession.h"
#include "hostsessions.h"
#include "pageappsdialog.h"
#include "pagefollower.h"
#include "swayfocussource.h"
#include "x11focussource.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Three pages: 0 the user's, 1 for "alpha", 2 for "beta" windows titled "*notes*".
// Page 0 may hold a multi-action key that waits `runMs`.
QByteArray followProfile(int page = 0, int runMs = 0)
{
    QJsonArray keys;
    if (runMs > 0)
        keys.append(QJsonObject{{"slot", 0}, {"category", "com.corvane.vantahost.multiaction"}, {"target", "m0"},
                                {"title", "M"}, {"steps", QJsonArray{runMs}}});
    const QJsonArray pages{QJsonObject{{"keys", keys}, {"label", "mine"}},
                           QJsonObject{{"keys", QJsonArray()}, {"apps", QJsonArray{"alpha"}}},
                           QJsonObject{{"keys", QJsonArray()}, {"apps", QJsonArray{"BETA"}}, {"titles", QJsonArray{"*notes*"}}}};
    return QJsonDocument(QJsonObject{{"version", 2}, {"grid", QJsonObject{{"columns", 3}, {"rows", 2}}},
                                     {"page", page}, {"pages", pages}})
        .toJson(QJsonDocument::Compact);
}

// Runs a program to its end without running this process's event loop, so that the
// events it causes wait for the next turn of the loop, all together.
int runBlocking(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(20000))
        return -1;
    return process.exitCode();
}

// Test windows, ended with the test.
class Windows
{
public:
    ~Windows()
    {
        for (QProcess* process : std::as_const(m_processes)) {
            process->closeWriteChannel();
            process->terminate();
            if (!process->waitForFinished(3000))
                process->kill();
            process->waitForFinished(2000);
            delete process;
        }
    }
    // An xmessage window with WM_CLASS instance `name`; its window id.
    QString xmessage(const QString& name, const QString& title)
    {
        start(QStringLiteral("xmessage"), {"-name", name, "-title", title, "focus " + name});
        return outputOf(QStringLiteral("xdotool"), {"search", "--sync", "--classname", "^" + name + "$"}).section('\n', 0, 0);
    }
    // A Wayland window with app id `app` on the compositor of `display`.
    void wayland(const QString& display, const QString& app, const QString& title)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("WAYLAND_DISPLAY"), display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QFileInfo(display).absolutePath());
        env.remove(QStringLiteral("DISPLAY"));
        start(QStringLiteral(FOCUS_WINDOW), {title, app}, env);
    }

private:
    void start(const QString& program, const QStringList& arguments,
               const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
    {
        auto* process = new QProcess;
        process->setProcessEnvironment(env);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(program, arguments);
        m_processes << process;
    }
    QList<QProcess*> m_processes;
};

} // namespace

class tst_PageFollow : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    void matches_data()
    {
        QTest::addColumn<QJsonObject>("page");
        QTest::addColumn<QString>("appId");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("matches");
        const QJsonObject editor{{"apps", QJsonArray{"xmessage", "org.gnome.TextEditor"}}};
        const QJsonObject titled{{"apps", QJsonArray{"firefox"}}, {"titles", QJsonArray{"*mail*", "Calendar ?"}}};
        QTest::newRow("app id without case") << editor << "ORG.GNOME.TEXTEDITOR" << "gnome-text-edit" << "a" << true;
        QTest::newRow("process name") << editor << "Xmessage2" << "xmessage" << "" << true;
        QTest::newRow("part of a name is no match") << editor << "org.gnome.TextEditor.Devel" << "editor" << "" << false;
        QTest::newRow("title pattern, without case") << titled << "firefox" << "" << "Inbox - MAIL" << true;
        QTest::newRow("title ? is one character") << titled << "firefox" << "" << "Calendar 7" << true;
        QTest::newRow("title * spans slashes") << titled << "firefox" << "" << "a/b mail/c" << true;
        QTest::newRow("title outside the patterns") << titled << "firefox" << "" << "Calendar 12" << false;
        QTest::newRow("title alone is not enough") << titled << "chromium" << "" << "mail" << false;
        QTest::newRow("no apps: nothing") << QJsonObject{{"titles", QJsonArray{"*"}}} << "x" << "x" << "x" << false;
        QTest::newRow("apps not a list: nothing") << QJsonObject{{"apps", "xmessage"}} << "xmessage" << "" << "" << false;
        QTest::newRow("a name that is no string: nothing") << QJsonObject{{"apps", QJsonArray{"x", 3}}} << "x" << "" << "" << false;
    }

    void matches()
    {
        QFETCH(QJsonObject, page);
        QFETCH(QString, appId);
        QFETCH(QString, program);
        QFETCH(QString, title);
        FocusedWindow window;
        window.appId = appId;
        window.program = program;
        window.title = title;
        QFETCH(bool, matches);
        QCOMPARE(AppMatch::fromPage(page).matches(window), matches);
    }

    // A page shown for an application is not the user's choice: the profile keeps the
    // page chosen by hand, and the page fields (known or not) come back as they were.
    void handPageIsStored()
    {
        QStringList problems;
        const auto session = startedSession(m_dir->path(), &problems, followProfile(0));
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
        Deck& deck = session->deck();
        QString error;
        QVERIFY(deck.followPage(2, &error));
        QCOMPARE(deck.currentPage(), 2);
        QCOMPARE(deck.profile(), QJsonDocument::fromJson(followProfile(0)).object());
        QVERIFY(deck.setCurrentPage(2, &error));  // now chosen by hand
        QCOMPARE(deck.profile()["page"].toInt(), 2);
        QVERIFY(deck.setPageApps(0, {"gamma"}, {}, &error));
        QVERIFY(deck.setPageApps(2, {}, {}, &error));
        QCOMPARE(deck.pageSettings(0), (QJsonObject{{"label", "mine"}, {"apps", QJsonArray{"gamma"}}}));
        QCOMPARE(deck.pageSettings(2), QJsonObject());
        QVERIFY(!deck.setPageApps(3, {"x"}, {}, &error));
    }

    // Under openbox: two programs in turn, one no page names, a page chosen by hand, bursts.
    void followsX11()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs the X server of the test session");
        Windows windows;
        const QString alpha = windows.xmessage("alpha", "alpha");
        const QString beta = windows.xmessage("beta", "beta notes");
        const QString gamma = windows.xmessage("gamma", "gamma notes");
        QVERIFY(!alpha.isEmpty() && !beta.isEmpty() && !gamma.isEmpty());
        QStringList problems;
        const auto session = startedSession(m_dir->path(), &problems, followProfile(0));
        auto* source = new X11FocusSource;
        QVERIFY(source->connected());
        PageFollower follower(*session, source);
        followFocus(*session, [&](const QString& which) {
            return runBlocking("xdotool", {"windowactivate", "--sync", which == "alpha" ? alpha : which == "beta" ? beta : gamma});
        }, [&](const QStringList& order) {
            QStringList arguments;
            for (const QString& which : order)
                arguments << "windowactivate" << (which == "alpha" ? alpha : which == "beta" ? beta : gamma);
            const QString last = arguments.last();
            if (runBlocking("xdotool", arguments) != 0)
                return false;
            // Waits without the event loop: the focus events stay queued until the burst is over.
            for (int i = 0; i < 400; ++i) {
                if (outputOf("xdotool", {"getactivewindow"}).toULongLong() == last.toULongLong())
                    return true;
                QThread::msleep(25);
            }
            return false;
        });
    }

    // The same on headless sway, through its IPC socket.
    void followsSway()
    {
        const QString display = qEnvironmentVariable("SYSTEMDLL_TEST_SWAY_DISPLAY");
        const QString socket = qEnvironmentVariable("SYSTEMDLL_TEST_SWAYSOCK");
        if (display.isEmpty() || socket.isEmpty())
            QSKIP("no headless sway (SYSTEMDLL_TEST_SWAY_DISPLAY, SYSTEMDLL_TEST_SWAYSOCK; scripts/test starts one)");
        const auto focus = [&](const QString& which) {
            return runBlocking("swaymsg", {"-s", socket, QStringLiteral("[app_id=\"^%1$\"] focus").arg(which)});
        };
        Windows windows;
        windows.wayland(display, "alpha", "alpha");
        windows.wayland(display, "beta", "beta notes");
        windows.wayland(display, "gamma", "gamma notes");
        for (const char* which : {"alpha", "beta", "gamma"})
            QVERIFY2(QTest::qWaitFor([&] { return focus(which) == 0; }, 20000), which);
        QStringList problems;
        const auto session = startedSession(m_dir->path(), &problems, followProfile(0));
        auto* source = new SwayFocusSource(socket);
        PageFollower follower(*session, source);
        QVERIFY(QTest::qWaitFor([&] { return source->subscribed(); }, 10000));
        followFocus(*session, focus, [&](const QStringList& order) {
            QStringList commands;
            for (const QString& which : order)
                commands << QStringLiteral("[app_id=\"^%1$\"] focus").arg(which);
            return runBlocking("swaymsg", {"-s", socket, commands.join("; ")}) == 0;
        });
    }

    // The page's settings offer the programs with windows; the choice is stored.
    void settingsOfferOpenPrograms()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs the X server of the test session");
        Windows windows;
        QVERIFY(!windows.xmessage("alpha", "alpha").isEmpty());
        QStringList problems;
        const auto session = startedSession(m_dir->path(), &problems, followProfile(0));
        X11FocusSource source;
        PageAppsDialog dialog(session->deck(), 2, &source);
        auto* programs = dialog.findChild<QListWidget*>("programs");
        QCOMPARE(dialog.apps(), QStringList{"BETA"});  // what the page names, checked
        QVERIFY(QTest::qWaitFor([&] { return !programs->findItems("Xmessage", Qt::MatchExactly).isEmpty(); }, 5000));
        QVERIFY(programs->findItems("tst_pagefollow", Qt::MatchContains).isEmpty());  // not the host's own
        dialog.check("Xmessage");
        QCOMPARE(dialog.titles(), QStringList{"*notes*"});
        dialog.findChild<QLineEdit*>("titles")->setText(" *a* , ,b? ");
        QString error;
        QVERIFY(dialog.apply(&error));
        QCOMPARE(session->deck().pageSettings(2),
                 (QJsonObject{{"apps", QJsonArray{"BETA", "Xmessage"}}, {"titles", QJsonArray{"*a*", "b?"}}}));
    }

    // A multi-action key of the shown page would stop if its page went: the page
    // follows the focus once the run has ended.
    void waitsForAMultiActionRun()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs the X server of the test session");
        Windows windows;
        const QString alpha = windows.xmessage("alpha", "alpha");
        const QString gamma = windows.xmessage("gamma", "gamma");
        QVERIFY(!alpha.isEmpty() && !gamma.isEmpty());
        QCOMPARE(runBlocking("xdotool", {"windowactivate", "--sync", gamma}), 0);
        QStringList problems;
        const auto session = startedSession(m_dir->path(), &problems, followProfile(0, 1500));
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
        PageFollower follower(*session, new X11FocusSource);
        Deck& deck = session->deck();
        QSignalSpy done(&deck, &Deck::runFinished);
        QString error;
        QVERIFY2(deck.press(0, &error), qPrintable(error));
        QVERIFY(deck.isRunning(0));
        QCOMPARE(runBlocking("xdotool", {"windowactivate", "--sync", alpha}), 0);
        QTest::qWait(300);
        QCOMPARE(deck.currentPage(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(done.count() == 1, 10000);
        QTRY_COMPARE(deck.currentPage(), 1);
    }

    // Headless, each switch is a "page" line while the script waits.
    void headlessPrintsSwitches()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs the X server of the test session");
        Windows windows;
        const QString alpha = windows.xmessage("alpha", "alpha");
        const QString other = windows.xmessage("other", "other");
        QVERIFY(!alpha.isEmpty() && !other.isEmpty());
        QCOMPARE(runBlocking("xdotool", {"windowactivate", "--sync", other}), 0);
        const QString script = m_dir->filePath("steps.json");
        QVERIFY(TestFiles::write(script, R"([{"do":"apps","page":1,"apps":["alpha"]},{"do":"dump"},{"do":"wait","ms":3000}])"));
        QProcess host;
        host.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        host.start(QStringLiteral(VANTA_HOST), {"--headless", "--follow-focus", "--library", SYSTEMDLL_LIBRARY, "--config-dir",
                                                m_dir->path(), "--no-launch", "--script", script});
        QList<QJsonObject> lines;
        const auto readLines = [&] {
            while (host.canReadLine())
                lines << QJsonDocument::fromJson(host.readLine()).object();
        };
        QVERIFY(QTest::qWaitFor([&] {
            host.waitForReadyRead(50);
            readLines();
            return !lines.isEmpty() && lines.last()["kind"] == "profile";
        }, 20000));
        const QJsonObject stored = lines.last().value("profile").toObject();
        QCOMPARE(stored["pages"].toArray()[1].toObject()["apps"], QJsonValue(QJsonArray{"alpha"}));
        QCOMPARE(runBlocking("xdotool", {"windowactivate", "--sync", alpha}), 0);
        QCOMPARE(runBlocking("xdotool", {"windowactivate", "--sync", other}), 0);
        QVERIFY(host.waitForFinished(20000));
        readLines();
        QCOMPARE(host.exitCode(), 0);
        lines.erase(std::remove_if(lines.begin(), lines.end(), [](const QJsonObject& line) { return line["kind"] != "page"; }),
                    lines.end());
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], (QJsonObject{{"kind", "page"}, {"page", 1}, {"app", "Xmessage"}, {"title", "alpha"}}));
        QCOMPARE(lines[1], (QJsonObject{{"kind", "page"}, {"page", 0}, {"app", "Xmessage"}, {"title", "other"}}));
    }

private:
    // The steps both desktops go through: `focus(name)` focuses one window and waits for
    // it; `burst(names)` focuses each in turn at once, returning when the last is focused.
    template<typename Focus, typename Burst>
    void followFocus(HostSession& session, Focus focus, Burst burst)
    {
        Deck& deck = session.deck();
        QCOMPARE(focus("alpha"), 0);
        QTRY_COMPARE(deck.currentPage(), 1);
        QCOMPARE(focus("beta"), 0);
        QTRY_COMPARE(deck.currentPage(), 2);
        QCOMPARE(focus("gamma"), 0);  // no page names it
        QTRY_COMPARE(deck.currentPage(), 0);
        QCOMPARE(focus("alpha"), 0);
        QTRY_COMPARE(deck.currentPage(), 1);

        // A page chosen by hand stays until the focus moves, and is the one it comes back to.
        QString error;
        QVERIFY(deck.setCurrentPage(2, &error));
        QTest::qWait(200);
        QCOMPARE(deck.currentPage(), 2);
        QCOMPARE(focus("gamma"), 0);
        QTest::qWait(200);
        QCOMPARE(deck.currentPage(), 2);
        QCOMPARE(focus("alpha"), 0);
        QTRY_COMPARE(deck.currentPage(), 1);
        QVERIFY(deck.setCurrentPage(0, &error));

        // Ten changes at once: one switch, to the page of the last.
        QSignalSpy shown(&deck, &Deck::pageChanged);
        QVERIFY(burst({"beta", "alpha", "gamma", "alpha", "beta", "gamma", "alpha", "gamma", "alpha", "beta"}));
        QTRY_COMPARE(deck.currentPage(), 2);
        QTest::qWait(300);
        QCOMPARE(shown.count(), 1);
        shown.clear();
        QVERIFY(burst({"alpha", "beta", "alpha", "gamma", "beta", "alpha", "beta", "alpha", "beta", "gamma"}));
        QTRY_COMPARE(deck.currentPage(), 0);
        QTest::qWait(300);
        QCOMPARE(shown.count(), 1);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(tst_PageFollow)
#include "tst_pagefollow.moc"
