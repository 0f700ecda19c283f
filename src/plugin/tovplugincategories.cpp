#include "tovplugincategories.h"

namespace TovPluginCategories {

const QString kUnsupportPlugin = QStringLiteral("com.corvane.plugin.unsupport");
const QString kSystemDelay = QStringLiteral("com.corvane.system.delay");
const QString kSystemOpenUrl = QStringLiteral("com.corvane.system.openurl");
const QString kSystemOpenApp = QStringLiteral("com.corvane.system.openapp");
const QString kSystemHotkey = QStringLiteral("com.corvane.system.hotkey");
const QString kSystemMultimedia = QStringLiteral("com.corvane.system.multimedia");
const QString kSystemText = QStringLiteral("com.corvane.system.text");
const QString kSystemMultiAction = QStringLiteral("com.corvane.system.multiaction");
const QString kSystemWindowsControl = QStringLiteral("com.corvane.system.windowscontrol");
const QString kSystemWebView = QStringLiteral("com.corvane.system.webview");
const QString kSystemOutput = QStringLiteral("com.corvane.system.output");
const QString kSystemInput = QStringLiteral("com.corvane.system.input");
const QString kSystemPanelOff = QStringLiteral("com.corvane.system.panel.off");
const QString kSystemPageIndicator = QStringLiteral("com.corvane.system.page.indicator");
const QString kSystemGroup = QStringLiteral("com.corvane.system.group");
const QString kSystemGroupBack = QStringLiteral("com.corvane.system.group.back");

} // namespace TovPluginCategories
