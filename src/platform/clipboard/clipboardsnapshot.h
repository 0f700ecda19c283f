#pragma once

#include <memory>

class QMimeData;

// A detached copy of clipboard content, every format of it, that stays valid
// after the clipboard changes hands.
namespace ClipboardSnapshot {
// An empty copy for a null source.
std::unique_ptr<QMimeData> copy(const QMimeData* source);
bool isEmpty(const QMimeData* data);
}
