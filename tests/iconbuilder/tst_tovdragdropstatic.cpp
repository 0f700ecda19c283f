// The file icon helpers on a desktop of the test's own: which icon becomes the picture,
// how pictures are named (never replacing one), and what may be deleted.
#include "iconbuilder/fileiconpicture.h"
#include "iconbuilder/tovdragdropstatic.h"
#include "testdesktop.h"
#include "testfiles.h"

#include <QtTest>

#include <sys/stat.h>

class tst_TovDragDropStatic : public QObject
{
    Q_OBJECT
private slots:
    void init() { QDir(FileIconPicture::folder()).removeRecursively(); }

    void initTestCase()
    {
        QVERIFY(m_desktop.setUp());
        m_desktop.addThemeIcon("apps", "vanta-test-app", {32, 256, 512}, Qt::red);
        m_desktop.addThemeIcon("mimetypes", "text-plain", {32, 256}, Qt::green);
        m_desktop.addThemeIcon("mimetypes", "image-png", {128}, Qt::blue);
        m_desktop.addThemeIcon("places", "folder", {16, 48}, Qt::yellow);
        QImage own(200, 200, QImage::Format_RGB32);
        own.fill(Qt::magenta);
        QVERIFY(own.save(m_desktop.root() + "/own.png") && QDir().mkpath(m_desktop.root() + "/src"));
        QImage clear(200, 200, QImage::Format_ARGB32);
        clear.fill(Qt::transparent);
        QVERIFY(clear.save(m_desktop.root() + "/clear.png"));
        // An icon whose picture is a FIFO: the SVG decoder would open it and wait.
        QVERIFY(::mkfifo(QFile::encodeName(m_desktop.root() + "/pipe").constData(), 0600) == 0);
        const QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
                               "width=\"9\" height=\"9\"><image width=\"9\" height=\"9\" xlink:href=\"%1/pipe\"/></svg>";
        QVERIFY(TestFiles::write(m_desktop.root() + "/ref.svg", QString::fromLatin1(svg).arg(m_desktop.root()).toUtf8()));
    }

    // Each source gets its desktop icon at the narrowest size wider than a key, else the widest; width 0: no picture.
    void savedPicture_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("icon");  // a desktop entry's Icon line
        QTest::addColumn<QString>("picture");
        QTest::addColumn<int>("width");
        QTest::addColumn<QColor>("color");  // invalid: not checked
        QTest::newRow("folder, generic icon") << "Editor.app/" << "" << "Editor.jpg" << 48 << QColor(Qt::yellow);
        QTest::newRow("no theme icon") << "a.tar.gz" << "" << "a.tar.jpg" << 128 << QColor();
        QTest::newRow("entry, theme icon") << "ed.desktop" << "Icon=vanta-test-app" << "ed.jpg" << 256 << QColor(Qt::red);
        QTest::newRow("entry, icon suffix") << "vi.desktop" << "Icon=vanta-test-app.png" << "vi.jpg" << 256 << QColor(Qt::red);
        QTest::newRow("entry, icon file") << "pa.desktop" << "Icon=" + m_desktop.root() + "/own.png" << "pa.jpg" << 200 << QColor(Qt::magenta);
        // JPEG keeps no transparency: what was clear takes the key's own background.
        QTest::newRow("entry, transparent icon file") << "cl.desktop" << "Icon=" + m_desktop.root() + "/clear.png" << "cl.jpg" << 200 << QColor(30, 30, 30);
        QTest::newRow("entry, hidden") << "go.desktop" << "Icon=vanta-test-app\nHidden=true" << "go.jpg" << 256 << QColor(Qt::red);
        QTest::newRow("entry, SVG icon naming a FIFO") << "ref.desktop" << "Icon=" + m_desktop.root() + "/ref.svg" << "" << 0 << QColor();
        QTest::newRow("entry, unknown icon") << "odd.desktop" << "Icon=vanta-none" << "" << 0 << QColor();
    }

    void savedPicture()
    {
        QFETCH(QString, name);
        QFETCH(QString, icon);
        QFETCH(QString, picture);
        QFETCH(int, width);
        QFETCH(QColor, color);
        const QString path = m_desktop.root() + "/src/" + name;
        QVERIFY(name.endsWith('/') ? QDir().mkpath(path)
                                   : TestFiles::write(path, "[Desktop Entry]\nType=Application\nName=N\nExec=true\n" + icon.toUtf8() + "\n"));

        const QString saved = TovDragDropStatic::saveFilenameIcon(path);
        QCOMPARE(saved, width ? FileIconPicture::folder() + "/" + picture : QString());
        const QImage image(saved);
        QCOMPARE(image.width(), width);
        if (color.isValid())
            QVERIFY(TestDesktop::near(image.pixelColor(width / 2, width / 2), color));
        QPixmap pixmap;
        TovDragDropStatic::getShortcutPixmap(path, pixmap, nullptr);
        QCOMPARE(pixmap.width(), width);
    }

    void namesNeverReplace()
    {
        const QString folder = FileIconPicture::folder();
        QVERIFY(QDir().mkpath(folder + "/Editor1.jpg") && TestFiles::write(folder + "/Editor.jpg", "keep"));
        QVERIFY(QFile::link(m_desktop.root() + "/nowhere", folder + "/Editor3.jpg"));
        const QString app = m_desktop.root() + "/src/Editor.app";
        QVERIFY(QDir().mkpath(app));
        for (const char* name : {"Editor2.jpg", "Editor4.jpg", "Editor5.jpg"})
            QCOMPARE(TovDragDropStatic::saveFilenameIcon(app), folder + "/" + name);
        QCOMPARE(TestFiles::lines(folder + "/Editor.jpg"), QStringList{"keep"});
    }

    // Only a plain file directly in the picture folder is deleted. ">" makes a link to a file outside, "/" a folder.
    void removal_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("generated picture") << "a.jpg" << "a.jpg" << true;
        QTest::newRow("dot-dot into the folder") << "a.jpg" << "../Picture/a.jpg" << false;
        QTest::newRow("subfolder") << "sub/a.jpg" << "sub/a.jpg" << false;
        QTest::newRow("symlink pointing out") << "link.jpg>" << "link.jpg" << false;
        QTest::newRow("no suffix") << "plain" << "plain" << false;
        QTest::newRow("folder") << "dir.jpg/" << "dir.jpg" << false;
    }

    void removal()
    {
        QFETCH(QString, file);
        QFETCH(QString, argument);
        QFETCH(bool, deleted);
        auto resolve = [](const QString& name) { return FileIconPicture::folder() + "/" + name; };
        const QString outside = m_desktop.root() + "/victim.jpg";
        QString created = resolve(file);
        QVERIFY(QDir().mkpath(QFileInfo(created).path()) && TestFiles::write(outside, "mine"));
        QVERIFY(created.endsWith('>') ? QFile::link(outside, created.chopped(1))
                                      : created.endsWith('/') ? QDir().mkpath(created) : TestFiles::write(created, "x"));
        created.remove(QRegularExpression("[>/]$"));

        TovDragDropStatic::removePictureFile(resolve(argument));
        QCOMPARE(!QFileInfo(created).exists() && !QFileInfo(created).isSymLink(), deleted);
        QVERIFY(QFile::exists(outside));
    }

private:
    TestDesktop m_desktop;
};

QTEST_MAIN(tst_TovDragDropStatic)
#include "tst_tovdragdropstatic.moc"
