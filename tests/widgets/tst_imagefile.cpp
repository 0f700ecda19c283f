// Files named like images that are none: every loader refuses them before opening,
// so a FIFO never blocks (a loader that waits on one runs into the test's function
// timeout) and a huge file is never read.
#include "iconbuilder/dialogiconbuilder.h"
#include "iconbuilder/icontransform.h"
#include "plugin/hostcontext/kyvantaproxy.h"
#include "testfiles.h"
#include "widgets/base/imagefile.h"
#include "widgets/iconstatewidget.h"
#include "widgets/kybasehotkeywidget.h"

#include <QBuffer>
#include <QDir>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

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
    }

    void hostileFiles()
    {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        QFETCH(QString, reason);

        const QString path = m_dir.filePath(name);
        if (kind.endsWith(QLatin1String("fifo"))) {
            const QString pipe = kind == QLatin1String("fifo") ? path : m_dir.filePath(QStringLiteral("real-pipe"));
            QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
            if (pipe != path)
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

        QCOMPARE(ImageFile::refusal(path), reason);
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

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(tst_ImageFile)
#include "tst_imagefile.moc"
