#include "systemdll.h"

#include "actions/hotkey/plugininputhotkey.h"
#include "actions/inputtext/plugininputtext.h"
#include "actions/multimedia/pluginsystemmultimedia.h"
#include "actions/openfile/pluginopenfile.h"
#include "actions/openurl/pluginopenurl.h"
#include "actions/windowscontrol/pluginwindowscontrol.h"
#include "packagelog.h"
#include "plugin/kyplugin.h"
#include "plugin/tovplugincategories.h"

#include <QCoreApplication>

namespace {
const char* const kMappingContext = "SystemDll";
const char* const kMappingKeys[] = {
    QT_TRANSLATE_NOOP("SystemDll", "LAB_SIDEBAR_GROUP_SYSTEM"),
    QT_TRANSLATE_NOOP("SystemDll", "LAB_SIDEBAR_SYSTEM_SWITCH_M1_M2"),
    QT_TRANSLATE_NOOP("SystemDll", "LAB_SIDEBAR_SYSTEM_APP_FILE"),
    QT_TRANSLATE_NOOP("SystemDll", "LAB_SIDEBAR_SYSTEM_HOTKEY"),
    QT_TRANSLATE_NOOP("SystemDll", "LAB_SIDEBAR_SYSTEM_TEXT"),
    QT_TRANSLATE_NOOP("SystemDll", "LAB_TITLE_SYS_WINDOWCONTROL"),
};
}

SystemDll::SystemDll(QObject* parent)
    : IBuiltInPackageLibrary(QStringLiteral("SystemDll"), parent)
{
}

SystemDll::~SystemDll()
{
    qCDebug(lcPackage) << "SystemDll::~SystemDll()";
}

QMap<QString, QString> SystemDll::mapping()
{
    // The package's own translator answers first, so the titles follow translate()
    // even before the host installs the translator.
    QMap<QString, QString> titles;
    for (const char* key : kMappingKeys) {
        QString text = translator.translate(kMappingContext, key);
        if (text.isEmpty())
            text = QCoreApplication::translate(kMappingContext, key);
        titles.insert(QString::fromLatin1(key), text);
    }
    return titles;
}

KYPlugin* SystemDll::makeWidget(const QString& category, int n)
{
    qCDebug(lcPackage) << "[dll] makeInstance()" << category << n;
    using Factory = KYPlugin* (*)();
    // In lookup order.
    const std::pair<const QString&, Factory> actions[] = {
        {TovPluginCategories::kSystemOpenApp, [] { return static_cast<KYPlugin*>(new PluginOpenFile); }},
        {TovPluginCategories::kSystemOpenUrl, [] { return static_cast<KYPlugin*>(new PluginOpenUrl); }},
        {TovPluginCategories::kSystemHotkey, [] { return static_cast<KYPlugin*>(new PluginInputHotkey); }},
        {TovPluginCategories::kSystemMultimedia, [] { return static_cast<KYPlugin*>(new PluginSystemMultimedia); }},
        {TovPluginCategories::kSystemText, [] { return static_cast<KYPlugin*>(new PluginInputText); }},
        {TovPluginCategories::kSystemWindowsControl, [] { return static_cast<KYPlugin*>(new PluginWindowsControl); }},
    };
    for (const auto& [identifier, factory] : actions) {
        if (category != identifier)
            continue;
        if (!factory)
            return nullptr;
        KYPlugin* action = factory();
        action->category = category;
        return action;
    }
    return nullptr;
}
