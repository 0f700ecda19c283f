#include "platform/keyboard/keyboardeventservice.h"
#include "platform/keyboard/x11/x11keytable.h"

#include <QtTest>
#include <X11/Xlib.h>

class tst_KeyboardEvents : public QObject
{
    Q_OBJECT
private slots:
    void keysymForMacCode_data();
    void keysymForMacCode();
    void modifierKeysyms_data();
    void modifierKeysyms();
    void backendSelection_data();
    void backendSelection();
};

// A few representative codes: the table itself is the source's; what matters here is the
// shape of the lookup (gaps, swapped neighbours, the edge of the dense table).
void tst_KeyboardEvents::keysymForMacCode_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("keysym");

    QTest::newRow("0x00 a") << 0x00 << "a";
    QTest::newRow("0x16 6 before 0x17 5") << 0x16 << "6";
    QTest::newRow("0x17 5") << 0x17 << "5";
    QTest::newRow("0x37 command") << 0x37 << "Control_L";
    QTest::newRow("0x4c keypad enter") << 0x4C << "KP_Enter";
    QTest::newRow("0x7e last code") << 0x7E << "Up";
    QTest::newRow("0x0a has no key") << 0x0A << QString();
    QTest::newRow("0x7f in the table's range") << 0x7F << QString();
    QTest::newRow("0x80 past the table") << 0x80 << QString();
    QTest::newRow("far beyond") << 0x1234 << QString();
}

void tst_KeyboardEvents::keysymForMacCode()
{
    QFETCH(int, code);
    QFETCH(QString, keysym);
    const quint32 expected = keysym.isEmpty() ? 0 : quint32(XStringToKeysym(qPrintable(keysym)));
    QVERIFY(keysym.isEmpty() || expected != 0);
    QCOMPARE(X11KeyTable::keysymForMacCode(quint16(code)), expected);
}

void tst_KeyboardEvents::modifierKeysyms_data()
{
    QTest::addColumn<quint64>("flags");
    QTest::addColumn<QStringList>("keysyms");

    QTest::newRow("none, other bits ignored") << quint64(0x800100) << QStringList();
    QTest::newRow("all four, in order") << quint64(0x1E0000) << QStringList{"Control_L", "Super_L", "Alt_L", "Shift_L"};
    QTest::newRow("option alone") << quint64(KeyEvent::OptionFlag) << QStringList{"Alt_L"};
}

void tst_KeyboardEvents::modifierKeysyms()
{
    QFETCH(quint64, flags);
    QFETCH(QStringList, keysyms);
    QVector<quint32> expected;
    for (const QString& name : keysyms)
        expected << quint32(XStringToKeysym(qPrintable(name)));
    QCOMPARE(X11KeyTable::modifierKeysyms(flags), expected);
}

void tst_KeyboardEvents::backendSelection_data()
{
    QTest::addColumn<QString>("requested");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("warnings");

    QTest::newRow("record") << "record" << "" << "record" << 0;
    QTest::newRow("x11 without display") << "x11" << ":4077" << "record" << 1;
    QTest::newRow("default without display") << "" << ":4077" << "record" << 1;
    QTest::newRow("unknown name") << "braille" << ":4077" << "record" << 2;
}

void tst_KeyboardEvents::backendSelection()
{
    QFETCH(QString, requested);
    QFETCH(QString, display);
    QFETCH(QString, expected);
    QFETCH(int, warnings);
    const QByteArray saved = qgetenv("DISPLAY");
    qputenv("DISPLAY", display.toLatin1());
    for (int i = 0; i < warnings; ++i)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(".+"));
    auto service = KeyboardEventService::create(requested);
    qputenv("DISPLAY", saved);
    QVERIFY(service);
    QCOMPARE(service->name(), expected);
}

QTEST_GUILESS_MAIN(tst_KeyboardEvents)
#include "tst_keyboardevents.moc"
