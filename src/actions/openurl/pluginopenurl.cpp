#include "pluginopenurl.h"

#include "actions/common/actionslog.h"
#include "actions/common/jsonsummary.h"
#include "platform/keyboard/keyboardeventservice.h"
#include "platform/launch/pathlauncher.h"
#include "plugin/tovkyplugineventtype.h"
#include "pluginopenurlpayload.h"
#include "widgeticonpluginopenurl.h"
#include "widgetpluginopenurl.h"

#include <QThread>
#include <QUrl>

namespace {
const QString kBrowserShortcutUrl = QStringLiteral("@");
const QString kBareScheme = QStringLiteral("https://");
constexpr int kBrowserSettleMs = 100;
}

PluginOpenUrl::PluginOpenUrl(QObject* parent)
    : TypedAction(parent)
{
}

bool PluginOpenUrl::init(const QString& newTarget, const QJsonObject& params)
{
    qCDebug(lcActions) << "virtual bool PluginOpenUrl::init(const QString &, const QJsonObject &)";
    qCDebug(lcActions).noquote() << "[Plugin Open Url][Init With Params]" << JsonSummary::of(params);
    return SystemAction::init(newTarget, params);
}

void PluginOpenUrl::traceInit(const QString& step, const QJsonObject& json) const
{
    if (step == QLatin1String("Payload"))
        qCDebug(lcActions).noquote() << "[Plugin Open Url][Payload][Received]" << JsonSummary::of(json);
    else
        SystemAction::traceInit(step, json);
}

bool PluginOpenUrl::initWithDefault()
{
    SystemAction::initWithDefault();
    // The host stores the defaults at once, in exactly the form it will hand back.
    record().setV1Payload(record().toJson());
    reportSettings();
    return true;
}

QWidget* PluginOpenUrl::pluginWidget()
{
    qCDebug(lcActions) << "virtual QWidget *PluginOpenUrl::pluginWidget()";
    qCDebug(lcActions) << "Return plugin widget";
    return keyFace();
}

QWidget* PluginOpenUrl::propertyWidget()
{
    qCDebug(lcActions) << "propertyWidget";
    return SystemAction::propertyWidget();
}

QString PluginOpenUrl::actionIconFilePath() const
{
    return actionTitle();
}

int PluginOpenUrl::onSyncUI()
{
    syncWidgets();
    return 0;
}

int PluginOpenUrl::onAppTriggeredEvent(const QJsonObject&)
{
    const QString url = record().url;
    qCDebug(lcActions) << "try to open" << url;
    if (url != kBrowserShortcutUrl) {
        PathLauncher::instance()->openUrl(QUrl(url, QUrl::TolerantMode));
        return 0;
    }
    // "@": bring up the default browser, then its home page shortcut.
    PathLauncher::instance()->openUrl(QUrl(kBareScheme, QUrl::TolerantMode));
    QThread::msleep(kBrowserSettleMs);
    KeyboardEventService::instance()->post({
        KeyEvent::press(MacKeyCode::kH).withFlags(KeyEvent::CommandFlag | KeyEvent::ShiftFlag),
        KeyEvent::release(MacKeyCode::kH),
    });
    return 0;
}

void PluginOpenUrl::onOtherEvent(const QString& type, QJsonObject& result)
{
    if (type != TovKyPluginEventType::kUpdateSettingsEvent)
        return;
    qCDebug(lcActions) << "[OpenUrl] TovKyPluginEventType::kUpdateSettingsEvent";
    const int status = onSetSettingsEvent({});
    result.insert(QStringLiteral("settings"), record().toJson());
    result.insert(QStringLiteral("success"), status == 0);
    qCDebug(lcActions).noquote() << "[OpenUrl] TovKyPluginEventType::kUpdateSettingsEvent" << JsonSummary::of(result);
}

void PluginOpenUrl::syncOwn()
{
    panel()->setPluginUrl(record().url);
}

void PluginOpenUrl::connectOwn()
{
    connect(panel(), &WidgetPluginOpenUrl::urlChanged, this, [this](const QString& url) {
        record().url = url;
        reportSettings();
    });
}
