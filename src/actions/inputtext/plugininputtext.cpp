#include "plugininputtext.h"

#include "actions/common/actionslog.h"
#include "plugininputtextpayload.h"
#include "textpaster.h"
#include "widgeticonplugininputtext.h"
#include "widgetplugininputtext.h"

PluginInputText::PluginInputText(QObject* parent)
    : SystemAction(parent)
    , keyFace(new WidgetIconPluginInputText)
    , m_payloadImpl(new PayloadImpl)
    , m_paster(new TextPaster(this))
{
}

PluginInputText::~PluginInputText()
{
    keyFace->disconnect();
    if (m_propertyWidget)
        m_propertyWidget->disconnect();
    delete keyFace;
    delete m_propertyWidget;
    delete m_payloadImpl;
}

void PluginInputText::eventReceived(const QJsonObject& event, QJsonObject& result)
{
    qCDebug(lcActions) << "eventReceived" << event;
    SystemAction::eventReceived(event, result);
    qCDebug(lcActions) << "eventReceived" << "executed" << result;
}

QWidget* PluginInputText::pluginWidget()
{
    qCDebug(lcActions) << "pluginWidget" << "Return plugin widget";
    return keyFace;
}

QWidget* PluginInputText::propertyWidget()
{
    qCDebug(lcActions) << "propertyWidget" << "Return property widget";
    return SystemAction::propertyWidget();
}

QString PluginInputText::actionIconFilePath() const
{
    return QString();
}

int PluginInputText::onAppTriggeredEvent(const QJsonObject&)
{
    m_paster->paste(m_payloadImpl->sendText, m_payloadImpl->pressesEnter());
    return 0;
}

ActionPayload& PluginInputText::payload() { return *m_payloadImpl; }
const ActionPayload& PluginInputText::payload() const { return *m_payloadImpl; }
ActionKeyFace* PluginInputText::face() const { return keyFace; }
ActionInspector* PluginInputText::inspector() const { return m_propertyWidget; }
void PluginInputText::buildInspector() { m_propertyWidget = new WidgetPluginInputText; }

void PluginInputText::syncOwn()
{
    m_pressEnterStatus = m_payloadImpl->pressEnterStatus;
    m_propertyWidget->setPressEnter(m_payloadImpl->pressEnterStatus);
    m_propertyWidget->setSendText(m_payloadImpl->sendText);
}

void PluginInputText::connectOwn()
{
    connect(m_propertyWidget, &WidgetPluginInputText::textDidChange, this, [this](const QString& text) {
        m_payloadImpl->sendText = text;
        reportSettings();
    });
    connect(m_propertyWidget, &WidgetPluginInputText::enterDidChange, this, [this](const QString& status) {
        m_payloadImpl->pressEnterStatus = status;
        m_pressEnterStatus = status;
        reportSettings();
    });
}
