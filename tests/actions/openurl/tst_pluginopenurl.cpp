// Open URL in-process: its address field and triggering.
#include "../actiontest.h"
#include "actions/openurl/pluginopenurl.h"
#include "platform/keyboard/record/recordingkeyboardservice.h"
#include "platform/launch/record/recordingpathlauncher.h"

#include <QDesktopServices>
#include <QLineEdit>
#include <QtTest>

#include <dlfcn.h>
#include <time.h>

namespace {
// The sleeps the GUI thread asks for while armed: milliseconds, and the urls opened
// and key events posted by then.
struct Sleep { qint64 ms; int urls, keys; };
std::function<Sleep(qint64)> g_sleepSeen;  // set: armed
QList<Sleep> g_sleeps;
}

// Every sleep of this process passes here, so that the test sees the waits of the action
// without timing them.
extern "C" Q_DECL_EXPORT int nanosleep(const timespec* request, timespec* remaining)
{
    using Real = int (*)(const timespec*, timespec*);
    static const Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "nanosleep"));
    if (g_sleepSeen && QThread::currentThread() == qApp->thread())
        g_sleeps << g_sleepSeen(request->tv_sec * 1000 + request->tv_nsec / 1000000);
    return real(request, remaining);
}

class tst_PluginOpenUrl : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        for (const char* scheme : {"https", "http", "ftp", "file", "example"})
            QDesktopServices::setUrlHandler(scheme, this, "open");
        auto recorder = std::make_unique<RecordingKeyboardService>();
        m_keys = recorder.get();
        KeyboardEventService::setInstance(std::move(recorder));
    }

    // An address set by the host is shown and not reported back; a keystroke of the user's
    // is. Action mode locks the title, not the address (the shared edits show the title
    // editable otherwise; the host tests type whole addresses).
    void urlEdits()
    {
        PluginOpenUrl action;
        action.actionMode = true;
        QVERIFY(action.init("k1", v1({{"Url", "https://a.example"}})));
        QSignalSpy sent(&action, &KYPlugin::eventSent);
        auto* edit = action.propertyWidget()->findChild<QLineEdit*>("txtEditPluginURL");
        QVERIFY(action.init("k1", v1({{"Url", "https://b.example"}})));
        QCOMPARE(edit->text(), QStringLiteral("https://b.example"));
        QCOMPARE(sent.count(), 0);
        QVERIFY(action.propertyWidget()->findChild<QLineEdit*>("lineEdtPluginTitle")->isReadOnly());

        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(sent.count(), 1);
        QCOMPARE(lastPayload(sent)["Url"].toString(), QStringLiteral("https://b.exampl"));
    }

    void trigger_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("opened");  // empty: nothing
        QTest::addColumn<bool>("keys");
        QTest::newRow("browser shortcut") << "@" << "https:" << true;
        QTest::newRow("plain") << "https://www.example.org/a?b=c#d" << "https://www.example.org/a?b=c#d" << false;
        QTest::newRow("no scheme is not prefixed") << "example.org" << "" << false;
    }

    // "@" opens the browser, waits for it on the spot, and only then sends its home page
    // shortcut; any other address is only opened.
    void trigger()
    {
        QFETCH(QString, url);
        QFETCH(QString, opened);
        QFETCH(bool, keys);
        m_urls.clear();
        m_keys->clear();
        g_sleeps.clear();
        PluginOpenUrl action;
        QVERIFY(action.init("k1", v1({{"Url", url}})));
        const QJsonObject kept{{"kept", 1}};
        g_sleepSeen = [this](qint64 ms) { return Sleep{ms, int(m_urls.size()), int(m_keys->events().size())}; };
        const QJsonObject result = answer(action, TovKyPluginEventType::kAppTriggeredEvent, kept);
        g_sleepSeen = {};
        QCOMPARE(result, kept);
        QCOMPARE(m_urls.size(), opened.isEmpty() ? 0 : 1);  // no handler for a scheme-less address
        if (!opened.isEmpty())
            QVERIFY2(m_urls.first().toString().startsWith(opened), qPrintable(m_urls.first().toString()));
        const KeyEventSequence shortcut = {KeyEvent::press(4).withFlags(0x120000), KeyEvent::release(4)};
        QCOMPARE(m_keys->events(), keys ? shortcut : KeyEventSequence{});
        qint64 waited = 0;
        for (const Sleep& sleep : std::as_const(g_sleeps)) {
            QCOMPARE(sleep.urls, 1);  // after the browser is asked for
            QCOMPARE(sleep.keys, 0);  // before any key
            waited += sleep.ms;
        }
    #ifdef Q_OS_LINUX  // where the process's own nanosleep comes first
        QCOMPARE(waited >= 100, keys);
    #endif
    }

    // With the recording launcher every address that is not a web one is recorded and
    // reaches no handler of the desktop; web addresses go on to the handlers, where a
    // recording host reports them.
    void recordedWhenNotLaunching_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("web");
        QTest::newRow("javascript") << "javascript:alert(1)" << false;
        QTest::newRow("data") << "data:text/html,<b>x</b>" << false;
        QTest::newRow("vbscript") << "vbscript:msgbox(1)" << false;
        QTest::newRow("unknown scheme") << "foo:bar" << false;
        QTest::newRow("ms-settings") << "ms-settings:display" << false;
        QTest::newRow("a scheme with a handler here") << "example:thing" << false;
        QTest::newRow("https") << "https://example.org/" << true;
    }

    void recordedWhenNotLaunching()
    {
        QFETCH(QString, url);
        QFETCH(bool, web);
        for (const char* scheme : {"javascript", "data", "vbscript", "foo", "ms-settings"})
            QDesktopServices::setUrlHandler(scheme, this, "open");
        auto recorder = std::make_unique<RecordingPathLauncher>();
        RecordingPathLauncher* recorded = recorder.get();
        PathLauncher::setInstance(std::move(recorder));
        m_urls.clear();
        PluginOpenUrl action;
        QVERIFY(action.init("k1", v1({{"Url", url}})));
        answer(action);
        using Opened = QList<RecordingPathLauncher::Opened>;
        const Opened expected = web ? Opened() : Opened{{PathLauncher::Kind::Url, QUrl(url, QUrl::TolerantMode).toString()}};
        QCOMPARE(recorded->opened(), expected);
        QCOMPARE(m_urls, web ? QList<QUrl>{QUrl(url)} : QList<QUrl>());
        PathLauncher::setInstance(nullptr);
        for (const char* scheme : {"javascript", "data", "vbscript", "foo", "ms-settings"})
            QDesktopServices::unsetUrlHandler(scheme);
    }

public slots:
    void open(const QUrl& url) { m_urls << url; }

private:
    QList<QUrl> m_urls;
    RecordingKeyboardService* m_keys = nullptr;
};

QTEST_MAIN(tst_PluginOpenUrl)
#include "tst_pluginopenurl.moc"
