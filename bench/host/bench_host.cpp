// Cold start of the headless host to its first rendered deck, start-up with a large
// profile of many pages, idle CPU of the deck window with animated keys, and resident
// memory per key.
#include "testimages.h"

#include <QGuiApplication>
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
#include <unistd.h>

namespace {

constexpr int kRuns = 15;
constexpr int kKeys = 15;
constexpr int kLargeKeys = 1000;
constexpr int kIdleSeconds = 10;
const char* const kOpenUrl = "com.corvane.system.openurl";

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

// A profile written directly: `keys` Open URL keys on pages of 8 x 4, each with `icon`.
QString writeProfile(const QTemporaryDir& dir, const QString& name, int keys, const QString& icon)
{
    constexpr int kPerPage = 32;
    QJsonArray pages;
    for (int first = 0; first < keys; first += kPerPage) {
        QJsonArray page;
        for (int slot = 0; slot < kPerPage && first + slot < keys; ++slot) {
            QJsonObject payload{{"version", 1}, {"Url", QStringLiteral("https://e.example/%1").arg(first + slot)},
                                {"titlelist", QJsonArray{QStringLiteral("K%1").arg(first + slot)}}};
            if (!icon.isEmpty())
                payload.insert("iconlist", QJsonArray{icon});
            page.append(QJsonObject{{"slot", slot}, {"category", kOpenUrl},
                                    {"target", QStringLiteral("key-%1").arg(first + slot)}, {"payload", payload}});
        }
        pages.append(QJsonObject{{"keys", page}});
    }
    const QString path = dir.filePath(name);
    writeJson(path, QJsonDocument(QJsonObject{{"version", 2}, {"grid", QJsonObject{{"columns", 8}, {"rows", 4}}},
                                              {"page", 0}, {"pages", pages}}));
    return path;
}

double medianMs(const QStringList& args, std::vector<double>* all)
{
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        runQuietly(args);
        all->push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(all->begin(), all->end());
    return (*all)[all->size() / 2];
}

qint64 cpuTicks(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    // Fields after the command name in parentheses: utime and stime are the 12th and 13th.
    const QList<QByteArray> fields = stat.readAll().split(')').last().trimmed().split(' ');
    return fields.size() > 12 ? fields[11].toLongLong() + fields[12].toLongLong() : -1;
}

// The deck window (offscreen) with every key animated: CPU used over a quiet window.
double idleCpuPercent(const QTemporaryDir& dir, const QString& profile)
{
    QProcess host;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    host.setProcessEnvironment(env);
    host.setStandardOutputFile(QProcess::nullDevice());
    host.setStandardErrorFile(QProcess::nullDevice());
    host.start(VANTA_HOST, {"--no-launch", "--config-dir", dir.path(), "--profile", profile});
    host.waitForStarted();
    QThread::sleep(3);  // up and settled
    const qint64 before = cpuTicks(host.processId());
    QThread::sleep(kIdleSeconds);
    const qint64 after = cpuTicks(host.processId());
    host.terminate();
    if (!host.waitForFinished(10000))
        host.kill();
    return before < 0 || after < 0 ? -1 : 100.0 * double(after - before) / double(sysconf(_SC_CLK_TCK)) / kIdleSeconds;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
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

    std::vector<double> large;
    const QString many = writeProfile(dir, "large.json", kLargeKeys, QString());
    const double largeMs = medianMs(arguments(dir, many, script), &large);
    std::printf("host.start with %d keys on %d pages to the first page rendered: median %.1f ms, max %.1f ms (%d runs)\n",
                kLargeKeys, (kLargeKeys + 31) / 32, largeMs, large.back(), kRuns);

    QList<QImage> frames;
    for (int i = 0; i < 8; ++i)
        frames << TestImages::solid(QSize(150, 108), QColor::fromHsv(i * 45, 200, 220));
    const QString gif = dir.filePath("anim.gif");
    if (TestImages::writeGif(gif, frames, 8)) {
        const QString animated = writeProfile(dir, "animated.json", kKeys, gif);
        std::printf("host.idle CPU of the deck window with %d animated GIF keys: %.2f %% of one core (%d s)\n", kKeys,
                    idleCpuPercent(dir, animated), kIdleSeconds);
    } else {
        std::printf("host.idle CPU: no GIF: %s\n", qPrintable(TestImages::lastError()));
    }

    const qint64 rssEmpty = residentAfterRender(dir, empty);
    const qint64 rssFull = residentAfterRender(dir, full);
    std::printf("host.resident memory: %lld KiB with 0 keys, %lld KiB with %d keys, %.0f KiB per key\n",
                rssEmpty, rssFull, kKeys, double(rssFull - rssEmpty) / kKeys);
    return 0;
}
