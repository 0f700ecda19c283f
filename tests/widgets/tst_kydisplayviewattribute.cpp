// The "displayView" JSON form and the label sizing rules of key face and inspector.
#include "attributeprinter.h"
#include "widgets/kydisplayviewattribute.h"
#include "widgets/kydisplayviewlabelhandler.h"

#include <QJsonDocument>
#include <QLabel>
#include <QRegularExpression>
#include <QtTest>

class tst_KyDisplayViewAttribute : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void roundTrip_data();
    void roundTrip();
    void fromJson_data();
    void fromJson();
    void equality();

    void labelSizing_data();
    void labelSizing();

private:
    static KyDisplayViewAttribute make(const QString& family, const QColor& color, int size, int alignment,
                                       bool bold, bool italic, bool underLine);
};

KyDisplayViewAttribute tst_KyDisplayViewAttribute::make(const QString& family, const QColor& color, int size,
                                                        int alignment, bool bold, bool italic, bool underLine)
{
    KyDisplayViewAttribute attribute;
    attribute.family = family;
    attribute.color = color;
    attribute.size = size;
    attribute.horAlignment = alignment;
    attribute.bold = bold;
    attribute.italic = italic;
    attribute.underLine = underLine;
    return attribute;
}

void tst_KyDisplayViewAttribute::defaults()
{
    const QJsonObject json = KyDisplayViewAttribute::toJson(KyDisplayViewAttribute());
    const QJsonObject expected = QJsonDocument::fromJson(R"({"family": "", "size": 13, "color": "#ffffff",
        "horAlignment": 132, "bold": false, "italic": false, "underLine": false})")
                                     .object();
    QCOMPARE(json, expected);
    QCOMPARE(KyDisplayViewAttribute::fromJson(QJsonObject()), KyDisplayViewAttribute());
    QCOMPARE(QLatin1String(KyDisplayViewAttribute::pluginPayloadKey), QLatin1String("displayView"));
}

void tst_KyDisplayViewAttribute::roundTrip_data()
{
    QTest::addColumn<KyDisplayViewAttribute>("attribute");
    QTest::addColumn<QString>("colorText");

    QTest::newRow("defaults") << KyDisplayViewAttribute() << "#ffffff";
    QTest::newRow("family bold left") << make("DejaVu Sans", QColor(255, 170, 0), 18, Qt::AlignLeft, true, false, false)
                                      << "#ffaa00";
    QTest::newRow("italic underline right") << make("DejaVu Serif", QColor(1, 2, 3), 6, Qt::AlignRight, false, true, true)
                                            << "#010203";
    QTest::newRow("centre stored as 4") << make("", Qt::black, 13, Qt::AlignHCenter, true, true, true) << "#000000";
}

void tst_KyDisplayViewAttribute::roundTrip()
{
    QFETCH(KyDisplayViewAttribute, attribute);
    QFETCH(QString, colorText);

    const QJsonObject json = KyDisplayViewAttribute::toJson(attribute);
    QCOMPARE(json.value("color").toString(), colorText);
    // Through text as the host stores it, then back.
    const QJsonObject stored = QJsonDocument::fromJson(QJsonDocument(json).toJson()).object();
    QCOMPARE(KyDisplayViewAttribute::fromJson(stored), attribute);
}

void tst_KyDisplayViewAttribute::fromJson_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<KyDisplayViewAttribute>("expected");
    QTest::addColumn<int>("warnings");

    const KyDisplayViewAttribute d;
    QTest::newRow("empty object") << QByteArray("{}") << d << 0;
    QTest::newRow("unknown keys ignored") << QByteArray(R"({"weight": 700, "Color": "#000000"})") << d << 0;
    QTest::newRow("string size") << QByteArray(R"({"size": "16"})") << make("", Qt::white, 0, 132, false, false, false)
                                 << 1;
    QTest::newRow("fractional size") << QByteArray(R"({"size": 15.7})") << make("", Qt::white, 15, 132, false, false, false)
                                     << 0;
    QTest::newRow("huge size clamped") << QByteArray(R"({"size": 1e12})")
                                       << make("", Qt::white, 2147483647, 132, false, false, false) << 0;
    QTest::newRow("numeric colour") << QByteArray(R"({"color": 16777215})")
                                    << make("", QColor(), 13, 132, false, false, false) << 1;
    QTest::newRow("unparsable colour") << QByteArray(R"({"color": "not a colour"})")
                                       << make("", QColor(), 13, 132, false, false, false) << 1;
    QTest::newRow("svg colour name") << QByteArray(R"({"color": "orange"})")
                                     << make("", QColor(255, 165, 0), 13, 132, false, false, false) << 0;
    QTest::newRow("string alignment") << QByteArray(R"({"horAlignment": "left"})")
                                      << make("", Qt::white, 13, 0, false, false, false) << 1;
    QTest::newRow("numeric booleans") << QByteArray(R"({"bold": 1, "italic": "true", "underLine": null})")
                                      << make("", Qt::white, 13, 132, false, false, false) << 3;
    QTest::newRow("all members") << QByteArray(R"({"family": "DejaVu Sans", "size": 8, "color": "#123456",
        "horAlignment": 2, "bold": true, "italic": true, "underLine": true})")
                                 << make("DejaVu Sans", QColor(0x12, 0x34, 0x56), 8, 2, true, true, true) << 0;
}

void tst_KyDisplayViewAttribute::fromJson()
{
    QFETCH(QByteArray, json);
    QFETCH(KyDisplayViewAttribute, expected);
    QFETCH(int, warnings);

    for (int i = 0; i < warnings; ++i)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("\\[KyDisplayViewAttribute\\]\\[fromJson\\]"));
    QJsonParseError error;
    const QJsonObject object = QJsonDocument::fromJson(json, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    const KyDisplayViewAttribute attribute = KyDisplayViewAttribute::fromJson(object);
    QCOMPARE(attribute, expected);
    QCOMPARE(attribute.color.isValid(), expected.color.isValid());
}

void tst_KyDisplayViewAttribute::equality()
{
    // Every other comparison in these tests relies on it: each field counts, the
    // family case-sensitively, and 132 is not 4.
    const KyDisplayViewAttribute base = make("DejaVu Sans", Qt::white, 13, 132, false, false, false);
    const QList<KyDisplayViewAttribute> others = {
        make("dejavu sans", Qt::white, 13, 132, false, false, false),
        make("DejaVu Sans", QColor(254, 255, 255), 13, 132, false, false, false),
        make("DejaVu Sans", Qt::white, 14, 132, false, false, false),
        make("DejaVu Sans", Qt::white, 13, 4, false, false, false),
        make("DejaVu Sans", Qt::white, 13, 132, true, false, false),
        make("DejaVu Sans", Qt::white, 13, 132, false, true, false),
        make("DejaVu Sans", Qt::white, 13, 132, false, false, true),
    };
    QCOMPARE(base, make("DejaVu Sans", Qt::white, 13, 132, false, false, false));
    for (const KyDisplayViewAttribute& other : others) {
        QVERIFY2(base != other, qPrintable(QDebug::toString(other)));
        QVERIFY(QVariant::fromValue(base) != QVariant::fromValue(other));  // as signals carry it
    }
}

void tst_KyDisplayViewAttribute::labelSizing_data()
{
    QTest::addColumn<bool>("keyFace");
    QTest::addColumn<int>("areaHeight");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<int>("labelHeight");
    QTest::addColumn<int>("labelY");
    QTest::addColumn<QString>("styleSheet");

    QTest::newRow("key face size 13") << true << 108 << 13 << 26 << 30 << 72
        << "QLabel {color: rgb(255,255,255); font-size:26px; border:1px; background-color:#00000000;}";
    QTest::newRow("key face size 18") << true << 108 << 18 << 36 << 40 << 62
        << "QLabel {color: rgb(255,255,255); font-size:36px; border:1px; background-color:#00000000;}";
    QTest::newRow("key face size 6") << true << 108 << 6 << 12 << 16 << 86
        << "QLabel {color: rgb(255,255,255); font-size:12px; border:1px; background-color:#00000000;}";
    QTest::newRow("inspector size 13") << false << 144 << 13 << 13 << 18 << 123
        << "QLabel {color: rgb(255,255,255); font-size:13px; border:0px; background-color:#00000000;}";
}

void tst_KyDisplayViewAttribute::labelSizing()
{
    QFETCH(bool, keyFace);
    QFETCH(int, areaHeight);
    QFETCH(int, size);
    QFETCH(int, pixelSize);
    QFETCH(int, labelHeight);
    QFETCH(int, labelY);
    QFETCH(QString, styleSheet);

    QLabel label;
    label.setGeometry(7, 0, 150, 30);
    KyDisplayViewAttribute attribute;
    attribute.size = size;
    if (keyFace)
        KyDisplayViewLabelHandler::modifyIconWidgetLabel(&label, areaHeight, attribute);
    else
        KyDisplayViewLabelHandler::modifyPropertyWidgetLabel(&label, areaHeight, attribute);

    QCOMPARE(label.font().pixelSize(), pixelSize);
    QCOMPARE(label.height(), labelHeight);
    QCOMPARE(label.minimumHeight(), labelHeight);
    QCOMPARE(label.maximumHeight(), labelHeight);
    QCOMPARE(label.pos(), QPoint(7, labelY));  // x kept
    QCOMPARE(label.styleSheet(), styleSheet);
}

QTEST_MAIN(tst_KyDisplayViewAttribute)
#include "tst_kydisplayviewattribute.moc"
