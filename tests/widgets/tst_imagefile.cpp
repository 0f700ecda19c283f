// Files named like images that are none, or that name other files: every loader
// refuses them before a decoder sees them, so a FIFO never blocks (a loader that waits
// on one runs into the test's function timeout), a huge file is never read, and an
// animation never opens its file again.
#include "iconbuilder/dialogiconbuilder.h"
#include "iconbuilder/icontransform.h"
#include "plugin/hostcontext/kyvantaproxy.h"
#include "testfiles.h"
#include "iconbuilder/gifwriter.h"
#include "widgets/base/imagefile.h"
#include "widgets/gifanimation.h"
#include "widgets/iconstatewidget.h"
#include "widgets/kybasehotkeywidget.h"

#include <QBuffer>
#include <QDir>
#include <QLabel>
#include <QMovie>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {
QByteArray svgShowing(const QString& href)
{
    return QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
                          "width=\"20\" height=\"20\"><image width=\"20\" height=\"20\" xlink:href=\"%1\"/></svg>")
        .arg(href)
        .toUtf8();
}

// `frames` single-colour frames at key size, looping for ever.
QByteArray longGif(int frames)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    GifWriter writer(&buffer, QSize(150, 108), -1);
    QImage frame(150, 108, QImage::Format_ARGB32);
    for (int i = 0; i < frames; ++i) {
        frame.fill(i % 2 ? Qt::red : Qt::blue);
        writer.addFrame(frame, 40);
    }
    writer.finish();
    return buffer.data();
}

bool makeFifo(const QString& path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}
} // namespace

class tst_ImageFile : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        KyVantaProxy::getInstance()->configDir = m_dir.filePath(QStringLiteral("config"));
    }

    void hostileFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");  // empty: the file may be opened

        const QString special = QStringLiteral("not a regular file");
        const QString large = QStringLiteral("larger than 67108864 bytes");
        QTest::newRow("FIFO .png") << "fifo" << "pipe.png" << special;
        QTest::newRow("FIFO .gif") << "fifo" << "pipe.gif" << special;
        QTest::newRow("link to a FIFO") << "link to fifo" << "linked.png" << special;
        QTest::newRow("one byte over the cap") << "sparse over" << "huge.png" << large;
        QTest::newRow("at the cap") << "sparse at" << "full.png" << QString();
        QTest::newRow("PNG chunk claiming 2 GiB") << "png bomb" << "bomb.png"
                                                  << "damaged PNG: a chunk runs past the end of the file";
        const QString reference = QStringLiteral("an SVG that refers to another file");
        QTest::newRow("SVG named .png whose image is a FIFO") << "svg fifo" << "ref.png" << reference;
        QTest::newRow("SVG in a data: picture of an SVG") << "svg nested" << "nested.svg" << reference;
        QTest::newRow("compressed SVG") << "svgz" << "packed.svg" << "a compressed SVG";
    }

    void hostileFiles()
    {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        QFETCH(QString, reason);

        const QString path = m_dir.filePath(name);
        const QString pipe = m_dir.filePath(name + QStringLiteral(".pipe"));
        const QByteArray svg = svgShowing(pipe);
        if (kind.startsWith(QLatin1String("svg"))) {
            QVERIFY(makeFifo(pipe));
            const QByteArray bytes = kind == QLatin1String("svg fifo") ? svg
                                   : kind == QLatin1String("svgz") ? QByteArray("\x1f\x8b\x08\x00", 4) + svg
                                   : svgShowing(QStringLiteral("data:image/svg+xml;base64,") + QString::fromLatin1(svg.toBase64()));
            QVERIFY(TestFiles::write(path, bytes));
        } else if (kind.endsWith(QLatin1String("fifo"))) {
            QVERIFY(makeFifo(kind == QLatin1String("fifo") ? path : pipe));
            if (kind != QLatin1String("fifo"))
                QVERIFY(QFile::link(pipe, path));
        } else if (kind == QLatin1String("png bomb")) {
            QImage image(4, 4, QImage::Format_RGB32);
            image.fill(Qt::red);
            QByteArray png;
            QBuffer buffer(&png);
            QVERIFY(buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG"));
            png.chop(12);  // the end marker; the decoder reads on into a text chunk that claims 2 GiB
            QVERIFY(TestFiles::write(path, png + QByteArray::fromHex("7fffffff74455874") + "text"));
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(ImageFile::kMaxBytes + (kind == QLatin1String("sparse over") ? 1 : 0)));
        }

        const QString refusal = ImageFile::refusal(path);
        QVERIFY2(reason.isEmpty() ? refusal.isEmpty() : refusal.startsWith(reason), qPrintable(refusal));
        if (reason.isEmpty())
            return;
        const QRegularExpression warning(QRegularExpression::escape(reason));

        KyBaseHotkeyWidget face;
        QTest::ignoreMessage(QtWarningMsg, warning);
        face.setIconAsset(path);

        IconStateWidget icons;
        QTest::ignoreMessage(QtWarningMsg, warning);
        icons.updateCurrentIcon(path);

        QTest::ignoreMessage(QtWarningMsg, warning);
        QVERIFY(IconTransform::render(path, 0).isNull());

        DialogIconBuilder builder;
        builder.setImagePath(path);
        QTest::ignoreMessage(QtWarningMsg, warning);
        builder.findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
        QCOMPARE(QDir(KyVantaProxy::getInstance()->configDir + QStringLiteral("/icon")).entryList(QDir::Files),
                 QStringList());
    }

    // A GIF over the frame cache is decoded again on every loop: from the bytes read
    // once, not from its path, which by then names a FIFO.
    void animationsNeverReopen_data()
    {
        QTest::addColumn<QString>("player");
        QTest::addColumn<int>("frames");  // enough that the player's frames outgrow its cache
        QTest::newRow("key face") << "face" << 140;
        QTest::newRow("inspector preview") << "inspector" << 540;
        QTest::newRow("icon builder preview") << "builder" << 3;
    }

    void animationsNeverReopen()
    {
        QFETCH(QString, player);
        QFETCH(int, frames);
        const QString path = m_dir.filePath(player + QStringLiteral(".gif"));
        QVERIFY(TestFiles::write(path, longGif(frames)));

        KyBaseHotkeyWidget face;
        IconStateWidget icons;
        DialogIconBuilder builder;
        std::function<bool()> step;
        GifAnimation* animation = nullptr;
        if (player == QLatin1String("builder")) {
            builder.setImagePath(path);
            QMovie* movie = builder.findChild<QLabel*>(QStringLiteral("imgIcon"))->movie();
            QVERIFY(movie);
            step = [movie] { return movie->jumpToNextFrame() && !movie->currentImage().isNull(); };
        } else {
            if (player == QLatin1String("face"))
                face.setIconAsset(path);
            else
                icons.updateCurrentIcon(path);
            animation = (player == QLatin1String("face") ? static_cast<QWidget*>(&face) : &icons)->findChild<GifAnimation*>();
            step = [animation] { return animation->jumpToNextFrame(); };
        }
        QVERIFY(QFile::remove(path) && makeFifo(path));
        for (int i = 0; i < 2 * frames + 1; ++i)
            QVERIFY2(step(), qPrintable(QString::number(i)));
        QVERIFY(!animation || animation->cachedFrames() == 0);  // it did decode again
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(tst_ImageFile)
#include "tst_imagefile.moc"
