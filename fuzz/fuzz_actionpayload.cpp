// Every action the package makes, initialised with a fuzzed record in each of its
// three forms (versioned payload, legacy payload, preset). What an action accepts must
// come back unchanged through its stored form.
#include "fuzzsupport.h"
#include "actions/common/systemaction.h"
#include "package/systemdll.h"
#include "plugin/tovplugincategories.h"

#include <QJsonDocument>

#include <memory>
#include <vector>

namespace {
struct Fuzzed
{
    std::unique_ptr<SystemAction> action;
    std::unique_ptr<SystemAction> restored;
};
// Never destroyed: widgets must not outlive the application, which static destruction
// would not guarantee at exit.
std::vector<Fuzzed>& g_actions = *new std::vector<Fuzzed>;

SystemAction* make(SystemDll& package, const QString& category)
{
    KYPlugin* made = package.makeWidget(category, 0);
    auto* action = qobject_cast<SystemAction*>(made);
    if (made && !action)
        abort();  // every action is built on the shared core
    return action;
}
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::start();
    SystemDll package;
    namespace C = TovPluginCategories;
    for (const QString& category : {C::kSystemOpenApp, C::kSystemOpenUrl, C::kSystemHotkey, C::kSystemMultimedia,
                                    C::kSystemText, C::kSystemWindowsControl, C::kSystemDelay,
                                    C::kSystemMultiAction, C::kSystemWebView}) {
        if (SystemAction* action = make(package, category))
            g_actions.push_back({std::unique_ptr<SystemAction>(action),
                                 std::unique_ptr<SystemAction>(make(package, category))});
    }
    if (g_actions.empty())
        abort();
    return 0;
}

// First byte: which action, second: which form; the rest is the record's JSON.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    Fuzzed& fuzzed = g_actions[data[0] % g_actions.size()];
    const int form = data[1] % 3;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromRawData(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2)));
    QJsonObject record = document.object();
    if (form == 0 && !record.contains("version"))
        record.insert("version", 1);
    else if (form == 1)
        record.remove("version");

    const QString key = form == 2 ? QStringLiteral("preset") : QStringLiteral("payload");
    if (!fuzzed.action->init(QStringLiteral("fuzz"), {{key, record}}))
        return 0;
    const QJsonObject stored = fuzzed.action->settingsJson();
    fuzzed.action->onSetSettingsEvent({});
    fuzzed.action->onKeyDownEvent({});
    fuzzed.action->onKeyUpEvent({});
    if (!fuzzed.restored->init(QStringLiteral("again"), {{"payload", stored}})
        || fuzzed.restored->settingsJson() != stored)
        abort();  // the stored form must restore the same record
    return 0;
}
