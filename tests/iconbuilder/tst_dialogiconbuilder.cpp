// The icon builder as the user drives it, and the icon folder: where files land, how
// they are named, that only pictures that decode get there, that nothing is
// overwritten, and that a GIF converts on a worker while the dialog stays live.
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
#include <QLoggingCategory>
#include <QProgressBar>
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
    void sourceGoneBeforeOk();
    void cancelHalfWay();
    void okTwiceInOneSecond();
    void openFileThenFinish_data();
    void openFileThenFinish();
    void saveExtAppIcon();
    void noConfigDirStoresNothing();
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
    m_png = m_pictures.filePath(QStringLiteral("photo.png"));
    m_gif = m_pictures.filePath(QStringLiteral("anim.gif"));
    QVERIFY(TestPictures::gradient(QSize(300, 300)).save(m_png));
    QVERIFY(TestPictures::writeFile(m_gif, TestPictures::animation(QSize(480, 360), 4)));
    cleanup();
}

void tst_DialogIconBuilder::cleanup()
{
    KyVantaProxy::getInstance()->configDir = m_config.path();
    QDir(iconFolder()).removeRecursively();
    IconFileChooser::setHook({});
    QLoggingCategory::setFilterRules(QString());
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
    QTest::addColumn<QByteArray>("bytes");  // empty: the good picture of that name
    QTest::addColumn<int>("mode");
    QTest::addColumn<QSize>("size");  // invalid: nothing decodes, nothing is stored
    QTest::addColumn<int>("frames");
    QTest::newRow("png fill") << "photo.png" << QByteArray() << 0 << QSize(150, 108) << 1;
    QTest::newRow("png centre") << "photo.png" << QByteArray() << 4 << QSize(150, 108) << 1;
    QTest::newRow("gif") << "anim.gif" << QByteArray() << 0 << QSize(144, 108) << 4;
    QTest::newRow("empty png") << "empty.png" << QByteArray("") << 0 << QSize() << 0;
    QTest::newRow("text named png") << "notes.png" << QByteArray("shopping list\n") << 0 << QSize() << 0;
    QTest::newRow("corrupt png") << "bad.png" << QByteArray("\x89PNG\r\n\x1a\n garbage", 17) << 2 << QSize() << 0;
    QTest::newRow("damaged gif") << "bad.gif" << QByteArray("GIF89a this is not really a GIF") << 0 << QSize()
                                 << 0;
}

void tst_DialogIconBuilder::okStoresIcon()
{
    QFETCH(QString, picture);
    QFETCH(QByteArray, bytes);
    QFETCH(int, mode);
    QFETCH(QSize, size);
    QFETCH(int, frames);
    const QString source = m_pictures.filePath(picture);
    if (!size.isValid()) {
        QVERIFY(TestPictures::writeFile(source, bytes));
        QLoggingCategory::setFilterRules(QStringLiteral("systemdll.iconbuilder.warning=false"));  // logged, not shown
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
    QCOMPARE(dialog.exec(), int(size.isValid() ? QDialog::Accepted : QDialog::Rejected));
    QCOMPARE(TestPictures::readFile(source), original);  // the user's file is untouched

    const QString saved = dialog.getImagePath();
    if (!size.isValid()) {
        QCOMPARE(saved, QString());
        QCOMPARE(changed.count(), 0);
        QCOMPARE(icons(), QStringList());
        return;
    }
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toString(), QFileInfo(iconFolder()).absoluteFilePath());
    QCOMPARE(QFileInfo(saved).absolutePath(), QFileInfo(iconFolder()).absoluteFilePath());
    QVERIFY2(kIconName.match(QFileInfo(saved).fileName()).hasMatch(), qPrintable(saved));
    QImageReader reader(saved);
    QCOMPARE(reader.size(), size);
    QCOMPARE(reader.imageCount(), frames);
    if (frames == 1)
        QCOMPARE(QImage(saved).convertToFormat(QImage::Format_ARGB32), preview.convertToFormat(QImage::Format_ARGB32));
}

void tst_DialogIconBuilder::sourceGoneBeforeOk()
{
    // The fitted preview is what the user saw; it is stored even if the file went away.
    const QString source = m_pictures.filePath(QStringLiteral("soon-gone.png"));
    QVERIFY(TestPictures::gradient(QSize(200, 100)).save(source));
    DialogIconBuilder dialog;
    dialog.setImagePath(source);
    const QImage preview = dialog.iconImage().convertToFormat(QImage::Format_ARGB32);
    QVERIFY(QFile::remove(source));
    whenModal<QDialog>([](QDialog* shown) { button(shown, "btnOk")->click(); });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    const QString saved = dialog.getImagePath();
    QCOMPARE(QFileInfo(saved).absolutePath(), QFileInfo(iconFolder()).absoluteFilePath());
    QCOMPARE(QImage(saved).convertToFormat(QImage::Format_ARGB32), preview);
}

void tst_DialogIconBuilder::cancelHalfWay()
{
    // Long enough that the worker is still busy when the first progress step arrives.
    const QString source = m_pictures.filePath(QStringLiteral("long.gif"));
    QVERIFY(TestPictures::writeFile(source, TestPictures::animation(QSize(480, 360), 150)));
    DialogIconBuilder dialog;
    dialog.setImagePath(source);
    int maximum = -1;
    whenModal<DialogIconBuilder>([&](DialogIconBuilder* shown) {
        auto* progress = shown->findChild<QProgressBar*>("progressConvert");
        connect(progress, &QProgressBar::valueChanged, shown, [&maximum, progress, shown](int value) {
            if (value < 1 || maximum >= 0)
                return;
            maximum = progress->maximum();
            QVERIFY(progress->isVisible() && shown->isConverting());
            button(shown, "btnCancel")->click();
        });
        button(shown, "btnOk")->click();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QCOMPARE(maximum, 150);  // one step per frame
    QVERIFY(!dialog.isConverting());
    QCOMPARE(dialog.getImagePath(), QString());
    QCOMPARE(icons(), QStringList());
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

void tst_DialogIconBuilder::noConfigDirStoresNothing()
{
    // Without an icon folder nothing is stored, and the user's own file is not handed
    // back as if it were an icon.
    KyVantaProxy::getInstance()->configDir.clear();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no configuration directory")));
    DialogIconBuilder dialog;
    dialog.setImagePath(m_png);
    whenModal<QDialog>([](QDialog* shown) { button(shown, "btnOk")->click(); });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QCOMPARE(dialog.getImagePath(), QString());
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
