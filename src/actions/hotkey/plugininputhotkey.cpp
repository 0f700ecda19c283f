#include "plugininputhotkey.h"

#include "actions/common/actionslog.h"
#include "hotkeyinterpreter.h"
#include "platform/keyboard/keyboardeventservice.h"
#include "plugininputhotkeypayload.h"
#include "widgeticonplugininputhotkey.h"
#include "widgetplugininputhotkey.h"

PluginInputHotkey::PluginInputHotkey(QObject* parent)
    : SystemAction(parent)
    , keyFace(new WidgetIconPluginInputHotkey)
    , m_payloadImpl(new PayloadImpl)
{
}

PluginInputHotkey::~PluginInputHotkey()
{
    delete keyFace;
    delete m_propertyWidget;
    delete m_payloadImpl;
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
    return m_payloadImpl->sendHotkey;
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

ActionPayload& PluginInputHotkey::payload() { return *m_payloadImpl; }
const ActionPayload& PluginInputHotkey::payload() const { return *m_payloadImpl; }
ActionKeyFace* PluginInputHotkey::face() const { return keyFace; }
ActionInspector* PluginInputHotkey::inspector() const { return m_propertyWidget; }
void PluginInputHotkey::buildInspector() { m_propertyWidget = new WidgetPluginInputHotkey; }

void PluginInputHotkey::syncOwn()
{
    m_propertyWidget->setKeySequenceHotkey(m_payloadImpl->sendHotkey);
}

void PluginInputHotkey::connectOwn()
{
    connect(m_propertyWidget, &WidgetPluginInputHotkey::hotkeyDidChange, this, [this](const QString& hotkey) {
        m_payloadImpl->sendHotkey = hotkey;
        qCDebug(lcActions) << "m_payloadImpl->sendHotkey" << hotkey;
        reportSettings();
    });
}
