// The host's scripts, run: fuzzed bytes parsed as the host parses a headless script,
// and their steps run against a headless host on the built library, as
// `vanta-host --headless --no-launch --keys record` runs them. Every backend records
// (nothing is typed, opened or launched); waits, delays and pages are kept small and
// paths point into the scratch folder, so that an input runs in milliseconds and
// writes nowhere else.
#include "fuzzsupport.h"
#include "hostsession.h"
#include "scriptrunner.h"
#include "urlcatcher.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>

namespace {

HostSession* g_session = nullptr;
// What an "icon" step may pick: a picture, or none. (A picture the builder refuses
// holds the dialog open until the picker gives up, seconds later.)
QStringList g_pictures;

constexpr int kMaxWaitMs = 5;
constexpr int kMaxPage = 3;
constexpr int kMaxText = 64;

QJsonValue clamped(const QJsonValue& value, int most)
{
    return value.isDouble() ? QJsonValue(qBound(0.0, value.toDouble(), double(most))) : value;
}

// The step as the fuzz run takes it: what would take long or write elsewhere is bounded.
QJsonValue tamed(const QJsonValue& value)
{
    if (!value.isObject())
        return value;
    QJsonObject step = value.toObject();
    const QString what = step.value("do").toString();
    if (what == QLatin1String("wait"))
        step["ms"] = clamped(step.value("ms"), kMaxWaitMs);
    if (what == QLatin1String("page"))
        step["page"] = clamped(step.value("page"), kMaxPage);
    if (what == QLatin1String("type") && step.value("text").isString())
        step["text"] = step.value("text").toString().left(kMaxText);
    if (what == QLatin1String("render") && step.contains("path"))
        step["path"] = FuzzSupport::scratch("deck.png");
    if (what == QLatin1String("icon") && step.value("path").isString())
        step["path"] = g_pictures.at(int(step.value("path").toString().size() % g_pictures.size()));
    if (step.value("steps").isArray()) {
        QJsonArray steps = step.value("steps").toArray();
        for (QJsonValueRef item : steps) {
            QJsonObject object = item.toObject();
            if (object.contains("delay")) {
                object["delay"] = clamped(object.value("delay"), kMaxWaitMs);
                item = object;
            }
        }
        step["steps"] = steps;
    }
    return step;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::start();
    qputenv("SYSTEMDLL_LAUNCH_BACKEND", "record");
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    g_pictures = {FuzzSupport::scratch("picture.png"), FuzzSupport::scratch("none.png")};
    if (!picture.save(g_pictures[0]))
        abort();
    new UrlCatcher(false);  // URLs are reported, never opened; lives as long as the process
    HostSession::Options options;
    options.library = QStringLiteral(SYSTEMDLL_LIBRARY);
    options.configDir = FuzzSupport::scratch("config");
    options.profilePath = FuzzSupport::scratch("config/profile.json");
    options.columns = 4;
    options.rows = 2;
    QDir().mkpath(options.configDir);
    g_session = new HostSession(options);
    QString error;
    if (!g_session->start(&error))
        qFatal("cannot start the host: %s", qPrintable(error));
    QStringList problems;
    g_session->restoreProfile(&problems);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QJsonArray steps;
    QString why;
    if (!ScriptRunner::parse(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)), &steps,
                             &why)) {
        if (why.isEmpty())
            __builtin_trap();  // a refused script always says why
        return 0;
    }
    for (QJsonValueRef step : steps)
        step = tamed(step);
    {
        ScriptRunner runner(*g_session, nullptr);
        runner.run(steps);
    }
    // The next input starts on an empty deck, as a new profile would.
    QStringList problems;
    g_session->deck().restore(QJsonObject(), &problems);
    QString problem;
    g_session->saveProfile(&problem);
    QDir(FuzzSupport::scratch("config/icon")).removeRecursively();
    return 0;
}
