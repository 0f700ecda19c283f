#include "pluginsystemmultimedia.h"

#include "actions/common/actionslog.h"
#include "pluginsystemmultimediapayload.h"
#include "widgeticonpluginsystemmultimedia.h"
#include "widgetpluginsystemmultimedia.h"

using namespace MultimediaConst;

PluginSystemMultimedia::PluginSystemMultimedia(QObject* parent)
    : SystemAction(parent)
    , keyFace(new WidgetIconPluginSystemMultimedia)
    , m_propertyWidget(new WidgetPluginSystemMultimedia)
    , m_payloadImpl(new PayloadImpl)
{
    // Connected before any settings arrive: loading them selects the list entry, and
    // the image and profile that the inspector reports then must reach the key.
    connectInspector();
}

PluginSystemMultimedia::~PluginSystemMultimedia()
{
    keyFace->disconnect();
    m_propertyWidget->disconnect();
    delete keyFace;
    delete m_propertyWidget;
    delete m_payloadImpl;
}

void PluginSystemMultimedia::connectInspector()
{
    WidgetPluginSystemMultimedia* panel = m_propertyWidget;
    connect(panel, &WidgetPluginSystemMultimedia::callbackToSaveProfile, this, &SystemAction::saveProfile);
    connect(panel, &WidgetPluginSystemMultimedia::imageDidChange, this, &PluginSystemMultimedia::onImageChanged);
    connect(panel, &WidgetPluginSystemMultimedia::multimediaDidChange, this, &PluginSystemMultimedia::setMultimedia);
    connect(panel, &WidgetPluginSystemMultimedia::titleDidChange, this, &PluginSystemMultimedia::onTitleChanged);
    connect(panel, &WidgetPluginSystemMultimedia::viewAttributeChanged, this,
            &PluginSystemMultimedia::onViewAttributeChanged);
}

void PluginSystemMultimedia::onImageChanged(const QString& path)
{
    currentImage = path;
    keyFace->setImage(path);
    requestKeyRecolour(recolourDelayMs());
}

// The profile that follows reports it.
void PluginSystemMultimedia::onTitleChanged(const QString& newTitle)
{
    title = newTitle;
    m_payloadImpl->setFirstTitle(newTitle);
    m_payloadImpl->actionTitle = newTitle;
    keyFace->setTitle(newTitle);
}

void PluginSystemMultimedia::onViewAttributeChanged(const KyDisplayViewAttribute& attribute)
{
    m_payloadImpl->displayView = attribute;
    keyFace->adjustView(attribute);
    m_propertyWidget->adjustView(attribute);
    reportSettings();
}

void PluginSystemMultimedia::updateImageColor()
{
    delegate.updateFunctionKeyImageColor(target);
}

void PluginSystemMultimedia::setMultimedia(int index)
{
    m_payloadImpl->index = index;
}

int PluginSystemMultimedia::multimediaIndex() const
{
    return m_payloadImpl->index;
}

QWidget* PluginSystemMultimedia::propertyWidget()
{
    return m_propertyWidget;
}

QString PluginSystemMultimedia::actionIconFilePath() const
{
    return actionTitle();
}

QJsonObject PluginSystemMultimedia::uiParameters() const
{
    QJsonObject p{
        {kUiHotkey, tr("LAB_PLUGIN_HOTKEY")},
        {kUiHotkeySize, kUiHotkeySizeText},
        {kUiTitleLabel, tr("LAB_PLUGIN_TITLE")},
        {kUiActionLabel, tr("LAB_PLUGIN_ACTION")},
        {kUiTitleEdit, title},
        {kUiImageText, title},
        {kUiIconImageText, title},
        {kUiList, qMax(0, m_payloadImpl->index)},
    };
    for (int i = 0; i < kEntryCount; ++i)
        p.insert(QString::fromLatin1(kUiImagePath).arg(i), m_payloadImpl->imageOrDefault(i));
    return QJsonObject{{kUiPayload, p}};
}

// The key face starts on the play/pause image; the inspector then reports the image
// of the selected entry, and a profile when the selection moved.
void PluginSystemMultimedia::syncWidgets()
{
    qCDebug(lcActions) << "[PluginSystemMultimedia][ApplyPayload]" << m_payloadImpl->toJson();
    const QString stored = m_payloadImpl->firstTitle();
    title = stored.isEmpty() ? QString::fromLatin1(kDefaultTitle) : stored;
    keyFace->setTitle(title);
    keyFace->setImage(QString::fromLatin1(kFaceImage));
    if (actionMode)
        m_propertyWidget->setActionModeState();
    uiSettings = uiParameters();
    m_propertyWidget->setUIParameters(uiSettings);

    const KyDisplayViewAttribute view = m_payloadImpl->displayView;
    m_propertyWidget->setViewAttribute(view);
    m_propertyWidget->adjustView(view);
    keyFace->adjustView(view);
}

// The pressed look keeps the title shown, even one that was never stored.
int PluginSystemMultimedia::onKeyDownEvent(const QJsonObject&)
{
    keyFace->showPressed(title);
    return 0;
}

int PluginSystemMultimedia::onKeyUpEvent(const QJsonObject&)
{
    keyFace->setImage(currentImage);
    keyFace->showKeyUp();
    return 0;
}

int PluginSystemMultimedia::onAppTriggeredEvent(const QJsonObject&)
{
    const int index = m_payloadImpl->index;
    if (!PayloadImpl::isEntry(index)) {
        qCDebug(lcActions) << "[PluginSystemMultimedia] no media action at index" << index << "- nothing sent";
        return 0;
    }
    kMediaFunctions[index]();
    return 0;
}

ActionPayload& PluginSystemMultimedia::payload() { return *m_payloadImpl; }
const ActionPayload& PluginSystemMultimedia::payload() const { return *m_payloadImpl; }
ActionKeyFace* PluginSystemMultimedia::face() const { return keyFace; }
