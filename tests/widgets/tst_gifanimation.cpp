#include "iconbuilder/gifwriter.h"
#include "widgets/gifanimation.h"

#include <QBuffer>
#include <QtTest>

namespace {

// Blue, red, green: one letter per frame in the sequences below.
QByteArray threeFrames(int loopCount)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    GifWriter writer(&buffer, QSize(12, 8), loopCount);
    for (const QColor& colour : {QColor(Qt::blue), QColor(Qt::red), QColor(Qt::green)}) {
        QImage frame(12, 8, QImage::Format_ARGB32);
        frame.fill(colour);
        writer.addFrame(frame, 40);
    }

    writer.finish();
    return buffer.data();
}

QChar letter(const QPixmap& frame)
{
    const QColor colour = frame.toImage().pixelColor(frame.width() / 2, frame.height() / 2);
    if (colour.blue() > 200 && colour.red() < 50)
        return QLatin1Char('B');
    if (colour.red() > 200 && colour.green() < 50)
        return QLatin1Char('R');
    if (colour.green() > 200 && colour.red() < 50)
        return QLatin1Char('G');
    return QLatin1Char('?');
}

} // namespace

class tst_GifAnimation : public QObject
{
    Q_OBJECT
private slots:
    void frameOrder_data()
    {
        QTest::addColumn<int>("loopCount");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("cutBytes");  // taken off the end of the file
        QTest::addColumn<QString>("shown");  // the first frame, then one letter per jump; "." once a jump fails
        QTest::addColumn<int>("cached");

        QTest::newRow("loops for ever from memory") << -1 << QSize(30, 20) << 0 << "BRGBRGBR" << 3;
        QTest::newRow("one repeat, then stays on the last frame") << 1 << QSize(30, 20) << 0 << "BRGBRG.." << 3;
        QTest::newRow("a single run") << 0 << QSize(30, 20) << 0 << "BRG..." << 3;
        // 4.4 MB a frame at this size: the frames do not fit, so each loop decodes them again.
        QTest::newRow("over the cache, decoded again each loop") << -1 << QSize(1100, 1000) << 0 << "BRGBRGB" << 0;
        QTest::newRow("broken off in the last frame") << -1 << QSize(30, 20) << 12 << "BRBRB" << 2;
        QTest::newRow("header only: nothing to play") << -1 << QSize(30, 20) << 2000 << "" << 0;
    }

    void frameOrder()
    {
        QFETCH(int, loopCount);
        QFETCH(QSize, size);
        QFETCH(int, cutBytes);
        QFETCH(QString, shown);
        QFETCH(int, cached);

        const QByteArray bytes = threeFrames(loopCount);
        GifAnimation animation;
        QSignalSpy changes(&animation, &GifAnimation::frameChanged);
        QString error;
        QCOMPARE(animation.open(bytes.left(bytes.size() - cutBytes), size, &error), !shown.isEmpty());
        if (shown.isEmpty()) {
            QVERIFY(!error.isEmpty());
            animation.start();
            QVERIFY(!animation.isRunning());
            QVERIFY(!animation.jumpToNextFrame());
            QVERIFY(!animation.jumpToNextFrame());  // twice: a failed open leaves nothing to step through
            return;
        }
        QCOMPARE(animation.currentFrame().size(), size);
        QString seen = letter(animation.currentFrame());
        for (int jump = 1; jump < shown.size(); ++jump)
            seen += animation.jumpToNextFrame() ? letter(animation.currentFrame()) : QLatin1Char('.');
        QCOMPARE(seen, shown);
        QCOMPARE(changes.count(), shown.count(QRegularExpression(QStringLiteral("[^.]"))));
        QCOMPARE(animation.cachedFrames(), cached);
    }
};

QTEST_MAIN(tst_GifAnimation)
#include "tst_gifanimation.moc"
