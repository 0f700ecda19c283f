// The installed tree, as `cmake --install` lays it out into a scratch root (as a package
// unpacked with dpkg -x): the host finds its library with no flags, wherever the tree
// lies; the man page keeps up with --help; the icons are drawn at their sizes. The
// desktop's own validators check the packaged files (scripts/check-package).
#include "testfiles.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run run(const QString& program, const QStringList& arguments, const QProcessEnvironment& env = {})
{
    QProcess process;
    if (!env.isEmpty())
        process.setProcessEnvironment(env);
    process.start(program, arguments);
    Run result;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
        result.err = QStringLiteral("%1 did not finish: %2").arg(program, process.errorString());
        return result;
    }
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

// A user who never ran the host, without a display: only a fresh HOME.
QProcessEnvironment freshUser(const QString& home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_CONFIG_HOME", "XDG_DATA_HOME",
                             "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        env.remove(QString::fromLatin1(name));
    env.insert("HOME", home);
    return env;
}

QString bindir(const QString& root) { return root + QStringLiteral(INSTALL_BINDIR); }
QString host(const QString& root) { return bindir(root) + QStringLiteral("/vanta-host"); }
QString installedLibrary(const QString& root) { return root + QStringLiteral(INSTALL_PACKAGEDIR "/libSystemDll.so"); }
QString datadir(const QString& root) { return root + QStringLiteral(INSTALL_DATADIR); }

// The long options of a text: "\-\-name" in roff, "--name" in plain text.
QStringList longOptions(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("\\\\f[BIRP]")));
    text.replace(QStringLiteral("\\-"), QStringLiteral("-"));
    QStringList options;
    QRegularExpressionMatchIterator it = QRegularExpression(QStringLiteral("(?<![\\w-])--[a-z][a-z-]*")).globalMatch(text);
    while (it.hasNext())
        options << it.next().captured();
    options.removeDuplicates();
    options.sort();
    return options;
}

enum class Change { MoveTree, JunkBesideHost, RemoveLibrary };

} // namespace

Q_DECLARE_METATYPE(Change)

class tst_InstalledHost : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_scratch.isValid());
        m_root = m_scratch.filePath("root");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DESTDIR", m_root);
        const Run install = run(QStringLiteral(CMAKE_COMMAND), {"--install", QStringLiteral(BUILD_DIR)}, env);
        QVERIFY2(install.exitCode == 0, qPrintable(install.out + install.err));
        QVERIFY(QFileInfo(host(m_root)).isExecutable());
    }

    void findsTheLibrary_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("expected");  // in stdout or stderr; %1 the host's folder, %2 the installed library
        QTest::newRow("tree moved into another root") << Change::MoveTree << 0 << "\"sdk\":4";
        QTest::newRow("a library beside the host comes first")
            << Change::JunkBesideHost << 2 << "cannot load the package library %1/libSystemDll.so";
        QTest::newRow("no library anywhere") << Change::RemoveLibrary << 2 << "none of %1/libSystemDll.so, %2 is a file";
    }

    // --list as a new user: no --library, no configuration, no display.
    void findsTheLibrary()
    {
        QFETCH(Change, change);
        QFETCH(int, exitCode);
        QFETCH(QString, expected);

        // A hard-linked copy of the installed tree: cheap, and changes stay in it.
        QTemporaryDir dir;
        QString root = dir.filePath("root");
        const Run copy = run("cp", {"-al", m_root, root});
        QVERIFY2(copy.exitCode == 0, qPrintable(copy.err));
        switch (change) {
        case Change::MoveTree: {
            const QString moved = dir.filePath("elsewhere/opt");
            QVERIFY(QDir().mkpath(QFileInfo(moved).path()));
            QVERIFY(QDir().rename(root, moved));
            root = moved;
            break;
        }
        case Change::JunkBesideHost:
            QVERIFY(TestFiles::write(bindir(root) + "/libSystemDll.so", "not a library\n"));
            break;
        case Change::RemoveLibrary:
            QVERIFY(QFile::remove(installedLibrary(root)));
            break;
        }
        QVERIFY(QDir().mkpath(dir.filePath("home")));

        const Run list = run(host(root), {"--list"}, freshUser(dir.filePath("home")));
        const QString output = list.out + list.err;
        QVERIFY2(list.exitCode == exitCode, qPrintable(output));
        expected.replace("%1", bindir(root)).replace("%2", installedLibrary(root));
        QVERIFY2(output.contains(expected), qPrintable(output));
        if (exitCode == 0) {
            const QJsonObject description = QJsonDocument::fromJson(list.out.toUtf8()).object();
            QVERIFY2(!description["list"]["subnode"].toArray().isEmpty(), qPrintable(list.out));
            QVERIFY(QFileInfo(dir.filePath("home/.config/vanta-host")).isDir());
        }
    }

    // Every long option of --help is in the man page's OPTIONS, and nothing else is.
    void manPageListsEveryOption()
    {
        const Run help = run(host(m_root), {"--help"}, freshUser(m_scratch.path()));
        QCOMPARE(help.exitCode, 0);
        const Run man = run("gzip", {"-dc", m_root + QStringLiteral(INSTALL_MANDIR "/man1/vanta-host.1.gz")});
        QVERIFY2(man.exitCode == 0, qPrintable(man.err));
        const qsizetype from = man.out.indexOf(QLatin1String("\n.SH OPTIONS"));
        const qsizetype to = man.out.indexOf(QLatin1String("\n.SH "), from + 1);
        QVERIFY2(from >= 0 && to > from, "the man page has an OPTIONS section");
        QCOMPARE(longOptions(man.out.mid(from, to - from)), longOptions(help.out));
    }

    // The theme's usual sizes, each drawn at its own size, with something on it.
    void icons_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<int>("size");
        for (int size : {16, 24, 32, 48, 64, 128, 256})
            QTest::addRow("%dx%d", size, size) << QStringLiteral("%1x%1").arg(size) << size;
        QTest::newRow("scalable") << "scalable" << 0;
    }

    void icons()
    {
        QFETCH(QString, folder);
        QFETCH(int, size);
        const QString base = datadir(m_root) + "/icons/hicolor/" + folder + "/apps/" APP_ID;
        const QImage icon(size ? base + ".png" : base + ".svg");
        QVERIFY2(!icon.isNull(), qPrintable(base));
        if (size)
            QCOMPARE(icon.size(), QSize(size, size));
        const QImage argb = icon.convertToFormat(QImage::Format_ARGB32);
        int opaque = 0;
        for (int y = 0; y < argb.height(); ++y) {
            for (int x = 0; x < argb.width(); ++x)
                opaque += qAlpha(argb.pixel(x, y)) > 128;
        }
        QVERIFY2(opaque > argb.width() * argb.height() / 3, "the icon is mostly empty");
    }

    // The metadata's newest release is the version being installed.
    void metainfoNamesThisRelease()
    {
        QXmlStreamReader xml(TestFiles::read(datadir(m_root) + "/metainfo/" APP_ID ".metainfo.xml"));
        QString newest;
        while (newest.isEmpty() && !xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("release"))
                newest = xml.attributes().value("version").toString();
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(newest, QStringLiteral(PROJECT_VERSION));
    }

private:
    QTemporaryDir m_scratch;
    QString m_root;
};

QTEST_MAIN(tst_InstalledHost)
#include "tst_installedhost.moc"
