#pragma once

#include <QString>

// Names of the event envelope exchanged between the host and an action.
// Compared exactly and case-sensitively.
namespace TovKyPluginEventType {

extern const QString kFieldTarget;
extern const QString kFieldEvent;
extern const QString kFieldType;
extern const QString kFieldSDK;
extern const QString kFieldApp;
extern const QString kFieldPayload;
extern const QString kJsonRpc;
extern const QString kMethod;
extern const QString kParams;
extern const QString kId;
extern const QString kResult;
extern const QString kError;

extern const QString kSetSettingsEvent;
extern const QString kGetSettingsEvent;
extern const QString kKeyUpEvent;
extern const QString kKeyDownEvent;
extern const QString kAppTriggeredEvent;
extern const QString kDidReceiveSettingsEvent;
extern const QString kDidUpdateSettingsEvent;
extern const QString kUpdateSettingsEvent;
extern const QString kSetLanguageEvent;
extern const QString kPluginWillRemoveEvent;
extern const QString kSetSLOBSParamEvent;
extern const QString kDeviceDidConnectEvent;
extern const QString kDeviceDidDisconnectEvent;
extern const QString kPluginWillAppearEvent;
extern const QString kPluginWillDisappearEvent;
extern const QString kPluginPropertyInspectorWillAppearEvent;

// What actions put in "SDKVersion" and "AppVersion".
extern const QString kProtocolVersion;

} // namespace TovKyPluginEventType
