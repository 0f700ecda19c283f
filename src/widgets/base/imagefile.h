#pragma once

#include <QString>

// The one gate before the package opens an image file for reading: only a regular
// file of at most kMaxBytes passes. A FIFO, a device or a directory named like an
// image would block the GUI thread or be read without end; the check comes before
// the open, which is where a FIFO blocks. A PNG must also hold every chunk it
// announces (the decoder allocates what a chunk announces).
namespace ImageFile {
inline constexpr qint64 kMaxBytes = 64 * 1024 * 1024;

// Empty when `path` may be opened; otherwise why not, for the log.
QString refusal(const QString& path);
}
