// The icon builder as the user drives it, and the icon folder: where files land,
// how they are named, and that nothing is overwritten.
#include "iconbuilder/dialogiconbuilder.h"
#include "iconbuilder/iconfilechooser.h"
#include "iconbuilder/iconfolder.h"
#include "modaldriver.h"
#include "package/kyvantaproxy.h"
#include "testpictures.h"
#include "widgets/iconbuilder.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QImageReader>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class tst_DialogIconBuilder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void claimNeverOverwrites_data();
    void claimNeverOverwrites();
    void okStoresIcon_data();
    void okStoresIcon();
    void okTwiceInOneSecond();
    void openFileThenFinish_data();
    void openFileThenFinish();
    void saveExtAppIcon();
    void noConfigDirWritesNothing();
    void drag();

private:
    QString iconFolder() const { return QDir(m_config.path()).filePath(QStringLiteral("icon")); }
    QStringList icons() const { return QDir(iconFolder()).entryList(QDir::Files); }
    QTemporaryDir m_pictures;
    QTemporaryDir m_config;
    QString m_png;
    QString m_gif;
};

namespace {
const QRegularExpression kIconName(QStringLiteral("^\\d{12}(_\\d+)?\\.(png|gif)$"));

QPushButton* button(QWidget* dialog, const char* name)
{
    return dialog->findChild<QPushButton*>(QLatin1String(name));
}
} // namespace

void tst_DialogIconBuilder::initTestCase()
{
    QVERIFY(m_pictures.isValid() && m_config.isValid());
    Magick::InitializeMagick(nullptr);
    m_png = m_pictures.filePath(QStringLiteral("photo.png"));
    m_gif = m_pictures.filePath(QStringLiteral("anim.gif"));
    QVERIFY(TestPictures::gradient(QSize(300, 300)).save(m_png));
    QVERIFY(TestPictures::writeFile(m_gif, TestPictures::makeGif({QSize(480, 360), 4, true, false})));
    cleanup();
}

void tst_DialogIconBuilder::cleanup()
{
    KyVantaProxy::getInstance()->configDir = m_config.path();
    QDir(iconFolder()).removeRecursively();
    IconFileChooser::setHook({});
}

void tst_DialogIconBuilder::claimNeverOverwrites_data()
{
    QTest::addColumn<QList<QDateTime>>("times");
    QTest::addColumn<QStringList>("expected");
    const QDateTime nine(QDate(2024, 5, 1), QTime(9, 12, 30));
    const QDateTime ten(QDate(2024, 5, 1), QTime(10, 12, 30));
    QTest::newRow("same second") << QList<QDateTime>{nine, nine, nine}
                                 << QStringList{"202405011230.png", "202405011230_1.png", "202405011230_2.png"};
    QTest::newRow("same minute and second, other hour")
        << QList<QDateTime>{nine, ten} << QStringList{"202405011230.png", "202405011230_1.png"};
    QTest::newRow("different seconds") << QList<QDateTime>{nine, nine.addSecs(1)}
                                       << QStringList{"202405011230.png", "202405011231.png"};
}

void tst_DialogIconBuilder::claimNeverOverwrites()
{
    QFETCH(QList<QDateTime>, times);
    QFETCH(QStringList, expected);
    QStringList names;
    for (const QDateTime& when : times) {
        const QString path = IconFolder::claimNewFile(QStringLiteral("png"), when);
        names << QFileInfo(path).fileName();
        QVERIFY(TestPictures::writeFile(path, names.last().toUtf8()));  // taken by a key now
    }
    QCOMPARE(names, expected);
    for (const QString& name : expected)
        QCOMPARE(TestPictures::readFile(QDir(iconFolder()).filePath(name)), name.toUtf8());
}

void tst_DialogIconBuilder::okStoresIcon_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QSize>("size");  // invalid: the file is kept as copied
    QTest::addColumn<int>("frames");
    QTest::newRow("png fill") << "photo.png" << 0 << QSize(150, 108) << 1;
    QTest::newRow("png centre") << "photo.png" << 4 << QSize(150, 108) << 1;
    QTest::newRow("gif") << "anim.gif" << 0 << QSize(144, 108) << 4;
    QTest::newRow("damaged gif") << "bad.gif" << 0 << QSize() << 0;
}

void tst_DialogIconBuilder::okStoresIcon()
{
    QFETCH(QString, picture);
    QFETCH(int, mode);
    QFETCH(QSize, size);
    QFETCH(int, frames);
    const QString source = m_pictures.filePath(picture);
    if (!size.isValid()) {
        QVERIFY(TestPictures::writeFile(source, "GIF89a this is not really a GIF"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("GifFrameResizer.*ImageMagick")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("GifFrameResizer.*unconverted")));
    }
    const QByteArray original = TestPictures::readFile(source);

    DialogIconBuilder dialog;
    QSignalSpy changed(&dialog, &DialogIconBuilder::fileChanged);
    dialog.setImagePath(source);
    auto* modes = dialog.findChild<QComboBox*>("cbBuilderList");
    QCOMPARE(modes->isEnabled(), !picture.endsWith(QLatin1String(".gif")));  // modes apply to stills only
    modes->setCurrentIndex(mode);
    const QImage preview = dialog.iconImage();
    whenModal<QDialog>([](QDialog* shown) { button(shown, "btnOk")->click(); });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));

    const QString saved = dialog.getImagePath();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toString(), QFileInfo(iconFolder()).absoluteFilePath());
    QCOMPARE(QFileInfo(saved).absolutePath(), QFileInfo(iconFolder()).absoluteFilePath());
    QVERIFY2(kIconName.match(QFileInfo(saved).fileName()).hasMatch(), qPrintable(saved));
    QCOMPARE(TestPictures::readFile(source), original);  // the user's file is untouched
    if (!size.isValid()) {  // left as copied
        QCOMPARE(TestPictures::readFile(saved), original);
        return;
    }
    QImageReader reader(saved);
    QCOMPARE(reader.size(), size);
    QCOMPARE(reader.imageCount(), frames);
    if (frames == 1)
        QCOMPARE(QImage(saved).convertToFormat(QImage::Format_ARGB32), preview.convertToFormat(QImage::Format_ARGB32));
}

void tst_DialogIconBuilder::okTwiceInOneSecond()
{
    QStringList paths;
    for (int i = 0; i < 3; ++i) {
        whenModal<QDialog>([](QDialog* shown) { button(shown, "btnOk")->click(); });
        paths << IconBuilder().getOpenFileName(m_png);
    }
    paths.removeDuplicates();
    QCOMPARE(paths.size(), 3);
    QCOMPARE(icons().size(), 3);
}

void tst_DialogIconBuilder::openFileThenFinish_data()
{
    QTest::addColumn<QString>("finish");
    QTest::newRow("ok") << "btnOk";
    QTest::newRow("cancel") << "btnCancel";
}

void tst_DialogIconBuilder::openFileThenFinish()
{
    // Another picture chosen inside the builder replaces the one it was opened with.
    QFETCH(QString, finish);
    IconFileChooser::setHook([this](QWidget*, const QString&, const QString&, const QString& filter) {
        return filter.endsWith(QLatin1String("(*.jpg *.png *.gif)")) ? m_gif : QString();
    });
    whenModal<DialogIconBuilder>([finish](DialogIconBuilder* dialog) {
        button(dialog, "btnOpenFile")->click();
        button(dialog, qPrintable(finish))->click();
    });
    const QString saved = IconBuilder().getOpenFileName(m_png);
    if (finish == QLatin1String("btnCancel")) {
        QCOMPARE(saved, QString());
        QVERIFY(icons().isEmpty());
        return;
    }
    QCOMPARE(icons(), QStringList{QFileInfo(saved).fileName()});
    QImageReader reader(saved);
    QCOMPARE(reader.format(), QByteArray("gif"));
    QCOMPARE(reader.imageCount(), 4);
}

void tst_DialogIconBuilder::saveExtAppIcon()
{
    QPixmap pixmap(QSize(64, 32));
    pixmap.fill(Qt::green);
    const QString first = DialogIconBuilder::saveExtAppIcon(pixmap);
    const QString second = DialogIconBuilder::saveExtAppIcon(pixmap);
    QVERIFY(first != second);
    for (const QString& path : {first, second}) {
        QVERIFY2(kIconName.match(QFileInfo(path).fileName()).hasMatch(), qPrintable(path));
        QCOMPARE(QImage(path).size(), QSize(150, 108));
        QCOMPARE(QImage(path).pixelColor(0, 0), QColor(Qt::green));
    }
}

void tst_DialogIconBuilder::noConfigDirWritesNothing()
{
    KyVantaProxy::getInstance()->configDir.clear();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no configuration directory")));
    DialogIconBuilder dialog;
    dialog.setImagePath(m_png);
    QVERIFY(!dialog.copyImage());
    QCOMPARE(dialog.getImagePath(), m_png);
    QCOMPARE(QImage(m_png).size(), QSize(300, 300));
}

void tst_DialogIconBuilder::drag()
{
    // The frameless dialog follows a drag that starts on its title bar, and only that.
    DialogIconBuilder dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto dragBy30 = [&dialog](const QPoint& from) {
        const QPoint start = dialog.pos();
        QTest::mousePress(&dialog, Qt::LeftButton, {}, from);
        QTest::mouseMove(&dialog, from + QPoint(30, 10));
        QTest::mouseRelease(&dialog, Qt::LeftButton, {}, from + QPoint(30, 10));
        return dialog.pos() - start;
    };
    QCOMPARE(dragBy30(QPoint(100, 20)), QPoint(30, 10));
    QCOMPARE(dragBy30(QPoint(100, 200)), QPoint(0, 0));
}

QTEST_MAIN(tst_DialogIconBuilder)
#include "tst_dialogiconbuilder.moc"
