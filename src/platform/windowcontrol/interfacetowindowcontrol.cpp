#include "interfacetowindowcontrol.h"

InterfaceToWindowControl::InterfaceToWindowControl(QObject* parent)
    : QObject(parent)
{
}

InterfaceToWindowControl::~InterfaceToWindowControl() = default;
