#include "plugininputhotkey.h"

#include "actions/common/actionslog.h"
#include "hotkeyinterpreter.h"
#include "platform/keyboard/keyboardeventservice.h"
#include "plugininputhotkeypayload.h"
#include "widgeticonplugininputhotkey.h"
#include "widgetplugininputhotkey.h"

PluginInputHotkey::PluginInputHotkey(QObject* parent)
    : TypedAction(parent)
{
}

void PluginInputHotkey::eventReceived(const QJsonObject& event, QJsonObject& result)
{
    SystemAction::eventReceived(event, result);
    result.insert(QStringLiteral("id"), target);
    result.insert(QStringLiteral("success"), true);
    qCDebug(lcActions) << "eventReceived" << "executed" << result;
}

QString PluginInputHotkey::actionIconFilePath() const
{
    return actionTitle();
}

QString PluginInputHotkey::hotkey() const
{
    return record().sendHotkey;
}

int PluginInputHotkey::onAppTriggeredEvent(const QJsonObject&)
{
    qCDebug(lcActions) << "try to input hotkey" << hotkey();
    const KeyEventSequence events = HotkeyInterpreter::events(hotkey());
    if (events.isEmpty()) {
        if (!hotkey().isEmpty())
            qCWarning(lcActions) << "[PluginInputHotkey] no key to send for" << hotkey();
        return 0;
    }
    KeyboardEventService::instance()->post(events);
    return 0;
}

int PluginInputHotkey::onSyncUI()
{
    syncWidgets();
    return 0;
}

void PluginInputHotkey::syncOwn()
{
    panel()->setKeySequenceHotkey(record().sendHotkey);
}

void PluginInputHotkey::connectOwn()
{
    connect(panel(), &WidgetPluginInputHotkey::hotkeyDidChange, this, [this](const QString& hotkey) {
        record().sendHotkey = hotkey;
        qCDebug(lcActions) << "m_payloadImpl->sendHotkey" << hotkey;
        reportSettings();
    });
}
