#include "kyremotecommands.h"

namespace KyRemoteCommands {

const QString kSubscribeSubjects = QStringLiteral("remote.command.subscribe.subjects");
const QString kSubscribeSubject = QStringLiteral("remote.command.subscribe.subject");
const QString kSubjectSendMessage = QStringLiteral("remote.command.subject.send.message");
const QString kQueryMixerMute = QStringLiteral("remote.command.query.mixer.mute");
const QString kUpdateMixerMute = QStringLiteral("remote.command.update.mixer.mute");
const QString kQueryMixerVolume = QStringLiteral("remote.command.query.mixer.volume");
const QString kUpdateMixerVolume = QStringLiteral("remote.command.update.mixer.volume");
const QString kQueryMixerEffect = QStringLiteral("remote.command.query.mixer.effect");
const QString kUpdateMixerEffect = QStringLiteral("remote.command.update.mixer.effect");
const QString kQueryHeadphoneOutput = QStringLiteral("remote.command.query.headphone.output");
const QString kUpdateHeadphoneOutput = QStringLiteral("remote.command.update.headphone.output");
const QString kQueryMonitor = QStringLiteral("remote.command.query.monitor");
const QString kUpdateMonitor = QStringLiteral("remote.command.update.monitor");
const QString kUpdatePageSwitch = QStringLiteral("remote.command.update.pageswitch");
const QString kQueryHotkeyProfile = QStringLiteral("remote.command.query.hotkey.profile");
const QString kUpdateHotkeyProfile = QStringLiteral("remote.command.update.hotkey.profile");
const QString kQueryMixerProfile = QStringLiteral("remote.command.query.mixer.profile");
const QString kUpdateMixerProfile = QStringLiteral("remote.command.update.mixer.profile");
const QString kEnterGroup = QStringLiteral("remote.command.enter.group");
const QString kUpdateFunctionKeyLedLevel = QStringLiteral("remote.command.update.function.key.led.level");
const QString kUpdateFunctionKeyLedAppControl = QStringLiteral("remote.command.update.function.key.led.App.Control");
const QString kUpdateFunctionKeyImageColor = QStringLiteral("remote.command.update.function.key.Image.Color");
const QString kTurnOffPanel = QStringLiteral("remote.command.turn.off.panel");
const QString kQueryPageIndicatorNumber = QStringLiteral("QueryPageIndicatorNumber");

} // namespace KyRemoteCommands
