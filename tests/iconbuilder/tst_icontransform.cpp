// Fitting pictures to the key: stills in the five modes, probed at the pixels that tell
// the modes apart; GIFs resized with every frame, delay, loop and disposal kept, and
// refused or cancelled ones leaving the destination as it was.
#include "iconbuilder/dialogiconbuilder.h"
#include "iconbuilder/gifframeresizer.h"
#include "iconbuilder/icontransform.h"
#include "testfiles.h"
#include "testpictures.h"

#include <QImageReader>
#include <QtTest>

using namespace TestPictures;

using Probes = QList<std::pair<QPoint, QRgb>>;  // where, and the colour expected there; 0: transparent
Q_DECLARE_METATYPE(TestPictures::GifRecipe)

namespace {

// Both transparent, or both opaque within `tolerance` per channel.
bool sameLook(QRgb a, QRgb b, int tolerance)
{
    const auto near = [tolerance](int x, int y) { return qAbs(x - y) <= tolerance; };
    return qAlpha(a) == qAlpha(b) && (qAlpha(a) == 0 || (near(qRed(a), qRed(b)) && near(qGreen(a), qGreen(b)) && near(qBlue(a), qBlue(b))));
}

// The size, the loop count, then per frame its delay and the middle of each cell of a
// 4 x 4 grid, where scaling keeps the cell's own colour (3 bits a channel, '-': clear).
QStringList looks(const QByteArray& gif)
{
    QBuffer buffer;
    buffer.setData(gif);
    QImageReader reader(&buffer, "gif");  // opens the buffer itself
    QStringList result{QDebug::toString(reader.size()), QString::number(reader.loopCount())};
    for (QImage frame; reader.read(&frame);) {
        QString line = QString::number(reader.nextImageDelay());
        for (int cell = 0; cell < 16; ++cell) {
            const QRgb c = frame.pixel(int((cell % 4 + 0.5) * frame.width() / 4), int((cell / 4 + 0.5) * frame.height() / 4));
            line += qAlpha(c) ? QStringLiteral(" %1%2%3").arg(qRed(c) >> 5).arg(qGreen(c) >> 5).arg(qBlue(c) >> 5) : " -";
        }
        result << line;
    }

    return result;
}

} // namespace

class tst_IconTransform : public QObject
{
    Q_OBJECT

private slots:
    void stills_data()
    {
        QTest::addColumn<QSize>("size");  // invalid: a text file named .png
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("tolerance");
        QTest::addColumn<Probes>("probes");  // none: no icon, a warning

        QTest::newRow("fill: the middle band, scaled") << QSize(300, 300) << "png" << 0 << 4
            << Probes{{{0, 0}, gradientAt(0, 42)}, {{75, 54}, gradientAt(150, 150)}, {{100, 50}, gradientAt(201, 143)}};
        QTest::newRow("fit wide: clear above and below") << QSize(400, 100) << "png" << 1 << 4
            << Probes{{{75, 10}, 0}, {{75, 100}, 0}, {{75, 54}, gradientAt(200, 50)}};
        QTest::newRow("fit jpeg 4:3: clear left and right") << QSize(800, 600) << "jpg" << 1 << 10
            << Probes{{{2, 54}, 0}, {{147, 54}, 0}, {{75, 54}, gradientAt(400, 300)}};
        QTest::newRow("stretch: corners to corners") << QSize(40, 300) << "png" << 2 << 6
            << Probes{{{0, 0}, gradientAt(0, 1)}, {{75, 54}, gradientAt(20, 150)}, {{149, 107}, gradientAt(39, 298)}};
        QTest::newRow("tile: unscaled, from the top left") << QSize(50, 40) << "png" << 3 << 0
            << Probes{{{60, 45}, gradientAt(10, 5)}, {{149, 107}, gradientAt(49, 27)}, {{100, 80}, gradientAt(0, 0)}};
        QTest::newRow("tile wide strip: left part, repeated downwards") << QSize(400, 50) << "png" << 3 << 0
            << Probes{{{149, 49}, gradientAt(149, 49)}, {{149, 50}, gradientAt(149, 0)}, {{10, 107}, gradientAt(10, 7)}};
        QTest::newRow("centre small: on transparency") << QSize(50, 40) << "png" << 4 << 0
            << Probes{{{49, 33}, 0}, {{50, 34}, gradientAt(0, 0)}, {{99, 73}, gradientAt(49, 39)}, {{100, 74}, 0}};
        QTest::newRow("centre wide: middle cropped, clear above and below") << QSize(400, 50) << "png" << 4 << 0
            << Probes{{{0, 28}, 0}, {{0, 29}, gradientAt(125, 0)}, {{149, 78}, gradientAt(274, 49)}, {{0, 79}, 0}};
        QTest::newRow("mode five") << QSize(300, 300) << "png" << 5 << 0 << Probes{};
        QTest::newRow("text named png") << QSize() << "png" << 0 << 0 << Probes{};
    }

    void stills()
    {
        QFETCH(QSize, size);
        QFETCH(QString, format);
        QFETCH(int, mode);
        QFETCH(int, tolerance);
        QFETCH(Probes, probes);

        const QString path = m_dir.filePath(QStringLiteral("%1x%2.%3").arg(size.width()).arg(size.height()).arg(format));
        QVERIFY(size.isValid() ? gradient(size).save(path, nullptr, 100) : TestFiles::write(path, "not a picture"));
        if (probes.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(mode == 0 ? "cannot read" : "Unexpect background mode"));
        const QImage icon = DialogIconBuilder::getIconTransform(path, mode);
        QCOMPARE(icon.size(), probes.isEmpty() ? QSize(0, 0) : QSize(150, 108));
        for (const auto& [at, expected] : probes)
            QVERIFY2(sameLook(icon.pixel(at), expected, tolerance), qPrintable(QStringLiteral("(%1,%2): got %3, want %4")
                .arg(at.x()).arg(at.y()).arg(icon.pixel(at), 8, 16).arg(expected, 8, 16)));
    }

    void gifKeepsTheAnimation_data()
    {
        QTest::addColumn<GifRecipe>("recipe");
        QTest::addColumn<QSize>("size");
        // Cells of a 4 x 4 grid: QRect(column, row, columns, rows).
        const QRect all(0, 0, 4, 4);
        QTest::newRow("partial frames, every disposal, varied delays") << GifRecipe{QSize(300, 216), {{all, kRed, kKeep, 10},
            {QRect(0, 0, 2, 2), kGreen, kPrevious, 20}, {QRect(2, 2, 2, 2), kBlue, kKeep, 5},
            {QRect(1, 1, 2, 2), kYellow, kBackground, 0}, {QRect(0, 2, 1, 2), kWhite, kKeep, 150, QRect(0, 2, 1, 1)}}, 0}
            << QSize(150, 108);
        QTest::newRow("transparent holes, three loops") << GifRecipe{QSize(200, 200), {{all, kRed, kKeep, 7, QRect(1, 1, 2, 2)},
            {QRect(2, 0, 2, 4), kBlue, kKeep, 9, QRect(3, 0, 1, 1)}}, 3} << QSize(108, 108);
        QTest::newRow("one frame, no loop block") << GifRecipe{QSize(120, 120), {{all, kGreen, kKeep, 0}}, -1} << QSize(108, 108);
        QTest::newRow("wide 400 x 100") << GifRecipe{QSize(400, 100), {{all, kWhite}, {QRect(1, 0, 1, 4), kRed, kPrevious},
            {QRect(2, 1, 2, 2), kBlue}}, 1} << QSize(150, 37);
        QTest::newRow("smaller than the key 40 x 32") << GifRecipe{QSize(40, 32), {{all, kYellow, kBackground, 3},
            {QRect(0, 0, 2, 4), kGreen, kKeep, 4, QRect(0, 0, 1, 1)}}, 0} << QSize(135, 108);
    }

    void gifKeepsTheAnimation()
    {
        QFETCH(GifRecipe, recipe);
        QFETCH(QSize, size);
        QCOMPARE(IconTransform::gifSize(recipe.canvas), size);
        const QByteArray gif = makeGif(recipe);
        QStringList expected = looks(gif);
        QCOMPARE(expected.size(), recipe.frames.size() + 2);  // every frame read back from the source
        expected[0] = QDebug::toString(size);
        QCOMPARE(looks(GifFrameResizer::convert(gif, size)), expected);
    }

    void gifRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");  // empty: cancelled by the caller half way

        const QByteArray good = animation(QSize(120, 90), 4);
        GifRecipe manyFrames{QSize(100, 100), {}, 0};
        for (int i = 0; i < 10000; ++i)
            manyFrames.frames.append({QRect(0, 0, 1, 1), i % 2 ? kRed : kBlue});
        // A small frame on a canvas whose size field says 20000 x 20000 (0x4e20).
        QByteArray hugeCanvas = animation(QSize(8, 8), 1);
        hugeCanvas.replace(6, 4, QByteArray("\x20\x4e\x20\x4e", 4));

        QTest::newRow("empty") << QByteArray() << "not a GIF";
        QTest::newRow("zero frames") << QByteArray("GIF89a\x10\x00\x10\x00\x00\x00\x00;", 14) << "holds no frame";
        QTest::newRow("truncated") << good.left(good.size() / 2) << "truncated";
        QByteArray badFrame = good;  // the code size of the last frame, past its control block and descriptor, out of range
        badFrame[badFrame.lastIndexOf("\x21\xf9\x04") + 18] = 0x0f;
        QTest::newRow("last frame undecodable") << badFrame << "frame 4 of 4 cannot be read";
        QTest::newRow("10 000 frames") << makeGif(manyFrames) << "refused: 10000 frames of 100 x 100 need 381 MiB";
        GifRecipe tinyFrames{QSize(4, 4), {}, 0};  // small to read, 2001 key-size frames to write
        for (int i = 0; i < 2001; ++i)
            tinyFrames.frames.append({QRect(0, 0, 1, 1), i % 2 ? kRed : kBlue});
        QTest::newRow("2001 frames of 4 x 4") << makeGif(tinyFrames) << "refused: 2001 frames of 144 x 108 to write";
        QTest::newRow("20 000 x 20 000 canvas") << hugeCanvas << "refused: 1 frames of 20000 x 20000";
        QTest::newRow("cancelled half way") << animation(QSize(240, 180), 40) << "";
    }

    void gifRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("bad.gif"));
        const QString destination = dir.filePath(QStringLiteral("kept.gif"));
        QVERIFY(TestFiles::write(source, bytes) && TestFiles::write(destination, "an icon another key uses"));

        int total = 0, done = 0;
        GifFrameResizer::Progress progress;
        progress.started = [&](int frames) { total = frames; };
        progress.advanced = [&](int frames) { done = frames; };
        progress.cancelled = [&] { return reason.isEmpty() && done >= total / 2; };
        if (!reason.isEmpty()) {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(reason));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("bad.gif.*not converted")));
        }
        QVERIFY(!GifFrameResizer::convertFile(source, destination, QSize(144, 108), progress));
        if (reason.isEmpty())
            QCOMPARE((QList<int>{total, done}), (QList<int>{40, 20}));
        QCOMPARE(TestFiles::read(destination), QByteArray("an icon another key uses"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);  // no temporary left behind
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(tst_IconTransform)
#include "tst_icontransform.moc"
