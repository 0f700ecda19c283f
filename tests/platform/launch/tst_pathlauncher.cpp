// Opening paths on Linux: desktop entries of the test's own desktop launched through
// GIO (field codes, Terminal=true, Hidden=true), documents through the desktop services.
#include "platform/launch/pathlauncher.h"
#include "testdesktop.h"

#include <QDesktopServices>
#include <QtTest>

class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

class tst_PathLauncher : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void kinds_data();
    void kinds();
    void launches_data();
    void launches();
    void refusedEntries_data();
    void refusedEntries();
    void documentGoesToDesktopServices();
    void cleanupTestCase();

private:
    TestDesktop m_desktop;
    UrlCatcher m_catcher;
    std::unique_ptr<PathLauncher> m_launcher;
};

void tst_PathLauncher::initTestCase()
{
    QVERIFY(m_desktop.setUp());
    QDesktopServices::setUrlHandler("file", &m_catcher, "open");
    m_launcher = PathLauncher::create(QString());
    QCOMPARE(m_launcher->name(), QStringLiteral("gio"));
}

void tst_PathLauncher::kinds_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("application");
    QTest::newRow("desktop entry") << "a.desktop" << QByteArray("[Desktop Entry]\nType=Application\nName=A\nExec=true\n") << true;
    QTest::newRow("text") << "notes.txt" << QByteArray("hello") << false;
    QTest::newRow("folder") << "folder.desktop" << QByteArray() << false;
    QTest::newRow("entry recognised by content") << "plain" << QByteArray("[Desktop Entry]\nType=Application\n") << true;
    QTest::newRow("ini text") << "settings.ini" << QByteArray("[General]\nA=1\n") << false;
}

void tst_PathLauncher::kinds()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(bool, application);
    const QString path = m_desktop.root() + "/kinds/" + name;
    QDir().mkpath(QFileInfo(path).path());
    if (content.isEmpty())
        QVERIFY(QDir().mkpath(path));
    else
        QVERIFY(TestDesktop::write(path, content, false));
    QCOMPARE(PathLauncher::kindOf(path) == PathLauncher::Kind::Application, application);
}

// GIO expands the Exec field codes: no files for %U and %f, the entry's own path for
// %k, its name for %c; Terminal=true runs the command in the first terminal found.
void tst_PathLauncher::launches_data()
{
    QTest::addColumn<QString>("extra");
    QTest::addColumn<bool>("terminal");
    QTest::newRow("url and file codes") << QString() << false;
    QTest::newRow("terminal") << "Terminal=true" << true;
}

void tst_PathLauncher::launches()
{
    QFETCH(QString, extra);
    QFETCH(bool, terminal);
    const QString tag = QString::fromLatin1(QTest::currentDataTag()).replace(' ', '-');
    const QString out = m_desktop.root() + "/" + tag + ".out";
    const QString program = m_desktop.addRecorder(tag, out);
    const QString terminalOut = m_desktop.root() + "/terminal.out";
    m_desktop.addRecorder("gnome-terminal", terminalOut);
    QFile::remove(terminalOut);
    const QString entry = m_desktop.addEntry(tag, {"Exec=" + program + " %U %f %k %c", extra});

    m_launcher->open(entry);
    if (terminal) {
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(terminalOut), 10000);
        const QStringList args = TestDesktop::lines(terminalOut);
        QVERIFY2(args.contains(program) && args.contains(entry) && args.contains(tag), qPrintable(args.join(' ')));
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(out), 10000);
        QCOMPARE(TestDesktop::lines(out), QStringList({entry, tag}));
    }
    QVERIFY(m_catcher.urls.isEmpty());
}

// Entries that start nothing, and open nothing as a document either.
void tst_PathLauncher::refusedEntries_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("warning");
    QTest::newRow("hidden") << QStringList{"Hidden=true"} << "hidden";
    QTest::newRow("missing program") << QStringList{"TryExec=/nonexistent/vanta-nothing"} << "not a launchable";
    QTest::newRow("not an application") << QStringList{"Type=Link", "URL=https://example.org/"} << "not a launchable";
}

void tst_PathLauncher::refusedEntries()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, warning);
    const QString tag = QString::fromLatin1(QTest::currentDataTag()).replace(' ', '-');
    const QString out = m_desktop.root() + "/" + tag + ".out";
    const QString program = m_desktop.addRecorder(tag, out);
    QString path = m_desktop.addEntry(tag, QStringList{"Exec=" + program} + lines);
    if (lines.contains("Type=Link")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll().replace("Type=Application\n", "");
        file.close();
        QVERIFY(TestDesktop::write(path, content, false));
    }
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
    m_launcher->open(path);
    QTest::qWait(300);
    QVERIFY(!QFile::exists(out));
    QVERIFY(m_catcher.urls.isEmpty());
}

void tst_PathLauncher::documentGoesToDesktopServices()
{
    const QString path = m_desktop.root() + "/document.txt";
    QVERIFY(TestDesktop::write(path, "text", false));
    m_launcher->open(path);
    QCOMPARE(m_catcher.urls, QList<QUrl>{QUrl::fromLocalFile(path)});
    m_catcher.urls.clear();
}

void tst_PathLauncher::cleanupTestCase()
{
    QDesktopServices::unsetUrlHandler("file");
}

QTEST_MAIN(tst_PathLauncher)
#include "tst_pathlauncher.moc"
