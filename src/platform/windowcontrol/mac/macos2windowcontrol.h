#pragma once

#include "platform/windowcontrol/windowcontrol.h"

// Window control on macOS: the shared snapshot and title lookup over the framework
// bridge. Resizing needs no extra step there, so resizeTargetWindow does nothing.
class MacOS2WindowControl : public WindowControl
{
    Q_OBJECT
public:
    MacOS2WindowControl();
    ~MacOS2WindowControl() override;
};
