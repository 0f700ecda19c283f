#include "pluginwindowscontrol.h"

#include "pluginwindowscontrolpayload.h"
#include "widgeticonpluginwindowscontrol.h"
#include "widgetpluginwindowscontrol.h"

PluginWindowsControl::PluginWindowsControl(QObject* parent)
    : SystemAction(parent)
    , keyFace(new WidgetIconPluginWindowsControl)
    , m_payloadImpl(new PayloadImpl)
{
    m_payloadImpl->reset();
}

PluginWindowsControl::~PluginWindowsControl()
{
    delete keyFace;
    delete m_propertyWidget;
    delete m_payloadImpl;
}

QString PluginWindowsControl::actionIconFilePath() const
{
    return m_payloadImpl->iconFilePath;
}

// The inspector controls the window with what it shows; the record is not read here.
int PluginWindowsControl::onAppTriggeredEvent(const QJsonObject&)
{
    ensureInspector();
    m_propertyWidget->controlTargetWindow();
    return 0;
}

int PluginWindowsControl::onSyncUI()
{
    syncWidgets();
    return 0;
}

ActionPayload& PluginWindowsControl::payload() { return *m_payloadImpl; }
const ActionPayload& PluginWindowsControl::payload() const { return *m_payloadImpl; }
ActionKeyFace* PluginWindowsControl::face() const { return keyFace; }
ActionInspector* PluginWindowsControl::inspector() const { return m_propertyWidget; }
void PluginWindowsControl::buildInspector() { m_propertyWidget = new WidgetPluginWindowsControl; }

void PluginWindowsControl::syncOwn()
{
    m_propertyWidget->setWindowTitleName(m_payloadImpl->windowTitleName);
    m_propertyWidget->setProcessNameOfWindow(m_payloadImpl->processNameOfWindow);
    m_propertyWidget->setWindowAction(m_payloadImpl->windowAction);
    m_propertyWidget->setWindowSize(m_payloadImpl->windowSize);
    m_propertyWidget->setLeftTopPosition(m_payloadImpl->leftTopPosition);
}

// Every edit is reported at once; one save of the inspector reports four times.
void PluginWindowsControl::connectOwn()
{
    using W = WidgetPluginWindowsControl;
    connect(m_propertyWidget, &W::WindowTitleNameDidChange, this,
            [this](const QString& windowTitle, const QString& processName) {
                m_payloadImpl->windowTitleName = windowTitle;
                m_payloadImpl->processNameOfWindow = processName;
                reportSettings();
            });
    connect(m_propertyWidget, &W::WindowActionDidChange, this, [this](const QString& windowAction) {
        m_payloadImpl->windowAction = windowAction;
        reportSettings();
    });
    connect(m_propertyWidget, &W::LeftTopPositionDidChange, this, [this](const QPoint& position) {
        m_payloadImpl->leftTopPosition = position;
        reportSettings();
    });
    connect(m_propertyWidget, &W::WindowSizeDidChange, this, [this](const QSize& windowSize) {
        m_payloadImpl->windowSize = windowSize;
        reportSettings();
    });
}
