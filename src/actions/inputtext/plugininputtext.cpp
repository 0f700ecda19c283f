#include "plugininputtext.h"

#include "actions/common/actionslog.h"
#include "plugininputtextpayload.h"
#include "textpaster.h"
#include "widgeticonplugininputtext.h"
#include "widgetplugininputtext.h"

PluginInputText::PluginInputText(QObject* parent)
    : TypedAction(parent)
    , m_paster(new TextPaster(this))
{
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
    return keyFace();
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
    m_paster->paste(record().sendText, record().pressesEnter());
    return 0;
}

void PluginInputText::syncOwn()
{
    panel()->setPressEnter(record().pressEnterStatus);
    panel()->setSendText(record().sendText);
}

void PluginInputText::connectOwn()
{
    connect(panel(), &WidgetPluginInputText::textDidChange, this, [this](const QString& text) {
        record().sendText = text;
        reportSettings();
    });
    connect(panel(), &WidgetPluginInputText::enterDidChange, this, [this](const QString& status) {
        record().pressEnterStatus = status;
        reportSettings();
    });
}
