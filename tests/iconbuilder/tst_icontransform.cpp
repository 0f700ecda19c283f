// Fitting pictures to the key: the five modes over pictures smaller, larger, wider
// and taller than the key, probed at the pixels that tell the modes apart.
#include "iconbuilder/dialogiconbuilder.h"
#include "iconbuilder/icontransform.h"
#include "testpictures.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using TestPictures::gradientAt;

struct Probe
{
    QPoint at;
    QColor expected;  // invalid: transparent
};
Q_DECLARE_METATYPE(QList<Probe>)

class tst_IconTransform : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void modes_data();
    void modes();

private:
    QString picture(const QSize& size, const char* format = "png");
    QTemporaryDir m_dir;
};

void tst_IconTransform::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

QString tst_IconTransform::picture(const QSize& size, const char* format)
{
    const QString path = m_dir.filePath(QStringLiteral("%1x%2.%3").arg(size.width()).arg(size.height()).arg(format));
    if (!QFile::exists(path))
        TestPictures::gradient(size).save(path, format, 100);
    return path;
}

void tst_IconTransform::modes_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("tolerance");
    QTest::addColumn<QList<Probe>>("probes");
    const QColor none;

    // Fill: the middle band, scaled; no transparency anywhere.
    QTest::newRow("fill square 300") << QSize(300, 300) << "png" << 0 << 4
        << QList<Probe>{{{0, 0}, gradientAt(0, 42)}, {{75, 54}, gradientAt(150, 150)}, {{100, 50}, gradientAt(201, 143)}};
    QTest::newRow("fill small 50x40") << QSize(50, 40) << "png" << 0 << 4
        << QList<Probe>{{{75, 54}, gradientAt(25, 20)}, {{0, 0}, gradientAt(0, 2)}};
    QTest::newRow("fill wide 600x100") << QSize(600, 100) << "png" << 0 << 4
        << QList<Probe>{{{0, 54}, gradientAt(231, 50)}, {{149, 54}, gradientAt(369, 50)}};
    // Fit: transparent margins left and right for a tall picture, top and bottom for a wide one.
    QTest::newRow("fit wide 400x100") << QSize(400, 100) << "png" << 1 << 4
        << QList<Probe>{{{75, 10}, none}, {{75, 100}, none}, {{75, 54}, gradientAt(200, 50)}};
    QTest::newRow("fit tall 40x300") << QSize(40, 300) << "png" << 1 << 8
        << QList<Probe>{{{60, 54}, none}, {{90, 54}, none}, {{75, 54}, gradientAt(20, 150)}};
    QTest::newRow("fit jpeg 4:3") << QSize(800, 600) << "jpg" << 1 << 10
        << QList<Probe>{{{2, 54}, none}, {{147, 54}, none}, {{75, 54}, gradientAt(400, 300)}};
    // Stretch: corners map to corners whatever the aspect ratio.
    QTest::newRow("stretch tall 40x300") << QSize(40, 300) << "png" << 2 << 6
        << QList<Probe>{{{0, 0}, gradientAt(0, 1)}, {{75, 54}, gradientAt(20, 150)}, {{149, 107}, gradientAt(39, 298)}};
    // Tile: unscaled, period w x h from the top-left corner.
    QTest::newRow("tile small 50x40") << QSize(50, 40) << "png" << 3 << 0
        << QList<Probe>{{{0, 0}, gradientAt(0, 0)}, {{60, 45}, gradientAt(10, 5)}, {{149, 107}, gradientAt(49, 27)},
                        {{100, 80}, gradientAt(0, 0)}};
    QTest::newRow("tile wide strip 400x50") << QSize(400, 50) << "png" << 3 << 0
        << QList<Probe>{{{149, 49}, gradientAt(149, 49)}, {{149, 50}, gradientAt(149, 0)}, {{10, 107}, gradientAt(10, 7)}};
    // Centre: a smaller picture on transparency, a larger one cropped to its middle.
    QTest::newRow("center small 50x40") << QSize(50, 40) << "png" << 4 << 0
        << QList<Probe>{{{49, 33}, none}, {{50, 34}, gradientAt(0, 0)}, {{99, 73}, gradientAt(49, 39)}, {{100, 74}, none}};
    QTest::newRow("center large 300") << QSize(300, 300) << "png" << 4 << 0
        << QList<Probe>{{{0, 0}, gradientAt(75, 96)}, {{149, 107}, gradientAt(224, 203)}};
    QTest::newRow("center wide 400x50") << QSize(400, 50) << "png" << 4 << 0
        << QList<Probe>{{{0, 28}, none}, {{0, 29}, gradientAt(125, 0)}, {{149, 78}, gradientAt(274, 49)}, {{0, 79}, none}};
    // No probes: rejected, no icon and a warning.
    QTest::newRow("mode five") << QSize(300, 300) << "png" << 5 << 0 << QList<Probe>{};
    QTest::newRow("negative mode") << QSize(300, 300) << "png" << -1 << 0 << QList<Probe>{};
    QTest::newRow("text named png") << QSize() << "png" << 0 << 0 << QList<Probe>{};
}

void tst_IconTransform::modes()
{
    QFETCH(QSize, size);
    QFETCH(QString, format);
    QFETCH(int, mode);
    QFETCH(int, tolerance);
    QFETCH(QList<Probe>, probes);

    const QString path = size.isValid() ? picture(size, qPrintable(format)) : m_dir.filePath(QStringLiteral("text.png"));
    if (!size.isValid())
        QVERIFY(TestPictures::writeFile(path, "not a picture"));
    if (probes.isEmpty()) {
        const QString unknownMode = "[QImage DialogIconBuilder::getIconTransform(QString, const int)] Unexpect background mode";
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(mode == 0 ? "cannot read" : QRegularExpression::escape(unknownMode)));
        QVERIFY(DialogIconBuilder::getIconTransform(path, mode).isNull());
        return;
    }
    const QImage icon = DialogIconBuilder::getIconTransform(path, mode);
    QCOMPARE(icon.size(), QSize(150, 108));
    for (const Probe& probe : probes) {
        const QColor got = icon.pixelColor(probe.at);
        const QColor& want = probe.expected;
        const bool close = want.isValid()
            ? got.alpha() == 255 && qAbs(got.red() - want.red()) <= tolerance
                && qAbs(got.green() - want.green()) <= tolerance && qAbs(got.blue() - want.blue()) <= tolerance
            : got.alpha() == 0;
        QVERIFY2(close, qPrintable(QStringLiteral("(%1,%2): got %3 alpha %4, want %5").arg(probe.at.x())
                                       .arg(probe.at.y()).arg(got.name()).arg(got.alpha()).arg(want.name())));
    }
}

QTEST_MAIN(tst_IconTransform)
#include "tst_icontransform.moc"
