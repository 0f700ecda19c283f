// The file icon helpers on a desktop of the test's own: which icon becomes the picture,
// how pictures are named (never replacing one), and what may be deleted.
#include "iconbuilder/fileiconpicture.h"
#include "iconbuilder/tovdragdropstatic.h"
#include "testdesktop.h"

#include <QFileSystemModel>
#include <QtTest>

namespace {
const QColor kRed(220, 0, 0);
const QColor kGreen(0, 200, 0);
const QColor kBlue(0, 0, 220);
const QColor kYellow(230, 230, 0);
const QColor kMagenta(200, 0, 200);
}

class tst_TovDragDropStatic : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void chooseSize_data();
    void chooseSize();
    void savedPicture_data();
    void savedPicture();
    void namesNeverReplace_data();
    void namesNeverReplace();
    void removal_data();
    void removal();
    void shortcutPixmap();

private:
    QString source(const QString& name);

    TestDesktop m_desktop;
};

void tst_TovDragDropStatic::initTestCase()
{
    QVERIFY(m_desktop.setUp());
    m_desktop.addThemeIcon("apps", "vanta-test-app", {32, 256, 512}, kRed);
    m_desktop.addThemeIcon("mimetypes", "text-plain", {32, 256}, kGreen);
    m_desktop.addThemeIcon("mimetypes", "image-png", {128}, kBlue);
    m_desktop.addThemeIcon("places", "folder", {16, 48}, kYellow);
    QImage file(200, 200, QImage::Format_RGB32);
    file.fill(kMagenta);
    QVERIFY(file.save(m_desktop.root() + "/own-icon.png"));
    QVERIFY(FileIconPicture::folder().startsWith(m_desktop.dataHome() + "/"));
}

void tst_TovDragDropStatic::init()
{
    QDir(FileIconPicture::folder()).removeRecursively();
}

QString tst_TovDragDropStatic::source(const QString& name)
{
    const QString path = m_desktop.root() + "/sources/" + name;
    QDir().mkpath(QFileInfo(path).path());
    return path;
}

void tst_TovDragDropStatic::chooseSize_data()
{
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<int>("chosen");
    QTest::newRow("narrowest wider than a key") << QList<int>{16, 32, 128, 256, 512} << 256;
    QTest::newRow("widest when none is wider") << QList<int>{16, 32, 128} << 128;
    QTest::newRow("a single size") << QList<int>{16} << 16;
    QTest::newRow("150 loses to a wider one") << QList<int>{150, 160} << 160;
    QTest::newRow("150 wins among narrower") << QList<int>{16, 150, 48} << 150;
    QTest::newRow("unsorted") << QList<int>{512, 200, 1024, 300} << 200;
    QTest::newRow("tie keeps the first") << QList<int>{64, 64} << 64;
    QTest::newRow("none") << QList<int>{} << -1;
}

void tst_TovDragDropStatic::chooseSize()
{
    QFETCH(QList<int>, widths);
    QFETCH(int, chosen);
    QList<QSize> sizes;
    for (int width : widths)
        sizes << QSize(width, width);
    const int index = FileIconPicture::chooseSize(sizes);
    QCOMPARE(index < 0 ? -1 : widths.at(index), chosen);
}

// Each source gets its desktop icon; 0 for `width` means no picture at all.
void tst_TovDragDropStatic::savedPicture_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("entryLines");  // non-empty: the source is a desktop entry
    QTest::addColumn<QString>("picture");
    QTest::addColumn<int>("width");
    QTest::addColumn<QColor>("color");
    QTest::newRow("text file") << "notes.txt" << "" << "notes.jpg" << 256 << kGreen;
    QTest::newRow("png image") << "photo.png" << "" << "photo.jpg" << 128 << kBlue;
    QTest::newRow("folder, generic icon") << "Editor.app/" << "" << "Editor.jpg" << 48 << kYellow;
    QTest::newRow("no theme icon: provider's") << "archive.tar.gz" << "" << "archive.tar.jpg" << 128 << QColor();
    QTest::newRow("entry, theme icon") << "editor.desktop" << "Icon=vanta-test-app" << "editor.jpg" << 256 << kRed;
    QTest::newRow("entry, icon suffix dropped") << "viewer.desktop" << "Icon=vanta-test-app.png" << "viewer.jpg" << 256 << kRed;
    QTest::newRow("entry, icon file") << "paint.desktop" << "Icon=" + m_desktop.root() + "/own-icon.png" << "paint.jpg" << 200 << kMagenta;
    QTest::newRow("entry, hidden") << "gone.desktop" << "Icon=vanta-test-app\nHidden=true" << "gone.jpg" << 256 << kRed;
    QTest::newRow("entry without Icon") << "bare.desktop" << "Exec=true" << "" << 0 << QColor();
    QTest::newRow("entry, icon not in theme") << "odd.desktop" << "Icon=vanta-no-such-icon" << "" << 0 << QColor();
}

void tst_TovDragDropStatic::savedPicture()
{
    QFETCH(QString, name);
    QFETCH(QString, entryLines);
    QFETCH(QString, picture);
    QFETCH(int, width);
    QFETCH(QColor, color);
    const QString path = source(name);
    if (name.endsWith('/'))
        QVERIFY(QDir().mkpath(path));
    else if (name.endsWith(".png"))
        QVERIFY(QImage(8, 8, QImage::Format_RGB32).save(path));
    else
        QVERIFY(TestDesktop::write(path, "[Desktop Entry]\nType=Application\nName=N\nExec=true\n" + entryLines.toUtf8() + "\n", false));

    const QString saved = TovDragDropStatic::saveFilenameIcon(path);
    if (width == 0) {
        QCOMPARE(saved, QString());
        QVERIFY(QDir(FileIconPicture::folder()).isEmpty());
        return;
    }
    QCOMPARE(saved, FileIconPicture::folder() + "/" + picture);
    const QImage image(saved);
    QCOMPARE(image.width(), width);
    if (color.isValid())
        QVERIFY2(TestDesktop::near(image.pixelColor(width / 2, width / 2), color), qPrintable(image.pixelColor(width / 2, width / 2).name()));
}

void tst_TovDragDropStatic::namesNeverReplace_data()
{
    QTest::addColumn<QStringList>("taken");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("free") << QStringList{} << QStringList{"Editor.jpg", "Editor1.jpg", "Editor2.jpg"};
    QTest::newRow("gaps are filled") << QStringList{"Editor.jpg", "Editor2.jpg"} << QStringList{"Editor1.jpg", "Editor3.jpg", "Editor4.jpg"};
    QTest::newRow("folder and link count as taken") << QStringList{"Editor.jpg/", "Editor1.jpg@"} << QStringList{"Editor2.jpg", "Editor3.jpg", "Editor4.jpg"};
}

void tst_TovDragDropStatic::namesNeverReplace()
{
    QFETCH(QStringList, taken);
    QFETCH(QStringList, expected);
    const QString folder = FileIconPicture::folder();
    QVERIFY(QDir().mkpath(folder));
    for (const QString& name : taken) {
        if (name.endsWith('/'))
            QVERIFY(QDir().mkpath(folder + "/" + name));
        else if (name.endsWith('@'))
            QVERIFY(QFile::link(m_desktop.root() + "/missing-target", folder + "/" + name.chopped(1)));
        else
            QVERIFY(TestDesktop::write(folder + "/" + name, "keep", false));
    }
    const QString app = source("Editor.app/");
    QVERIFY(QDir().mkpath(app));
    for (const QString& name : expected)
        QCOMPARE(TovDragDropStatic::saveFilenameIcon(app), folder + "/" + name);
    for (const QString& name : taken) {
        if (!name.endsWith('/') && !name.endsWith('@'))
            QCOMPARE(TestDesktop::lines(folder + "/" + name), QStringList{"keep"});
    }
}

// Only a plain file directly in the picture folder is deleted.
void tst_TovDragDropStatic::removal_data()
{
    QTest::addColumn<QString>("file");     // created, relative to the picture folder
    QTest::addColumn<QString>("argument"); // what removePictureFile is given
    QTest::addColumn<bool>("deleted");
    const QString root = "@";               // stands for the test's root folder
    QTest::newRow("generated picture") << "a.jpg" << "a.jpg" << true;
    QTest::newRow("empty path") << "a.jpg" << "" << false;
    QTest::newRow("dot-dot into the folder") << "a.jpg" << "../Picture/a.jpg" << false;
    QTest::newRow("dot-dot out of a subfolder") << "a.jpg" << "sub/../a.jpg" << false;
    QTest::newRow("subfolder") << "sub/a.jpg" << "sub/a.jpg" << false;
    QTest::newRow("elsewhere") << root + "/a.jpg" << root + "/a.jpg" << false;
    QTest::newRow("symlink pointing out") << "link.jpg>" << "link.jpg" << false;
    QTest::newRow("no suffix") << "plain" << "plain" << false;
    QTest::newRow("folder") << "dir.jpg/" << "dir.jpg" << false;
    QTest::newRow("resource") << "a.jpg" << ":/SystemDll/images/mainpage_btn_app.png" << false;
}

void tst_TovDragDropStatic::removal()
{
    QFETCH(QString, file);
    QFETCH(QString, argument);
    QFETCH(bool, deleted);
    const QString folder = FileIconPicture::folder();
    auto resolve = [&](const QString& relative) {
        if (relative.startsWith('@'))
            return m_desktop.root() + relative.mid(1);
        return relative.startsWith(':') || relative.isEmpty() ? relative : folder + "/" + relative;
    };
    const QString outside = m_desktop.root() + "/victim.jpg";
    QVERIFY(TestDesktop::write(outside, "mine", false));
    QString created = resolve(file);
    QVERIFY(QDir().mkpath(QFileInfo(created).path()));
    if (created.endsWith('>'))
        QVERIFY(QFile::link(outside, created.chopped(1)));
    else if (created.endsWith('/'))
        QVERIFY(QDir().mkpath(created));
    else
        QVERIFY(TestDesktop::write(created, "x", false));
    created.remove(QRegularExpression("[>/]$"));

    TovDragDropStatic::removePictureFile(resolve(argument));
    QCOMPARE(!QFileInfo(created).exists() && !QFileInfo(created).isSymLink(), deleted);
    QVERIFY(QFile::exists(outside));
}

void tst_TovDragDropStatic::shortcutPixmap()
{
    const QString path = source("shortcut.txt");
    QVERIFY(TestDesktop::write(path, "x", false));
    QFileSystemModel model;
    QPixmap pixmap;
    TovDragDropStatic::getShortcutPixmap(path, pixmap, &model);
    QCOMPARE(pixmap.width(), 256);
    QCOMPARE(model.rootPath(), QFileInfo(path).path());

    const QString entry = source("bare.desktop");
    QVERIFY(TestDesktop::write(entry, "[Desktop Entry]\nType=Application\nName=B\nExec=true\n", false));
    TovDragDropStatic::getShortcutPixmap(entry, pixmap, nullptr);
    QCOMPARE(pixmap.width(), 256);  // no icon: unchanged
    QVERIFY(QDir(FileIconPicture::folder()).isEmpty());
}

QTEST_MAIN(tst_TovDragDropStatic)
#include "tst_tovdragdropstatic.moc"
