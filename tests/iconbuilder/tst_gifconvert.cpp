// GIF frame resizing with real ImageMagick on GIFs drawn here, and the damaged files
// it must survive without changing the file it was given.
#include "iconbuilder/dialogiconbuilder.h"
#include "iconbuilder/gifframeresizer.h"
#include "iconbuilder/icontransform.h"
#include "testpictures.h"

#include <QBuffer>
#include <QMovie>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <Magick++.h>

using TestPictures::GifSpec;

class tst_GifConvert : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void convert_data();
    void convert();
    void damaged_data();
    void damaged();
    void throughDialog();

private:
    QTemporaryDir m_dir;
};

void tst_GifConvert::initTestCase()
{
    QVERIFY(m_dir.isValid());
    Magick::InitializeMagick(nullptr);
}

void tst_GifConvert::convert_data()
{
    QTest::addColumn<QSize>("canvas");
    QTest::addColumn<int>("frames");
    QTest::addColumn<bool>("partial");
    QTest::addColumn<bool>("transparent");
    QTest::newRow("full frames 480x360") << QSize(480, 360) << 6 << false << false;
    QTest::newRow("partial frames 300x200") << QSize(300, 200) << 5 << true << false;
    QTest::newRow("transparent first frame") << QSize(200, 200) << 3 << false << true;
    QTest::newRow("odd size 101x77 partial") << QSize(101, 77) << 4 << true << false;
    QTest::newRow("tall odd 33x251") << QSize(33, 251) << 3 << false << false;
    QTest::newRow("single frame") << QSize(64, 64) << 1 << false << false;
    QTest::newRow("smaller than key 40x30") << QSize(40, 30) << 3 << true << false;
}

void tst_GifConvert::convert()
{
    QFETCH(QSize, canvas);
    QFETCH(int, frames);
    QFETCH(bool, partial);
    QFETCH(bool, transparent);

    const QString path = m_dir.filePath(QStringLiteral("%1.gif").arg(QTest::currentDataTag()));
    QVERIFY(TestPictures::writeFile(path, TestPictures::makeGif({canvas, frames, partial, transparent})));
    const QSize size = IconTransform::gifSize(canvas);

    DialogIconBuilder dialog;
    QVERIFY(dialog.gifConvert(path, path, size));

    std::list<Magick::Image> result;
    Magick::readImages(&result, path.toStdString());
    QCOMPARE(int(result.size()), frames);
    int index = 0;
    for (const Magick::Image& frame : result) {
        QCOMPARE(QSize(int(frame.columns()), int(frame.rows())), size);
        QCOMPARE(frame.page().xOff(), ssize_t(0));
        QCOMPARE(frame.page().yOff(), ssize_t(0));
        if (partial && index > 0) {
            // Coalesced: the lower right corner still shows the red first frame.
            const Magick::ColorRGB corner = frame.pixelColor(frame.columns() - 1, frame.rows() - 1);
            QVERIFY2(corner.red() > 0.8 && corner.blue() < 0.2, "a partial frame lost its background");
        }
        ++index;
    }

    if (transparent) {
        const QImage first(path);
        QCOMPARE(first.pixelColor(first.width() - 1, first.height() - 1).alpha(), 0);
        QCOMPARE(first.pixelColor(0, 0), QColor(Qt::red));
    }

    QMovie movie(path);
    QVERIFY(movie.isValid());
    QCOMPARE(movie.frameCount(), frames);
    QVERIFY(movie.jumpToFrame(0));
    QCOMPARE(movie.currentImage().size(), size);
    if (frames > 1) {
        QSignalSpy changed(&movie, &QMovie::frameChanged);
        movie.start();
        QTRY_VERIFY(changed.count() >= 2);
    }
}

void tst_GifConvert::damaged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = TestPictures::makeGif({QSize(120, 90), 4, false, false});
    QByteArray zeroFrames("GIF89a");
    zeroFrames.append("\x10\x00\x10\x00\x00\x00\x00;", 8);  // screen descriptor and trailer only
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        TestPictures::gradient(QSize(40, 30)).save(&buffer, "PNG");
    }
    QTest::newRow("truncated") << good.left(good.size() / 2);
    QTest::newRow("header only") << good.left(13);
    QTest::newRow("zero frames") << zeroFrames;
    QTest::newRow("png named gif") << png;
    QTest::newRow("text named gif") << QByteArray("hello, this is no picture");
    QTest::newRow("empty file") << QByteArray();
    QByteArray scrambled = good;
    for (int i = 30; i < scrambled.size(); i += 7)
        scrambled[i] = char(scrambled[i] ^ 0x5a);
    QTest::newRow("scrambled data") << scrambled;
}

void tst_GifConvert::damaged()
{
    QFETCH(QByteArray, bytes);
    const QString path = m_dir.filePath(QStringLiteral("damaged.gif"));
    QVERIFY(TestPictures::writeFile(path, bytes));

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("GifFrameResizer")));
    DialogIconBuilder dialog;
    QVERIFY(!dialog.gifConvert(path, path, QSize(150, 108)));
    QCOMPARE(TestPictures::readFile(path), bytes);
    QCOMPARE(dialog.cursor().shape(), Qt::ArrowCursor);
}

void tst_GifConvert::throughDialog()
{
    // The dialog's own size from the picked GIF goes into the conversion.
    const QString path = m_dir.filePath(QStringLiteral("picked.gif"));
    const QByteArray original = TestPictures::makeGif({QSize(300, 100), 3, true, false});
    QVERIFY(TestPictures::writeFile(path, original));
    DialogIconBuilder dialog;
    dialog.setImagePath(path);
    QCOMPARE(dialog.gifSize(), QSize(150, 50));
    const QString out = m_dir.filePath(QStringLiteral("out.gif"));
    QVERIFY(dialog.gifConvert(path, out, dialog.gifSize()));
    QCOMPARE(QImage(out).size(), QSize(150, 50));
    QCOMPARE(TestPictures::readFile(path), original);  // converting elsewhere leaves the source alone
}

QTEST_MAIN(tst_GifConvert)
#include "tst_gifconvert.moc"
