// The real host binary, driven from outside with scripts, as a user's scripts would.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kOpenUrl = QStringLiteral("com.corvane.system.openurl");

QJsonArray keysOf(const QJsonObject& profile, int page = 0)
{
    return profile.value("pages").toArray().at(page).toObject().value("keys").toArray();
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(bytes);
}

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
    void unusableRuns_data();
    void unusableRuns();
    void helpWithoutDisplay();
    void renderProfileOnlyReads_data();
    void renderProfileOnlyReads();
    void unloadableKeysAreKept();
    void unreadableProfileIsNeverWritten_data();
    void unreadableProfileIsNeverWritten();
    void backupsRotateAndRestore();
    void pagesAndOldProfiles();

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
    QCOMPARE(keysOf(profile).size(), 1);
    QCOMPARE(keysOf(profile).at(0)["target"].toString(), settings.last()["target"].toString());
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
    QCOMPARE(keysOf(after).at(0)["payload"]["titlelist"].toArray(), QJsonArray{"Docs!"});
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

// The icon step fits the picture to the key as the inspector's picker does.
void tst_VantaHost::iconChangeReachesTheServer()
{
    QImage picture(200, 200, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString path = m_dir->filePath("square.png");
    QVERIFY(picture.save(path));
    const Run result = script({
        QJsonObject{{"do", "assign"}, {"slot", 0}, {"category", kOpenUrl}},
        QJsonObject{{"do", "wait"}, {"ms", 200}},
        QJsonObject{{"do", "icon"}, {"slot", 0}, {"path", path}},
        QJsonObject{{"do", "wait"}, {"ms", 400}},
    });
    QCOMPARE(result.exitCode, 0);
    const QString icon = result.ofKind("settings").last()["payload"].toObject()["iconlist"].toArray().at(0).toString();
    QVERIFY2(icon.startsWith(m_dir->filePath("icon/")), qPrintable(icon));
    QCOMPARE(QImage(icon).size(), QSize(150, 108));
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
    QTest::newRow("grid overflowing int") << QByteArray(R"({"grid":{"columns":46341,"rows":46341},"keys":[]})");
    QTest::newRow("grid of 300") << QByteArray(R"({"grid":{"columns":300,"rows":300},"keys":[]})");
    QTest::newRow("pages not array") << QByteArray(R"({"grid":{"columns":5,"rows":3},"pages":{}})");
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
        QCOMPARE(keysOf(result.ofKind("profile").first()["profile"].toObject()).size(), 0);
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
    QTest::newRow("no do") << QJsonValue(QJsonObject{{"slot", 0}}) << "needs \"do\", one of: assign";
    QTest::newRow("widget names listed") << QJsonValue(QJsonObject{{"do", "clear"}, {"slot", 0}, {"widget", "url"}})
                                         << "it has: lineEdtPluginTitle, txtEditPluginURL";
    QTest::newRow("icon on empty slot") << QJsonValue(QJsonObject{{"do", "icon"}, {"slot", 2}, {"path", "/etc/hostname"}})
                                        << "slot 2 is empty";
    QTest::newRow("missing icon") << QJsonValue(QJsonObject{{"do", "icon"}, {"slot", 0}, {"path", "/nowhere.png"}})
                                  << "no such file";
    QTest::newRow("text as icon") << QJsonValue(QJsonObject{{"do", "icon"}, {"slot", 0}, {"path", "/etc/hostname"}})
                                  << "not a picture";
    QTest::newRow("swap with nothing") << QJsonValue(QJsonObject{{"do", "move"}, {"from", 3}, {"to", 0}}) << "slot 3 is empty";
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
    QCOMPARE(keysOf(result.ofKind("profile").first()["profile"].toObject()).size(), 1);
}

void tst_VantaHost::refusedLibraries_data()
{
    QTest::addColumn<QString>("library");
    QTest::addColumn<QString>("message");
    QTest::newRow("sdk 3") << QStringLiteral(FAKE_PACKAGE) << "sdk level 3 is not supported";
    QTest::newRow("no entry points") << QStringLiteral(NO_ENTRY_POINTS) << "no sdk/instance entry points";
    QTest::newRow("missing") << m_dir->filePath("nowhere.so") << "nowhere.so is no file (name it with --library";
}

void tst_VantaHost::refusedLibraries()
{
    QFETCH(QString, library);
    QFETCH(QString, message);
    const Run result = script({QJsonObject{{"do", "dump"}}}, {"--library", library});
    QCOMPARE(result.exitCode, 2);
    QVERIFY2(result.stderrText.contains(message), qPrintable(result.stderrText));
    QVERIFY(!result.stderrText.contains("liblib"));
    QCOMPARE(result.ofKind("error").size(), 1);
    QVERIFY(!QFile::exists(m_dir->filePath("profile.json")));
}

void tst_VantaHost::unusableRuns_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing script") << QStringList{"--script", "/nowhere/steps.json"} << QByteArray()
                                    << "cannot read script /nowhere/steps.json: no such file";
    QTest::newRow("script not JSON") << QStringList{} << QByteArray("[{") << "is not JSON";
    QTest::newRow("script an object") << QStringList{} << QByteArray("{}") << "not a JSON array of steps";
    QTest::newRow("grid") << QStringList{"--grid", "0x3"} << QByteArray("[]") << "--grid takes COLSxROWS";
}

void tst_VantaHost::unusableRuns()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, script);
    QFETCH(QString, message);
    writeAll(m_dir->filePath("steps.json"), script);
    const Run result = run(QStringList{"--headless", "--no-launch", "--config-dir", m_dir->path(), "--script",
                                       m_dir->filePath("steps.json")} + arguments);
    QCOMPARE(result.exitCode, 1);  // 2 is kept for a package that does not load
    QVERIFY2(result.stderrText.contains(message), qPrintable(result.stderrText));
    QVERIFY(!result.stderrText.contains("no error occurred"));
    QCOMPARE(result.ofKind("error").size(), 1);
}

void tst_VantaHost::helpWithoutDisplay()
{
    QProcess host;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    host.setProcessEnvironment(env);
    host.start(QStringLiteral(VANTA_HOST), {"--help"});
    QVERIFY(host.waitForFinished(60000));
    QCOMPARE(host.exitStatus(), QProcess::NormalExit);
    QCOMPARE(host.exitCode(), 0);
    QVERIFY(host.readAllStandardOutput().contains("--render-profile"));
}

void tst_VantaHost::renderProfileOnlyReads_data()
{
    QTest::addColumn<QByteArray>("content");  // empty: no profile file
    QTest::addColumn<bool>("withOut");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << QByteArray() << true << "does not exist";
    QTest::newRow("damaged") << QByteArray("{\"grid\"") << true << "is damaged";
    QTest::newRow("no --out") << QByteArray(R"({"grid":{"columns":2,"rows":1},"keys":[]})") << false << "needs --out";
}

void tst_VantaHost::renderProfileOnlyReads()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, withOut);
    QFETCH(QString, message);
    const QString profile = m_dir->filePath("profile.json.bad");  // a name the old host renamed again
    if (!content.isEmpty())
        writeAll(profile, content);
    QStringList arguments{"--render-profile", profile, "--config-dir", m_dir->path()};
    if (withOut)
        arguments << "--out" << m_dir->filePath("deck.png");
    const Run result = run(arguments);
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.stderrText.contains(message), qPrintable(result.stderrText));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), content.isEmpty() ? QStringList() : QStringList{"profile.json.bad"});
    if (!content.isEmpty())
        QCOMPARE(readAll(profile), content);
}

// Keys the host cannot load stay in the profile as they were, and the file as it was
// is kept as .bad before the first write.
void tst_VantaHost::unloadableKeysAreKept()
{
    const QJsonArray odd{
        QJsonObject{{"slot", 2}, {"category", "com.corvane.system.notyet"}, {"target", "a"}, {"payload", QJsonObject{{"x", 1}}}},
        QJsonObject{{"slot", 40}, {"category", kOpenUrl}, {"target", "b"}},
        QJsonObject{{"slot", 2}, {"category", kOpenUrl}, {"target", "c"}},
        QJsonObject{{"slot", 3}, {"category", kOpenUrl}, {"target", "d"}, {"payload", "text"}},
        QJsonObject{{"slot", 4}, {"category", kOpenUrl}, {"target", "e"}, {"preset", QJsonObject{{"title", "no url"}}}},
        QJsonValue("not a key"),
    };
    const QByteArray original = QJsonDocument(QJsonObject{{"grid", QJsonObject{{"columns", 5}, {"rows", 3}}}, {"keys", odd}}).toJson();
    writeAll(m_dir->filePath("profile.json"), original);
    const Run result = script({QJsonObject{{"do", "assign"}, {"slot", 0}, {"category", kOpenUrl}},
                               QJsonObject{{"do", "press"}, {"slot", 2}}});
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.ofKind("error").size(), odd.size() + 1);  // one for each odd key, and the press
    QVERIFY(result.ofKind("error").last()["message"].toString().contains("cannot be loaded"));
    const QJsonArray keys = keysOf(QJsonDocument::fromJson(readAll(m_dir->filePath("profile.json"))).object());
    QCOMPARE(keys.size(), odd.size() + 1);
    for (const QJsonValue& key : odd)
        QVERIFY2(keys.contains(key), qPrintable(QJsonDocument(QJsonArray{key}).toJson()));
    QCOMPARE(readAll(m_dir->filePath("profile.json.bad")), original);
}

void tst_VantaHost::unreadableProfileIsNeverWritten_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("fifo") << "fifo";
    QTest::newRow("link to /dev/zero") << "zero";
    QTest::newRow("folder") << "folder";
}

void tst_VantaHost::unreadableProfileIsNeverWritten()
{
    QFETCH(QString, kind);
    const QString profile = m_dir->filePath("profile.json");
    if (kind == QLatin1String("fifo"))
        QCOMPARE(QProcess::execute("mkfifo", {profile}), 0);
    else if (kind == QLatin1String("zero"))
        QVERIFY(QFile::link("/dev/zero", profile));
    else
        QVERIFY(QDir().mkpath(profile));
    const Run result = script({QJsonObject{{"do", "assign"}, {"slot", 0}, {"category", kOpenUrl}}});
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.stderrText.contains("cannot read profile"), qPrintable(result.stderrText));
    QVERIFY(result.ofKind("error").last()["message"].toString().contains("not overwritten"));
    const QFileInfo info(profile);
    QCOMPARE(info.isSymLink(), kind == QLatin1String("zero"));
    QCOMPARE(info.isDir(), kind == QLatin1String("folder"));
    QVERIFY(!info.isFile() || kind == QLatin1String("zero"));
}

void tst_VantaHost::backupsRotateAndRestore()
{
    for (int slot = 0; slot < 4; ++slot)
        QCOMPARE(script({QJsonObject{{"do", "assign"}, {"slot", slot}, {"category", kOpenUrl}}}).exitCode, 0);
    const QString profile = m_dir->filePath("profile.json");
    // Each run kept the file it replaced: the newest backup has three keys, the oldest one.
    for (int n = 1; n <= 3; ++n)
        QCOMPARE(keysOf(QJsonDocument::fromJson(readAll(profile + QStringLiteral(".bak.%1").arg(n))).object()).size(), 4 - n);
    writeAll(profile, "{ broken");
    const Run result = script({QJsonObject{{"do", "dump"}}});
    QVERIFY2(result.stderrText.contains("restored from " + profile + ".bak.1"), qPrintable(result.stderrText));
    QCOMPARE(keysOf(result.ofKind("profile").first()["profile"].toObject()).size(), 3);
    QCOMPARE(readAll(profile + ".bad"), QByteArray("{ broken"));
}

void tst_VantaHost::pagesAndOldProfiles()
{
    // A profile as the first hosts wrote it: one page.
    writeAll(m_dir->filePath("profile.json"),
             QJsonDocument(QJsonObject{{"grid", QJsonObject{{"columns", 3}, {"rows", 1}}},
                                       {"keys", QJsonArray{QJsonObject{{"slot", 1}, {"category", kOpenUrl}, {"target", "old"}}}}})
                 .toJson());
    const Run result = script({
        QJsonObject{{"do", "page"}, {"page", 1}},
        QJsonObject{{"do", "assign"}, {"slot", 0}, {"category", kOpenUrl}},
        QJsonObject{{"do", "move"}, {"from", 0}, {"to", 2}},
        QJsonObject{{"do", "page"}, {"page", 0}},
        QJsonObject{{"do", "move"}, {"from", 1}, {"to", 0}},
        QJsonObject{{"do", "page"}, {"page", 5}},
        QJsonObject{{"do", "dump"}},
    });
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.ofKind("error").size(), 1);
    QCOMPARE(result.ofKind("error").first()["step"].toInt(), 5);
    const QJsonObject profile = result.ofKind("profile").first()["profile"].toObject();
    QCOMPARE(profile["pages"].toArray().size(), 2);
    QCOMPARE(keysOf(profile, 0).at(0)["slot"].toInt(), 0);
    QCOMPARE(keysOf(profile, 0).at(0)["target"].toString(), QStringLiteral("old"));
    QCOMPARE(keysOf(profile, 1).at(0)["slot"].toInt(), 2);
    QCOMPARE(profile["page"].toInt(), 0);
}

QTEST_MAIN(tst_VantaHost)
#include "tst_vantahost.moc"
