// The "displayView" JSON form: exact keys both ways, and tolerant reading of wrong types.
#include "testattribute.h"

#include <QJsonDocument>
#include <QRegularExpression>
#include <QtTest>

class tst_KyDisplayViewAttribute : public QObject
{
    Q_OBJECT

private slots:
    void json_data();
    void json();
    void equality();
};

void tst_KyDisplayViewAttribute::json_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<KyDisplayViewAttribute>("attribute");
    QTest::addColumn<int>("warnings");  // -1: none, and the JSON is exactly what toJson() writes

    QTest::newRow("defaults") << QByteArray(R"({"family": "", "size": 13, "color": "#ffffff", "horAlignment": 132,
        "bold": false, "italic": false, "underLine": false})") << KyDisplayViewAttribute() << -1;
    QTest::newRow("family bold left") << QByteArray(R"({"family": "DejaVu Sans", "size": 18, "color": "#ffaa00",
        "horAlignment": 1, "bold": true, "italic": false, "underLine": false})")
        << makeAttribute(Qt::AlignLeft, 18, Bold, "DejaVu Sans", QColor(255, 170, 0)) << -1;
    QTest::newRow("italic underline right") << QByteArray(R"({"family": "", "size": 6, "color": "#010203",
        "horAlignment": 2, "bold": false, "italic": true, "underLine": true})")
        << makeAttribute(Qt::AlignRight, 6, Italic | Underline, "", QColor(1, 2, 3)) << -1;
    QTest::newRow("centre stored as 4") << QByteArray(R"({"family": "", "size": 13, "color": "#000000",
        "horAlignment": 4, "bold": true, "italic": true, "underLine": false})")
        << makeAttribute(Qt::AlignHCenter, 13, Bold | Italic, "", Qt::black) << -1;
    // Wrong types and missing members fall back to defaults, field by field.
    QTest::newRow("missing members") << QByteArray(R"({"Size": 20})") << KyDisplayViewAttribute() << 0;
    QTest::newRow("string size") << QByteArray(R"({"size": "16"})") << makeAttribute(132, 0, Plain) << 1;
    QTest::newRow("huge size clamped") << QByteArray(R"({"size": 1e12})") << makeAttribute(132, 2147483647, Plain)
                                       << 0;
    QTest::newRow("numeric colour") << QByteArray(R"({"color": 16777215})")
                                    << makeAttribute(132, 13, Plain, "", QColor()) << 1;
    QTest::newRow("unparsable colour") << QByteArray(R"({"color": "not a colour"})")
                                       << makeAttribute(132, 13, Plain, "", QColor()) << 1;
    QTest::newRow("string alignment") << QByteArray(R"({"horAlignment": "left"})") << makeAttribute(0, 13, Plain) << 1;
    QTest::newRow("non-boolean styles") << QByteArray(R"({"bold": 1, "italic": "true", "underLine": null})")
                                        << KyDisplayViewAttribute() << 3;
}

void tst_KyDisplayViewAttribute::json()
{
    QFETCH(QByteArray, json);
    QFETCH(KyDisplayViewAttribute, attribute);
    QFETCH(int, warnings);

    for (int i = 0; i < warnings; ++i)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("\\[KyDisplayViewAttribute\\]\\[fromJson\\]"));
    const QJsonObject stored = QJsonDocument::fromJson(json).object();
    const KyDisplayViewAttribute read = KyDisplayViewAttribute::fromJson(stored);
    QCOMPARE(read, attribute);
    QCOMPARE(read.color.isValid(), attribute.color.isValid());
    if (warnings < 0)
        QCOMPARE(KyDisplayViewAttribute::toJson(attribute), stored);
    QCOMPARE(QLatin1String(KyDisplayViewAttribute::pluginPayloadKey), QLatin1String("displayView"));
}

void tst_KyDisplayViewAttribute::equality()
{
    // Every other comparison relies on it: each field counts, the family case-sensitively.
    const KyDisplayViewAttribute base = makeAttribute(132, 13, Plain, "DejaVu Sans");
    QCOMPARE(base, makeAttribute(132, 13, Plain, "DejaVu Sans"));
    for (const KyDisplayViewAttribute& other :
         {makeAttribute(132, 13, Plain, "dejavu sans"), makeAttribute(132, 13, Plain, "DejaVu Sans", QColor(254, 255, 255)),
          makeAttribute(132, 14, Plain, "DejaVu Sans"), makeAttribute(4, 13, Plain, "DejaVu Sans"),
          makeAttribute(132, 13, Bold, "DejaVu Sans"), makeAttribute(132, 13, Italic, "DejaVu Sans"),
          makeAttribute(132, 13, Underline, "DejaVu Sans")})
        QVERIFY2(base != other, qPrintable(QDebug::toString(other)));
}

QTEST_MAIN(tst_KyDisplayViewAttribute)
#include "tst_kydisplayviewattribute.moc"
