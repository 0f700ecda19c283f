#pragma once

#include <QString>

// Action identifiers of the system group.
namespace TovPluginCategories {

extern const QString kUnsupportPlugin;
extern const QString kSystemDelay;
extern const QString kSystemOpenUrl;
extern const QString kSystemOpenApp;
extern const QString kSystemHotkey;
extern const QString kSystemMultimedia;
extern const QString kSystemText;
extern const QString kSystemMultiAction;
extern const QString kSystemWindowsControl;
extern const QString kSystemWebView;
extern const QString kSystemOutput;
extern const QString kSystemInput;
extern const QString kSystemPanelOff;
extern const QString kSystemPageIndicator;
extern const QString kSystemGroup;
extern const QString kSystemGroupBack;

} // namespace TovPluginCategories
