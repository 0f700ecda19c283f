#include "kyplugin.h"

namespace {
constexpr int kNotImplemented = -1;
}

KYPlugin::KYPlugin(QObject* parent)
    : QObject(parent)
{
}

KYPlugin::~KYPlugin() = default;

void KYPlugin::eventReceived(const QJsonObject& event, QJsonObject& result, int)
{
    eventReceived(event, result);
}

int KYPlugin::onKeyUpEvent(const QJsonObject&) { return kNotImplemented; }
int KYPlugin::onKeyDownEvent(const QJsonObject&) { return kNotImplemented; }
int KYPlugin::onAppTriggeredEvent(const QJsonObject&) { return kNotImplemented; }
int KYPlugin::onSetSettingsEvent(const QJsonObject&) { return kNotImplemented; }
int KYPlugin::onSyncUI() { return kNotImplemented; }

bool KYPlugin::init(const QString& newTarget)
{
    target = newTarget;
    return initWithDefault();
}

bool KYPlugin::initWithDefault() { return false; }
bool KYPlugin::initWithPayload(const QJsonObject&) { return false; }
bool KYPlugin::initWithPreset(const QJsonObject&) { return false; }
