#pragma once

#include <QStringList>

// Which program has the keyboard focus, as far as a paste needs to know.
namespace FocusedWindow {

// The WM_CLASS names (instance and class, as set) of the top-level window holding the
// keyboard focus; empty where no window has it or the platform has no such names.
QStringList windowClass();

}
