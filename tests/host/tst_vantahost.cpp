// The real host binary, driven from outside with scripts, as a user's scripts would.
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {
const QString kOpenUrl = QStringLiteral("com.corvane.system.openurl");
const QString kHotkey = QStringLiteral("com.corvane.system.hotkey");
const QString kText = QStringLiteral("com.corvane.system.text");
const QString kMedia = QStringLiteral("com.corvane.system.multimedia");
const QString kMulti = QStringLiteral("com.corvane.vantahost.multiaction");

QJsonObject step(const char* what, QJsonObject fields = {})
{
    fields.insert("do", QLatin1String(what));
    return fields;
}

QJsonObject assign(int slot, QJsonObject fields = {})
{
    fields.insert("slot", slot);
    fields.insert("category", kOpenUrl);
    return step("assign", fields);
}

QJsonArray keysOf(const QJsonObject& profile)
{
    return profile.value("pages").toArray().at(0).toObject().value("keys").toArray();
}

QJsonObject withPayload(const QString& category, const QJsonObject& payload)
{
    QJsonObject settings = payload;
    settings.insert("version", 1);
    return {{"category", category}, {"payload", settings}};
}

QJsonObject assignAction(int slot, const QString& category, const QJsonObject& payload)
{
    QJsonObject fields = withPayload(category, payload);
    fields.insert("slot", slot);
    return step("assign", fields);
}

// A stored profile of one page with Open URL keys in `filled`; `extra` goes to the top.
QByteArray profileWith(std::initializer_list<int> filled, const QJsonObject& extra = {})
{
    QJsonArray keys;
    for (int slot : filled)
        keys.append(QJsonObject{{"slot", slot}, {"category", kOpenUrl}, {"target", QStringLiteral("t%1").arg(slot)}});
    QJsonObject profile{{"version", 2}, {"grid", QJsonObject{{"columns", 5}, {"rows", 3}}},
                        {"pages", QJsonArray{QJsonObject{{"keys", keys}}}}};
    for (auto it = extra.begin(); it != extra.end(); ++it)
        profile[it.key()] = it.value();
    return QJsonDocument(profile).toJson(QJsonDocument::Compact);
}

// A limit of the host process (0: none). RLIMIT_FSIZE stands for a disk that fills
// up: writes past it fail (EFBIG) or come up short.
struct Limit
{
    int resource = RLIMIT_FSIZE;
    qint64 value = 0;
};

struct Run
{
    int exitCode = -1;
    QList<QJsonObject> lines;
    QString text;  // stdout and stderr as written

    QList<QJsonObject> ofKinds(const QStringList& kinds) const
    {
        QList<QJsonObject> found;
        std::copy_if(lines.cbegin(), lines.cend(), std::back_inserter(found),
                     [&](auto& line) { return kinds.contains(line["kind"].toString()); });
        return found;
    }
    QList<QJsonObject> ofKind(const QString& kind) const { return ofKinds({kind}); }

    QJsonObject dumped() const { return ofKind("profile").value(0)["profile"].toObject(); }

    // The kinds of the lines a press prints, in order.
    QStringList pressKinds() const
    {
        QStringList kinds;
        for (const QJsonObject& line : ofKinds({"keys", "media", "open", "done"}))
            kinds << line["kind"].toString();
        return kinds;
    }
};

} // namespace

class tst_VantaHost : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
    }

    // Typing reports every keystroke, presses open or send keys, an icon change asks the
    // server for a recolour, and a second run finds the same deck and draws it alike.
    void scriptedSessionAndRestart()
    {
        QImage picture(200, 200, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(m_dir->filePath("square.png")));
        QVERIFY(TestFiles::write(m_dir->filePath("cut.gif"), QByteArray("GIF89a\x10\x00\x10\x00\x80\x00\x00", 13)));  // no trailer
        QVERIFY(writeSvgNamingFifo());
        const QString url = QStringLiteral("https://e.example/a");
        QJsonArray steps{
            assign(3),
            step("clear", {{"slot", 3}, {"widget", "txtEditPluginURL"}}),
            step("type", {{"slot", 3}, {"widget", "txtEditPluginURL"}, {"text", url}}),
            step("type", {{"slot", 3}, {"widget", "lineEdtPluginTitle"}, {"text", "!"}}),
            step("press", {{"slot", 3}}),
            assign(1, {{"preset", QJsonObject{{"title", "Home"}, {"url", "@"}}}}),
            step("press", {{"slot", 1}}),
            assign(0),
            step("wait", {{"ms", 200}}),
            step("icon", {{"slot", 0}, {"path", m_dir->filePath("square.png")}}),
            step("wait", {{"ms", 400}}),
            step("render", {{"path", m_dir->filePath("deck.png")}}),
        };
        // Bad steps are each reported by their index and the run goes on.
        const QList<QPair<QJsonValue, QString>> bad{
            {step("press", {{"slot", "0"}}), "\"slot\" must be an integer"},
            {step("dance"), "unknown step"},
            {QJsonValue(7), "a step must be an object"},
            {step("clear", {{"slot", 0}, {"widget", "url"}}), "no inspector widget \"url\"; it has: lineEdtPluginTitle, txtEditPluginURL"},
            {step("icon", {{"slot", 0}, {"path", "/etc/hostname"}}), "not a picture"},
            {step("icon", {{"slot", 0}, {"path", m_dir->filePath("cut.gif")}}), "the icon builder refused"},
            {step("icon", {{"slot", 0}, {"path", m_dir->filePath("ref.svg")}}), "an SVG that refers to another file"},
            {step("move", {{"from", 2}, {"to", 0}}), "slot 2 is empty"},
            {assign(0, {{"preset", QJsonObject{{"title", "no url"}}}}), "refused"},
        };
        for (const auto& [badStep, message] : bad)
            steps << badStep;
        const Run first = script(steps << step("dump"), {"--grid", "4x2"});
        QCOMPARE(first.exitCode, 1);
        const QList<QJsonObject> errors = first.ofKind("error");
        QCOMPARE(errors.size(), bad.size());
        for (int i = 0; i < bad.size(); ++i) {
            QCOMPARE(errors[i]["step"].toInt(), int(steps.size() - 1 - bad.size()) + i);
            QVERIFY2(errors[i]["message"].toString().contains(bad[i].second), qPrintable(errors[i]["message"].toString()));
        }
        QList<QJsonObject> typed;
        for (const QJsonObject& line : first.ofKind("settings"))
            if (line["slot"].toInt() == 3)
                typed << line;
        QCOMPARE(typed.size(), 1 + 1 + int(url.size()) + 1);  // defaults, the clearing, one per keystroke
        QCOMPARE(typed.constLast()["payload"]["Url"].toString(), url);
        QCOMPARE(typed.constLast()["payload"]["titlelist"].toArray(), QJsonArray{"URL!"});
        QCOMPARE(first.ofKind("open").size(), 2);
        QCOMPARE(first.ofKind("open").at(0)["url"].toString(), url);
        QCOMPARE(first.ofKind("open").at(1)["url"].toString(), QStringLiteral("https://"));
        QCOMPARE(first.ofKind("keys").size(), 1);  // the browser shortcut only
        const QJsonObject iconSettings = first.ofKind("settings").last();
        const QString icon = iconSettings["payload"]["iconlist"].toArray().at(0).toString();
        QVERIFY2(icon.startsWith(m_dir->filePath("icon/")), qPrintable(icon));
        QCOMPARE(QImage(icon).size(), QSize(150, 108));  // fitted to the key as the picker does
        const QJsonObject recolour{{"task", "remote.command.update.function.key.Image.Color"}, {"sender", iconSettings["target"]}};
        QCOMPARE(first.ofKind("ws").constLast()["frame"].toObject(), recolour);
        QCOMPARE(QImage(m_dir->filePath("deck.png")).size(), QSize(4 * 150, 2 * 108));
        QVERIFY2(!first.text.contains("frame:"), "the host's debug trace is off unless asked for");

        const Run second = script({step("dump"), step("press", {{"slot", 3}})});
        QCOMPARE(second.exitCode, 0);
        QCOMPARE(second.dumped(), first.dumped());
        QCOMPARE(second.ofKind("open").first()["url"].toString(), url);
        // The stored profile renders the same deck.
        const QString again = m_dir->filePath("again.png");
        QCOMPARE(run({"--render-profile", m_dir->filePath("profile.json"), "--out", again, "--config-dir", m_dir->path()}).exitCode, 0);
        QCOMPARE(QImage(again), QImage(m_dir->filePath("deck.png")));
    }

    // Runs that cannot go on: the reason on stderr (and as a line for scripts), the exit
    // code, and no file created, renamed or changed.
    void commandLines_data()
    {
        QTest::addColumn<QStringList>("arguments");  // %1 stands for the test's folder
        QTest::addColumn<QByteArray>("file");        // written to %1/file first, if any
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        const QStringList script{"--headless", "--no-launch", "--config-dir", "%1", "--script", "%1/file"};
        const QStringList render{"--render-profile", "%1/file", "--config-dir", "%1", "--out", "%1/deck.png"};
        const QByteArray steps("[{\"do\":\"dump\"}]");
        QTest::newRow("list in German") << QStringList{"--list", "--lang", "de_DE", "--config-dir", "%1"} << QByteArray() << 0
                                        << R"("LAB_TITLE_SYS_WINDOWCONTROL":"Fenstersteuerung")";
        QTest::newRow("sdk 3") << script + QStringList{"--library", QStringLiteral(FAKE_PACKAGE)} << steps << 2 << "sdk level 3 is not supported";
        QTest::newRow("no entry points") << script + QStringList{"--library", QStringLiteral(NO_ENTRY_POINTS)} << steps << 2
                                         << "no sdk/instance entry points";
        QTest::newRow("missing library") << script + QStringList{"--library", "%1/nowhere.so"} << steps << 2
                                         << "nowhere.so is no file (name it with --library";
        QTest::newRow("missing script") << script << QByteArray() << 1 << "cannot read script %1/file: no such file";
        QTest::newRow("script not JSON") << script << QByteArray("[{") << 1 << "is not JSON";
        QTest::newRow("render, no profile") << render << QByteArray() << 1 << "does not exist";
        QTest::newRow("render, damaged profile") << render << QByteArray("{\"grid\"") << 1 << "is damaged: it is not valid JSON";
        QTest::newRow("press, no host running") << QStringList{"--press", "0"} << QByteArray() << 1 << "no running vanta-host answers";
        QTest::newRow("press, not a slot") << QStringList{"--press", "first"} << QByteArray() << 1 << "--press takes a slot";
    }

    void commandLines()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, file);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        if (!file.isEmpty())
            TestFiles::write(m_dir->filePath("file"), file);
        for (QString& argument : arguments)
            argument.replace("%1", m_dir->path());
        const Run result = run(arguments);
        QCOMPARE(result.exitCode, exitCode);  // 2 is kept for a package that does not load
        QVERIFY2(result.text.contains(message.replace("%1", m_dir->path())), qPrintable(result.text));
        QVERIFY(!result.text.contains("liblib") && !result.text.contains("no error occurred"));
        QCOMPARE(result.ofKind("error").size(), exitCode ? 1 : 0);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), file.isEmpty() ? QStringList() : QStringList{"file"});
        if (!file.isEmpty())
            QCOMPARE(TestFiles::read(m_dir->filePath("file")), file);
    }

    // What the package's recording backends report reaches stdout through the record
    // channel, not the log: every log category is off and the lines are still there.
    void recordsWithLogsOff()
    {
        const QString notes = m_dir->filePath("notes.txt");
        QVERIFY(TestFiles::write(notes, "notes\n"));
        const Run result = script({assignAction(0, kHotkey, {{"SendHotkey", "Ctrl+Shift+A"}}),
                                   assignAction(1, kMedia, {{"MultimediaIndex", 5}}),
                                   assignAction(2, "com.corvane.system.openapp", {{"FilePath", notes}}),
                                   step("press", {{"slot", 0}}), step("press", {{"slot", 1}}), step("press", {{"slot", 2}})},
                                  {}, {{"QT_LOGGING_RULES", "*=false"}});
        QCOMPARE(result.exitCode, 0);
        const QJsonObject chord{{"code", 0}, {"down", true}, {"flags", 0x120000}, {"setsFlags", true}};
        const QJsonObject volumeUp{{"kind", "media"}, {"key", "volumeUp"}, {"keyType", 0}, {"down", true}};
        QJsonObject released = volumeUp;
        released["down"] = false;
        QCOMPARE(result.ofKinds({"keys", "media", "open"}),
                 (QList<QJsonObject>{{{"kind", "keys"}, {"events", QJsonArray{chord}}}, volumeUp, released,
                                     {{"kind", "open"}, {"path", notes}, {"what", "document"}}}));
    }

    // A multi-action key from a script: each step prints its own lines in the order of
    // the steps, "press" waits for the run, whose "done" line counts the delay, and the
    // key is stored as its list of steps with the delay as a number.
    void multiActionScript()
    {
        const QJsonArray steps{withPayload(kHotkey, {{"SendHotkey", "Ctrl+Shift+A"}}), QJsonObject{{"delay", 200}},
                               withPayload(kText, {{"SendText", "hi"}}), withPayload(kMedia, {{"MultimediaIndex", 5}})};
        QVERIFY(writeSvgNamingFifo());  // the host draws no icon from it, and does not wait
        const Run result = script({step("assign", {{"slot", 0}, {"steps", steps}, {"title", "Deploy"}, {"icon", m_dir->filePath("ref.svg")}}),
                                   step("press", {{"slot", 0}}), step("dump")});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.pressKinds(), QStringList({"keys", "keys", "media", "media", "done"}));
        const QList<QJsonObject> keys = result.ofKind("keys");
        QCOMPARE(keys[0]["events"][0]["flags"].toInt(), 0x120000);  // the hotkey first, then the text's paste
        QVERIFY(keys[1] != keys[0]);
        const QJsonObject done = result.ofKind("done").first();
        QCOMPARE(done["slot"].toInt(), 0);
        QVERIFY2(done["ms"].toInteger() >= 200, qPrintable(QString::number(done["ms"].toInteger())));
        QVERIFY(result.lines.indexOf(done) < result.lines.indexOf(result.ofKind("profile").first()));  // press waited

        const QJsonObject stored = keysOf(result.dumped()).at(0).toObject();
        QCOMPARE(stored["category"].toString(), kMulti);
        QCOMPARE(stored["title"].toString(), QStringLiteral("Deploy"));
        const QJsonArray storedSteps = stored["steps"].toArray();
        QCOMPARE(storedSteps.size(), 4);
        QCOMPARE(storedSteps[1], QJsonValue(200));
        for (int i : {0, 2, 3}) {  // each a key of its own; the payloads ran as given (above)
            QCOMPARE(storedSteps[i]["category"], steps[i]["category"]);
            QVERIFY(!storedSteps[i]["target"].toString().isEmpty());
        }
    }

    // Steps a script cannot give: the step fails and says why; a step the package
    // does not have is kept in the key (the key is stored), and says so too.
    void multiActionScriptErrors_data()
    {
        QTest::addColumn<QJsonValue>("steps");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("stored");
        QTest::newRow("not an array") << QJsonValue("hotkey") << "\"steps\" must be an array" << false;
        QTest::newRow("a bare number") << QJsonValue(QJsonArray{5}) << "step 1 of \"steps\" must be" << false;
        QTest::newRow("negative delay") << QJsonValue(QJsonArray{QJsonObject{{"delay", -1}}}) << "\"delay\" must be 0 to 600000 ms" << false;
        QTest::newRow("payload not an object") << QJsonValue(QJsonArray{QJsonObject{{"category", kHotkey}, {"payload", "x"}}})
                                               << "step 1 of \"steps\": \"payload\" must be an object" << false;
        QTest::newRow("unknown action") << QJsonValue(QJsonArray{QJsonObject{{"delay", 10}}, QJsonObject{{"category", "com.example.none"}}})
                                        << "step 2: the package has no action \"com.example.none\"" << true;
    }

    void multiActionScriptErrors()
    {
        QFETCH(QJsonValue, steps);
        QFETCH(QString, message);
        QFETCH(bool, stored);
        const Run result = script({step("assign", {{"slot", 0}, {"steps", steps}}), step("dump")});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.ofKind("error").size(), 1);
        QVERIFY2(result.ofKind("error").first()["message"].toString().contains(message), qPrintable(result.text));
        QCOMPARE(keysOf(result.dumped()).size(), stored ? 1 : 0);
    }

    void backupsRotate()
    {
        for (int slot = 0; slot < 4; ++slot)
            QCOMPARE(script({assign(slot)}).exitCode, 0);
        const QString profile = m_dir->filePath("profile.json");
        // Each run kept the file it replaced: the newest backup has three keys, the oldest one.
        for (int n = 1; n <= 3; ++n)
            QCOMPARE(keysOf(QJsonDocument::fromJson(TestFiles::read(profile + QStringLiteral(".bak.%1").arg(n))).object()).size(), 4 - n);
    }

    void unreadableProfileIsNeverWritten()
    {
        const QString profile = m_dir->filePath("profile.json");
        for (const bool fifo : {true, false}) {
            QFile::remove(profile);
            QVERIFY(fifo ? QProcess::execute("mkfifo", {profile}) == 0 : QFile::link("/dev/zero", profile));
            const Run result = script({assign(0)});
            QCOMPARE(result.exitCode, 1);
            QVERIFY2(result.text.contains("cannot read profile"), qPrintable(result.text));
            QVERIFY(result.ofKind("error").last()["message"].toString().contains("not overwritten"));
            QCOMPARE(QFileInfo(profile).isSymLink(), !fifo);
        }
    }

    // A profile that cannot be used as it is, or a save that cannot be made: the run
    // exits 1 and says why, and no good file is lost: it stays byte for byte, or (set
    // aside) is kept as .bad and the newest good backup takes its place.
    void profileTrouble_data()
    {
        QTest::addColumn<QByteArray>("profile");
        QTest::addColumn<QByteArray>("backup");  // FILE.bak.1, when given
        QTest::addColumn<QString>("trouble");    // "lock": held, as another host would; "fsize N", "nofile N": the host's limit
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("setAside");      // else the file stays as it was
        const QByteArray one = profileWith({0});
        const QByteArray none;
        QTest::newRow("damaged") << QByteArray("{ broken") << one << "" << ".bad, restored from" << true;
        QTest::newRow("over 16 MiB") << profileWith({0}, {{"notes", QString(17 * 1024 * 1024, 'x')}}) << one << ""
                                     << "is larger than 16777216 bytes; kept as" << true;
        QTest::newRow("newer version") << profileWith({0}, {{"version", 3}}) << none << "" << "written by a newer host (version 3"
                                       << false;
        QTest::newRow("open in another host") << one << none << "lock" << "is open in another" << false;
        QTest::newRow("disk full, profile") << one << none << QStringLiteral("fsize %1").arg(one.size() + 40)
                                            << "cannot write profile" << false;
        QTest::newRow("disk full, backup") << one << none << "fsize 40" << "cannot keep a backup" << false;
        QTest::newRow("edit over 16 MiB") << profileWith({0}, {{"notes", QString(16 * 1024 * 1024 - 300, 'x')}}) << none << ""
                                          << "more than the 16777216 a profile may have" << false;
        // Each action holds two descriptors; below the reserve none is made, and the
        // keys stay in the file as they are.
        QTest::newRow("too few descriptors") << profileWith({0, 2, 3}) << none << "nofile 200" << "too few file descriptors"
                                             << false;
    }

    void profileTrouble()
    {
        QFETCH(QByteArray, profile);
        QFETCH(QByteArray, backup);
        QFETCH(QString, trouble);
        QFETCH(QString, message);
        QFETCH(bool, setAside);
        const QString path = m_dir->filePath("profile.json");
        QVERIFY(TestFiles::write(path, profile));
        if (!backup.isEmpty())
            QVERIFY(TestFiles::write(path + ".bak.1", backup));
        QLockFile lock(path + ".lock");
        QVERIFY(trouble != QLatin1String("lock") || lock.tryLock(0));
        const QStringList limit = trouble.split(' ');
        const Limit hostLimit{int(limit[0] == QLatin1String("nofile") ? RLIMIT_NOFILE : RLIMIT_FSIZE), limit.value(1).toLongLong()};
        const Run result = script({assign(1), step("dump")}, {}, {}, hostLimit);
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.text.contains(message), qPrintable(result.text.left(2000)));
        QCOMPARE(TestFiles::read(setAside ? path + ".bad" : path), profile);
        if (setAside)  // the backup's key and the new one, written compact
            QCOMPARE(keysOf(QJsonDocument::fromJson(TestFiles::read(path)).object()).size(), 2);
    }

    // Fields this host does not know stay through a save; a save is compact JSON.
    void unknownFieldsKept()
    {
        const QString path = m_dir->filePath("profile.json");
        QJsonObject profile = QJsonDocument::fromJson(profileWith({0}, {{"theme", QJsonObject{{"dark", true}}}})).object();
        profile["grid"] = QJsonObject{{"columns", 5}, {"rows", 3}, {"gap", 4}};
        QVERIFY(TestFiles::write(path, QJsonDocument(profile).toJson()));
        QCOMPARE(script({assign(1)}).exitCode, 0);
        const QByteArray written = TestFiles::read(path);
        QVERIFY(!written.contains('\n'));
        const QJsonObject stored = QJsonDocument::fromJson(written).object();
        QCOMPARE(stored["theme"], profile["theme"]);
        QCOMPARE(stored["grid"], profile["grid"]);
        QCOMPARE(keysOf(stored).size(), 2);
    }

private:
    // ref.svg shows a picture whose file is a FIFO: a decoder that opens it waits for ever.
    bool writeSvgNamingFifo()
    {
        const QString pipe = m_dir->filePath("pipe");
        const QString svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
                            "width=\"9\" height=\"9\"><image width=\"9\" height=\"9\" xlink:href=\"%1\"/></svg>";
        return ::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0
            && TestFiles::write(m_dir->filePath("ref.svg"), svg.arg(pipe).toUtf8());
    }

    // Without a display, as the windowless modes must run.
    Run run(const QStringList& arguments, const QMap<QString, QString>& environment = {}, Limit limit = {})
    {
        QProcess host;
        if (limit.value > 0) {
            host.setChildProcessModifier([limit] {
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit both{rlim_t(limit.value), rlim_t(limit.value)};
                setrlimit(static_cast<__rlimit_resource_t>(limit.resource), &both);
            });
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(name);
        env.insert("SYSTEMDLL_MEDIA_BACKEND", "record");
        for (auto it = environment.cbegin(); it != environment.cend(); ++it)
            env.insert(it.key(), it.value());
        host.setProcessEnvironment(env);
        host.start(QStringLiteral(VANTA_HOST), arguments);
        Run result;
        if (!host.waitForFinished(120000) || host.exitStatus() != QProcess::NormalExit)
            return result;
        result.exitCode = host.exitCode();
        const QByteArray out = host.readAllStandardOutput();
        result.text = QString::fromUtf8(out + host.readAllStandardError());
        for (const QByteArray& line : out.split('\n')) {
            const QJsonDocument document = QJsonDocument::fromJson(line);
            if (!line.isEmpty())
                result.lines << (document.isObject() ? document.object() : QJsonObject{{"kind", "not json"}});
        }
        return result;
    }

    Run script(const QJsonArray& steps, const QStringList& extra = {}, const QMap<QString, QString>& environment = {},
               Limit limit = {})
    {
        const QString path = m_dir->filePath("script.json");
        TestFiles::write(path, QJsonDocument(steps).toJson());
        return run(QStringList{"--headless", "--no-launch", "--keys", "record", "--config-dir", m_dir->path(),
                               "--profile", m_dir->filePath("profile.json"), "--script", path} + extra,
                   environment, limit);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(tst_VantaHost)
#include "tst_vantahost.moc"
