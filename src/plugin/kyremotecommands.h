#pragma once

#include <QString>

// Command names ("task") of messages to the host's local server.
namespace KyRemoteCommands {

extern const QString kSubscribeSubjects;
extern const QString kSubscribeSubject;
extern const QString kSubjectSendMessage;
extern const QString kQueryMixerMute;
extern const QString kUpdateMixerMute;
extern const QString kQueryMixerVolume;
extern const QString kUpdateMixerVolume;
extern const QString kQueryMixerEffect;
extern const QString kUpdateMixerEffect;
extern const QString kQueryHeadphoneOutput;
extern const QString kUpdateHeadphoneOutput;
extern const QString kQueryMonitor;
extern const QString kUpdateMonitor;
extern const QString kUpdatePageSwitch;
extern const QString kQueryHotkeyProfile;
extern const QString kUpdateHotkeyProfile;
extern const QString kQueryMixerProfile;
extern const QString kUpdateMixerProfile;
extern const QString kEnterGroup;
extern const QString kUpdateFunctionKeyLedLevel;
extern const QString kUpdateFunctionKeyLedAppControl;
extern const QString kUpdateFunctionKeyImageColor;
extern const QString kTurnOffPanel;
extern const QString kQueryPageIndicatorNumber;

} // namespace KyRemoteCommands
