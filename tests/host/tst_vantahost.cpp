// The real host binary, driven from outside with scripts, as a user's scripts would.
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kOpenUrl = QStringLiteral("com.corvane.system.openurl");

struct Run
{
    int exitCode = -1;
    QList<QJsonObject> lines;
    QString stderrText;

    QList<QJsonObject> ofKind(const QString& kind) const
    {
        QList<QJsonObject> found;
        for (const QJsonObject& line : lines) {
            if (line["kind"].toString() == kind)
                found << line;
        }
        return found;
    }
};
}

class tst_VantaHost : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void listDescribesThePackage();
    void assignTypePress();
    void restartFromSavedProfile();
    void browserShortcutSendsKeys();
    void iconChangeReachesTheServer();
    void renderSize_data();
    void renderSize();
    void damagedProfileIsKept_data();
    void damagedProfileIsKept();
    void badSteps_data();
    void badSteps();
    void refusedLibraries_data();
    void refusedLibraries();

private:
    Run run(const QStringList& arguments);
    Run script(const QJsonArray& steps, const QStringList& extra = {});

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_VantaHost::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

Run tst_VantaHost::run(const QStringList& arguments)
{
    QProcess host;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    host.setProcessEnvironment(env);
    host.start(QStringLiteral(VANTA_HOST), arguments);
    Run result;
    if (!host.waitForFinished(120000))
        return result;
    result.exitCode = host.exitCode();
    result.stderrText = QString::fromUtf8(host.readAllStandardError());
    for (const QByteArray& line : host.readAllStandardOutput().split('\n')) {
        if (line.isEmpty())
            continue;
        const QJsonDocument document = QJsonDocument::fromJson(line);
        result.lines << (document.isObject() ? document.object() : QJsonObject{{"kind", "not json"}, {"text", QString(line)}});
    }
    return result;
}

Run tst_VantaHost::script(const QJsonArray& steps, const QStringList& extra)
{
    const QString path = m_dir->filePath("script.json");
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(QJsonDocument(steps).toJson());
    file.close();
    return run(QStringList{"--headless", "--no-launch", "--keys", "record", "--config-dir", m_dir->path(),
                           "--profile", m_dir->filePath("profile.json"), "--script", path} + extra);
}

void tst_VantaHost::listDescribesThePackage()
{
    const Run result = run({"--list", "--lang", "de_DE", "--config-dir", m_dir->path()});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.lines.size(), 1);
    const QJsonObject description = result.lines.first();
    QCOMPARE(description.keys(), QStringList({"list", "mapping", "sdk", "versionCode", "versionName"}));
    QCOMPARE(description["sdk"].toInt(), 4);
    QCOMPARE(description["versionCode"].toInt(), 20);
    QCOMPARE(description["versionName"].toString(), QStringLiteral("1.0.10"));
    QCOMPARE(description["list"]["subnode"].toArray().size(), 6);
    QCOMPARE(description["mapping"]["LAB_TITLE_SYS_WINDOWCONTROL"].toString(), QStringLiteral("Fenstersteuerung"));
}

void tst_VantaHost::assignTypePress()
{
    const Run result = script({
        QJsonObject{{"do", "assign"}, {"slot", 3}, {"category", kOpenUrl}},
        QJsonObject{{"do", "clear"}, {"slot", 3}, {"widget", "txtEditPluginURL"}},
        QJsonObject{{"do", "type"}, {"slot", 3}, {"widget", "txtEditPluginURL"}, {"text", "https://e.example/a"}},
        QJsonObject{{"do", "press"}, {"slot", 3}},
        QJsonObject{{"do", "dump"}},
    });
    QCOMPARE(result.exitCode, 0);
    const QList<QJsonObject> settings = result.ofKind("settings");
    QCOMPARE(settings.size(), 1 + 1 + 19);  // defaults, the clearing, one per keystroke
    QCOMPARE(settings[1]["payload"]["Url"].toString(), QString());
    QCOMPARE(settings.last()["payload"]["Url"].toString(), QStringLiteral("https://e.example/a"));
    QCOMPARE(settings.last()["slot"].toInt(), 3);
    QCOMPARE(result.ofKind("open").size(), 1);
    QCOMPARE(result.ofKind("open").first()["url"].toString(), QStringLiteral("https://e.example/a"));
    QVERIFY(result.ofKind("keys").isEmpty());
    const QJsonObject profile = result.ofKind("profile").first()["profile"].toObject();
    QCOMPARE(profile["keys"].toArray().size(), 1);
    QCOMPARE(profile["keys"][0]["target"].toString(), settings.last()["target"].toString());
    QVERIFY(result.ofKind("not json").isEmpty());
}

void tst_VantaHost::restartFromSavedProfile()
{
    const Run first = script({
        QJsonObject{{"do", "assign"}, {"slot", 0}, {"category", kOpenUrl},
                    {"payload", QJsonObject{{"Title", "Docs"}, {"Url", "https://docs.example"}}}},
        QJsonObject{{"do", "type"}, {"slot", 0}, {"widget", "lineEdtPluginTitle"}, {"text", "!"}},
        QJsonObject{{"do", "dump"}},
    });
    QCOMPARE(first.exitCode, 0);
    const Run second = script({QJsonObject{{"do", "dump"}}, QJsonObject{{"do", "press"}, {"slot", 0}}});
    QCOMPARE(second.exitCode, 0);
    const QJsonObject before = first.ofKind("profile").first()["profile"].toObject();
    const QJsonObject after = second.ofKind("profile").first()["profile"].toObject();
    QCOMPARE(after, before);
    QCOMPARE(after["keys"][0]["payload"]["titlelist"].toArray(), QJsonArray{"Docs!"});
    QCOMPARE(second.ofKind("open").first()["url"].toString(), QStringLiteral("https://docs.example"));
}

void tst_VantaHost::browserShortcutSendsKeys()
{
    const Run result = script({
        QJsonObject{{"do", "assign"}, {"slot", 1}, {"category", kOpenUrl}, {"preset", QJsonObject{{"title", "Home"}, {"url", "@"}}}},
        QJsonObject{{"do", "press"}, {"slot", 1}},
    });
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.ofKind("open").first()["url"].toString(), QStringLiteral("https://"));
    const QList<QJsonObject> keys = result.ofKind("keys");
    QCOMPARE(keys.size(), 1);
    QCOMPARE(keys.first()["events"].toArray(),
             QJsonArray({QJsonObject{{"code", 4}, {"down", true}, {"flags", 0x120000}, {"setsFlags", true}},
                         QJsonObject{{"code", 4}, {"down", false}, {"flags", 0}, {"setsFlags", false}}}));
}

void tst_VantaHost::iconChangeReachesTheServer()
{
    const Run result = script({
        QJsonObject{{"do", "assign"}, {"slot", 0}, {"category", kOpenUrl}},
        QJsonObject{{"do", "wait"}, {"ms", 200}},
        QJsonObject{{"do", "icon"}, {"slot", 0}, {"path", "/tmp/none.png"}},
        QJsonObject{{"do", "wait"}, {"ms", 400}},
    });
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.ofKind("settings").last()["payload"].toObject()["iconlist"].toArray(), QJsonArray{"/tmp/none.png"});
    const QList<QJsonObject> frames = result.ofKind("ws");
    QCOMPARE(frames.size(), 1);
    QCOMPARE(frames.first()["frame"].toObject(),
             QJsonObject({{"task", "remote.command.update.function.key.Image.Color"},
                          {"sender", result.ofKind("settings").last()["target"].toString()}}));
}

void tst_VantaHost::renderSize_data()
{
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QSize>("size");
    QTest::newRow("default") << "" << QSize(750, 324);
    QTest::newRow("2x1") << "2x1" << QSize(300, 108);
    QTest::newRow("8x4") << "8x4" << QSize(1200, 432);
}

void tst_VantaHost::renderSize()
{
    QFETCH(QString, grid);
    QFETCH(QSize, size);
    const QString png = m_dir->filePath("deck.png");
    const Run result = script({QJsonObject{{"do", "assign"}, {"slot", 0}, {"category", kOpenUrl}},
                               QJsonObject{{"do", "render"}, {"path", png}}},
                              grid.isEmpty() ? QStringList{} : QStringList{"--grid", grid});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(QImage(png).size(), size);
    QCOMPARE(result.ofKind("render").first()["width"].toInt(), size.width());
    // The stored profile renders the same deck.
    const QString again = m_dir->filePath("again.png");
    const Run rendered = run({"--render-profile", m_dir->filePath("profile.json"), "--out", again, "--config-dir", m_dir->path()});
    QCOMPARE(rendered.exitCode, 0);
    QCOMPARE(QImage(again).size(), size);
}

void tst_VantaHost::damagedProfileIsKept_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("not json") << QByteArray("{\"grid\": ");
    QTest::newRow("wrong shape") << QByteArray("{\"keys\": 5}");
    QTest::newRow("array") << QByteArray("[1, 2]");
    QTest::newRow("key of wrong type") << QByteArray(R"({"grid":{"columns":5,"rows":3},"keys":[{"slot":"0"}]})");
}

void tst_VantaHost::damagedProfileIsKept()
{
    QFETCH(QByteArray, content);
    const QString profile = m_dir->filePath("profile.json");
    for (int round = 0; round < 2; ++round) {
        QFile file(profile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        const Run result = script({QJsonObject{{"do", "dump"}}});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.stderrText.contains("empty deck"));
        QCOMPARE(result.ofKind("profile").first()["profile"].toObject()["keys"].toArray().size(), 0);
    }
    for (const QString& kept : {profile + ".bad", profile + ".bad.1"}) {
        QFile file(kept);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(kept));
        QCOMPARE(file.readAll(), content);
    }
}

void tst_VantaHost::badSteps_data()
{
    QTest::addColumn<QJsonValue>("step");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown category") << QJsonValue(QJsonObject{{"do", "assign"}, {"slot", 0}, {"category", "com.corvane.system.delay"}})
                                      << "no action";
    QTest::newRow("slot as text") << QJsonValue(QJsonObject{{"do", "press"}, {"slot", "0"}}) << "integer";
    QTest::newRow("slot outside") << QJsonValue(QJsonObject{{"do", "press"}, {"slot", 99}}) << "outside";
    QTest::newRow("empty slot") << QJsonValue(QJsonObject{{"do", "press"}, {"slot", 2}}) << "empty";
    QTest::newRow("unknown step") << QJsonValue(QJsonObject{{"do", "dance"}}) << "unknown step";
    QTest::newRow("not an object") << QJsonValue(7) << "object";
    QTest::newRow("payload not object") << QJsonValue(QJsonObject{{"do", "assign"}, {"slot", 0}, {"category", kOpenUrl}, {"payload", "x"}})
                                        << "object";
    QTest::newRow("refused preset") << QJsonValue(QJsonObject{{"do", "assign"}, {"slot", 0}, {"category", kOpenUrl},
                                                              {"preset", QJsonObject{{"title", "no url"}}}})
                                    << "refused";
    QTest::newRow("no such widget") << QJsonValue(QJsonObject{{"do", "type"}, {"slot", 0}, {"widget", "nothing"}, {"text", "a"}})
                                    << "no inspector widget";
    QTest::newRow("negative wait") << QJsonValue(QJsonObject{{"do", "wait"}, {"ms", -5}}) << "non-negative";
}

void tst_VantaHost::badSteps()
{
    QFETCH(QJsonValue, step);
    QFETCH(QString, message);
    const Run result = script({QJsonObject{{"do", "assign"}, {"slot", 0}, {"category", kOpenUrl}}, step,
                               QJsonObject{{"do", "dump"}}});
    QCOMPARE(result.exitCode, 1);
    const QList<QJsonObject> errors = result.ofKind("error");
    QCOMPARE(errors.size(), 1);
    QCOMPARE(errors.first()["step"].toInt(), 1);
    QVERIFY2(errors.first()["message"].toString().contains(message), qPrintable(errors.first()["message"].toString()));
    // The run went on, and the key made before the bad step is still there.
    QCOMPARE(result.ofKind("profile").first()["profile"].toObject()["keys"].toArray().size(), 1);
}

void tst_VantaHost::refusedLibraries_data()
{
    QTest::addColumn<QString>("library");
    QTest::addColumn<QString>("message");
    QTest::newRow("sdk 3") << QStringLiteral(FAKE_PACKAGE) << "sdk level 3 is not supported";
    QTest::newRow("no entry points") << QStringLiteral(NO_ENTRY_POINTS) << "no sdk/instance entry points";
    QTest::newRow("missing") << m_dir->filePath("nowhere.so") << "cannot load";
}

void tst_VantaHost::refusedLibraries()
{
    QFETCH(QString, library);
    QFETCH(QString, message);
    const Run result = script({QJsonObject{{"do", "dump"}}}, {"--library", library});
    QCOMPARE(result.exitCode, 2);
    QVERIFY2(result.stderrText.contains(message), qPrintable(result.stderrText));
    QCOMPARE(result.ofKind("error").size(), 1);
    QVERIFY(!QFile::exists(m_dir->filePath("profile.json")));
}

QTEST_MAIN(tst_VantaHost)
#include "tst_vantahost.moc"
