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

#include <array>

namespace {
const char* const kMappingContext = "SystemDll";
// The package title and the titles of the configured actions that the package
// translates (not Multimedia's).
const char* const kMappingKeys[] = {
    QT_TRANSLATE_NOOP("SystemDll", "LAB_SIDEBAR_GROUP_SYSTEM"),
    QT_TRANSLATE_NOOP("SystemDll", "LAB_SIDEBAR_SYSTEM_SWITCH_M1_M2"),
    QT_TRANSLATE_NOOP("SystemDll", "LAB_SIDEBAR_SYSTEM_APP_FILE"),
    QT_TRANSLATE_NOOP("SystemDll", "LAB_SIDEBAR_SYSTEM_HOTKEY"),
    QT_TRANSLATE_NOOP("SystemDll", "LAB_SIDEBAR_SYSTEM_TEXT"),
    QT_TRANSLATE_NOOP("SystemDll", "LAB_TITLE_SYS_WINDOWCONTROL"),
};

template <class Action>
KYPlugin* make()
{
    return new Action;
}

struct Factory
{
    const QString* category;
    KYPlugin* (*make)();
};

// In lookup order.
const std::array<Factory, 6>& factories()
{
    namespace C = TovPluginCategories;
    static const std::array<Factory, 6> table = {{
        {&C::kSystemOpenApp, &make<PluginOpenFile>},
        {&C::kSystemOpenUrl, &make<PluginOpenUrl>},
        {&C::kSystemHotkey, &make<PluginInputHotkey>},
        {&C::kSystemMultimedia, &make<PluginSystemMultimedia>},
        {&C::kSystemText, &make<PluginInputText>},
        {&C::kSystemWindowsControl, &make<PluginWindowsControl>},
    }};
    return table;
}
} // namespace

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
    for (const Factory& factory : factories()) {
        if (category != *factory.category)
            continue;
        KYPlugin* action = factory.make();
        action->category = category;
        return action;
    }
    return nullptr;
}

QStringList SystemDll::categories()
{
    QStringList made;
    for (const Factory& factory : factories())
        made << *factory.category;
    return made;
}
