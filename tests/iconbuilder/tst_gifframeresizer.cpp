// Animated GIFs resized for the key: GIFs written frame by frame here (partial frames,
// every disposal, holes, varied delays, loop counts, odd shapes) go through the
// conversion and come back with the same frames, delays, loop and pixels; a cancelled
// run and refused files leave the destination as it was.
#include "iconbuilder/gifframeresizer.h"
#include "iconbuilder/icontransform.h"
#include "testpictures.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace TestPictures;
Q_DECLARE_METATYPE(TestPictures::GifRecipe)

namespace {

struct Decoded
{
    QSize size;
    int loops = 0;
    QList<QImage> frames;
    QList<int> delays;
};

Decoded decode(const QByteArray& gif)
{
    QBuffer buffer;
    buffer.setData(gif);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    Decoded result{reader.size(), reader.loopCount(), {}, {}};
    QImage frame;
    while (reader.read(&frame)) {
        result.frames.append(frame.convertToFormat(QImage::Format_ARGB32));
        result.delays.append(reader.nextImageDelay());
    }
    return result;
}

// Same look: both less than half opaque, or both opaque in nearly the same colour.
bool sameLook(QRgb a, QRgb b)
{
    if (qAlpha(a) < 128 || qAlpha(b) < 128)
        return qAlpha(a) < 128 && qAlpha(b) < 128;
    return qAbs(qRed(a) - qRed(b)) <= 6 && qAbs(qGreen(a) - qGreen(b)) <= 6 && qAbs(qBlue(a) - qBlue(b)) <= 6;
}

} // namespace

class tst_GifFrameResizer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void keepsTheAnimation_data();
    void keepsTheAnimation();
    void cancelHalfWay();
    void refused_data();
    void refused();

private:
    QTemporaryDir m_dir;
};

void tst_GifFrameResizer::keepsTheAnimation_data()
{
    QTest::addColumn<GifRecipe>("recipe");
    QTest::addColumn<QSize>("size");

    // Cells of a 4 x 4 grid: QRect(column, row, columns, rows).
    const QRect all(0, 0, 4, 4);
    QTest::newRow("partial frames, every disposal, varied delays")
        << GifRecipe{QSize(300, 216),
                   {{all, kRed, kKeep, 10},
                    {QRect(0, 0, 2, 2), kGreen, kPrevious, 20},  // gone again in the next frame
                    {QRect(2, 2, 2, 2), kBlue, kKeep, 5},
                    {QRect(1, 1, 2, 2), kYellow, kBackground, 0},  // cleared to transparency
                    {QRect(0, 2, 1, 2), kWhite, kKeep, 150, QRect(0, 2, 1, 1)}},
                   0}
        << QSize(150, 108);
    QTest::newRow("transparent holes, three loops")
        << GifRecipe{QSize(200, 200),
                   {{all, kRed, kKeep, 7, QRect(1, 1, 2, 2)}, {QRect(2, 0, 2, 4), kBlue, kKeep, 9, QRect(3, 0, 1, 1)}},
                   3}
        << QSize(108, 108);
    QTest::newRow("one frame, no loop block") << GifRecipe{QSize(120, 120), {{all, kGreen, kKeep, 0}}, -1}
                                              << QSize(108, 108);
    QTest::newRow("tall 100 x 400")
        << GifRecipe{QSize(100, 400), {{all, kRed}, {QRect(0, 3, 4, 1), kBlue}, {QRect(3, 0, 1, 4), kGreen}}, 0}
        << QSize(27, 108);
    QTest::newRow("wide 400 x 100")
        << GifRecipe{QSize(400, 100), {{all, kWhite}, {QRect(1, 0, 1, 4), kRed, kPrevious}, {QRect(2, 1, 2, 2), kBlue}}, 1}
        << QSize(150, 37);
    QTest::newRow("first frame partial")
        << GifRecipe{QSize(200, 100), {{QRect(1, 1, 1, 1), kRed}, {QRect(2, 2, 2, 2), kBlue, kKeep, 3}}, 0}
        << QSize(150, 75);
    QTest::newRow("smaller than the key 40 x 32")
        << GifRecipe{QSize(40, 32), {{all, kYellow, kBackground, 3}, {QRect(0, 0, 2, 4), kGreen, kKeep, 4, QRect(0, 0, 1, 1)}}, 0}
        << QSize(135, 108);
}

void tst_GifFrameResizer::keepsTheAnimation()
{
    QFETCH(GifRecipe, recipe);
    QFETCH(QSize, size);
    QCOMPARE(IconTransform::gifSize(recipe.canvas), size);

    const QByteArray gif = makeGif(recipe);
    const Decoded in = decode(gif);
    QCOMPARE(in.frames.size(), recipe.frames.size());
    const Decoded out = decode(GifFrameResizer::convert(gif, size));

    QCOMPARE(out.size, size);
    QCOMPARE(out.frames.size(), in.frames.size());
    QCOMPARE(out.delays, in.delays);
    QCOMPARE(out.loops, in.loops);
    // The middle of every cell, where scaling keeps the cell's own colour.
    for (int f = 0; f < in.frames.size(); ++f) {
        for (int cell = 0; cell < 16; ++cell) {
            const QPointF centre((cell % 4 + 0.5) / 4, (cell / 4 + 0.5) / 4);
            const QRgb was = in.frames[f].pixel(int(centre.x() * recipe.canvas.width()), int(centre.y() * recipe.canvas.height()));
            const QRgb now = out.frames[f].pixel(int(centre.x() * size.width()), int(centre.y() * size.height()));
            QVERIFY2(sameLook(was, now), qPrintable(QStringLiteral("frame %1 cell %2: %3 became %4")
                                                        .arg(f).arg(cell).arg(was, 8, 16).arg(now, 8, 16)));
        }
    }
}

void tst_GifFrameResizer::cancelHalfWay()
{
    const QString source = m_dir.filePath(QStringLiteral("long.gif"));
    const QString destination = m_dir.filePath(QStringLiteral("taken.gif"));
    QVERIFY(writeFile(source, animation(QSize(240, 180), 40)));
    QVERIFY(writeFile(destination, "an icon another key uses"));

    int total = 0;
    int done = 0;
    GifFrameResizer::Progress progress;
    progress.started = [&](int frames) { total = frames; };
    progress.advanced = [&](int frames) { done = frames; };
    progress.cancelled = [&] { return done >= total / 2; };
    QVERIFY(!GifFrameResizer::convertFile(source, destination, QSize(144, 108), progress));
    QCOMPARE(total, 40);
    QCOMPARE(done, 20);
    QCOMPARE(readFile(destination), QByteArray("an icon another key uses"));
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files).size(), 2);  // no temporary left behind
}

void tst_GifFrameResizer::refused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");

    const QByteArray good = animation(QSize(120, 90), 4);
    QByteArray scrambled = good;
    for (int i = 40; i < scrambled.size(); i += 5)
        scrambled[i] = char(scrambled[i] ^ 0x5a);
    GifRecipe manyFrames{QSize(100, 100), {}, 0};
    for (int i = 0; i < 10000; ++i)
        manyFrames.frames.append({QRect(0, 0, 1, 1), i % 2 ? kRed : kBlue});
    // A small frame on a canvas whose size field says 20000 x 20000 (0x4e20).
    QByteArray hugeCanvas = animation(QSize(8, 8), 1);
    hugeCanvas.replace(6, 4, QByteArray("\x20\x4e\x20\x4e", 4));

    QTest::newRow("empty") << QByteArray() << "not a GIF";
    QTest::newRow("text") << QByteArray("just some notes\n") << "not a GIF";
    QTest::newRow("zero frames") << QByteArray("GIF89a\x10\x00\x10\x00\x00\x00\x00;", 14) << "holds no frame";
    QTest::newRow("truncated") << good.left(good.size() / 2) << "truncated";
    QTest::newRow("scrambled") << scrambled << "cannot be read|holds no frame";
    QTest::newRow("10 000 frames") << makeGif(manyFrames) << "refused: 10000 frames of 100 x 100 need 381 MiB";
    QTest::newRow("20 000 x 20 000 canvas") << hugeCanvas << "refused: 1 frames of 20000 x 20000";
}

void tst_GifFrameResizer::refused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const QString source = m_dir.filePath(QStringLiteral("bad.gif"));
    const QString destination = m_dir.filePath(QStringLiteral("kept.gif"));
    QVERIFY(writeFile(source, bytes));
    QVERIFY(writeFile(destination, "kept"));

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(reason));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("bad.gif.*not converted")));
    QVERIFY(!GifFrameResizer::convertFile(source, destination, QSize(150, 108)));
    QCOMPARE(readFile(destination), QByteArray("kept"));
}

QTEST_MAIN(tst_GifFrameResizer)
#include "tst_gifframeresizer.moc"
