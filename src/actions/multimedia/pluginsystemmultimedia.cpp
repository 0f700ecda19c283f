#include "pluginsystemmultimedia.h"

#include "actions/common/actionslog.h"
#include "pluginsystemmultimediapayload.h"
#include "widgeticonpluginsystemmultimedia.h"
#include "widgetpluginsystemmultimedia.h"

using namespace MultimediaConst;

PluginSystemMultimedia::PluginSystemMultimedia(QObject* parent)
    : TypedAction(parent)
{
    // Connected before any settings arrive: loading them selects the list entry, and
    // the image and profile that the inspector reports then must reach the key.
    buildInspectorNow();
}

void PluginSystemMultimedia::connectOwn()
{
    WidgetPluginSystemMultimedia* editor = panel();
    connect(editor, &WidgetPluginSystemMultimedia::callbackToSaveProfile, this, &SystemAction::saveProfile);
    connect(editor, &WidgetPluginSystemMultimedia::imageDidChange, this, &PluginSystemMultimedia::onImageChanged);
    connect(editor, &WidgetPluginSystemMultimedia::multimediaDidChange, this, &PluginSystemMultimedia::setMultimedia);
    connect(editor, &WidgetPluginSystemMultimedia::titleDidChange, this, &PluginSystemMultimedia::onTitleChanged);
    connect(editor, &WidgetPluginSystemMultimedia::viewAttributeChanged, this,
            &PluginSystemMultimedia::onViewAttributeChanged);
}

void PluginSystemMultimedia::onImageChanged(const QString& path)
{
    currentImage = path;
    keyFace()->setImage(path);
    requestKeyRecolour(recolourDelayMs());
}

// The profile that follows reports it.
void PluginSystemMultimedia::onTitleChanged(const QString& newTitle)
{
    title = newTitle;
    record().setFirstTitle(newTitle);
    record().actionTitle = newTitle;
    keyFace()->setTitle(newTitle);
}

void PluginSystemMultimedia::onViewAttributeChanged(const KyDisplayViewAttribute& attribute)
{
    panel()->adjustView(attribute);
    onViewAttributeEdited(attribute);
}

void PluginSystemMultimedia::updateImageColor()
{
    delegate.updateFunctionKeyImageColor(target);
}

void PluginSystemMultimedia::setMultimedia(int index)
{
    record().index = index;
}

int PluginSystemMultimedia::multimediaIndex() const
{
    return record().index;
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
        {kUiList, qMax(0, record().index)},
    };
    for (int i = 0; i < kEntryCount; ++i)
        p.insert(QString::fromLatin1(kUiImagePath).arg(i), record().imageOrDefault(i));
    return QJsonObject{{kUiPayload, p}};
}

// The key face starts on the play/pause image; the inspector then reports the image
// of the selected entry, and a profile when the selection moved.
void PluginSystemMultimedia::syncWidgets()
{
    qCDebug(lcActions) << "[PluginSystemMultimedia][ApplyPayload]" << record().toJson();
    const QString stored = record().firstTitle();
    title = stored.isEmpty() ? QString::fromLatin1(kDefaultTitle) : stored;
    currentImage = QString::fromLatin1(kFaceImage);
    SystemAction::syncWidgets();
}

void PluginSystemMultimedia::syncOwn()
{
    WidgetPluginSystemMultimedia* editor = panel();
    if (actionMode)
        editor->setActionModeState();
    uiSettings = uiParameters();
    editor->setUIParameters(uiSettings);
    const KyDisplayViewAttribute view = record().displayView;
    editor->setViewAttribute(view);
    editor->adjustView(view);
}

int PluginSystemMultimedia::onAppTriggeredEvent(const QJsonObject&)
{
    const int index = record().index;
    if (!PayloadImpl::isEntry(index)) {
        qCDebug(lcActions) << "[PluginSystemMultimedia] no media action at index" << index << "- nothing sent";
        return 0;
    }
    kMediaFunctions[index]();
    return 0;
}
