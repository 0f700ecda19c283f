#include "macos2windowcontrol.h"

#include "macwindowbackend.h"

MacOS2WindowControl::MacOS2WindowControl()
    : WindowControl(std::make_unique<MacWindowBackend>())
{
}

MacOS2WindowControl::~MacOS2WindowControl() = default;
