#include "tovkyplugineventtype.h"

namespace TovKyPluginEventType {

const QString kFieldTarget = QStringLiteral("target");
const QString kFieldEvent = QStringLiteral("event");
const QString kFieldType = QStringLiteral("type");
const QString kFieldSDK = QStringLiteral("SDKVersion");
const QString kFieldApp = QStringLiteral("AppVersion");
const QString kFieldPayload = QStringLiteral("payload");
const QString kJsonRpc = QStringLiteral("jsonrpc");
const QString kMethod = QStringLiteral("method");
const QString kParams = QStringLiteral("params");
const QString kId = QStringLiteral("id");
const QString kResult = QStringLiteral("result");
const QString kError = QStringLiteral("error");

const QString kSetSettingsEvent = QStringLiteral("tov.ky.plugin.event.set.settings");
const QString kGetSettingsEvent = QStringLiteral("tov.ky.plugin.event.get.settings");
const QString kKeyUpEvent = QStringLiteral("tov.ky.plugin.event.key.up");
const QString kKeyDownEvent = QStringLiteral("tov.ky.plugin.event.key.down");
const QString kAppTriggeredEvent = QStringLiteral("tov.ky.plugin.event.app.triggered");
const QString kDidReceiveSettingsEvent = QStringLiteral("tov.ky.plugin.event.did.receive.settings");
const QString kDidUpdateSettingsEvent = QStringLiteral("tov.ky.plugin.event.did.update.settings");
const QString kUpdateSettingsEvent = QStringLiteral("tov.ky.plugin.event.update.settings");
const QString kSetLanguageEvent = QStringLiteral("tov.set.language");
const QString kPluginWillRemoveEvent = QStringLiteral("tov.will.remove");
const QString kSetSLOBSParamEvent = QStringLiteral("tov.set.slobs.param");
const QString kDeviceDidConnectEvent = QStringLiteral("tov.ky.plugin.event.device.did.connect");
const QString kDeviceDidDisconnectEvent = QStringLiteral("tov.ky.plugin.event.device.did.disconnect");
const QString kPluginWillAppearEvent = QStringLiteral("tov.ky.plugin.event.plugin.will.appear");
const QString kPluginWillDisappearEvent = QStringLiteral("tov.ky.plugin.event.plugin.will.disappear");
const QString kPluginPropertyInspectorWillAppearEvent =
    QStringLiteral("tov.ky.plugin.event.plugin.property.inspector.will.appear");

const QString kProtocolVersion = QStringLiteral("1.0.0");

} // namespace TovKyPluginEventType
