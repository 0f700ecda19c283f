// The seven media-key functions as the recording backend keeps them: two records per
// press, byte for byte. Runs with SYSTEMDLL_MEDIA_BACKEND=record.
#include "platform/media/mediakeys.h"
#include "platform/media/mediakeyservice.h"
#include "platform/media/record/recordingmediakeyservice.h"

#include <QtTest>

using MediaFunction = void (*)();
Q_DECLARE_METATYPE(MediaFunction)

namespace {

// The 48 bytes of a record on a little-endian host: subtype 8 at offset 2, data1 at 4.
QByteArray expectedRecord(quint32 data1)
{
    QByteArray bytes(48, '\0');
    bytes[2] = 0x08;
    for (int i = 0; i < 4; ++i)
        bytes[4 + i] = char((data1 >> (8 * i)) & 0xFF);
    return bytes.toHex(' ');
}

} // namespace

class tst_MediaKeys : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void records_data();
    void records();
    void pressesAreKeptInOrder();

private:
    RecordingMediaKeyService* m_recorder = nullptr;
};

void tst_MediaKeys::initTestCase()
{
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "the expected bytes are written for little-endian hosts");
    QCOMPARE(MediaKeyService::instance()->name(), QStringLiteral("record"));
    m_recorder = dynamic_cast<RecordingMediaKeyService*>(MediaKeyService::instance());
    QVERIFY(m_recorder);
}

void tst_MediaKeys::init()
{
    m_recorder->clear();
}

void tst_MediaKeys::records_data()
{
    QTest::addColumn<MediaFunction>("post");
    QTest::addColumn<quint32>("downData1");
    QTest::addColumn<quint32>("upData1");

    QTest::newRow("playMedia") << MediaFunction(playMedia) << 0x00100A00u << 0x00100B00u;
    QTest::newRow("stopMedia is play/pause") << MediaFunction(stopMedia) << 0x00100A00u << 0x00100B00u;
    QTest::newRow("previousMedia") << MediaFunction(previousMedia) << 0x00120A00u << 0x00120B00u;
    QTest::newRow("nextMedia") << MediaFunction(nextMedia) << 0x00110A00u << 0x00110B00u;
    QTest::newRow("volumeMute") << MediaFunction(volumeMute) << 0x00070A00u << 0x00070B00u;
    QTest::newRow("volumeUp") << MediaFunction(volumeUp) << 0x00000A00u << 0x00000B00u;
    QTest::newRow("volumeDown") << MediaFunction(volumeDown) << 0x00010A00u << 0x00010B00u;
    QTest::newRow("HIDPostAuxKey 20") << MediaFunction(+[] { HIDPostAuxKey(20); }) << 0x00140A00u << 0x00140B00u;
    QTest::newRow("HIDPostAuxKey 255") << MediaFunction(+[] { HIDPostAuxKey(255); }) << 0x00FF0A00u << 0x00FF0B00u;
}

void tst_MediaKeys::records()
{
    QFETCH(MediaFunction, post);
    QFETCH(quint32, downData1);
    QFETCH(quint32, upData1);

    post();
    const AuxKeyRecordSequence& records = m_recorder->records();
    QCOMPARE(records.size(), 2);
    QCOMPARE(records.at(0).toByteArray().toHex(' '), expectedRecord(downData1));
    QCOMPARE(records.at(1).toByteArray().toHex(' '), expectedRecord(upData1));
}

void tst_MediaKeys::pressesAreKeptInOrder()
{
    volumeUp();
    nextMedia();
    volumeUp();
    QStringList data1;
    for (const AuxKeyRecord& record : m_recorder->records())
        data1 << QString::number(record.data1(), 16);
    QCOMPARE(data1, QStringList({"a00", "b00", "110a00", "110b00", "a00", "b00"}));
}

QTEST_MAIN(tst_MediaKeys)
#include "tst_mediakeys.moc"
