#include "pluginopenfile.h"

#include "actions/common/actionslog.h"
#include "platform/launch/pathlauncher.h"
#include "pluginopenfilepayload.h"
#include "widgeticonpluginopenfile.h"
#include "widgetpluginopenfile.h"

#include <QFile>

PluginOpenFile::PluginOpenFile(QObject* parent)
    : SystemAction(parent)
    , keyFace(new WidgetIconPluginOpenFile)
    , m_payloadImpl(new PayloadImpl)
{
    qCDebug(lcActions) << "PluginOpenFile" << "new instance of Plugin Open App File";
}

PluginOpenFile::~PluginOpenFile()
{
    delete keyFace;
    delete m_propertyWidget;
    delete m_payloadImpl;
}

void PluginOpenFile::eventReceived(const QJsonObject& event, QJsonObject& result)
{
    qCDebug(lcActions) << "eventReceived" << event;
    SystemAction::eventReceived(event, result);
}

QWidget* PluginOpenFile::propertyWidget()
{
    ensureInspector();
    return m_propertyWidget;
}

void PluginOpenFile::buildInspector()
{
    m_propertyWidget = new WidgetPluginOpenFile;
}

QString PluginOpenFile::actionIconFilePath() const
{
    return actionTitle();
}

int PluginOpenFile::onAppTriggeredEvent(const QJsonObject&)
{
    const QString filePath = m_payloadImpl->filePath;
    qCDebug(lcActions) << "try to open file" << filePath;
    if (QFile::exists(filePath))
        PathLauncher::instance()->open(filePath);
    return 0;
}

ActionPayload& PluginOpenFile::payload() { return *m_payloadImpl; }
const ActionPayload& PluginOpenFile::payload() const { return *m_payloadImpl; }
ActionKeyFace* PluginOpenFile::face() const { return keyFace; }

// The inspector draws its own title and icon, so the whole record goes to it here.
void PluginOpenFile::syncOwn()
{
    const PayloadImpl& record = *m_payloadImpl;
    m_propertyWidget->setPluginTitle(record.firstTitle());
    m_propertyWidget->setPluginIconPath(record.firstIcon());
    m_propertyWidget->setFilePath(record.filePath);
    if (actionMode)
        m_propertyWidget->setActionModeState();
    m_propertyWidget->setViewAttribute(record.displayView);
    m_propertyWidget->adjustView(record.displayView);
}

void PluginOpenFile::connectOwn()
{
    WidgetPluginOpenFile* panel = m_propertyWidget;
    connect(panel, &WidgetPluginOpenFile::imageDidChange, this, &PluginOpenFile::onIconEdited);
    connect(panel, &WidgetPluginOpenFile::titleDidChange, this, &PluginOpenFile::onTitleEdited);
    connect(panel, &WidgetPluginOpenFile::fileDidChange, this, [this](const QString& path) {
        m_payloadImpl->filePath = path;
        reportSettings();
    });
    connect(panel, &WidgetPluginOpenFile::viewAttributeChanged, this, [this](const KyDisplayViewAttribute& attribute) {
        m_propertyWidget->adjustView(attribute);
        onViewAttributeEdited(attribute);
    });
}
