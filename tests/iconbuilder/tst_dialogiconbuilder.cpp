// The icon builder and the icon edit menu as the user drives them, and the icon
// folder: where files land, how they are named, and that nothing is overwritten.
#include "iconbuilder/dialogiconbuilder.h"
#include "iconbuilder/dialogiconeditmenu.h"
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
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <Magick++.h>

class tst_DialogIconBuilder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void claimNeverOverwrites_data();
    void claimNeverOverwrites();
    void okStoresIcon_data();
    void okStoresIcon();
    void okTwiceInOneSecond();
    void cancelGivesEmptyPath();
    void damagedGifStillAccepted();
    void pngThenGifFromButton();
    void modeListFollowsPicture();
    void saveExtAppIcon();
    void noConfigDirWritesNothing();
    void drag_data();
    void drag();
    void editMenu_data();
    void editMenu();

private:
    QString iconFolder() const { return QDir(m_config.path()).filePath(QStringLiteral("icon")); }
    QStringList icons() const { return QDir(iconFolder()).entryList(QDir::Files, QDir::Name); }
    QTemporaryDir m_pictures;
    QTemporaryDir m_config;
    QString m_png;
    QString m_gif;
};

namespace {
const QRegularExpression kIconName(QStringLiteral("^\\d{12}(_\\d+)?\\.(png|gif|jpg)$"));

void clickWhenModal(const char* button)
{
    whenModal<QDialog>([button](QDialog* dialog) { dialog->findChild<QPushButton*>(button)->click(); });
}
}

void tst_DialogIconBuilder::initTestCase()
{
    QVERIFY(m_pictures.isValid());
    Magick::InitializeMagick(nullptr);
    m_png = m_pictures.filePath(QStringLiteral("photo.png"));
    m_gif = m_pictures.filePath(QStringLiteral("anim.gif"));
    QVERIFY(TestPictures::gradient(QSize(300, 300)).save(m_png));
    QVERIFY(TestPictures::writeFile(m_gif, TestPictures::makeGif({QSize(480, 360), 4, true, false})));
}

void tst_DialogIconBuilder::init()
{
    QVERIFY(m_config.isValid());
    KyVantaProxy::getInstance()->configDir = m_config.path();
}

void tst_DialogIconBuilder::cleanup()
{
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
        QVERIFY(!path.isEmpty());
        QVERIFY(TestPictures::writeFile(path, QFileInfo(path).fileName().toUtf8()));  // mark as taken by a key
        names << QFileInfo(path).fileName();
    }
    QCOMPARE(names, expected);
    for (const QString& name : expected)
        QCOMPARE(TestPictures::readFile(QDir(iconFolder()).filePath(name)), name.toUtf8());
}

void tst_DialogIconBuilder::okStoresIcon_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("frames");
    QTest::newRow("png fill") << QStringLiteral("png") << 0 << QSize(150, 108) << 1;
    QTest::newRow("png centre") << QStringLiteral("png") << 4 << QSize(150, 108) << 1;
    QTest::newRow("gif") << QStringLiteral("gif") << 0 << QSize(144, 108) << 4;
}

void tst_DialogIconBuilder::okStoresIcon()
{
    QFETCH(QString, picture);
    QFETCH(int, mode);
    QFETCH(QSize, size);
    QFETCH(int, frames);
    const QString source = picture == QLatin1String("gif") ? m_gif : m_png;
    const QByteArray original = TestPictures::readFile(source);

    DialogIconBuilder dialog;
    QSignalSpy changed(&dialog, &DialogIconBuilder::fileChanged);
    dialog.setImagePath(source);
    dialog.findChild<QComboBox*>("cbBuilderList")->setCurrentIndex(mode);
    const QImage preview = dialog.iconImage();
    clickWhenModal("btnOk");
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));

    const QString saved = dialog.getImagePath();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toString(), QFileInfo(iconFolder()).absoluteFilePath());
    QCOMPARE(QFileInfo(saved).absolutePath(), QFileInfo(iconFolder()).absoluteFilePath());
    QVERIFY2(kIconName.match(QFileInfo(saved).fileName()).hasMatch(), qPrintable(saved));
    QImageReader reader(saved);
    QCOMPARE(reader.size(), size);
    QCOMPARE(reader.imageCount(), frames);
    if (frames == 1)
        QCOMPARE(QImage(saved).convertToFormat(QImage::Format_ARGB32), preview.convertToFormat(QImage::Format_ARGB32));
    QCOMPARE(TestPictures::readFile(source), original);  // the user's file is untouched
}

void tst_DialogIconBuilder::okTwiceInOneSecond()
{
    QStringList paths;
    for (int i = 0; i < 3; ++i) {
        clickWhenModal("btnOk");
        paths << IconBuilder().getOpenFileName(m_png);
    }
    paths.removeDuplicates();
    QCOMPARE(paths.size(), 3);
    QCOMPARE(icons().size(), 3);
}

void tst_DialogIconBuilder::cancelGivesEmptyPath()
{
    IconFileChooser::setHook([this](QWidget*, const QString&, const QString&, const QString&) { return m_gif; });
    whenModal<DialogIconBuilder>([](DialogIconBuilder* dialog) {
        dialog->findChild<QPushButton*>("btnOpenFile")->click();  // a file was chosen, then cancelled
        dialog->findChild<QPushButton*>("btnCancel")->click();
    });
    QCOMPARE(IconBuilder().getOpenFileName(m_png), QString());
    QVERIFY(icons().isEmpty());
}

void tst_DialogIconBuilder::damagedGifStillAccepted()
{
    const QString bad = m_pictures.filePath(QStringLiteral("bad.gif"));
    const QByteArray bytes("GIF89a this is not really a GIF");
    QVERIFY(TestPictures::writeFile(bad, bytes));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("GifFrameResizer")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("GifFrameResizer")));
    clickWhenModal("btnOk");
    const QString saved = IconBuilder().getOpenFileName(bad);
    QVERIFY(saved.endsWith(QLatin1String(".gif")));
    QCOMPARE(TestPictures::readFile(saved), bytes);  // left as copied
    QCOMPARE(TestPictures::readFile(bad), bytes);
}

void tst_DialogIconBuilder::pngThenGifFromButton()
{
    IconFileChooser::setHook([this](QWidget*, const QString&, const QString&, const QString& filter) {
        return filter.endsWith(QLatin1String("(*.jpg *.png *.gif)")) ? m_gif : QString();
    });
    whenModal<DialogIconBuilder>([](DialogIconBuilder* dialog) {
        dialog->findChild<QPushButton*>("btnOpenFile")->click();
        dialog->findChild<QPushButton*>("btnOk")->click();
    });
    const QString saved = IconBuilder().getOpenFileName(m_png);
    QVERIFY(saved.endsWith(QLatin1String(".gif")));
    QImageReader reader(saved);
    QCOMPARE(reader.imageCount(), 4);
    QCOMPARE(reader.size(), QSize(144, 108));
    QCOMPARE(icons().size(), 1);
}

void tst_DialogIconBuilder::modeListFollowsPicture()
{
    DialogIconBuilder dialog;
    auto* modes = dialog.findChild<QComboBox*>("cbBuilderList");
    dialog.setImagePath(m_gif);
    QVERIFY(!modes->isEnabled());
    dialog.setImagePath(m_png);
    QVERIFY(modes->isEnabled());
    dialog.setImagePath(m_pictures.filePath(QStringLiteral("missing.png")));
    QVERIFY(modes->isEnabled());
    QCOMPARE(dialog.iconImage().size(), QSize(150, 108));  // a missing file keeps the preview
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

void tst_DialogIconBuilder::drag_data()
{
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<bool>("moves");
    QTest::newRow("title bar") << QPoint(100, 20) << true;
    QTest::newRow("body below the title bar") << QPoint(100, 200) << false;
}

void tst_DialogIconBuilder::drag()
{
    QFETCH(QPoint, press);
    QFETCH(bool, moves);
    DialogIconBuilder dialog;
    dialog.move(100, 100);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QPoint start = dialog.pos();
    const QPoint to = press + QPoint(30, 10);
    QMouseEvent down(QEvent::MouseButtonPress, press, dialog.mapToGlobal(press), Qt::LeftButton, Qt::LeftButton,
                     Qt::NoModifier);
    QMouseEvent move(QEvent::MouseMove, to, dialog.mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent up(QEvent::MouseButtonRelease, to, dialog.mapToGlobal(to), Qt::LeftButton, Qt::NoButton,
                   Qt::NoModifier);
    QApplication::sendEvent(&dialog, &down);
    QApplication::sendEvent(&dialog, &move);
    QApplication::sendEvent(&dialog, &up);
    QCOMPARE(dialog.pos(), moves ? start + QPoint(30, 10) : start);
}

void tst_DialogIconBuilder::editMenu_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("result");
    QTest::newRow("local disk") << QStringLiteral("btnLocalDisk") << 0;
    QTest::newRow("icon builder") << QStringLiteral("btnIconBuilder") << 1;
    QTest::newRow("pointer leaves the menu") << QStringLiteral("leave") << -1;
    QTest::newRow("pointer leaves a button only") << QStringLiteral("leave button") << 0;
}

void tst_DialogIconBuilder::editMenu()
{
    QFETCH(QString, action);
    QFETCH(int, result);
    QPoint placed;
    whenModal<DialogIconEditMenu>([action, &placed](DialogIconEditMenu* menu) {
        placed = menu->pos();
        QEvent leave(QEvent::Leave);
        if (action == QLatin1String("leave")) {
            QApplication::sendEvent(menu, &leave);
            return;
        }
        if (action == QLatin1String("leave button"))
            QApplication::sendEvent(menu->findChild<QPushButton*>("btnIconBuilder"), &leave);
        const QString button = action.startsWith(QLatin1String("leave")) ? QStringLiteral("btnLocalDisk") : action;
        menu->findChild<QPushButton*>(button)->click();
    });
    QCOMPARE(IconBuilder().showIconEditMenu(QPoint(-400, -300)), result);
    QCOMPARE(placed, QPoint(385, 295));
}

QTEST_MAIN(tst_DialogIconBuilder)
#include "tst_dialogiconbuilder.moc"
