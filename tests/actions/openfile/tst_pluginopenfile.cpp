// Open App/File in-process: triggering, and the inspector's file pick on a desktop of
// the test's own.
#include "../actiontest.h"
#include "actions/openfile/pluginopenfile.h"
#include "iconbuilder/fileiconpicture.h"
#include "modaldriver.h"
#include "platform/launch/record/recordingpathlauncher.h"
#include "plugin/hostcontext/kyvantaproxy.h"
#include "testdesktop.h"
#include "testfiles.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QLineEdit>
#include <QPushButton>
#include <QLoggingCategory>
#include <QtTest>

class tst_PluginOpenFile : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("systemdll.actions.debug=true"));  // the trigger's trace
        QVERIFY(m_desktop.setUp());
        m_desktop.addThemeIcon("apps", "vanta-test-app", {32, 256}, Qt::red);
        m_desktop.addThemeIcon("mimetypes", "text-plain", {256}, Qt::green);
        KyVantaProxy::getInstance()->configDir = m_desktop.root() + "/config";
        auto launcher = std::make_unique<RecordingPathLauncher>();
        m_launcher = launcher.get();
        PathLauncher::setInstance(std::move(launcher));
    }

    void trigger_data()
    {
        QTest::addColumn<QString>("name");  // below the test folder; empty: an empty path
        QTest::addColumn<int>("kind");      // -1: nothing opened
        QTest::newRow("document") << "doc.txt" << int(PathLauncher::Kind::Document);
        QTest::newRow("application") << "data/applications/app.desktop" << int(PathLauncher::Kind::Application);
        QTest::newRow("program") << "tool" << int(PathLauncher::Kind::Executable);
        QTest::newRow("missing") << "gone.txt" << -1;
        QTest::newRow("empty") << "" << -1;
    }

    void trigger()
    {
        QFETCH(QString, name);
        QFETCH(int, kind);
        m_launcher->clear();
        QVERIFY(TestFiles::write(m_desktop.root() + "/doc.txt", "x"));
        m_desktop.addEntry("app", {"Type=Application", "Name=A", "Exec=true"});
        QVERIFY(TestFiles::write(m_desktop.root() + "/tool", "#!/bin/sh\n"));
        QFile::setPermissions(m_desktop.root() + "/tool", QFile::permissions(m_desktop.root() + "/tool") | QFile::ExeOwner);
        const QString path = name.isEmpty() ? QString() : m_desktop.root() + "/" + name;
        PluginOpenFile action;
        QVERIFY(action.init("k1", v1({{"FilePath", path}})));
        const QJsonObject kept{{"kept", 1}};
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("eventReceived"));
        QCOMPARE(answer(action, TovKyPluginEventType::kAppTriggeredEvent, kept), kept);
        using Opened = QList<RecordingPathLauncher::Opened>;
        const Opened expected = kind < 0 ? Opened() : Opened{{PathLauncher::Kind(kind), path}};
        QCOMPARE(m_launcher->opened(), expected);
    }

    // A pick stores the path as chosen and, when the target has an icon, makes a key
    // image of it in the icon folder; the intermediate picture does not stay behind.
    void pickTakesPathAndIcon_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QColor>("color");  // invalid: the icon stays as it was
        QTest::newRow("application") << "editor.desktop" << QByteArray("[Desktop Entry]\nType=Application\nName=E\nExec=true\nIcon=vanta-test-app\n") << QColor(Qt::red);
        QTest::newRow("application without icon") << "bare.desktop" << QByteArray("[Desktop Entry]\nType=Application\nName=B\nExec=true\n") << QColor();
        QTest::newRow("document") << "notes.txt" << QByteArray("text") << QColor(Qt::green);
        QTest::newRow("link kept unresolved") << "link.txt" << QByteArray("->notes.txt") << QColor(Qt::green);
    }

    void pickTakesPathAndIcon()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QColor, color);
        const QString path = m_desktop.root() + "/picks/" + name;
        QVERIFY(QDir().mkpath(m_desktop.root() + "/picks"));
        QVERIFY(content.startsWith("->") ? QFile::link(QString(content.mid(2)), path) : TestFiles::write(path, content));
        PluginOpenFile action;
        QVERIFY(action.init("k1", {}));
        QSignalSpy sent(&action, &KYPlugin::eventSent);

        QCOMPARE(pick(action, path), path);
        QCOMPARE(sent.count(), color.isValid() ? 2 : 1);  // the path, then the icon
        QCOMPARE(lastPayload(sent)["FilePath"].toString(), path);
        const QString icon = lastPayload(sent)["iconlist"].toArray().first().toString();
        if (color.isValid()) {
            QVERIFY2(icon.startsWith(m_desktop.root() + "/config/icon/"), qPrintable(icon));
            QVERIFY(TestDesktop::near(QImage(icon).pixelColor(75, 54), color));
        } else {
            QCOMPARE(icon, QStringLiteral(":/SystemDll/images/mainpage_btn_app.png"));
        }
        QVERIFY(QDir(FileIconPicture::folder()).entryList(QDir::Files).isEmpty());
    }

    // A name that names nothing is refused in the dialog, not stored: typed without a
    // suffix, or a file that went away.
    void pickRefusesNothing_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("no such name") << "nothing-here";
        QTest::newRow("name of an existing file without its suffix") << "notes";
    }

    void pickRefusesNothing()
    {
        QFETCH(QString, typed);
        QVERIFY(QDir().mkpath(m_desktop.root() + "/picks"));
        QVERIFY(TestFiles::write(m_desktop.root() + "/picks/notes.txt", "text"));
        PluginOpenFile action;
        QVERIFY(action.init("k1", {}));
        QSignalSpy sent(&action, &KYPlugin::eventSent);
        bool refused = false;
        whenModal<QFileDialog>([&](QFileDialog* dialog) {
            dialog->setDirectory(m_desktop.root() + "/picks");
            dialog->selectFile(typed);
            whenModal<QMessageBox>([&, dialog](QMessageBox* box) {
                refused = box->text().contains(typed);
                box->accept();
                QTimer::singleShot(0, dialog, &QDialog::reject);
            });
            static_cast<QDialog*>(dialog)->accept();  // QFileDialog hides it
        });
        action.propertyWidget()->findChild<QPushButton*>("btnPluginOpenFile")->click();
        QVERIFY(refused);
        QCOMPARE(sent.count(), 0);
        QCOMPARE(action.propertyWidget()->findChild<QLineEdit*>("txtEditPluginFilePath")->text(), QString());
    }

private:
    QString pick(PluginOpenFile& action, const QString& path)
    {
        whenModal<QFileDialog>([path](QFileDialog* dialog) {
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept();  // QFileDialog hides it
        });
        action.propertyWidget()->findChild<QPushButton*>("btnPluginOpenFile")->click();
        return action.propertyWidget()->findChild<QLineEdit*>("txtEditPluginFilePath")->text();
    }

    TestDesktop m_desktop;
    RecordingPathLauncher* m_launcher = nullptr;
};

QTEST_MAIN(tst_PluginOpenFile)
#include "tst_pluginopenfile.moc"
