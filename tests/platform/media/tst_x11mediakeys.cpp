// The X11 backend on the running X server: a second client grabs the media keys on
// the root window, as a desktop does, and must see each press and its release.
#include "mediakeygrabber.h"
#include "platform/media/mediakeys.h"
#include "platform/media/mediakeyservice.h"

#include <QtTest>

using MediaFunction = void (*)();
Q_DECLARE_METATYPE(MediaFunction)
Q_DECLARE_METATYPE(AuxKeyRecord)

namespace {
QStringList tap(const QString& keysym)
{
    return {QLatin1Char('+') + keysym, QLatin1Char('-') + keysym};
}
}

class tst_X11MediaKeys : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void functions_data();
    void functions();
    void sequences_data();
    void sequences();

private:
    std::unique_ptr<MediaKeyGrabber> m_grabber;
};

void tst_X11MediaKeys::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X server");
    QString error;
    m_grabber = MediaKeyGrabber::open(&error);
    QVERIFY2(m_grabber, qPrintable(error));
    MediaKeyService::setInstance(MediaKeyService::create(QStringLiteral("x11")));
    QCOMPARE(MediaKeyService::instance()->name(), QStringLiteral("x11"));
}

void tst_X11MediaKeys::functions_data()
{
    QTest::addColumn<MediaFunction>("post");
    QTest::addColumn<QStringList>("events");

    QTest::newRow("playMedia") << MediaFunction(playMedia) << tap("XF86AudioPlay");
    QTest::newRow("stopMedia") << MediaFunction(stopMedia) << tap("XF86AudioPlay");
    QTest::newRow("previousMedia") << MediaFunction(previousMedia) << tap("XF86AudioPrev");
    QTest::newRow("nextMedia") << MediaFunction(nextMedia) << tap("XF86AudioNext");
    QTest::newRow("volumeMute") << MediaFunction(volumeMute) << tap("XF86AudioMute");
    QTest::newRow("volumeUp") << MediaFunction(volumeUp) << tap("XF86AudioRaiseVolume");
    QTest::newRow("volumeDown") << MediaFunction(volumeDown) << tap("XF86AudioLowerVolume");
    QTest::newRow("key type without a keysym") << MediaFunction(+[] { HIDPostAuxKey(20); }) << QStringList();
}

void tst_X11MediaKeys::functions()
{
    QFETCH(MediaFunction, post);
    QFETCH(QStringList, events);

    if (events.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no X key for media key type 20"));
    post();
    QCOMPARE(m_grabber->take(events.size()), events);
    QCOMPARE(m_grabber->takeDelivered(), QStringList());
    QCOMPARE(m_grabber->keysDown(), QStringList());
}

void tst_X11MediaKeys::sequences_data()
{
    QTest::addColumn<AuxKeyRecordSequence>("records");
    QTest::addColumn<QStringList>("events");

    using R = AuxKeyRecord;
    QTest::newRow("lone key-down is completed") << AuxKeyRecordSequence{R::keyDown(MediaKeyType::kNext)}
                                                << tap("XF86AudioNext");
    QTest::newRow("lone key-up sends nothing") << AuxKeyRecordSequence{R::keyUp(MediaKeyType::kNext)}
                                               << QStringList();
    QTest::newRow("repeated key-down pressed once")
        << AuxKeyRecordSequence{R::keyDown(MediaKeyType::kMute), R::keyDown(MediaKeyType::kMute),
                                R::keyUp(MediaKeyType::kMute)}
        << tap("XF86AudioMute");
    QTest::newRow("two presses in one sequence")
        << (auxKeyPress(MediaKeyType::kPlay) + auxKeyPress(MediaKeyType::kSoundDown))
        << (tap("XF86AudioPlay") + tap("XF86AudioLowerVolume"));
    QTest::newRow("two downs completed in reverse")
        << AuxKeyRecordSequence{R::keyDown(MediaKeyType::kSoundUp), R::keyDown(MediaKeyType::kPrevious)}
        << QStringList{"+XF86AudioRaiseVolume", "+XF86AudioPrev", "-XF86AudioPrev", "-XF86AudioRaiseVolume"};
}

void tst_X11MediaKeys::sequences()
{
    QFETCH(AuxKeyRecordSequence, records);
    QFETCH(QStringList, events);

    MediaKeyService::instance()->post(records);
    QCOMPARE(m_grabber->take(events.size()), events);
    QCOMPARE(m_grabber->takeDelivered(), QStringList());
    QCOMPARE(m_grabber->keysDown(), QStringList());
}

QTEST_MAIN(tst_X11MediaKeys)
#include "tst_x11mediakeys.moc"
