// Input Text on a wlroots compositor (headless sway): without the focus, the text goes to
// the clipboard through the compositor's data control, a native Wayland client pastes it,
// and the user's clipboard comes back, unless someone copied in between.
#include "actions/inputtext/textpaster.h"
#include "keyprobe.h"
#include "platform/keyboard/keyboardeventservice.h"
#include "platform/wayland/virtualkeyboard.h"

#include <QSignalSpy>
#include <QtTest>

class tst_WaylandClipboard : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_display = qEnvironmentVariable("SYSTEMDLL_TEST_SWAY_DISPLAY");
        if (m_display.isEmpty())
            QSKIP("no headless sway (SYSTEMDLL_TEST_SWAY_DISPLAY unset; scripts/test starts one)");
        qputenv("WAYLAND_DISPLAY", m_display.toUtf8());  // a Wayland session, as the loan sees it
        qputenv("SYSTEMDLL_KEYBOARD_BACKEND", "wayland");
        m_probe = std::make_unique<KeyProbe>(m_display);
        QVERIFY(m_probe->waitActive());
    }

    void cleanupTestCase()
    {
        m_probe.reset();
        KeysymSender::setInstance(nullptr);
    }

    void pasteAndGiveBack()
    {
        const QString text = QStringLiteral("Grüße ✓\n東京");  // more than Latin-1, over lines
        const QString users = QStringLiteral("Straße");
        m_probe->send("clear");
        copyInProbe(users.toUtf8());
        QVERIFY(m_probe->clipboardIs(users));
        TextPaster paster;
        QSignalSpy returned(&paster.loan(), &ClipboardLoan::returned);
        m_probe->forget();
        paster.paste(text, false);
        QVERIFY2(m_probe->waitFor([&](const QJsonObject& o) { return o["text"].toString() == text; }),
                 m_probe->transcript());
        QTRY_COMPARE(returned.count(), 1);
        QCOMPARE(returned.at(0).at(0).value<ClipboardLoan::Outcome>(), ClipboardLoan::Outcome::Fetched);
        QVERIFY(m_probe->clipboardIs(users));
    }

    // Someone copies while the text is lent: their content stays.
    void newerOwnerKept()
    {
        copyInProbe("before");
        QVERIFY(m_probe->clipboardIs("before"));
        ClipboardLoan loan;
        QSignalSpy returned(&loan, &ClipboardLoan::returned);
        loan.lend(QStringLiteral("lent"));  // nobody reads it
        copyInProbe("newer");
        QTRY_COMPARE_WITH_TIMEOUT(returned.count(), 1, 2 * ClipboardLoan::kTimeLimitMs);
        QCOMPARE(returned.at(0).at(0).value<ClipboardLoan::Outcome>(), ClipboardLoan::Outcome::TakenOver);
        QVERIFY(m_probe->clipboardIs("newer"));
    }

private:
    // The client copies as a user would: the compositor takes a selection only from a
    // client that just had an input event, so a key goes to it first.
    void copyInProbe(const QByteArray& text)
    {
        m_probe->forget();
        KeyboardEventService::instance()->post({KeyEvent::press(0x35), KeyEvent::release(0x35)});  // Escape
        QVERIFY(m_probe->sawRelease(Qt::Key_Escape));
        m_probe->send("copy " + text);
    }


    QString m_display;
    std::unique_ptr<KeyProbe> m_probe;
};

QTEST_MAIN(tst_WaylandClipboard)
#include "tst_waylandclipboard.moc"
