#pragma once

#include "platform/keyboard/keyevent.h"

#include <QString>

// A text as the keys that type it on the layout of our key codes (US): where no
// clipboard can carry the text, it is typed. Characters without a key there are left
// out and counted.
namespace TextKeys {
KeyEventSequence sequenceFor(const QString& text, int* leftOut = nullptr);
}
