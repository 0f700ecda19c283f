#include "actioncalls.h"

#include "descriptors.h"

namespace ActionCalls {

QJsonObject envelope(const QString& target, const QString& type)
{
    return {{"target", target},
            {"event", QJsonObject{{"type", type}, {"SDKVersion", "1.0.0"}, {"AppVersion", "1.0.0"},
                                  {"payload", QJsonObject{}}}}};
}

QJsonObject paramsOf(const QJsonObject& entry)
{
    const QJsonObject stored = entry.value("payload").toObject();
    if (stored.isEmpty() && entry.value("preset").isObject())
        return {{"preset", entry.value("preset")}};
    return {{"payload", stored}};
}

host::ActionInterface* create(host::PackageInterface* package, const QJsonObject& entry, int n, QString* error)
{
    // Checked before the package sees it, so that the stored entry needs no change.
    if (!entry.value("category").isString() || !entry.value("target").isString()) {
        *error = QStringLiteral("the entry has no \"category\" or \"target\" string");
        return nullptr;
    }
    if (entry.contains("payload") && !entry.value("payload").isObject()) {
        *error = QStringLiteral("its \"payload\" is not an object");
        return nullptr;
    }
    if (!Descriptors::spare(Descriptors::kPerAction, error))
        return nullptr;
    const QString category = entry.value("category").toString();
    host::ActionInterface* action = package->makeWidget(category, n);
    if (!action)
        *error = QStringLiteral("the package has no action \"%1\"").arg(category);
    return action;
}

bool reportedSettings(const QJsonObject& event, QJsonObject* payload)
{
    const QJsonObject inner = event.value("event").toObject();
    if (inner.value("type").toString() != kSetSettings)
        return false;
    *payload = inner.value("payload").toObject();
    return true;
}

} // namespace ActionCalls
