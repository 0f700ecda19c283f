#include "pluginwindowscontrol.h"

#include "actions/common/actionslog.h"
#include "platform/windowcontrol/windowcontrol.h"
#include "pluginwindowscontrolpayload.h"
#include "widgeticonpluginwindowscontrol.h"
#include "widgetpluginwindowscontrol.h"

PluginWindowsControl::PluginWindowsControl(QObject* parent)
    : TypedAction([this] { return std::make_unique<WidgetPluginWindowsControl>(windowControl()); }, parent)
{
    record().reset();
}

InterfaceToWindowControl* PluginWindowsControl::windowControl()
{
    if (!m_windowControl)
        m_windowControl = new WindowControl(this);
    return m_windowControl;
}

QString PluginWindowsControl::actionIconFilePath() const
{
    return record().iconFilePath;
}

// Works from the record, so a key that was never inspected builds no inspector.
int PluginWindowsControl::onAppTriggeredEvent(const QJsonObject&)
{
    const WindowTask task = record().task();
    qCDebug(lcActions) << "[PluginWindowsControl] apply" << task;  // the title capped
    windowControl()->apply(task);
    return 0;
}

int PluginWindowsControl::onSyncUI()
{
    syncWidgets();
    return 0;
}

void PluginWindowsControl::syncOwn()
{
    const PayloadImpl& stored = record();
    WidgetPluginWindowsControl* editor = panel();
    editor->setWindowTitleName(stored.windowTitleName);
    editor->setProcessNameOfWindow(stored.processNameOfWindow);
    editor->setWindowAction(stored.windowAction);
    editor->setWindowSize(stored.windowSize);
    editor->setLeftTopPosition(stored.leftTopPosition);
    editor->setWindowMatch(stored.anyWindowOfProgram, stored.appIdOfWindow);
}

// Every edit is reported at once; one save of the inspector reports five times.
void PluginWindowsControl::connectOwn()
{
    using W = WidgetPluginWindowsControl;
    connect(panel(), &W::WindowTitleNameDidChange, this, [this](const QString& windowTitle, const QString& processName) {
        record().windowTitleName = windowTitle;
        record().processNameOfWindow = processName;
        reportSettings();
    });
    connect(panel(), &W::WindowActionDidChange, this, [this](const QString& windowAction) {
        record().windowAction = windowAction;
        reportSettings();
    });
    connect(panel(), &W::LeftTopPositionDidChange, this, [this](const QPoint& position) {
        record().leftTopPosition = position;
        reportSettings();
    });
    connect(panel(), &W::WindowSizeDidChange, this, [this](const QSize& windowSize) {
        record().windowSize = windowSize;
        reportSettings();
    });
    connect(panel(), &W::WindowMatchDidChange, this, [this](bool anyWindowOfProgram, const QString& appId) {
        record().anyWindowOfProgram = anyWindowOfProgram;
        record().appIdOfWindow = appId;
        reportSettings();
    });
}
