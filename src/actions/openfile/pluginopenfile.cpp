#include "pluginopenfile.h"

#include "actions/common/actionslog.h"
#include "platform/launch/pathlauncher.h"
#include "pluginopenfilepayload.h"
#include "widgeticonpluginopenfile.h"
#include "widgetpluginopenfile.h"

#include <QFile>

PluginOpenFile::PluginOpenFile(QObject* parent)
    : TypedAction(parent)
{
    qCDebug(lcActions) << "PluginOpenFile" << "new instance of Plugin Open App File";
}

void PluginOpenFile::eventReceived(const QJsonObject& event, QJsonObject& result)
{
    qCDebug(lcActions) << "eventReceived" << event;
    SystemAction::eventReceived(event, result);
}

QString PluginOpenFile::actionIconFilePath() const
{
    return actionTitle();
}

int PluginOpenFile::onAppTriggeredEvent(const QJsonObject&)
{
    const QString filePath = record().filePath;
    qCDebug(lcActions) << "try to open file" << filePath;
    if (QFile::exists(filePath))
        PathLauncher::instance()->open(filePath);
    return 0;
}

// The inspector draws its own title and icon, so the whole record goes to it here.
void PluginOpenFile::syncOwn()
{
    const PayloadImpl& stored = record();
    WidgetPluginOpenFile* editor = panel();
    editor->setPluginTitle(stored.firstTitle());
    editor->setPluginIconPath(stored.firstIcon());
    editor->setFilePath(stored.filePath);
    if (actionMode)
        editor->setActionModeState();
    editor->setViewAttribute(stored.displayView);
    editor->adjustView(stored.displayView);
}

void PluginOpenFile::connectOwn()
{
    WidgetPluginOpenFile* editor = panel();
    connect(editor, &WidgetPluginOpenFile::imageDidChange, this, &PluginOpenFile::onIconEdited);
    connect(editor, &WidgetPluginOpenFile::titleDidChange, this, &PluginOpenFile::onTitleEdited);
    connect(editor, &WidgetPluginOpenFile::fileDidChange, this, [this](const QString& path) {
        record().filePath = path;
        reportSettings();
    });
    connect(editor, &WidgetPluginOpenFile::viewAttributeChanged, this, [this](const KyDisplayViewAttribute& attribute) {
        panel()->adjustView(attribute);
        onViewAttributeEdited(attribute);
    });
}
