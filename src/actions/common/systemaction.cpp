#include "systemaction.h"

#include "actionslog.h"
#include "jsonsummary.h"
#include "plugin/tovkyplugineventtype.h"

#include <QTimer>

namespace Ev = TovKyPluginEventType;

namespace {
const QString kPreset = QStringLiteral("preset");
const QString kPayload = QStringLiteral("payload");
constexpr int kHandled = 0;
}

SystemAction::SystemAction(std::unique_ptr<ActionPayload> record, std::unique_ptr<ActionKeyFace> face,
                           InspectorFactory inspector, QObject* parent)
    : KYPlugin(parent)
    , m_record(std::move(record))
    , m_makeInspector(std::move(inspector))
    , m_face(std::move(face))
{
    delegate.connectToServer();
}

// What the widgets report while they go must not reach an action that is half gone.
SystemAction::~SystemAction()
{
    if (m_face)
        disconnect(m_face.get(), nullptr, this, nullptr);
    if (m_inspector)
        disconnect(m_inspector.get(), nullptr, this, nullptr);
}

bool SystemAction::init(const QString& newTarget, const QJsonObject& params)
{
    target = newTarget;
    if (params.contains(kPreset)) {
        const QJsonObject preset = params.value(kPreset).toObject();
        traceInit(QStringLiteral("Preset"), preset);
        return initWithPreset(preset);
    }
    if (params.contains(kPayload)) {
        const QJsonObject stored = params.value(kPayload).toObject();
        if (stored.isEmpty())
            return init(newTarget);
        traceInit(QStringLiteral("Payload"), stored);
        return initWithPayload(stored);
    }
    return init(newTarget);
}

void SystemAction::eventReceived(const QJsonObject& event, QJsonObject& result)
{
    if (!event.contains(Ev::kFieldEvent))
        return;
    const QString type = event.value(Ev::kFieldEvent).toObject().value(Ev::kFieldType).toString();
    if (type == Ev::kKeyUpEvent)
        onKeyUpEvent({});
    else if (type == Ev::kKeyDownEvent)
        onKeyDownEvent({});
    else if (type == Ev::kAppTriggeredEvent)
        onAppTriggeredEvent({});
    else
        onOtherEvent(type, result);
}

void SystemAction::onOtherEvent(const QString&, QJsonObject&) {}

void SystemAction::traceInit(const QString& step, const QJsonObject& json) const
{
    qCDebug(lcActions).noquote() << logTag() + QLatin1Char('[') + step + QLatin1Char(']') << JsonSummary::of(json);
}

QString SystemAction::actionTitle() const
{
    return payload().actionTitle;
}

QString SystemAction::actionIconFilePath() const
{
    return payload().firstIcon();
}

int SystemAction::onSetSettingsEvent(const QJsonObject&)
{
    const QJsonObject settings = payload().toJson();
    qCDebug(lcActions).noquote() << logTag() + QStringLiteral("[SaveProfile]") << JsonSummary::of(settings);
    const QJsonObject inner{
        {Ev::kFieldType, Ev::kSetSettingsEvent},
        {Ev::kFieldSDK, Ev::kProtocolVersion},
        {Ev::kFieldApp, Ev::kProtocolVersion},
        {Ev::kFieldPayload, settings},
    };
    emit eventSent(QJsonObject{{Ev::kFieldEvent, inner}, {Ev::kFieldTarget, target}});
    return kHandled;
}

bool SystemAction::initWithDefault()
{
    payload().reset();
    syncWidgets();
    return true;
}

bool SystemAction::initWithPayload(const QJsonObject& stored)
{
    payload().setPayload(stored);
    syncWidgets();
    return true;
}

bool SystemAction::initWithPreset(const QJsonObject& preset)
{
    const QString problem = payload().presetProblem(preset);
    if (!problem.isEmpty()) {
        qCWarning(lcActions).noquote() << logTag() + QStringLiteral("[Preset] refused:") << problem;
        return false;
    }
    payload().setPreset(preset);
    syncWidgets();
    return true;
}

QString SystemAction::logTag() const
{
    return QLatin1Char('[') + QLatin1String(metaObject()->className()) + QLatin1Char(']');
}

void SystemAction::saveProfile(const QJsonObject& stored)
{
    payload().setV1Payload(stored);
    reportSettings();
}

void SystemAction::reportSettings()
{
    onSetSettingsEvent({});
}

void SystemAction::requestKeyRecolour(int delayMs)
{
    QTimer::singleShot(delayMs, this, [this] { delegate.updateFunctionKeyImageColor(target); });
}

QWidget* SystemAction::pluginWidget()
{
    return face();
}

QWidget* SystemAction::propertyWidget()
{
    ensureInspector();
    return inspectorWidget();
}

void SystemAction::makeInspector()
{
    m_inspectorBuilt = true;
    if (m_makeInspector)
        m_inspector = m_makeInspector();
    m_actionInspector = qobject_cast<ActionInspector*>(m_inspector.get());
}

void SystemAction::ensureInspector()
{
    if (m_inspectorBuilt)
        return;
    makeInspector();
    syncInspector();
    propertyConnections();
}

void SystemAction::buildInspectorNow()
{
    if (m_inspectorBuilt)
        return;
    makeInspector();
    propertyConnections();
}

QString SystemAction::faceTitle() const
{
    return payload().firstTitle();
}

QString SystemAction::faceImage() const
{
    return payload().firstIcon();
}

int SystemAction::onKeyDownEvent(const QJsonObject&)
{
    if (ActionKeyFace* keyFace = face())
        keyFace->showPressed(faceTitle());
    return kHandled;
}

int SystemAction::onKeyUpEvent(const QJsonObject&)
{
    if (ActionKeyFace* keyFace = face()) {
        keyFace->setImage(faceImage());
        keyFace->showKeyUp();
    }
    return kHandled;
}

void SystemAction::syncWidgets()
{
    const ActionPayload& record = payload();
    if (ActionKeyFace* keyFace = face()) {
        keyFace->setTitle(faceTitle());
        keyFace->setImage(faceImage());
        keyFace->adjustView(record.displayView);
    }
    if (m_inspectorBuilt)
        syncInspector();
}

void SystemAction::syncInspector()
{
    const ActionPayload& record = payload();
    if (ActionInspector* panel = inspector()) {
        panel->setPluginTitle(record.firstTitle());
        panel->setPluginIconPath(record.firstIcon());
        if (actionMode)
            panel->setActionModeState();
        panel->setViewAttribute(record.displayView);
        panel->adjustView(record.displayView);
    }
    syncOwn();
}

void SystemAction::propertyConnections()
{
    if (ActionInspector* panel = inspector()) {
        connect(panel, &ActionInspector::titleChanged, this,
                [this](int, const QString& title) { onTitleEdited(title); });
        connect(panel, &ActionInspector::assetChanged, this,
                [this](int, const QString& path) { onIconEdited(path); });
        connect(panel, &ActionInspector::viewAttributeChanged, this, &SystemAction::onViewAttributeEdited);
    }
    connectOwn();
}

void SystemAction::onTitleEdited(const QString& title)
{
    payload().setFirstTitle(title);
    payload().actionTitle = title;
    if (ActionKeyFace* keyFace = face())
        keyFace->setTitle(title);
    reportSettings();
}

void SystemAction::onIconEdited(const QString& path)
{
    payload().setFirstIcon(path);
    if (ActionKeyFace* keyFace = face())
        keyFace->setImage(path);
    requestKeyRecolour(recolourDelayMs());
    reportSettings();
}

void SystemAction::onViewAttributeEdited(const KyDisplayViewAttribute& attribute)
{
    payload().displayView = attribute;
    if (ActionKeyFace* keyFace = face())
        keyFace->adjustView(attribute);
    if (ActionInspector* panel = inspector())
        panel->adjustView(attribute);
    reportSettings();
}

