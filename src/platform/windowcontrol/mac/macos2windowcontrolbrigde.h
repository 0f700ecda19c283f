#pragma once

// Objective-C++ only: the members are runtime objects.
#include "platform/windowcontrol/windowsinfo.h"

#include <QList>
#include <QPoint>
#include <QSize>

#import <Foundation/Foundation.h>

// Talks to the host maker's VantaWindowControl framework, whose WindowManager class is
// reached only through the Objective-C runtime. State is process-wide: every listing,
// from any caller, replaces the window array and the records together, and index i of
// the operations names the window of record i. Each operation writes its outcome to
// the system log and returns the framework's answer.
class MacOS2WindowControlBrigde
{
public:
    static QList<TovWindowControl::WindowsInfo> getAllWindowInfos();
    static bool setTargetWindowSize(int index, const QSize& size);
    static bool setTargetWindowLeftTopPosition(int index, const QPoint& position);
    static bool closeTargetWindow(int index);
    static bool maximunTargetWindow(int index);
    static bool minimunTargetWindow(int index);

    static id g_windowManager;                                   // created at the first listing
    static NSArray* g_windowList;                                // windows of the records, in order
    static QList<TovWindowControl::WindowsInfo> g_widowsInfoList;  // records of the last listing

private:
    static id windowAt(int index);
};
