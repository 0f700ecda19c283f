// The deck window on the real package library: what a user's clicks, keys and menus do.
#include "descriptors.h"
#include "hostserver.h"
#include "hostsession.h"
#include "hostsessions.h"
#include "iconbuilder/modaldriver.h"
#include "keycell.h"
#include "mainwindow.h"
#include "testfiles.h"
#include "urlcatcher.h"

#include <QAbstractButton>
#include <QDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMessageBox>
#include <QProcess>
#include <QStatusBar>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QWebSocket>
#include <QtTest>

namespace {
const QString kOpenUrl = QStringLiteral("com.corvane.system.openurl");

QJsonObject urlKey(int slot, const QString& url)
{
    return {{"slot", slot}, {"category", kOpenUrl}, {"target", QStringLiteral("t%1").arg(slot)},
            {"payload", QJsonObject{{"version", 1}, {"titlelist", QJsonArray{"T"}}, {"Url", url}}}};
}
const QByteArray kTwoKeys = profileBytes({urlKey(0, "https://a.example"), urlKey(4, "https://b.example")});
} // namespace

class tst_HostWindow : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_opened.clear();
    }

    void cleanup()
    {
        m_window.reset();
        m_urls.reset();
        m_session.reset();
    }

    void clickSelectsHoldPresses_data()
    {
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<int>("opened");
        QTest::newRow("click") << "click" << 0;
        QTest::newRow("drag start") << "drag" << 0;
        QTest::newRow("hold") << "hold" << 1;
        QTest::newRow("space") << "space" << 1;
        QTest::newRow("test button") << "button" << 1;
    }

    void clickSelectsHoldPresses()
    {
        QFETCH(QString, gesture);
        QFETCH(int, opened);
        MainWindow& window = open(kTwoKeys);
        KeyCell* cell = window.cell(4);
        if (gesture == QLatin1String("button")) {
            window.select(4);
            window.findChild<QAbstractButton*>("testKey")->click();
        } else if (gesture == QLatin1String("hold")) {
            QTest::mousePress(cell, Qt::LeftButton);
            QTRY_VERIFY(cell->isDown());
            QTest::mouseRelease(cell, Qt::LeftButton);
        } else if (gesture == QLatin1String("drag")) {
            QTest::mousePress(cell, Qt::LeftButton, {}, QPoint(10, 10));
            QTest::mouseMove(cell, QPoint(12, 11));
            QTest::mouseRelease(cell, Qt::LeftButton, {}, QPoint(12, 11));
        } else {
            QTest::mouseClick(cell, Qt::LeftButton);
            if (gesture == QLatin1String("space"))
                QTest::keyClick(cell, Qt::Key_Space);
        }
        QCOMPARE(window.selectedSlot(), 4);
        QTest::qWait(50);
        QCOMPARE(m_opened, opened ? QStringList{"https://b.example"} : QStringList());
        if (opened)
            QVERIFY(window.statusBar()->currentMessage().contains("ould open https://b.example"));
        QVERIFY(!cell->isDown());  // every key down had its key up
    }

    // A profile that cannot be used is set aside (a second time under a new name) and
    // the window says so; a key that cannot be loaded keeps its slot with a hint.
    void loadProblemsShowBannerAndPlaceholder_data()
    {
        QTest::addColumn<QByteArray>("profile");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("banner");
        QTest::addColumn<QString>("hint");
        QTest::newRow("not json, twice") << QByteArray("{\"grid\": [") << 0 << "it is not valid JSON: unterminated array" << "empty";
        QTest::newRow("array") << QByteArray("[1, 2]") << 0 << "empty deck" << "empty";
        QTest::newRow("grid overflowing int") << profileBytes({}, 46341, 46341) << 0 << "empty deck" << "empty";
        QTest::newRow("pages not array") << QByteArray(R"({"grid":{"columns":5,"rows":3},"pages":{}})") << 0 << "empty deck" << "empty";
        QTest::newRow("unknown action, slot out of the grid")
            << profileBytes({QJsonObject{{"slot", 2}, {"category", "com.example.none"}, {"target", "x"}}, urlKey(40, "https://c.example")})
            << 2 << "com.example.none" << "cannot be loaded";
    }

    void loadProblemsShowBannerAndPlaceholder()
    {
        QFETCH(QByteArray, profile);
        QFETCH(int, slot);
        QFETCH(QString, banner);
        QFETCH(QString, hint);
        const int openings = QByteArray(QTest::currentDataTag()).endsWith("twice") ? 2 : 1;
        for (int n = 0; n < openings; ++n) {
            cleanup();
            MainWindow& window = open(profile);
            QVERIFY2(window.bannerText().contains(banner), qPrintable(window.bannerText()));
            window.select(slot);
            QVERIFY2(window.inspectorHint().contains(hint), qPrintable(window.inspectorHint()));
            QCOMPARE(TestFiles::read(m_dir->filePath(n ? "profile.json.bad.1" : "profile.json.bad")), profile);
        }
        // Keys that could not be shown are written back as they were.
        m_window->assign(0, kOpenUrl);
        for (const QJsonValue& key : QJsonDocument::fromJson(profile)["keys"].toArray())
            QVERIFY(storedKeys().contains(key));
    }

    void editsUndoAndRedo_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QStringList>("urls");  // the URL in each slot after the edit, "" where empty
        QTest::newRow("remove") << "remove" << QStringList{"https://a.example", "", "", "", ""};
        QTest::newRow("move to empty") << "move 4 3" << QStringList{"https://a.example", "", "", "https://b.example", ""};
        QTest::newRow("swap") << "move 0 4" << QStringList{"https://b.example", "", "", "", "https://a.example"};
        QTest::newRow("copy paste") << "paste 2"
                                    << QStringList{"https://a.example", "", "https://b.example", "", "https://b.example"};
        QTest::newRow("assign over") << "assign" << QStringList{"https://a.example", "", "", "", "https://www.example.com/"};
    }

    void editsUndoAndRedo()
    {
        QFETCH(QString, edit);
        QFETCH(QStringList, urls);
        MainWindow& window = open(kTwoKeys);
        const QJsonArray before = m_session->deck().profile()["pages"][0]["keys"].toArray();
        const QStringList words = edit.split(' ');
        window.select(4);
        if (words[0] == QLatin1String("remove")) {
            window.removeSelected();
        } else if (words[0] == QLatin1String("move")) {
            window.moveKey(words[1].toInt(), words[2].toInt());
        } else if (words[0] == QLatin1String("paste")) {
            window.copySelected();
            window.select(words[1].toInt());
            window.pasteToSelected();
        } else {
            window.assign(4, kOpenUrl);
        }
        const QJsonArray after = storedKeys();
        QStringList found(5);
        QSet<QString> targets;
        for (const QJsonValue& key : after) {
            found[key["slot"].toInt()] = key["payload"]["Url"].toString();
            targets << key["target"].toString();
        }
        QCOMPARE(found, urls);
        QCOMPARE(targets.size(), after.size());  // a pasted copy is a key of its own
        window.undoStack().undo();
        QCOMPARE(storedKeys(), before);
        window.undoStack().redo();
        QCOMPARE(storedKeys().size(), after.size());
    }

    void profilesImportExportSwitch()
    {
        MainWindow& window = open(kTwoKeys);
        QString error;
        const QString exported = m_dir->filePath("mine.json");
        QVERIFY(window.exportProfile(exported, &error));
        QVERIFY2(window.createProfile("Work", &error), qPrintable(error));
        QVERIFY(m_session->deck().entry(0).isEmpty());
        window.assign(1, kOpenUrl);
        QVERIFY(window.importProfile(exported, &error));
        QCOMPARE(m_session->deck().entry(0).value("payload")["Url"].toString(), QStringLiteral("https://a.example"));
        QCOMPARE(m_session->namedProfiles().keys(), QStringList({"Default", "Work", "mine"}));
        QVERIFY(window.switchProfile(m_session->namedProfiles().value("Work")));
        QCOMPARE(m_session->deck().category(1), kOpenUrl);
        QCOMPARE(HostSession::lastProfile(m_dir->path()), m_session->namedProfiles().value("Work"));  // the next start opens it
        QVERIFY(!window.importProfile(m_dir->filePath("profile.json.missing"), &error));
        QVERIFY(error.contains("cannot be imported"));
    }

    // Removing a page is one more undoable edit: undo brings the page and its keys back
    // where they were, and the edits made before it stay undoable.
    void pageRemovalUndoes()
    {
        MainWindow& window = open(kTwoKeys);
        window.addPage();
        window.assign(2, kOpenUrl);
        const QJsonObject before = m_session->deck().profile();
        window.showPage(0);
        window.removeCurrentPage();
        QCOMPARE(m_session->deck().pageCount(), 1);
        QVERIFY(window.statusBar()->currentMessage().contains("Undo"));
        window.undoStack().undo();
        QJsonObject restored = m_session->deck().profile();
        QCOMPARE(restored["pages"], before["pages"]);
        QCOMPARE(m_session->deck().currentPage(), 0);
        window.undoStack().undo();  // the page shown before the removal
        window.undoStack().undo();  // the key assigned on page 1
        QVERIFY(m_session->deck().pageData(1)["keys"].toArray().isEmpty());
        window.removeCurrentPage();
        window.removeCurrentPage();
        QVERIFY(window.statusBar()->currentMessage().contains("only page"));
    }

    // What the window says must be readable, and must say what happened.
    void statusMessages_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("message");
        QTest::newRow("before the first page") << "page -1" << "first page";
        QTest::newRow("after the last page") << "page 1" << "last page";
        QTest::newRow("test an empty key") << "test 2" << "This key is empty";
        QTest::newRow("opener missing") << "open no-such-opener https://a.example" << "Could not open https://a.example: no-such-opener is not installed";
        QTest::newRow("opener fails") << "open false https://a.example" << "Could not open https://a.example: no application opens it";
        QTest::newRow("opener works") << "open true https://a.example" << "Opened https://a.example";
        QTest::newRow("empty address") << "open true " << "Nothing opened: the key has no address";
    }

    void statusMessages()
    {
        QFETCH(QString, action);
        QFETCH(QString, message);
        MainWindow& window = open(kTwoKeys);
        const QStringList words = action.split(' ');
        UrlCatcher launcher(true);
        if (words[0] == QLatin1String("page")) {
            window.showPage(words[1].toInt());
        } else if (words[0] == QLatin1String("test")) {
            window.select(words[1].toInt());
            window.findChild<QAbstractButton*>("testKey")->click();
        } else {
            m_urls.reset();  // this one launches
            window.watchUrls(launcher, true);
            launcher.setOpener(words[1]);
            launcher.open(QUrl(words.value(2)));
        }
        QTRY_VERIFY2(window.statusBar()->currentMessage().contains(message), qPrintable(window.statusBar()->currentMessage()));
        // Light text on the dark bar: the brightest and darkest pixels of the bar far apart.
        const QImage bar = window.statusBar()->grab().toImage();
        int darkest = 255;
        int brightest = 0;
        for (int y = 0; y < bar.height(); ++y) {
            for (int x = 0; x < bar.width(); ++x) {
                darkest = qMin(darkest, qGray(bar.pixel(x, y)));
                brightest = qMax(brightest, qGray(bar.pixel(x, y)));
            }
        }
        QVERIFY2(brightest - darkest > 128, qPrintable(QStringLiteral("%1 against %2").arg(brightest).arg(darkest)));
    }

    // Replacing a key asks with the action's name, never its identifier.
    void replaceAsksByName()
    {
        MainWindow& window = open(kTwoKeys);
        window.setConfirmReplace(true);
        auto asked = std::make_shared<QString>();
        whenModal<QMessageBox>([asked](QMessageBox* box) {
            *asked = box->text();
            box->button(QMessageBox::No)->click();
        }, 10000);
        window.assign(4, kOpenUrl);
        QVERIFY2(asked->startsWith("This key already holds") && !asked->contains("com.corvane"), qPrintable(*asked));
        QCOMPARE(m_session->deck().entry(4)["payload"].toObject()["Url"].toString(), QStringLiteral("https://b.example"));
    }

    void iconBuilderGivesTheKeyAnIcon()
    {
        open(kTwoKeys).select(0);
        auto icon = [this] { return m_session->deck().entry(0)["payload"].toObject()["iconlist"].toArray().at(0).toString(); };
        const QString before = icon();
        QObject* asking = m_session->deck().action(0)->propertyWidget()->findChild<QObject*>("base");
        QVERIFY(asking);
        auto shown = std::make_shared<bool>(false);  // the driver may outlive a failed test
        whenModal<QDialog>([shown](QDialog* dialog) {
            *shown = dialog->objectName() == QLatin1String("HostIconBuilder");
            dialog->accept();
        }, 10000);
        QMetaObject::invokeMethod(asking, "buildIcon");
        QTRY_VERIFY_WITH_TIMEOUT(*shown, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(icon() != before, 10000);
        QVERIFY2(icon().startsWith(m_dir->path()), qPrintable(icon()));
        QCOMPARE(QImage(icon()).size(), QSize(150, 108));
    }

    // Typing in an inspector field reports every keystroke; the profile is written a
    // few times at most, after a pause, not once a keystroke.
    void typingIsSavedAfterAPause()
    {
        open(kTwoKeys).select(0);
        auto* field = m_session->deck().action(0)->propertyWidget()->findChild<QWidget*>("txtEditPluginURL");
        QVERIFY(field);
        QSignalSpy reported(&m_session->deck(), &Deck::settingsReported);
        QSignalSpy saved(m_session.get(), &HostSession::profileSaved);
        const QString url = QStringLiteral("https://typed.example/a/longer/path");
        field->setFocus();
        QTest::keyClicks(field, url);
        QVERIFY(reported.count() >= int(url.size()));
        QTRY_VERIFY(saved.count() >= 1);
        QVERIFY2(saved.count() < 4, qPrintable(QString::number(saved.count())));
        QVERIFY(TestFiles::read(m_dir->filePath("profile.json")).contains(url.toUtf8()));
    }

    // The host's server against real clients on 127.0.0.1: this process's own sockets, with
    // messages of the protocol's size; an endless message closes its connection, a web page
    // (an Origin) is refused at its handshake, another process before it.
    void serverTakes_data()
    {
        QTest::addColumn<QString>("client");  // "bash": another process; else this one, with that Origin
        QTest::addColumn<int>("bytes");
        QTest::addColumn<int>("frameBytes");
        QTest::addColumn<bool>("accepted");
        const int limit = 1024 * 1024;
        QTest::newRow("just under the limit") << "" << limit << limit << true;
        QTest::newRow("one frame over") << "" << limit + 1 << 2 * limit << false;
        QTest::newRow("small frames adding up") << "" << 3 * limit << 4096 << false;
        QTest::newRow("this process, with an Origin") << "https://page.example" << 2 << 2 << false;
        QTest::newRow("another process") << "bash" << 2 << 2 << false;
    }

    void serverTakes()
    {
        QFETCH(QString, client);
        QFETCH(int, bytes);
        QFETCH(int, frameBytes);
        QFETCH(bool, accepted);
        HostServer server;
        QVERIFY(server.listen());
        QSignalSpy frames(&server, &HostServer::frameReceived);
        if (client == QLatin1String("bash")) {
            // Sends a handshake, then prints what came back: nothing, the connection was closed.
            QProcess other;
            other.start("bash", {"-c", QStringLiteral("exec 3<>/dev/tcp/127.0.0.1/%1 && printf 'GET / HTTP/1.1\\r\\n"
                                                      "Host: x\\r\\nUpgrade: websocket\\r\\nConnection: Upgrade\\r\\n"
                                                      "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\\r\\n"
                                                      "Sec-WebSocket-Version: 13\\r\\n\\r\\n' >&3 && cat <&3")
                                               .arg(server.port())});
            QTRY_COMPARE(server.refusedCount(), 1);
            QVERIFY(other.state() == QProcess::NotRunning || other.waitForFinished(30000));
            QCOMPARE(other.readAllStandardOutput(), QByteArray());
        } else {
            QWebSocket socket(client);
            QSignalSpy closed(&socket, &QWebSocket::disconnected);
            socket.setOutgoingFrameSize(quint64(frameBytes));
            socket.open(QUrl(QStringLiteral("ws://127.0.0.1:%1").arg(server.port())));
            QTRY_VERIFY(socket.state() == QAbstractSocket::ConnectedState || closed.count() > 0);
            socket.sendTextMessage(QString(bytes, QLatin1Char('x')));
            QTRY_COMPARE(frames.count() + closed.count(), 1);
            QCOMPARE(server.refusedCount(), 0);
        }
        QCOMPARE(frames.count(), int(accepted));
        if (accepted)
            QCOMPARE(frames.first().first().toString().size(), bytes);
    }

    // Connections of this process holding unfinished messages: each under the limit of
    // a message, together over the total; the one that passes it is closed.
    void unfinishedMessagesCappedInTotal()
    {
        HostServer server;
        QVERIFY(server.listen());
        const int clients = int(HostServer::kMaxPendingBytes / (HostServer::kMaxIncomingBytes - 4096)) + 1;
        std::vector<std::unique_ptr<QTcpSocket>> sockets;
        int closed = 0;
        for (int i = 0; i < clients; ++i) {
            auto socket = std::make_unique<QTcpSocket>();
            QObject::connect(socket.get(), &QTcpSocket::disconnected, [&closed] { ++closed; });
            socket->connectToHost(QHostAddress::LocalHost, server.port());
            QVERIFY(socket->waitForConnected(10000));
            socket->write("GET / HTTP/1.1\r\nHost: x\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                          "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n");
            QTRY_VERIFY(socket->bytesAvailable() > 0);
            QVERIFY(socket->readAll().startsWith("HTTP/1.1 101"));
            // A masked text frame that announces a whole message but sends most of it.
            const quint64 announced = quint64(HostServer::kMaxIncomingBytes) - 16;
            QByteArray frame("\x81\xff", 2);
            for (int shift = 56; shift >= 0; shift -= 8)
                frame.append(char((announced >> shift) & 0xff));
            frame.append(QByteArray(4, '\0'));  // a mask of zeros leaves the payload as it is
            frame.append(QByteArray(int(announced) - 4096, 'x'));
            socket->write(frame);
            sockets.push_back(std::move(socket));
        }
        QTRY_VERIFY(closed > 0);
        QVERIFY2(closed < clients, qPrintable(QString::number(closed)));
    }

    // What a page of keys costs in descriptors: an action's socket and the server's end.
    void descriptorsPerKey()
    {
        QJsonArray keys;
        for (int slot = 0; slot < 25; ++slot)
            keys.append(urlKey(slot, "https://a.example"));
        QJsonObject twoPages = QJsonDocument::fromJson(profileBytes({}, 5, 5)).object();
        twoPages["pages"] = QJsonArray{QJsonObject{{"keys", QJsonArray()}}, QJsonObject{{"keys", keys}}};
        twoPages.remove("keys");
        QStringList problems;
        m_session = startedSession(m_dir->path(), &problems, QJsonDocument(twoPages).toJson());
        QTest::qWait(100);
        const int before = Descriptors::openCount();
        QString error;
        QVERIFY(m_session->deck().setCurrentPage(1, &error));
        QTRY_COMPARE(Descriptors::openCount() - before, 25 * Descriptors::kPerAction);
        QVERIFY(m_session->deck().setCurrentPage(0, &error));
        QTRY_COMPARE(Descriptors::openCount(), before);  // given back with the page
    }

private:
    // As the host starts the window: the profile restored, its problems shown, URLs caught.
    MainWindow& open(const QByteArray& profile)
    {
        QStringList problems;
        m_session = startedSession(m_dir->path(), &problems, profile);
        m_urls = std::make_unique<UrlCatcher>(false);
        connect(m_urls.get(), &UrlCatcher::opened, this, [this](const QString& url) { m_opened << url; });
        m_window = std::make_unique<MainWindow>(*m_session);
        m_window->watchUrls(*m_urls, false);
        m_window->showProblems(problems);
        m_window->setConfirmReplace(false);
        m_window->show();
        return *m_window;
    }

    QJsonArray storedKeys() const { return ::storedKeys(*m_session, m_dir->path()); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<HostSession> m_session;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<UrlCatcher> m_urls;
    QStringList m_opened;
};

QTEST_MAIN(tst_HostWindow)
#include "tst_hostwindow.moc"
