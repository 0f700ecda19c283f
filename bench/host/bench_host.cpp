// Cold start of the headless host to its first rendered deck, and resident memory
// per key.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRuns = 15;
constexpr int kKeys = 15;

void writeJson(const QString& path, const QJsonDocument& document)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(document.toJson());
}

void runQuietly(const QStringList& args)
{
    QProcess host;
    host.setStandardOutputFile(QProcess::nullDevice());
    host.setStandardErrorFile(QProcess::nullDevice());
    host.start(VANTA_HOST, args);
    host.waitForFinished(60000);
}

QStringList arguments(const QTemporaryDir& dir, const QString& profile, const QString& script)
{
    return {"--headless", "--no-launch", "--config-dir", dir.path(), "--profile", profile, "--script", script};
}

// Seeds a profile with `keys` keys by letting the host itself assign them.
QString makeProfile(const QTemporaryDir& dir, int keys)
{
    const QString profile = dir.filePath(QStringLiteral("profile-%1.json").arg(keys));
    QJsonArray steps;
    for (int slot = 0; slot < keys; ++slot)
        steps.append(QJsonObject{{"do", "assign"}, {"slot", slot}, {"category", "com.corvane.system.openurl"}});
    const QString script = dir.filePath("seed.json");
    writeJson(script, QJsonDocument(steps));
    runQuietly(arguments(dir, profile, script));
    return profile;
}

qint64 rssKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// Resident memory once the deck is up: sampled while the host waits after rendering.
qint64 residentAfterRender(const QTemporaryDir& dir, const QString& profile)
{
    const QString script = dir.filePath("hold.json");
    writeJson(script, QJsonDocument(QJsonArray{QJsonObject{{"do", "render"}, {"path", dir.filePath("hold.png")}},
                                               QJsonObject{{"do", "wait"}, {"ms", 1500}}}));
    QProcess host;
    host.setStandardErrorFile(QProcess::nullDevice());
    host.start(VANTA_HOST, arguments(dir, profile, script));
    host.setReadChannel(QProcess::StandardOutput);
    host.waitForReadyRead(30000);  // the render line
    QThread::msleep(300);
    const qint64 rss = rssKiB(host.processId());
    host.waitForFinished(30000);
    return rss;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString empty = makeProfile(dir, 0);
    const QString full = makeProfile(dir, kKeys);

    const QString script = dir.filePath("render.json");
    writeJson(script, QJsonDocument(QJsonArray{QJsonObject{{"do", "render"}, {"path", dir.filePath("deck.png")}}}));
    std::vector<double> ms;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        runQuietly(arguments(dir, full, script));
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("host.cold start to first rendered deck (%d Open URL keys): median %.1f ms, max %.1f ms (%d runs)\n",
                kKeys, ms[ms.size() / 2], ms.back(), kRuns);

    const qint64 rssEmpty = residentAfterRender(dir, empty);
    const qint64 rssFull = residentAfterRender(dir, full);
    std::printf("host.resident memory: %lld KiB with 0 keys, %lld KiB with %d keys, %.0f KiB per key\n",
                rssEmpty, rssFull, kKeys, double(rssFull - rssEmpty) / kKeys);
    return 0;
}
