#pragma once

#include <memory>

class QMimeData;

// A detached copy of clipboard content, every format of it, that stays valid
// after the clipboard changes hands.
namespace ClipboardSnapshot {

enum Source {
    InProcess,  // our own content: a picture is kept as the image it is, unconverted
    Foreign,    // another program's: each format as the raw bytes it sends, nothing decoded
};

// An empty copy for a null source.
std::unique_ptr<QMimeData> copy(const QMimeData* source, Source kind);
bool isEmpty(const QMimeData* data);
}
