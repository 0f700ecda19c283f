// Opening paths on Linux: desktop entries of the test's own desktop launched through
// GIO (field codes, Terminal=true, Hidden=true), documents through the desktop services.
#include "platform/launch/pathlauncher.h"
#include "testdesktop.h"
#include "testfiles.h"

#include <QDesktopServices>
#include <QDir>
#include <QtTest>

class tst_PathLauncher : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_desktop.setUp());
        QDesktopServices::setUrlHandler("file", this, "openUrl");
        QCOMPARE(PathLauncher::instance()->name(), QStringLiteral("gio"));
    }

    // What each path starts: `args` are the recorded arguments of the entry's program (or
    // of the terminal, which must carry it), empty when nothing may start.
    void open_data()
    {
        QTest::addColumn<QStringList>("lines");  // entry lines; none: a text document
        QTest::addColumn<QString>("started");    // "program", "terminal" or nothing
        QTest::addColumn<QString>("warning");
        const QStringList app{"Type=Application", "Name=Some App", "Exec=@ %U %f %k %c"};
        QTest::newRow("field codes") << app << "program" << "";
        QTest::newRow("terminal") << app + QStringList{"Terminal=true"} << "terminal" << "";
        QTest::newRow("hidden") << app + QStringList{"Hidden=true"} << "" << "hidden";
        QTest::newRow("program not installed") << app + QStringList{"TryExec=/nonexistent/x"} << "" << "not a launchable";
        QTest::newRow("link entry") << QStringList{"Type=Link", "Name=L", "URL=https://example.org/"} << "" << "not a launchable";
        QTest::newRow("document") << QStringList{} << "" << "";
    }

    void open()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, started);
        QFETCH(QString, warning);
        const QString tag = QString::fromLatin1(QTest::currentDataTag()).replace(' ', '-');
        const QString out = m_desktop.root() + "/" + tag + ".out";
        const QString terminalOut = m_desktop.root() + "/" + tag + ".terminal";
        const QString program = m_desktop.addRecorder(tag, out);
        m_desktop.addRecorder("gnome-terminal", terminalOut);  // the first terminal GIO looks for
        QString path = m_desktop.root() + "/" + tag + ".txt";
        if (lines.isEmpty())
            QVERIFY(TestFiles::write(path, "text"));
        else
            path = m_desktop.addEntry(tag, lines.replaceInStrings("@", program));
        if (!warning.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
        m_urls.clear();

        PathLauncher::instance()->open(path);
        if (started == "program") {
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(out), 10000);
            QCOMPARE(TestFiles::lines(out), QStringList({path, "Some App"}));
        } else if (started == "terminal") {
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(terminalOut), 10000);
            QVERIFY(TestFiles::lines(terminalOut).contains(program));
        } else {
            QTest::qWait(300);
            QVERIFY(!QFile::exists(out) && !QFile::exists(terminalOut));
        }
        QCOMPARE(m_urls, lines.isEmpty() ? QList<QUrl>{QUrl::fromLocalFile(path)} : QList<QUrl>{});
    }

    // A file with the execute bit runs when it is a program, itself and without a shell:
    // its name, spaces, quotes, "$(...)" and all, reaches it as one word.
    void runsPrograms_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("head");  // the script's first line
        QTest::addColumn<bool>("runs");
        QTest::newRow("script") << "tool.sh" << QByteArray("#!/bin/sh") << true;
        QTest::newRow("spaces, quotes and $(...)") << "my 'odd' \"tool\" $(touch pwned) `touch pwned2`.sh"
                                                    << QByteArray("#!/bin/sh") << true;
        QTest::newRow("execute bit on a document") << "notes.txt" << QByteArray("plain text") << false;
    }

    void runsPrograms()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, head);
        QFETCH(bool, runs);
        const QString dir = m_desktop.root() + "/run-" + QString::number(++m_round);
        QVERIFY(QDir().mkpath(dir));
        const QString path = dir + "/" + name;
        const QString out = dir + "/ran";
        // Written aside and moved, so the test never reads it half-written.
        const QByteArray target = QFile::encodeName(out);
        QVERIFY(TestFiles::write(path, head + "\nprintf '%s\\n' \"$0\" \"$PWD\" > \"" + target + ".part\"\nmv \"" + target
                                            + ".part\" \"" + target + "\"\n"));
        QVERIFY(QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner));
        QCOMPARE(PathLauncher::kindOf(path), runs ? PathLauncher::Kind::Executable : PathLauncher::Kind::Document);
        m_urls.clear();

        PathLauncher::instance()->open(path);
        if (runs) {
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(out), 10000);
            QCOMPARE(TestFiles::lines(out), QStringList({path, dir}));
            QCOMPARE(m_urls, QList<QUrl>{});
        } else {
            QCOMPARE(m_urls, QList<QUrl>{QUrl::fromLocalFile(path)});
        }
        QVERIFY(!QFile::exists(dir + "/pwned") && !QFile::exists(dir + "/pwned2"));
        QVERIFY(!QFile::exists(m_desktop.root() + "/pwned"));
    }

    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler("file");
    }

public slots:
    void openUrl(const QUrl& url) { m_urls << url; }

private:
    TestDesktop m_desktop;
    QList<QUrl> m_urls;  // what went to the desktop services
    int m_round = 0;
};

QTEST_MAIN(tst_PathLauncher)
#include "tst_pathlauncher.moc"
