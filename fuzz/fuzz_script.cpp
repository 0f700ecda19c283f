// The host's script reader: fuzzed bytes as a headless script, run on a deck of the
// built library. Steps that would reach outside the test are tamed first: a render
// lands in the scratch folder, a wait is short, and no key is pressed (a press opens
// URLs and applications).
#include "fuzzhost.h"
#include "fuzzsupport.h"
#include "profilestore.h"
#include "scriptrunner.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {
FuzzHost* g_host = nullptr;

QJsonArray tamed(const QJsonArray& steps)
{
    QJsonArray out;
    for (const QJsonValue& value : steps) {
        QJsonObject step = value.toObject();
        const QString what = step.value("do").toString();
        if (what == QLatin1String("press")
            || (what == QLatin1String("event") && step.value("type").toString().contains("triggered")))
            continue;
        if (what == QLatin1String("render"))
            step.insert("path", FuzzSupport::scratch("render.png"));
        if (what == QLatin1String("wait"))
            step.insert("ms", qBound(0, step.value("ms").toInt(), 2));
        out.append(value.isObject() ? QJsonValue(step) : value);
    }
    return out;
}
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::start();
    g_host = new FuzzHost;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QJsonDocument script = QJsonDocument::fromJson(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!script.isArray())
        return 0;  // the host refuses it before running anything
    g_host->reset();
    ProfileStore profile(FuzzSupport::scratch("profile/profile.json"));
    ScriptRunner(g_host->deck(), profile).run(tamed(script.array()));
    return 0;
}
