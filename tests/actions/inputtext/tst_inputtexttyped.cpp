// Input Text on a Wayland session where no clipboard reaches the target (no data
// control, no portal): the text is typed through the keyboard backend, here the
// recording one, with the characters that have a key; the rest is left out, said once.
#include "actions/inputtext/textpaster.h"
#include "platform/keyboard/keyevent.h"
#include "platform/keyboard/record/recordingkeyboardservice.h"

#include <QGuiApplication>
#include <QtTest>

class tst_InputTextTyped : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        auto recorder = std::make_unique<RecordingKeyboardService>();
        m_recorder = recorder.get();
        KeyboardEventService::setInstance(std::move(recorder));
    }

    void cleanupTestCase() { KeyboardEventService::setInstance(nullptr); }

    void typed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("enter");
        QTest::addColumn<int>("keys");     // keys pressed for the text
        QTest::addColumn<int>("shifted");  // of them with Shift
        QTest::newRow("plain") << QStringLiteral("abc 123") << false << 7 << 0;
        QTest::newRow("capitals and signs") << QStringLiteral("Hi, (you)!") << false << 10 << 4;
        QTest::newRow("accents and kanji left out") << QStringLiteral("Grüße ✓ 東京") << false << 5 << 1;
        QTest::newRow("outside the basic plane") << QStringLiteral("a\U0001F600b") << false << 2 << 0;
        QTest::newRow("lines, tab, Enter") << QStringLiteral("one\r\ntwo\tx") << true << 10 << 0;
        QTest::newRow("empty with Enter") << QString() << true << 1 << 0;
    }

    // Each key goes down and up before the next (nothing held across characters), Shift
    // is carried exactly where asked, and Enter ends the text when asked.
    void typed()
    {
        QFETCH(QString, text);
        QFETCH(bool, enter);
        QFETCH(int, keys);
        QFETCH(int, shifted);
        m_recorder->clear();
        TextPaster paster;
        if (!m_warned) {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no way to set the clipboard.*texts are typed"));
            m_warned = true;
        }
        paster.paste(text, enter);
        const KeyEventSequence& events = m_recorder->events();
        QCOMPARE(events.size(), 2 * keys);
        int shifts = 0;
        for (int i = 0; i < events.size(); i += 2) {
            QVERIFY(events[i].down);
            QVERIFY(!events[i + 1].down);
            QCOMPARE(events[i + 1].code, events[i].code);
            shifts += events[i].setsFlags && (events[i].flags & KeyEvent::ShiftFlag) ? 1 : 0;
        }
        QCOMPARE(shifts, shifted);
        QCOMPARE(events.size() >= 2 && events[events.size() - 2].code == MacKeyCode::kKeypadEnter, enter);
        QCOMPARE(paster.loan().isOpen(), false);  // nothing was lent
    }

private:
    RecordingKeyboardService* m_recorder = nullptr;
    bool m_warned = false;
};

// A Wayland session whose compositor is not there and a platform without a clipboard
// shared with anyone: no way to lend the clipboard exists.
int main(int argc, char** argv)
{
    qputenv("WAYLAND_DISPLAY", "vanta-no-such-compositor");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("SYSTEMDLL_KEYBOARD_BACKEND", "record");
    QGuiApplication app(argc, argv);
    tst_InputTextTyped test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_inputtexttyped.moc"
