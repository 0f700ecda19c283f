#pragma once

#include <QVector>
#include <QtGlobal>

// Translation of macOS virtual key codes and modifier flags to X keysyms.
// Modifiers follow Qt's convention: Command is Control, Control is Super.
namespace X11KeyTable {

// The keysym for a virtual key code (or one of the PC key codes of keyevent.h), or 0
// when the code has no X equivalent.
quint32 keysymForMacCode(quint16 code);

// The modifier keysyms to hold for a flag mask, in pressing order.
QVector<quint32> modifierKeysyms(quint64 flags);

} // namespace X11KeyTable
